// Write to a temporary file, flush it to the disk, then rename it over the target.
#include "BoardFileSave.h"

#include "BoardFileWriter.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tivla {

namespace {

constexpr int kTempNameAttempts = 100;
// Enough of the target's name to recognise a leftover, short enough to stay a valid name.
constexpr std::size_t kTempNameStem = 64;
// New files get the usual permissions less the umask, as any editor's files do.
constexpr mode_t kNewFileMode = 0666;

// Creates a file that didn't exist beside the target; its name on success.
std::optional<std::string> createTempBeside(const std::string& directory, const std::string& name,
                                            int& fd, int& error) {
    std::minstd_rand random(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid()));
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        std::string candidate = directory + "." + name.substr(0, kTempNameStem) + ".tivla-" +
                                std::to_string(random() % 1000000000u);
        do {
            fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        } while (fd < 0 && errno == EINTR);
        if (fd >= 0) {
            return candidate;
        }
        if (errno != EEXIST) {
            error = errno;
            return std::nullopt;
        }
    }
    error = EEXIST;
    return std::nullopt;
}

// write() may take fewer bytes than asked; an error or a full disk ends the loop.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (count == 0) {
            return ENOSPC;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return 0;
}

int flushToDisk(int fd) {
    if (::fsync(fd) != 0 && errno != EINVAL) {
        // EINVAL: a file system without syncing, where the data is as safe as it gets.
        return errno;
    }
    return 0;
}

// Makes the rename itself durable; a failure here leaves a complete file, so it is not reported.
void flushDirectory(const std::string& directory) {
    const int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::optional<FileError> writeIntoExisting(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return FileError::fromErrno(errno);
    }
    int error = writeAll(fd, bytes);
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        return FileError::fromErrno(error);
    }
    return std::nullopt;
}

} // namespace

std::optional<FileError> replaceFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.find('\0') != std::string::npos) {
        return FileError(FileError::kInvalidFilename);
    }
    if (path.empty()) {
        return FileError::fromErrno(ENOENT);
    }
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    struct stat target {};
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    if (name.empty() || (targetExists && S_ISDIR(target.st_mode))) {
        return FileError::fromErrno(EISDIR);
    }
    if (targetExists && !S_ISREG(target.st_mode)) {
        // A device or a pipe is written into, never renamed over: replacing /dev/null with a
        // board file would break the system for everyone.
        return writeIntoExisting(path, bytes);
    }

    int fd = -1;
    int error = 0;
    const std::optional<std::string> temp = createTempBeside(directory, name, fd, error);
    if (!temp) {
        return FileError::fromErrno(error);
    }
    if (targetExists) {
        // Replacing a file keeps its permissions; failing to is no reason to lose the save.
        (void)::fchmod(fd, target.st_mode & 07777);
    }
    error = writeAll(fd, bytes);
    if (error == 0) {
        error = flushToDisk(fd);
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temp->c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp->c_str());
        return FileError::fromErrno(error);
    }
    flushDirectory(directory);
    return std::nullopt;
}

std::optional<FileError> saveBoardFile(const std::string& path, const Board& board) {
    return replaceFileAtomically(path, boardFileText(board));
}

} // namespace tivla
