// Starting and ending the soak's own Xvfb.
#include "XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tivla {

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr const char* kScreen = "1280x1024x24";

} // namespace

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool XvfbServer::start() {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = QStringLiteral("pipe: %1").arg(errno);
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        error_ = QStringLiteral("fork: %1").arg(errno);
        return false;
    }
    if (child == 0) {
        // The server goes when the soak goes, however the soak ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::dup2(pipeFds[1], 3); // dup2 clears close-on-exec on the copy
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", kScreen, "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    pid_ = child;
    ::close(pipeFds[1]);
    std::string number;
    pollfd waiting{pipeFds[0], POLLIN, 0};
    while (::poll(&waiting, 1, kStartTimeoutMs) > 0) {
        char ch = 0;
        if (::read(pipeFds[0], &ch, 1) != 1 || ch == '\n') {
            break;
        }
        number += ch;
    }
    ::close(pipeFds[0]);
    if (number.empty()) {
        error_ = QStringLiteral("Xvfb did not start (is it installed?)");
        return false;
    }
    display_ = QStringLiteral(":") + QString::fromStdString(number);
    return true;
}

} // namespace tivla
