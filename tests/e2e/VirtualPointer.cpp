// See VirtualPointer.h.
#include "VirtualPointer.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstring>
#include <wayland-client.h>

namespace tivla::e2e {

namespace {

// Debian 12 packages no wlr-protocols XML to run wayland-scanner on, so the two interfaces of
// zwlr_virtual_pointer_v1 (version 1) are written out here as the scanner would; only the
// requests' order and signatures matter to the client library.
// The client library takes the tables as non-const but only reads them.
const wl_interface* const kNoTypes[5] = {};
const wl_interface** const kNone = const_cast<const wl_interface**>(kNoTypes);
extern const wl_interface kPointerInterface;
const wl_interface* const kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", const_cast<const wl_interface**>(kCreateTypes)},
    {"destroy", "", kNone},
};
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNone},   {"motion_absolute", "uuuuu", kNone},
    {"button", "uuu", kNone},   {"axis", "uuf", kNone},
    {"frame", "", kNone},       {"axis_source", "u", kNone},
    {"axis_stop", "uu", kNone}, {"axis_discrete", "uufi", kNone},
    {"destroy", "", kNone},
};
const wl_interface kManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, kManagerRequests, 0, nullptr};
const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 9,
                                        kPointerRequests,          0, nullptr};

enum Request : uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4, kDestroy = 8 };
constexpr uint32_t kManagerDestroy = 1;
constexpr uint32_t kLeftButton = 0x110; // BTN_LEFT
constexpr int kStepPx = 10;
constexpr int kStepPauseMs = 15;
constexpr int kSettleMs = 150;

uint32_t now() {
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return static_cast<uint32_t>(clock.elapsed());
}

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t /*version*/) {
    if (std::strcmp(interface, kManagerInterface.name) == 0) {
        *static_cast<wl_proxy**>(data) =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
    }
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

} // namespace

VirtualPointer::VirtualPointer(const QString& socket, QSize layout) : layout_(layout) {
    display_ = wl_display_connect(socket.toLocal8Bit().constData());
    if (display_ == nullptr) {
        error_ = QStringLiteral("cannot connect to %1").arg(socket);
        return;
    }
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &kRegistryListener, &manager_);
    wl_display_roundtrip(display_);
    wl_registry_destroy(registry);
    if (manager_ == nullptr) {
        error_ = QStringLiteral("the compositor offers no %1").arg(kManagerInterface.name);
        return;
    }
    pointer_ = wl_proxy_marshal_flags(manager_, 0, &kPointerInterface, 1, 0, nullptr, nullptr);
    // The seat gains a pointer now; give the program time to take it up.
    frame(kSettleMs);
}

VirtualPointer::~VirtualPointer() {
    if (pointer_ != nullptr) {
        wl_proxy_marshal_flags(pointer_, kDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    }
    if (manager_ != nullptr) {
        wl_proxy_marshal_flags(manager_, kManagerDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    }
    if (display_ != nullptr) {
        wl_display_roundtrip(display_);
        wl_display_disconnect(display_);
    }
}

void VirtualPointer::moveTo(QPoint point) {
    wl_proxy_marshal_flags(pointer_, kMotionAbsolute, nullptr, 1, 0, now(), uint32_t(point.x()),
                           uint32_t(point.y()), uint32_t(layout_.width()),
                           uint32_t(layout_.height()));
    frame(kStepPauseMs);
}

void VirtualPointer::click(QPoint point) {
    moveTo(point);
    frame(kSettleMs);
    button(true);
    button(false);
}

void VirtualPointer::drag(QPoint from, QPoint to) {
    moveTo(from);
    frame(kSettleMs);
    button(true);
    const QPoint travel = to - from;
    const int steps = qMax(1, qMax(qAbs(travel.x()), qAbs(travel.y())) / kStepPx);
    for (int i = 1; i <= steps; ++i) {
        moveTo(from + travel * i / steps);
    }
    frame(kSettleMs);
    button(false);
}

void VirtualPointer::button(bool pressed) {
    wl_proxy_marshal_flags(
        pointer_, kButton, nullptr, 1, 0, now(), kLeftButton,
        uint32_t(pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED));
    frame(kSettleMs);
}

void VirtualPointer::frame(int pauseMs) {
    if (pointer_ != nullptr) {
        wl_proxy_marshal_flags(pointer_, kFrame, nullptr, 1, 0);
    }
    wl_display_roundtrip(display_);
    QThread::msleep(pauseMs);
}

} // namespace tivla::e2e
