// The person at the X display: moves and clicks the mouse and types with xdotool, and looks
// at the screen through ImageMagick's import. Everything is in screen (device) pixels.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

namespace tivla::e2e {

class DesktopUser {
public:
    using Sight = std::function<bool(const QImage& screen)>;

    explicit DesktopUser(const QString& display);

    void moveTo(QPoint point);
    // A left click unless told otherwise. A second click near the first waits out the
    // double-click interval, as a person clicking twice on purpose does.
    void click(QPoint point, int button = 1);
    // Presses at from, moves in small steps to to, releases there.
    void drag(QPoint from, QPoint to);
    // Text as typed on the keyboard, Cyrillic included.
    void type(const QString& text);
    // xdotool key names: "Return", "End", "BackSpace".
    void key(const QString& name, int times = 1);

    // A screenshot of the whole screen, Format_RGB32; null if import failed.
    QImage look() const;
    // Looks again and again until seen says yes or timeoutMs has passed; the last screenshot
    // lands in lastLook either way.
    bool waitToSee(const Sight& seen, int timeoutMs, QImage* lastLook) const;

    // Where the program's windows are on the screen, for finding a dialog to click on.
    QList<QRect> programWindows() const;

    // What went wrong with the last xdotool or import call, if anything.
    QString lastError() const { return lastError_; }

private:
    bool xdotool(const QStringList& arguments, QByteArray* output = nullptr) const;
    bool run(const QString& program, const QStringList& arguments, QByteArray* output) const;

    QProcessEnvironment environment_;
    // Where this user last put the pointer; nobody else moves it.
    QPoint pointer_{-1, -1};
    QPoint lastClick_{-1000, -1000};
    QElapsedTimer sinceLastClick_;
    mutable QString lastError_;
};

} // namespace tivla::e2e
