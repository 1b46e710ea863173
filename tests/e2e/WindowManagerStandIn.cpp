// See WindowManagerStandIn.h.
#include "WindowManagerStandIn.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

namespace tivla::e2e {

namespace {

constexpr int kMapPatienceTries = 500;
constexpr useconds_t kMapPollMicroseconds = 10000;

void setWmState(Display* display, Window window, Atom wmState, long state) {
    const long value[2] = {state, None};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value), 2);
}

} // namespace

WindowManagerStandIn::WindowManagerStandIn(const QString& display)
    : display_(XOpenDisplay(display.toLocal8Bit().constData())) {
    if (display_ == nullptr) {
        return;
    }
    changeState_ = XInternAtom(display_, "WM_CHANGE_STATE", False);
    wmState_ = XInternAtom(display_, "WM_STATE", False);
    // Qt sends the request to the root window for those who redirect its children or watch
    // the root itself; the latter leaves mapping to the X server, as here there is no one else.
    // Watching the root's children too tells when a restored window is mapped.
    XSelectInput(display_, DefaultRootWindow(display_),
                 StructureNotifyMask | SubstructureNotifyMask);
    XSync(display_, False);
}

WindowManagerStandIn::~WindowManagerStandIn() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

int WindowManagerStandIn::iconifyRequested() {
    if (display_ == nullptr) {
        return 0;
    }
    int count = 0;
    XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != ClientMessage || event.xclient.message_type != changeState_ ||
            event.xclient.format != 32 || event.xclient.data.l[0] != IconicState) {
            continue;
        }
        const Window window = event.xclient.window;
        XUnmapWindow(display_, window);
        setWmState(display_, window, wmState_, IconicState);
        iconified_.push_back(window);
        ++count;
    }
    XFlush(display_);
    return count;
}

void WindowManagerStandIn::restore() {
    if (display_ == nullptr) {
        return;
    }
    for (const Window window : iconified_) {
        setWmState(display_, window, wmState_, NormalState);
        XMapWindow(display_, window);
        // Like a window manager, give the restored window the keyboard, once it can take it.
        XSync(display_, False);
        for (int tries = 0; tries < kMapPatienceTries; ++tries) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display_, window, &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
                break;
            }
            usleep(kMapPollMicroseconds);
        }
    }
    iconified_.clear();
    XSync(display_, False);
}

} // namespace tivla::e2e
