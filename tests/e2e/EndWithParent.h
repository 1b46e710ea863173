// Ties a child process's life to the test program's: a test killed by a timeout leaves no X
// server or program behind.
#pragma once

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>

namespace tivla::e2e {

inline void endWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

} // namespace tivla::e2e
