// See DesktopUser.h.
#include "DesktopUser.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdlib>

namespace tivla::e2e {

namespace {

constexpr int kToolPatienceMs = 20000;
// Longer than Qt's double-click interval (400 ms unless the desktop says otherwise).
constexpr int kDoubleClickGuardMs = 700;
constexpr int kDoubleClickDistance = 8;
constexpr int kPollIntervalMs = 60;
constexpr int kTypingDelayMs = 25;
constexpr int kDragStepPixels = 5;

QString number(int value) {
    return QString::number(value);
}

} // namespace

DesktopUser::DesktopUser(const QString& display)
    : environment_(QProcessEnvironment::systemEnvironment()) {
    environment_.insert(QStringLiteral("DISPLAY"), display);
    environment_.remove(QStringLiteral("XAUTHORITY"));
}

void DesktopUser::moveTo(QPoint point) {
    // --sync waits for the pointer to arrive, which takes long when it is there already.
    if (point == pointer_) {
        return;
    }
    if (xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), number(point.x()),
                 number(point.y())})) {
        pointer_ = point;
    }
}

void DesktopUser::click(QPoint point, int button) {
    if (sinceLastClick_.isValid() &&
        (point - lastClick_).manhattanLength() < kDoubleClickDistance) {
        const qint64 wait = kDoubleClickGuardMs - sinceLastClick_.elapsed();
        if (wait > 0) {
            QThread::msleep(static_cast<unsigned long>(wait));
        }
    }
    moveTo(point);
    xdotool({QStringLiteral("click"), number(button)});
    lastClick_ = point;
    sinceLastClick_.start();
}

void DesktopUser::drag(QPoint from, QPoint to) {
    moveTo(from);
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    const QPoint distance = to - from;
    const int steps =
        std::max(1, std::max(std::abs(distance.x()), std::abs(distance.y())) / kDragStepPixels);
    for (int i = 1; i <= steps; ++i) {
        moveTo(from + distance * i / steps);
    }
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    sinceLastClick_.invalidate();
}

void DesktopUser::type(const QString& text) {
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), number(kTypingDelayMs), text});
}

void DesktopUser::key(const QString& name, int times) {
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--delay"), number(kTypingDelayMs)};
    for (int i = 0; i < times; ++i) {
        arguments << name;
    }
    xdotool(arguments);
}

QImage DesktopUser::look() const {
    QByteArray png;
    if (!run(QStringLiteral("import"),
             {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")}, &png)) {
        return {};
    }
    QImage screen = QImage::fromData(png, "PNG");
    if (screen.isNull()) {
        lastError_ = QStringLiteral("import gave no readable PNG");
        return {};
    }
    return screen.convertToFormat(QImage::Format_RGB32);
}

bool DesktopUser::waitToSee(const Sight& seen, int timeoutMs, QImage* lastLook) const {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QImage screen = look();
        if (lastLook != nullptr) {
            *lastLook = screen;
        }
        if (!screen.isNull() && seen(screen)) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kPollIntervalMs);
    }
}

QList<QRect> DesktopUser::programWindows() const {
    QList<QRect> windows;
    QByteArray ids;
    // The program's windows carry the instance name of its executable.
    if (!xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--classname"), QStringLiteral("^tivla$")},
                 &ids)) {
        return windows;
    }
    for (const QByteArray& id : ids.split('\n')) {
        if (id.trimmed().isEmpty()) {
            continue;
        }
        QByteArray shell;
        if (!xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                      QString::fromLatin1(id.trimmed())},
                     &shell)) {
            continue;
        }
        QRect geometry;
        for (const QByteArray& line : shell.split('\n')) {
            const int equals = line.indexOf('=');
            const QByteArray name = line.left(equals);
            const int value = line.mid(equals + 1).trimmed().toInt();
            if (name == "X") {
                geometry.moveLeft(value);
            } else if (name == "Y") {
                geometry.moveTop(value);
            } else if (name == "WIDTH") {
                geometry.setWidth(value);
            } else if (name == "HEIGHT") {
                geometry.setHeight(value);
            }
        }
        windows << geometry;
    }
    return windows;
}

bool DesktopUser::xdotool(const QStringList& arguments, QByteArray* output) const {
    return run(QStringLiteral("xdotool"), arguments, output);
}

bool DesktopUser::run(const QString& program, const QStringList& arguments,
                      QByteArray* output) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(program, arguments);
    if (!process.waitForFinished(kToolPatienceMs)) {
        process.kill();
        process.waitForFinished();
        lastError_ = QStringLiteral("%1 %2 did not finish").arg(program, arguments.join(u' '));
        return false;
    }
    if (output != nullptr) {
        *output = process.readAllStandardOutput();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        lastError_ = QStringLiteral("%1 %2 failed: %3")
                         .arg(program, arguments.join(u' '),
                              QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        return false;
    }
    return true;
}

} // namespace tivla::e2e
