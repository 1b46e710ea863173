// A mouse for a headless wlroots compositor (sway), which has no input devices of its own:
// a client of the compositor's wlr-virtual-pointer protocol.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QSize>
#include <QString>

struct wl_display;
struct wl_proxy;

namespace tivla::e2e {

class VirtualPointer {
public:
    // socket: the compositor's Wayland socket; layout: the size of its output layout, which
    // positions are measured against.
    VirtualPointer(const QString& socket, QSize layout);
    ~VirtualPointer();
    VirtualPointer(const VirtualPointer&) = delete;
    VirtualPointer& operator=(const VirtualPointer&) = delete;

    // False when the compositor cannot be reached or offers no virtual pointer.
    bool isValid() const { return pointer_ != nullptr; }
    // Presses the left button at from, moves in small steps to to, releases there.
    void drag(QPoint from, QPoint to);
    void click(QPoint point) { drag(point, point); }

private:
    void button(bool pressed);
    // Ends one input frame and lets the compositor and the program take it in.
    void frame(int pauseMs);

    wl_display* display_ = nullptr;
    wl_proxy* pointer_ = nullptr;
    QSize layout_;
    QElapsedTimer clock_;
};

} // namespace tivla::e2e
