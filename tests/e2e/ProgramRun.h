// One run of the real program: started in a fresh working folder that holds copies of the
// example boards and an empty snapshot folder, with a clean environment of its own.
#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace tivla::e2e {

class ProgramRun {
public:
    // scale: QT_SCALE_FACTOR for the program, 1 for none. Its output goes to logPath.
    ProgramRun(const QString& display, int scale, const QString& logPath);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Before start: a setting added to the program's clean environment.
    void setSetting(const QString& name, const QString& value) { settings_.insert(name, value); }

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
    QTemporaryDir work_;
    QProcess process_;
};

} // namespace tivla::e2e
