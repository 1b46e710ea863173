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

// Runs body as this user, or as root in a forked child as nobody (65534) with a second group,
// 65533, unlike the one new files get; scratch becomes nobody's. The child prints its failures,
// the parent counts them. Returns why body could not run unprivileged (to skip), or nothing.
inline std::optional<std::string> runUnprivileged(const std::filesystem::path& scratch,
                                                  const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return std::nullopt;
    }
    constexpr int kCannotDrop = 77;
    const gid_t groups[] = {65534, 65533};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::chown(scratch.c_str(), 65534, 65534) == 0 &&
                             ::setgroups(2, groups) == 0 && ::setgid(65534) == 0 &&
                             ::setuid(65534) == 0;
        if (dropped) {
            body();
        }
        std::fflush(nullptr);
        ::_exit(!dropped ? kCannotDrop : ::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotDrop) {
        return "root cannot become uid 65534 here, and root passes every permission check";
    }
    EXPECT_EQ(status, 0) << "the unprivileged part failed (its failures are printed above)";
    return std::nullopt;
}

} // namespace tivla::test
