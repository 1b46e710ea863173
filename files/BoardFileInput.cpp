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
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        openError_ = FileError::fromErrno(errno);
        return;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
        ::close(fd);
        openError_ = FileError::fromErrno(error);
        return;
    }
    buffer_ = std::make_unique<ReadBuffer>(fd);
    stream_.rdbuf(buffer_.get());
}

BoardFileInput::~BoardFileInput() = default;

} // namespace tivla
