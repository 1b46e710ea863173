// See ChunkedInput.h.
#include "ChunkedInput.h"

#include <cerrno>
#include <exception>
#include <system_error>

namespace tivla {

namespace {

// Large reads keep a file of a hundred megabytes of blanks well under a second.
constexpr std::size_t kChunkSize = 64 * 1024;

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

ChunkedInput::ChunkedInput(std::istream& in)
    : in_(in), buffer_(std::make_unique_for_overwrite<char[]>(kChunkSize)) {}

ChunkedInput::~ChunkedInput() = default;

bool ChunkedInput::refill() {
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

} // namespace tivla
