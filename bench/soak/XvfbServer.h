// A private virtual X server for the length of a run, on whatever display number is free.
#pragma once

#include <QString>

#include <sys/types.h>

namespace tivla {

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts Xvfb with -displayfd, so the server itself picks a free display, and waits until
    // it says which. False, with error() telling why, when it could not be started.
    bool start();
    // ":<number>", for DISPLAY.
    QString display() const { return display_; }
    pid_t pid() const { return pid_; }
    QString error() const { return error_; }

private:
    pid_t pid_ = -1;
    QString display_;
    QString error_;
};

} // namespace tivla
