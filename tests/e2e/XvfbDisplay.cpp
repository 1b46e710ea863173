// See XvfbDisplay.h.
#include "XvfbDisplay.h"

#include "EndWithParent.h"

#include <QDeadlineTimer>
#include <QStandardPaths>

namespace tivla::e2e {

namespace {

constexpr int kStartPatienceMs = 15000;
constexpr int kStopPatienceMs = 5000;

} // namespace

XvfbDisplay::XvfbDisplay(QSize screenSize) : screenSize_(screenSize) {}

XvfbDisplay::~XvfbDisplay() {
    stop();
}

QStringList XvfbDisplay::missingTools() {
    QStringList missing;
    for (const QString& tool :
         {QStringLiteral("Xvfb"), QStringLiteral("xdotool"), QStringLiteral("import")}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            missing << tool;
        }
    }
    return missing;
}

QString XvfbDisplay::start() {
    // -displayfd makes the server choose a free display and write its number once it accepts
    // connections, so parallel test programs never race for a number. -noreset keeps it from
    // resetting whenever the program under test and xdotool happen to be disconnected at once.
    const QString screen =
        QStringLiteral("%1x%2x24").arg(screenSize_.width()).arg(screenSize_.height());
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    endWithParent(server_);
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                   QStringLiteral("-noreset"), QStringLiteral("-br")});
    if (!server_.waitForStarted(kStartPatienceMs)) {
        return QStringLiteral("Xvfb did not start: %1").arg(server_.errorString());
    }
    QByteArray announced;
    const QDeadlineTimer deadline(kStartPatienceMs);
    while (!announced.contains('\n') && !deadline.hasExpired()) {
        if (server_.state() != QProcess::Running) {
            return QStringLiteral("Xvfb ended at start: %1")
                .arg(QString::fromLocal8Bit(server_.readAllStandardError()).trimmed());
        }
        server_.waitForReadyRead(100);
        announced += server_.readAllStandardOutput();
    }
    bool ok = false;
    const int number = announced.trimmed().toInt(&ok);
    if (!ok) {
        stop();
        return QStringLiteral("Xvfb announced no display number");
    }
    name_ = QStringLiteral(":%1").arg(number);
    return {};
}

void XvfbDisplay::stop() {
    if (server_.state() == QProcess::NotRunning) {
        return;
    }
    server_.terminate();
    if (!server_.waitForFinished(kStopPatienceMs)) {
        server_.kill();
        server_.waitForFinished(kStopPatienceMs);
    }
}

} // namespace tivla::e2e
