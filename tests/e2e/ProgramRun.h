// One run of the real program: started in a fresh working folder that holds copies of the
// example boards and an empty snapshot folder, with a clean environment of its own.
#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace tivla::e2e {

class ProgramRun {
public:
    // display: the X display, empty for none; scale: QT_SCALE_FACTOR for the program, 1 for
    // none. Its output goes to logPath.
    ProgramRun(const QString& display, int scale, const QString& logPath);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Before start: a setting added to the program's clean environment.
    void setSetting(const QString& name, const QString& value) { settings_.insert(name, value); }
    // Before start: a copy of the program runs as this user (and the group of the same
    // number), owning its working folder; for a test run as root.
    void runAs(uint user) { user_ = user; }

    // Empty when the program runs, otherwise why it does not. arguments: its command line.
    QString start(const QStringList& arguments = {});
    // The program's current directory, with "примеры" and "Скриншоты" in it.
    QDir workDir() const { return QDir(work_.path()); }
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }
    // True once the program has ended (within timeoutMs).
    bool waitForExit(int timeoutMs);
    int exitCode() const { return process_.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return process_.exitStatus(); }
    void stop();

private:
    QProcessEnvironment environment() const;

    QString display_;
    int scale_;
    QString logPath_;
    QProcessEnvironment settings_;
    std::optional<uint> user_;
    QTemporaryDir work_;
    QProcess process_;
};

} // namespace tivla::e2e
