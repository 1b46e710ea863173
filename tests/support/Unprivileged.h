// Runs a part of a test as an ordinary user, since root passes every permission check.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tivla::test {

// nobody and nogroup on Debian; as root, the body runs in a child with these ids and one more
// group, so that a file's group other than the process's own can be kept.
inline constexpr uid_t kUnprivilegedId = 65534;
inline constexpr gid_t kSecondGroup = 65533;

// Runs body as the current user when that is not root; as root, in a forked child that drops to
// kUnprivilegedId after scratch is given to it, its gtest failures printed there and counted
// here. Returns why it could not run the body (the caller skips), or nothing.
inline std::optional<std::string> runUnprivileged(const std::filesystem::path& scratch,
                                                  const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return std::nullopt;
    }
    constexpr int kCannotDrop = 77;
    if (::chown(scratch.c_str(), kUnprivilegedId, kUnprivilegedId) != 0) {
        return "cannot give the scratch folder to uid " + std::to_string(kUnprivilegedId);
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {kUnprivilegedId, kSecondGroup};
        if (::setgroups(2, groups) != 0 || ::setgid(kUnprivilegedId) != 0 ||
            ::setuid(kUnprivilegedId) != 0 || ::geteuid() == 0) {
            ::_exit(kCannotDrop);
        }
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        return "cannot fork a process to drop root in";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotDrop) {
        return "root cannot become uid " + std::to_string(kUnprivilegedId) +
               " here (no CAP_SETUID?), and root passes every permission check";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the unprivileged part failed (its failures are printed above)";
    return std::nullopt;
}

} // namespace tivla::test
