// See WindowDragArea.h.
#include "WindowDragArea.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace tivla {

WindowDragArea::WindowDragArea(QWidget* window, std::initializer_list<QWidget*> parts)
    : QObject(window), window_(window) {
    for (QWidget* part : parts) {
        part->installEventFilter(this);
    }
}

bool WindowDragArea::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    // Qt grabs the pointer for every button; only a left press captures it here, so the moves
    // and the release of a right or middle drag count only over the pressed control.
    const bool uncapturedOutside = !(mouse->buttons() & Qt::LeftButton) &&
                                   dragButton_ != Qt::LeftButton &&
                                   !static_cast<QWidget*>(watched)->rect().contains(pos);
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The compositor follows the pointer until the release, which it keeps to itself.
        if (mouse->button() == Qt::LeftButton && startSystemMove()) {
            break;
        }
        dragButton_ = mouse->button();
        mouseDown(pos);
        break;
    case QEvent::MouseMove:
        if (!uncapturedOutside) {
            mouseMove(pos);
        }
        break;
    default:
        if (!uncapturedOutside) {
            mouseUp();
        }
        break;
    }
    return true;
}

bool WindowDragArea::startSystemMove() {
    // Qt's Wayland plugin ignores move() on a top-level window: only the compositor places it.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return false;
    }
    QWindow* handle = window_->windowHandle();
    return handle != nullptr && handle->startSystemMove();
}

void WindowDragArea::mouseDown(QPoint pos) {
    windowDragging_ = true;
    dragOrigin_ = pos;
}

void WindowDragArea::mouseMove(QPoint pos) {
    if (!windowDragging_) {
        return;
    }
    window_->move(window_->x() + pos.x() - dragOrigin_.x(), window_->y());
    window_->move(window_->x(), window_->y() + pos.y() - dragOrigin_.y());
}

void WindowDragArea::mouseUp() {
    windowDragging_ = false;
}

} // namespace tivla
