// See CaptionClick.h.
#include "CaptionClick.h"

#include <QMouseEvent>
#include <QWidget>

namespace tivla {

CaptionClick::CaptionClick(QWidget* panel) : QObject(panel), panel_(panel) {
    panel->installEventFilter(this);
}

bool CaptionClick::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != panel_ ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) {
        return false;
    }
    const QPoint pos = mouse->position().toPoint();
    const bool ownSurface = panel_->rect().contains(pos) && panel_->childAt(pos) == nullptr;
    if (type == QEvent::MouseButtonPress) {
        pressed_ = ownSurface;
    } else if (pressed_) {
        pressed_ = false;
        if (ownSurface) {
            emit clicked();
        }
    }
    return ownSurface;
}

} // namespace tivla
