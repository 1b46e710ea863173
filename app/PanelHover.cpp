// See PanelHover.h.
#include "PanelHover.h"

#include <QMouseEvent>
#include <QWidget>

namespace tivla {

PanelHover::PanelHover(QWidget* panel) : QObject(panel), panel_(panel) {
    panel->setMouseTracking(true);
    panel->installEventFilter(this);
}

bool PanelHover::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_ && event->type() == QEvent::MouseMove) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (panel_->rect().contains(pos) && panel_->childAt(pos) == nullptr) {
            emit hovered();
        }
    }
    return false;
}

} // namespace tivla
