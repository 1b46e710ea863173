// The value-reading rule of board files, over a buffered view of any input stream.
#include "BoardFileReader.h"

#include "engine/IntegerText.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>

namespace tivla {

namespace {

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

} // namespace

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
