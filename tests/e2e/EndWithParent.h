// Ties a child process's life to the test program's: a test killed by a timeout leaves no X
// server, compositor or program behind.
#pragma once

#include <QProcess>

#include <csignal>
#include <grp.h>
#include <optional>
#include <sys/prctl.h>
#include <unistd.h>

namespace tivla::e2e {

// user: run the child as this user (and the group of the same number) rather than the test's.
inline void endWithParent(QProcess& process, std::optional<uint> user = {}) {
    process.setChildProcessModifier([user] {
        const bool becameUser =
            !user || (::setgroups(0, nullptr) == 0 && ::setgid(*user) == 0 && ::setuid(*user) == 0);
        if (!becameUser) {
            ::_exit(127);
        }
        // After the change of user, which clears it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
}

} // namespace tivla::e2e
