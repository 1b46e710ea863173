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
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("nothing") << QByteArrayList{} << Action::Run << QByteArray();
    QTest::newRow("a file") << QByteArrayList{"доска.txt"} << Action::Run
                            << QByteArray("доска.txt");
    QTest::newRow("a name not in UTF-8")
        << QByteArrayList{"\xE0\xF4.txt"} << Action::Run << QByteArray("\xE0\xF4.txt");
    QTest::newRow("dash alone is a file") << QByteArrayList{"-"} << Action::Run << QByteArray("-");
    QTest::newRow("after --") << QByteArrayList{"--", "--help"} << Action::Run
                              << QByteArray("--help");
    QTest::newRow("help") << QByteArrayList{"--help"} << Action::Help << QByteArray();
    QTest::newRow("help after a file")
        << QByteArrayList{"a", "--help"} << Action::Help << QByteArray();
    QTest::newRow("version") << QByteArrayList{"--version"} << Action::Version << QByteArray();
    QTest::newRow("Qt option") << QByteArrayList{"-reverse"} << Action::Refuse << QByteArray();
    QTest::newRow("Qt option with value")
        << QByteArrayList{"-geometry", "10x10"} << Action::Refuse << QByteArray();
    QTest::newRow("unknown long option")
        << QByteArrayList{"--open"} << Action::Refuse << QByteArray();
    QTest::newRow("two files") << QByteArrayList{"a", "b"} << Action::Refuse << QByteArray();
    QTest::newRow("empty name") << QByteArrayList{""} << Action::Refuse << QByteArray();
}

void CommandLineTest::parses() {
    QFETCH(QByteArrayList, arguments);
    QFETCH(Action, action);
    QFETCH(QByteArray, file);
    const CommandLine line = parseCommandLine(arguments);
    QCOMPARE(line.action, action);
    QCOMPARE(line.file, file);
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
    QVERIFY(std::ofstream(name.toStdString(), std::ios::binary)
            << "3\r\n0\r\n1\r\n0\r\n0\r\n1\r\n");
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeIt = qScopeGuard([&] { std::remove(name.constData()); });
    passTitleScreen(name);
    QVERIFY(log.errors.isEmpty());
    QCOMPARE(form->board().BoardSize, 3);
    QCOMPARE(aliveCount(3), 2);
    QVERIFY(form->board().isAlive(0, 1));
    QVERIFY(form->board().isAlive(1, 0));
}

void CommandLineTest::unreadableFileIsReportedAndTheProgramGoesOn() {
    QVERIFY(openWindow(true));
    form->hide();
    passTitleScreen(QFile::encodeName(QDir(dir->path()).filePath(QStringLiteral("нет такой.txt"))));
    QCOMPARE(log.errors, QStringList{QStringLiteral("File not found.")});
    QVERIFY(form->isVisible());
    QCOMPARE(aliveCount(), 0);
}

} // namespace tivla

QTEST_MAIN(tivla::CommandLineTest)
#include "CommandLineTest.moc"
