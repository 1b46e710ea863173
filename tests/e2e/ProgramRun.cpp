// See ProgramRun.h.
#include "ProgramRun.h"

#include "EndWithParent.h"

#include <QDirIterator>
#include <QFile>

namespace tivla::e2e {

namespace {

constexpr int kStartPatienceMs = 15000;
constexpr int kStopPatienceMs = 5000;
const QString kExamplesFolder = QStringLiteral("примеры");
const QString kSnapshotFolder = QStringLiteral("Скриншоты");

// Settings of the desktop the tests run from that would change how the program looks, or let
// it reach into that desktop.
const char* const kForeignSettings[] = {
    "QT_QPA_PLATFORM",
    "WAYLAND_DISPLAY",
    "QT_SCALE_FACTOR",
    "QT_SCREEN_SCALE_FACTORS",
    "QT_ENABLE_HIGHDPI_SCALING",
    "QT_AUTO_SCREEN_SCALE_FACTOR",
    "QT_FONT_DPI",
    "QT_STYLE_OVERRIDE",
    "QT_SCALE_FACTOR_ROUNDING_POLICY",
    "QT_QPA_PLATFORMTHEME",
    "XAUTHORITY",
    "LC_ALL",
    "LC_TIME",
    "LANGUAGE",
    "SESSION_MANAGER",
    "DBUS_SESSION_BUS_ADDRESS",
};

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) {
        return false;
    }
    QDirIterator files(from, QDir::Files | QDir::Hidden);
    while (files.hasNext()) {
        files.next();
        if (!QFile::copy(files.filePath(), QDir(to).filePath(files.fileName()))) {
            return false;
        }
    }
    return true;
}

} // namespace

ProgramRun::ProgramRun(const QString& display, int scale, const QString& logPath)
    : display_(display), scale_(scale), logPath_(logPath) {}

ProgramRun::~ProgramRun() {
    stop();
}

QString ProgramRun::start(const QStringList& arguments) {
    if (!work_.isValid()) {
        return QStringLiteral("no temporary folder: %1").arg(work_.errorString());
    }
    const QDir work = workDir();
    if (!copyFolder(QStringLiteral(TIVLA_E2E_EXAMPLES), work.filePath(kExamplesFolder)) ||
        !work.mkpath(kSnapshotFolder) || !work.mkpath(QStringLiteral("home/.config")) ||
        !work.mkpath(QStringLiteral("runtime"))) {
        return QStringLiteral("could not prepare %1").arg(work.path());
    }
    QFile::setPermissions(work.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    process_.setProcessEnvironment(environment());
    endWithParent(process_);
    process_.setWorkingDirectory(work.path());
    process_.setStandardOutputFile(logPath_, QIODevice::Append);
    process_.setStandardErrorFile(logPath_, QIODevice::Append);
    process_.start(QStringLiteral(TIVLA_E2E_PROGRAM), arguments);
    if (!process_.waitForStarted(kStartPatienceMs)) {
        return QStringLiteral("%1 did not start: %2")
            .arg(QStringLiteral(TIVLA_E2E_PROGRAM), process_.errorString());
    }
    return {};
}

QProcessEnvironment ProgramRun::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : kForeignSettings) {
        environment.remove(QString::fromLatin1(name));
    }
    const QDir work = workDir();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    // The program's own language; snapshot names take the date from the locale.
    environment.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
    // The file dialog remembers places under the home folder; keep that out of the real one.
    environment.insert(QStringLiteral("HOME"), work.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       work.filePath(QStringLiteral("home/.config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.filePath(QStringLiteral("runtime")));
    if (scale_ != 1) {
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale_));
    }
    environment.insert(settings_);
    return environment;
}

bool ProgramRun::waitForExit(int timeoutMs) {
    return process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
}

void ProgramRun::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(kStopPatienceMs)) {
        process_.kill();
        process_.waitForFinished(kStopPatienceMs);
    }
}

} // namespace tivla::e2e
