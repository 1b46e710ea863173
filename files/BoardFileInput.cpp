// A stream over a POSIX file descriptor, so that open and read failures keep their errno.
#include "BoardFileInput.h"

#include <cerrno>
#include <fcntl.h>
#include <streambuf>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tivla {

class BoardFileInput::ReadBuffer : public std::streambuf {
public:
    explicit ReadBuffer(int fd) : fd_(fd) {}
    ~ReadBuffer() override { ::close(fd_); }
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;

protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        ssize_t count = 0;
        do {
            count = ::read(fd_, data_, sizeof data_);
        } while (count < 0 && errno == EINTR);
        if (count < 0) {
            // The stream turns this into its bad state; readBoard recovers the errno from it.
            throw std::system_error(errno, std::system_category(), "read");
        }
        if (count == 0) {
            return traits_type::eof();
        }
        setg(data_, data_, data_ + count);
        return traits_type::to_int_type(*gptr());
    }

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;
    int fd_;
    char data_[kBufferSize];
};

BoardFileInput::BoardFileInput(const std::string& path) : stream_(nullptr) {
    if (path.find('\0') != std::string::npos) {
        openError_ = FileError(FileError::kInvalidFilename);
        return;
    }
    int fd = -1;
    do {
        // Without O_NONBLOCK a named pipe would hold the open, and the window, until a writer
        // came.
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        openError_ = FileError::fromErrno(errno);
        return;
    }
    // Only regular files are read: a folder would read as an empty board, and a device or a
    // pipe may never end (/dev/zero is blanks for ever, which the reader skips for ever).
    struct stat status {};
    int error = 0;
    if (::fstat(fd, &status) != 0) {
        error = errno;
    } else if (S_ISDIR(status.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(status.st_mode)) {
        error = EACCES;
    } else if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    if (error != 0) {
        ::close(fd);
        openError_ = FileError::fromErrno(error);
        return;
    }
    buffer_ = std::make_unique<ReadBuffer>(fd);
    stream_.rdbuf(buffer_.get());
}

BoardFileInput::~BoardFileInput() = default;

} // namespace tivla
