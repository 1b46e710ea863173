// Error numbers, their texts and the mapping from errno.
#include "FileError.h"

#include "engine/Board.h"

#include <cerrno>

namespace tivla {

FileError FileError::fromErrno(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return FileError(kFileNotFound);
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return FileError(kInvalidFilename);
    case EMFILE:
    case ENFILE:
        return FileError(kTooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return FileError(kAccessDenied);
    case ENOSPC:
    case EDQUOT:
        return FileError(kDiskFull);
    default:
        return FileError(Kind::System, errorNumber);
    }
}

FileError FileError::boardSizeOutOfRange(std::int32_t size) {
    return FileError(Kind::BoardSize, size);
}

FileError FileError::refusal(std::string text) {
    FileError error(Kind::Refusal, 0);
    error.refusalText_ = std::move(text);
    return error;
}

std::optional<std::int32_t> FileError::refusedBoardSize() const {
    if (kind_ != Kind::BoardSize) {
        return std::nullopt;
    }
    return number_;
}

std::string FileError::text() const {
    if (kind_ == Kind::Refusal) {
        return refusalText_;
    }
    if (kind_ == Kind::BoardSize) {
        return "Недопустимый размер поля: " + std::to_string(number_) + ". Размер должен быть от " +
               std::to_string(kMinBoardSize) + " до " + std::to_string(kMaxBoardSize);
    }
    if (kind_ == Kind::Runtime) {
        switch (number_) {
        case kFileNotFound:
            return "File not found";
        case kInvalidFilename:
            return "Invalid filename";
        case kTooManyOpenFiles:
            return "Too many open files";
        case kAccessDenied:
            return "File access denied";
        case kReadBeyondEndOfFile:
            return "Read beyond end of file";
        case kDiskFull:
            return "Disk full";
        case kInvalidNumericInput:
            return "Invalid numeric input";
        default:
            break;
        }
    }
    return "I/O error " + std::to_string(number_);
}

std::string FileError::messageText() const {
    return withFullStop(text());
}

std::string withFullStop(std::string text) {
    // Bytes compare unsigned, so the last byte of any UTF-8 letter sorts after the full stop.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

} // namespace tivla
