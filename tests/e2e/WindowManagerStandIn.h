// Stands in for the window manager's part in minimising: on a desktop the window manager
// iconifies a window that asks for it (the ICCCM WM_CHANGE_STATE request) and maps it again
// when its taskbar entry is clicked; a bare Xvfb has nobody to do either.
#pragma once

#include <QString>

#include <vector>

struct _XDisplay;

namespace tivla::e2e {

class WindowManagerStandIn {
public:
    explicit WindowManagerStandIn(const QString& display);
    ~WindowManagerStandIn();
    WindowManagerStandIn(const WindowManagerStandIn&) = delete;
    WindowManagerStandIn& operator=(const WindowManagerStandIn&) = delete;

    bool isConnected() const { return display_ != nullptr; }
    // Iconifies every window that has asked for it since the last call; how many did.
    int iconifyRequested();
    // The taskbar entry clicked: the iconified windows come back.
    void restore();

private:
    _XDisplay* display_ = nullptr;
    unsigned long changeState_ = 0;
    unsigned long wmState_ = 0;
    std::vector<unsigned long> iconified_;
};

} // namespace tivla::e2e
