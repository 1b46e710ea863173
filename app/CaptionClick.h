// A panel whose own surface is a button: a left press and release both on the surface, not on
// one of its children, make a click. Those presses stop at the panel; all others pass.
#pragma once

#include <QObject>

class QWidget;

namespace tivla {

class CaptionClick : public QObject {
    Q_OBJECT
public:
    explicit CaptionClick(QWidget* panel);

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panel_;
    bool pressed_ = false;
};

} // namespace tivla
