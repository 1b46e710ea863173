// The value-reading rule of board files, over a buffered view of any input stream.
#include "BoardFileReader.h"

#include "engine/IntegerText.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>

namespace tivla {

namespace {

// Large reads keep a file of a hundred megabytes of blanks well under a second.
constexpr std::size_t kChunkSize = 64 * 1024;
// Blanks and control characters: everything up to and including the space.
constexpr unsigned char kLastBlank = 0x20;

bool isBlank(char ch) {
    return static_cast<unsigned char>(ch) <= kLastBlank;
}

// Skips blanks a block of 32 bytes at a time: files of nothing but blanks are where a byte loop
// spends its time. (b & 0x7F) + 0x5F sets a byte's top bit exactly when b & 0x7F is above the
// space and cannot carry into the next byte; a top bit of b itself marks bytes from 0x80 up.
std::size_t skipBlanks(const char* data, std::size_t position, std::size_t end) {
    constexpr std::uint64_t kTopBits = 0x8080808080808080u;
    constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7Fu;
    constexpr std::uint64_t kAboveBlank = 0x5F5F5F5F5F5F5F5Fu;
    constexpr std::size_t kWords = 4;
    constexpr std::size_t kBlock = kWords * sizeof(std::uint64_t);
    while (end - position >= kBlock) {
        std::uint64_t words[kWords];
        std::memcpy(words, data + position, kBlock);
        std::uint64_t marks = 0;
        for (const std::uint64_t word : words) {
            marks |= ((word & kLowBits) + kAboveBlank) | word;
        }
        if (marks & kTopBits) {
            break;
        }
        position += kBlock;
    }
    while (position < end && isBlank(data[position])) {
        ++position;
    }
    return position;
}

// The errno behind a stream failure, when the stream buffer told it.
FileError errorOf(const std::exception& failure) {
    if (const auto* systemError = dynamic_cast<const std::system_error*>(&failure)) {
        const std::error_code& code = systemError->code();
        const bool fromSystem =
            code.category() == std::system_category() || code.category() == std::generic_category();
        if (fromSystem && code.value() != 0) {
            return FileError::fromErrno(code.value());
        }
    }
    return FileError::fromErrno(EIO);
}

} // namespace

std::size_t readChunk(std::istream& in, char* buffer, std::size_t size,
                      std::optional<FileError>& error) {
    if (in.fail()) {
        // A stream that failed before we read from it: it was never opened, or broke earlier.
        error = FileError::fromErrno(EIO);
        return 0;
    }
    // Streams swallow the stream buffer's exceptions unless asked for them, and the exception
    // is the only place where a read error's errno survives.
    std::size_t filled = 0;
    const std::ios_base::iostate mask = in.exceptions();
    try {
        in.exceptions(mask | std::ios_base::badbit);
        in.read(buffer, static_cast<std::streamsize>(size));
        filled = static_cast<std::size_t>(in.gcount());
    } catch (const std::exception& failure) {
        error = errorOf(failure);
    }
    try {
        in.exceptions(mask);
    } catch (const std::exception&) {
        // The caller asked for exceptions on bad streams; the error is reported as a result.
    }
    if (!error && in.bad()) {
        error = FileError::fromErrno(EIO);
    }
    return error ? 0 : filled;
}

BoardFileReader::BoardFileReader(std::istream& in)
    : in_(in), buffer_(std::make_unique_for_overwrite<char[]>(kChunkSize)) {}

BoardFileReader::~BoardFileReader() = default;

bool BoardFileReader::refill() {
    position_ = 0;
    filled_ = 0;
    if (atEnd_ || error_) {
        return false;
    }
    if (in_.eof()) {
        atEnd_ = true;
        return false;
    }
    filled_ = readChunk(in_, buffer_.get(), kChunkSize, error_);
    if (error_) {
        return false;
    }
    if (filled_ == 0) {
        atEnd_ = true;
        return false;
    }
    return true;
}

int BoardFileReader::peek() {
    if (position_ == filled_ && !refill()) {
        return -1;
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

std::optional<std::int32_t> BoardFileReader::readValue() {
    if (error_) {
        return std::nullopt;
    }
    while (peek() >= 0) {
        position_ = skipBlanks(buffer_.get(), position_, filled_);
        if (position_ < filled_) {
            break;
        }
    }
    if (error_) {
        return std::nullopt;
    }
    if (atEnd_) {
        return 0;
    }

    char run[kMaxRun];
    std::size_t length = 0;
    for (int ch = peek(); length < kMaxRun && ch > kLastBlank; ch = peek()) {
        run[length++] = static_cast<char>(ch);
        ++position_;
    }

    // The rest of the line goes, run included: a lone CR doesn't end it, only a LF does.
    while (peek() >= 0) {
        const char* data = buffer_.get();
        const void* lineFeed = std::memchr(data + position_, '\n', filled_ - position_);
        if (lineFeed != nullptr) {
            position_ = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - data) + 1;
            break;
        }
        position_ = filled_;
    }
    if (error_) {
        return std::nullopt;
    }

    const std::optional<std::int32_t> value = parseInteger(std::string_view(run, length));
    if (!value) {
        error_ = FileError(FileError::kInvalidNumericInput);
    }
    return value;
}

} // namespace tivla
