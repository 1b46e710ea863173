// The program's command line: what it accepts, what it refuses before any window, and a file
// given on it opened once the main window appears after the title screen.
#include "app/CommandLine.h"
#include "MainWindowFixture.h"
#include "app/TForm2.h"

#include <QProcess>
#include <QScopeGuard>

#include <cstdio>
#include <fstream>

namespace tivla {

using Action = CommandLine::Action;

class CommandLineTest : public QObject, private MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void cleanup() { closeWindow(); }

    void parses_data();
    void parses();
    void programAnswersWithoutADisplay_data();
    void programAnswersWithoutADisplay();
    void fileOpensOnceTheMainWindowAppears_data();
    void fileOpensOnceTheMainWindowAppears();
    void unreadableFileIsReportedAndTheProgramGoesOn();

private:
    // Clicks through a title screen that was given path, and lets the queued opening run.
    void passTitleScreen(const QByteArray& path);
};

void CommandLineTest::parses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("file");
    QTest::newRow("nothing") << QStringList{} << Action::Run << QString();
    QTest::newRow("a file") << QStringList{"доска.txt"} << Action::Run << QString("доска.txt");
    QTest::newRow("dash alone is a file") << QStringList{"-"} << Action::Run << QString("-");
    QTest::newRow("after --") << QStringList{"--", "--help"} << Action::Run << QString("--help");
    QTest::newRow("help") << QStringList{"--help"} << Action::Help << QString();
    QTest::newRow("help after a file") << QStringList{"a", "--help"} << Action::Help << QString();
    QTest::newRow("version") << QStringList{"--version"} << Action::Version << QString();
    QTest::newRow("Qt option") << QStringList{"-reverse"} << Action::Refuse << QString();
    QTest::newRow("Qt option with value")
        << QStringList{"-geometry", "10x10"} << Action::Refuse << QString();
    QTest::newRow("unknown long option") << QStringList{"--open"} << Action::Refuse << QString();
    QTest::newRow("two files") << QStringList{"a", "b"} << Action::Refuse << QString();
    QTest::newRow("empty name") << QStringList{""} << Action::Refuse << QString();
}

void CommandLineTest::parses() {
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, file);
    QByteArrayList bytes;
    for (const QString& argument : arguments) {
        bytes << argument.toUtf8();
    }
    const CommandLine line = parseCommandLine(bytes);
    QCOMPARE(line.action, action);
    QCOMPARE(QString::fromUtf8(line.file), file);
    QCOMPARE(line.error.isEmpty(), action != Action::Refuse);
}

void CommandLineTest::programAnswersWithoutADisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errStart");
    QTest::newRow("help") << QStringList{"--help"} << 0 << commandLineHelp() << QString();
    QTest::newRow("version") << QStringList{"--version"} << 0
                             << QString("tivla " TIVLA_VERSION "\n") << QString();
    QTest::newRow("Qt option") << QStringList{"-platform", "offscreen"} << 2 << QString()
                               << QString("tivla: unknown option -platform\nUsage: tivla ");
    QTest::newRow("two files") << QStringList{"a", "b"} << 2 << QString()
                               << QString("tivla: only one file");
}

void CommandLineTest::programAnswersWithoutADisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, errStart);
    // No display at all: a program that got as far as a window would fail differently.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TIVLA_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), out);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(errStart.isEmpty() ? err.isEmpty() : err.startsWith(errStart), qPrintable(err));
}

void CommandLineTest::passTitleScreen(const QByteArray& path) {
    TForm2 titleScreen;
    titleScreen.setMainWindow(form.get());
    titleScreen.setFileToOpen(path);
    titleScreen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&titleScreen));
    // Nothing is opened before the main window appears.
    QCOMPARE(aliveCount(), 0);
    QVERIFY(log.errors.isEmpty());
    titleScreen.Image1Click();
    QVERIFY(form->isVisible());
    QTRY_VERIFY(aliveCount() != 0 || !log.errors.isEmpty());
}

void CommandLineTest::fileOpensOnceTheMainWindowAppears_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("UTF-8") << QByteArray("три клетки.txt");
    // KOI8-R or CP1251, as files from older Russian systems are named.
    QTest::newRow("not UTF-8") << QByteArray("\xE0\xF4.txt");
}

void CommandLineTest::fileOpensOnceTheMainWindowAppears() {
    QFETCH(QByteArray, name);
    QVERIFY(openWindow(true));
    form->hide();
    // Relative to the folder the program runs in, as a shell passes it.
    QVERIFY(std::ofstream(name.toStdString()) << "3\r\n0\r\n1\r\n0\r\n0\r\n1\r\n");
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeIt = qScopeGuard([&] { std::remove(name.constData()); });
    passTitleScreen(parseCommandLine({name}).file);
    QVERIFY(log.errors.isEmpty());
    QCOMPARE(form->board().BoardSize, 3);
    QCOMPARE(aliveCount(3), 2);
    QVERIFY(form->board().isAlive(0, 1));
    QVERIFY(form->board().isAlive(1, 0));
}

void CommandLineTest::unreadableFileIsReportedAndTheProgramGoesOn() {
    QVERIFY(openWindow(true));
    form->hide();
    passTitleScreen("нет такой.txt");
    QCOMPARE(log.errors, QStringList{QStringLiteral("File not found.")});
    QVERIFY(form->isVisible());
    QCOMPARE(aliveCount(), 0);
}

} // namespace tivla

QTEST_MAIN(tivla::CommandLineTest)
#include "CommandLineTest.moc"
