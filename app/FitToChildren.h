// Keeps a window exactly the size of what it shows: whenever one of its controls moves,
// resizes, shows or hides, the window takes the bounding box of its visible controls.
#pragma once

#include <QObject>

class QWidget;

namespace tivla {

class FitToChildren : public QObject {
    Q_OBJECT
public:
    // Watches the controls window has now; it fits itself once they are all in place.
    explicit FitToChildren(QWidget* window);

    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
};

} // namespace tivla
