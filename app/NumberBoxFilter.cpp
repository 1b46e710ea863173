// See NumberBoxFilter.h.
#include "NumberBoxFilter.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

#include <algorithm>

namespace tivla {

NumberBoxFilter::NumberBoxFilter(QLineEdit* box, std::function<void(QChar&)> keyPress)
    : QObject(box), box_(box), keyPress_(std::move(keyPress)) {
    box->installEventFilter(this);
}

bool NumberBoxFilter::accepts(QChar typed) const {
    keyPress_(typed);
    return !typed.isNull();
}

bool NumberBoxFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::InputMethod:
        return inputMethod(event);
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return drag(event);
    case QEvent::KeyPress:
        return keyPress(event);
    default:
        return false;
    }
}

bool NumberBoxFilter::inputMethod(QEvent* event) const {
    // Input methods and dead keys commit text without a key press carrying it.
    auto* input = static_cast<QInputMethodEvent*>(event);
    QString kept;
    for (QChar typed : input->commitString()) {
        if (accepts(typed)) {
            kept += typed;
        }
    }
    if (kept == input->commitString()) {
        return false;
    }
    QInputMethodEvent filtered(input->preeditString(), input->attributes());
    filtered.setCommitString(kept, input->replacementStart(), input->replacementLength());
    QCoreApplication::sendEvent(box_, &filtered);
    return true;
}

bool NumberBoxFilter::drag(QEvent* event) const {
    // Dragged text is typed text too: it may land only when every character would pass.
    auto* drop = static_cast<QDropEvent*>(event);
    const QString text = drop->mimeData()->text();
    const bool allPass =
        std::all_of(text.begin(), text.end(), [this](QChar typed) { return accepts(typed); });
    if (drop->mimeData()->hasText() && allPass) {
        return false;
    }
    drop->ignore();
    return true;
}

bool NumberBoxFilter::keyPress(QEvent* event) const {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Editing keys such as Delete and the arrows carry no typed character, and Ctrl
    // combinations are the box's shortcuts (select all, copy, paste), not typing.
    const bool shortcut = key->modifiers().testFlag(Qt::ControlModifier);
    // Tab moves the focus on before any key filter would see it.
    const bool focusKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (shortcut || focusKey || text.isEmpty() || text.front() == QChar(0x7f)) {
        return false;
    }
    return !accepts(text.front());
}

} // namespace tivla
