// A panel that opens as the pointer passes over it: reports the pointer's moves over the
// panel's own surface, not those over its buttons nor those reported beyond its edges.
#pragma once

#include <QObject>

class QWidget;

namespace tivla {

class PanelHover : public QObject {
    Q_OBJECT
public:
    // Turns on the panel's mouse tracking, so that moves without a button count too.
    explicit PanelHover(QWidget* panel);

signals:
    void hovered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panel_;
};

} // namespace tivla
