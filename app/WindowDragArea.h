// The title area that drags the frameless main window: a press on it starts the drag, pointer
// moves carry the window along and the release ends it. Where the platform cannot place a
// window (Wayland), a left press hands the move to the compositor instead.
#pragma once

#include <QObject>
#include <QPoint>

#include <initializer_list>

class QWidget;

namespace tivla {

class WindowDragArea : public QObject {
    Q_OBJECT
public:
    // Presses on any of parts (the area and the captions on it) drag window; the buttons on
    // the area are widgets of their own and keep their presses.
    WindowDragArea(QWidget* window, std::initializer_list<QWidget*> parts);

    // Whether a press is being dragged, and where in the pressed control it began.
    bool windowDragging() const { return windowDragging_; }
    QPoint dragOrigin() const { return dragOrigin_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks the compositor to move the window with the pointer; false where the platform lets
    // the window place itself, or the compositor refused.
    bool startSystemMove();
    void mouseDown(QPoint pos);
    void mouseMove(QPoint pos);
    void mouseUp();

    QWidget* window_;
    bool windowDragging_ = false;
    QPoint dragOrigin_;
    // The button of the press that started the drag.
    Qt::MouseButton dragButton_ = Qt::NoButton;
};

} // namespace tivla
