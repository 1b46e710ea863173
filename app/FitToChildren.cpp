// See FitToChildren.h.
#include "FitToChildren.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace tivla {

FitToChildren::FitToChildren(QWidget* window) : QObject(window), window_(window) {
    for (QObject* child : window->children()) {
        if (child->isWidgetType()) {
            child->installEventFilter(this);
        }
    }
}

void FitToChildren::fit() {
    int right = 0;
    int bottom = 0;
    for (QObject* child : window_->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow() && widget->isVisibleTo(window_)) {
            right = std::max(right, widget->geometry().right() + 1);
            bottom = std::max(bottom, widget->geometry().bottom() + 1);
        }
    }
    if (right > 0 && bottom > 0 && window_->size() != QSize(right, bottom)) {
        window_->setFixedSize(right, bottom);
    }
}

bool FitToChildren::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched->parent() == window_ &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::ShowToParent ||
         type == QEvent::HideToParent)) {
        fit();
    }
    return false;
}

} // namespace tivla
