// Write to a temporary file, flush it to the disk, then rename it over the target; write in
// place only where a rename would lose the file's links or is not allowed.
#include "AtomicSave.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
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
// As the kernel's own limit on links followed in one path.
constexpr int kMaxLinkDepth = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a chain of symbolic links ends at, whether or not it exists yet; nothing for a chain
// too long or looping, which must not be replaced by a file either.
std::optional<std::string> followLinks(std::string path) {
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        struct stat link = {};
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
            return path;
        }
        std::string target(static_cast<std::size_t>(link.st_size) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : folderOf(path) + target;
    }
    return std::nullopt;
}

// Creates a file that didn't exist beside the target; its name on success.
std::optional<std::string> createTempBeside(const std::string& folder, const std::string& name,
                                            int& fd, int& error) {
    std::minstd_rand random(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid()));
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        std::string candidate = folder + "." + name.substr(0, kTempNameStem) + ".tivla-" +
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

// The classic save for the two cases a rename cannot serve: the bytes go over the old ones,
// the file is cut to their length and flushed. The name, its inode, its links, owner, group and
// permissions all stay; a failure half-way leaves the file half-written.
int writeInPlace(const std::string& path, std::string_view bytes) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return errno;
    }
    // Writing before cutting reuses the file's own blocks, so a nearly full disk has room.
    int error = writeAll(fd, bytes);
    if (error == 0 && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        error = errno;
    }
    if (error == 0) {
        error = flushToDisk(fd);
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

// The new file takes the old one's group where this process may give it (it may when it is a
// member of that group) and its permissions, but never set-user-ID, set-group-ID or sticky: a
// board file that is a program's copy must not run as its owner. Where the group cannot be
// kept, the group the file has instead must not gain what the old group might do, so those
// bits go. Failing either is no reason to lose the save.
void keepGroupAndPermissions(int fd, const struct stat& old) {
    const bool groupKept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
    (void)::fchmod(fd, old.st_mode & (groupKept ? 0777 : 0707));
}

// Makes the rename itself durable; a failure here leaves a complete file, so it is not reported.
void flushFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int saveFileAtomically(const std::string& named, std::string_view bytes) {
    if (named.find('\0') != std::string::npos) {
        return EINVAL;
    }
    if (named.empty()) {
        return ENOENT;
    }
    const std::optional<std::string> followed = followLinks(named);
    if (!followed) {
        return ELOOP;
    }
    const std::string& path = *followed;
    const std::string folder = folderOf(path);
    const std::string name = path.substr(folder.size());
    struct stat target = {};
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    if (name.empty() || (targetExists && S_ISDIR(target.st_mode))) {
        return EISDIR;
    }
    if (targetExists && !S_ISREG(target.st_mode)) {
        return EACCES;
    }
    // A file this user may not write is refused, as the classic open would refuse it, although
    // the folder's permission alone would let a rename replace it.
    if (targetExists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    // A file with other names stays one file under all of them.
    if (targetExists && target.st_nlink > 1) {
        return writeInPlace(path, bytes);
    }

    int fd = -1;
    int error = 0;
    const std::optional<std::string> temp = createTempBeside(folder, name, fd, error);
    if (!temp) {
        // A writable file in a folder that takes no new file: saved the classic way.
        const bool folderClosed = error == EACCES || error == EPERM;
        return targetExists && folderClosed ? writeInPlace(path, bytes) : error;
    }
    if (targetExists) {
        keepGroupAndPermissions(fd, target);
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
        ::unlink(temp->c_str());
        // In a sticky folder (/tmp, a shared one) only the file's or the folder's owner may
        // rename over it, while anyone the file lets write may write it the classic way.
        return targetExists && error == EPERM ? writeInPlace(path, bytes) : error;
    }
    if (error != 0) {
        ::unlink(temp->c_str());
        return error;
    }
    flushFolder(folder);
    return 0;
}

} // namespace tivla
