// A label sized to its text that can take a new text every generation of a batch.
#pragma once

#include <QString>
#include <QStringView>
#include <QWidget>

namespace tivla {

// setText() only stores the characters and, if none is pending yet, posts one refresh: the
// size and the picture follow when the event loop next runs, so a batch that lets no event
// through pays for neither, however many texts it sets. The text is drawn in the widget's font
// and in its palette's foreground colour; the background is the parent's unless
// autoFillBackground is set.
class ValueLabel : public QWidget {
    Q_OBJECT

public:
    explicit ValueLabel(QWidget* parent = nullptr);
    explicit ValueLabel(const QString& text, QWidget* parent = nullptr);

    // The newest text, at once.
    QString text() const { return text_; }
    void setText(QStringView text);
    void setText(const QString& text) { setText(QStringView(text)); }

    bool isRefreshPending() const { return refreshPending_; }

    // The text's extent in the current font; an empty text measures as one space.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Presses are the label's own and never reach the panel beneath it.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void scheduleRefresh();
    void refresh();

    // Owned, never shared with the caller, so the next setText() reuses its capacity.
    QString text_;
    bool refreshPending_ = false;
};

} // namespace tivla
