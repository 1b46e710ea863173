// A label sized to its text that can take a new text every generation of a batch.
#include "ValueLabel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tivla {

namespace {
QEvent::Type refreshEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

const QString& measuredSpace() {
    static const QString space(QLatin1Char(' '));
    return space;
}
} // namespace

ValueLabel::ValueLabel(QWidget* parent) : QWidget(parent) {
    resize(sizeHint());
}

ValueLabel::ValueLabel(const QString& text, QWidget* parent) : QWidget(parent) {
    text_ = text;
    resize(sizeHint());
}

void ValueLabel::setText(QStringView text) {
    // Copy rather than share: sharing would make the caller's next edit of its own buffer,
    // or our next setText(), allocate.
    text_.resize(text.size());
    std::copy(text.begin(), text.end(), text_.begin());
    scheduleRefresh();
}

QSize ValueLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    const QString& measured = text_.isEmpty() ? measuredSpace() : text_;
    return {metrics.horizontalAdvance(measured), metrics.height()};
}

void ValueLabel::scheduleRefresh() {
    if (!refreshPending_) {
        refreshPending_ = true;
        QCoreApplication::postEvent(this, new QEvent(refreshEventType()));
    }
}

void ValueLabel::refresh() {
    refreshPending_ = false;
    const QSize wanted = sizeHint();
    if (size() != wanted) {
        resize(wanted);
    }
    update();
}

bool ValueLabel::event(QEvent* event) {
    if (event->type() == refreshEventType()) {
        refresh();
        return true;
    }
    return QWidget::event(event);
}

void ValueLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        // Fonts change while the window is being built, when its layout wants true sizes.
        resize(sizeHint());
    }
    QWidget::changeEvent(event);
}

void ValueLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text_);
}

void ValueLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void ValueLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

} // namespace tivla
