// See VirtualPointer.h.
#include "VirtualPointer.h"

#include <QFile>
#include <QThread>

#include <cstring>
#include <wayland-client.h>

namespace tivla::e2e {

namespace {

// Debian 12 packages no wlr-protocols XML to run wayland-scanner on, so zwlr_virtual_pointer_v1
// is written out as the scanner would, up to the last request used: only the requests' order
// and signatures matter to the client library, and those without objects need no types.
extern const wl_interface kPointerInterface;
// The client library takes the types as non-const but only reads them.
const wl_interface* const kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", const_cast<const wl_interface**>(kCreateTypes)}};
const wl_message kPointerRequests[] = {
    {"motion", "uff", nullptr}, {"motion_absolute", "uuuuu", nullptr},
    {"button", "uuu", nullptr}, {"axis", "uuf", nullptr},
    {"frame", "", nullptr},
};
const wl_interface kManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};
const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 5,
                                        kPointerRequests,          0, nullptr};

enum Request : uint32_t { kCreate = 0, kMotionAbsolute = 1, kButton = 2, kFrame = 4 };
constexpr uint32_t kLeftButton = 0x110; // BTN_LEFT
constexpr int kStepPx = 10;
constexpr int kStepPauseMs = 15;
constexpr int kSettleMs = 150;

const wl_registry_listener kRegistryListener = {
    [](void* manager, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
        if (std::strcmp(interface, kManagerInterface.name) == 0) {
            *static_cast<wl_proxy**>(manager) =
                static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
        }
    },
    [](void*, wl_registry*, uint32_t) {}};

} // namespace

VirtualPointer::VirtualPointer(const QString& socket, QSize layout)
    : display_(wl_display_connect(QFile::encodeName(socket).constData())), layout_(layout) {
    clock_.start();
    if (display_ == nullptr) {
        return;
    }
    wl_proxy* manager = nullptr;
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &kRegistryListener, &manager);
    wl_display_roundtrip(display_);
    wl_registry_destroy(registry);
    if (manager != nullptr) {
        pointer_ =
            wl_proxy_marshal_flags(manager, kCreate, &kPointerInterface, 1, 0, nullptr, nullptr);
        // Only the client's side: the pointer outlives it, and disconnecting ends both.
        wl_proxy_destroy(manager);
        // The seat gains a pointer now; give the program time to take it up.
        frame(kSettleMs);
    }
}

VirtualPointer::~VirtualPointer() {
    if (pointer_ != nullptr) {
        wl_proxy_destroy(pointer_);
    }
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
    }
}

void VirtualPointer::drag(QPoint from, QPoint to) {
    const QPoint travel = to - from;
    const int steps = qMax(1, qMax(qAbs(travel.x()), qAbs(travel.y())) / kStepPx);
    for (int i = 0; i <= steps; ++i) {
        const QPoint at = from + travel * i / steps;
        wl_proxy_marshal_flags(pointer_, kMotionAbsolute, nullptr, 1, 0, uint32_t(clock_.elapsed()),
                               uint32_t(at.x()), uint32_t(at.y()), uint32_t(layout_.width()),
                               uint32_t(layout_.height()));
        frame(i == 0 || i == steps ? kSettleMs : kStepPauseMs);
        if (i == 0) {
            button(true);
        }
    }
    button(false);
}

void VirtualPointer::button(bool pressed) {
    wl_proxy_marshal_flags(
        pointer_, kButton, nullptr, 1, 0, uint32_t(clock_.elapsed()), kLeftButton,
        uint32_t(pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED));
    frame(kSettleMs);
}

void VirtualPointer::frame(int pauseMs) {
    wl_proxy_marshal_flags(pointer_, kFrame, nullptr, 1, 0);
    wl_display_roundtrip(display_);
    QThread::msleep(pauseMs);
}

} // namespace tivla::e2e
