// The installed tree: "cmake --install" into a temporary prefix puts the program, its launcher,
// the desktop entry, the icon and the example boards in their places, and the launcher
// prepares the user's folder and starts the program there. Needs no display.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <set>

namespace tivla::e2e {

namespace {

constexpr int kPatienceMs = 60000;
const QString kExamples = QStringLiteral(TIVLA_E2E_EXAMPLES);
const QString kUserFolder = QStringLiteral("Тивла");

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Outcome run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Outcome outcome;
    if (process.waitForFinished(kPatienceMs) && process.exitStatus() == QProcess::NormalExit) {
        outcome.exitCode = process.exitCode();
    }
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below folder, as paths relative to it.
std::set<QString> filesBelow(const QString& folder) {
    std::set<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.insert(QDir(folder).relativeFilePath(it.next()));
    }
    return files;
}

// The keys of a desktop entry's main group, values as written.
QHash<QString, QString> desktopEntryKeys(const QString& path) {
    QHash<QString, QString> keys;
    bool inMainGroup = false;
    for (const QByteArray& raw : contents(path).split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
        } else if (inMainGroup && line.contains(QLatin1Char('='))) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            keys.insert(line.left(equals), line.mid(equals + 1));
        }
    }
    return keys;
}

QStringList exampleNames() {
    return QDir(kExamples).entryList({QStringLiteral("*.txt"), QStringLiteral("*.rle"),
                                      QStringLiteral("*.cells"), QStringLiteral("*.lif"),
                                      QStringLiteral("*.life")},
                                     QDir::Files, QDir::Name);
}

QProcessEnvironment withHome(const QString& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    return environment;
}

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void treeHoldsEverythingInItsPlace();
    void desktopEntryStartsTheLauncher();
    void launcherPreparesTheUserFolder();
    void launcherKeepsTheUsersOwnBoards();
    void launcherStartsTheProgramInTheFolder();
    void launcherRefuses_data();
    void launcherRefuses();

private:
    QString installed(const QString& relative) const { return prefix_.filePath(relative); }
    QString launcher() const { return installed(QStringLiteral("bin/tivla-launcher")); }

    QTemporaryDir prefix_;
};

void InstallTest::initTestCase() {
    QVERIFY(prefix_.isValid());
    const Outcome install = run(QStringLiteral(TIVLA_E2E_CMAKE),
                                {QStringLiteral("--install"), QStringLiteral(TIVLA_E2E_BUILD_DIR),
                                 QStringLiteral("--prefix"), prefix_.path()});
    QVERIFY2(install.exitCode == 0, install.err.constData());
}

void InstallTest::treeHoldsEverythingInItsPlace() {
    std::set<QString> expected{
        QStringLiteral("bin/tivla"),
        QStringLiteral("bin/tivla-launcher"),
        QStringLiteral("share/applications/tivla.desktop"),
        QStringLiteral("share/icons/hicolor/32x32/apps/tivla.png"),
    };
    for (const QString& name : exampleNames()) {
        expected.insert(QStringLiteral("share/tivla/примеры/") + name);
    }
    QVERIFY(exampleNames().size() >= 6);
    const std::set<QString> files = filesBelow(prefix_.path());
    // Other parts of the project may install more; these must be there.
    for (const QString& file : expected) {
        QVERIFY2(files.count(file) == 1, qPrintable(file));
    }
    for (const QString& file : files) {
        QVERIFY2(!file.startsWith(QStringLiteral("share/tivla/")) || expected.count(file) == 1,
                 qPrintable(QStringLiteral("unexpected ") + file));
    }

    for (const QString& program :
         {QStringLiteral("bin/tivla"), QStringLiteral("bin/tivla-launcher")}) {
        QVERIFY2(QFileInfo(installed(program)).isExecutable(), qPrintable(program));
    }
    QVERIFY(contents(launcher()).startsWith("#!/bin/sh\n"));
    for (const QString& name : exampleNames()) {
        QCOMPARE(contents(installed(QStringLiteral("share/tivla/примеры/") + name)),
                 contents(kExamples + QLatin1Char('/') + name));
    }
    const QString icon = installed(QStringLiteral("share/icons/hicolor/32x32/apps/tivla.png"));
    QCOMPARE(contents(icon),
             contents(QStringLiteral(TIVLA_E2E_SOURCE_DIR "/assets/images/icon.png")));
    QCOMPARE(QImage(icon).size(), QSize(32, 32));
}

void InstallTest::desktopEntryStartsTheLauncher() {
    const QString entry = installed(QStringLiteral("share/applications/tivla.desktop"));
    const QHash<QString, QString> keys = desktopEntryKeys(entry);
    QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Тивла"));
    QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("tivla-launcher"));
    QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("tivla"));
    QCOMPARE(keys.value(QStringLiteral("Terminal")), QStringLiteral("false"));
    QCOMPARE(keys.value(QStringLiteral("Categories")), QStringLiteral("Game;Simulation;"));
    QVERIFY(keys.value(QStringLiteral("Comment")).contains(QStringLiteral("«Жизнь»")));
    // The desktop matches the program's windows to this entry by their class, the title.
    QCOMPARE(keys.value(QStringLiteral("StartupWMClass")), QStringLiteral("Тивла"));

    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty()) {
        qInfo("desktop-file-validate is not installed; the entry's syntax is not checked");
        return;
    }
    const Outcome validation = run(validator, {entry});
    QVERIFY2(validation.exitCode == 0 && validation.out.isEmpty(), validation.out.constData());
}

void InstallTest::launcherPreparesTheUserFolder() {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/домашняя папка XXXXXX"));
    QVERIFY(home.isValid());
    const Outcome prepared =
        run(launcher(), {QStringLiteral("--prepare-only")}, withHome(home.path()));
    QVERIFY2(prepared.exitCode == 0, prepared.err.constData());
    const QString folder = QDir(home.path()).filePath(kUserFolder);
    QCOMPARE(QString::fromUtf8(prepared.out), folder + QLatin1Char('\n'));
    QVERIFY(QFileInfo(folder + QStringLiteral("/Скриншоты")).isDir());
    QVERIFY(QDir(folder + QStringLiteral("/Скриншоты")).isEmpty());
    const QStringList copied =
        QDir(folder + QStringLiteral("/примеры")).entryList(QDir::Files, QDir::Name);
    QCOMPARE(copied, exampleNames());
    for (const QString& name : copied) {
        QCOMPARE(contents(folder + QStringLiteral("/примеры/") + name),
                 contents(kExamples + QLatin1Char('/') + name));
    }
}

void InstallTest::launcherKeepsTheUsersOwnBoards() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QVERIFY(run(launcher(), {QStringLiteral("--prepare-only")}, withHome(home.path())).exitCode ==
            0);
    const QDir boards(QDir(home.path()).filePath(kUserFolder + QStringLiteral("/примеры")));
    const QString changed = boards.filePath(exampleNames().at(0));
    const QString removed = boards.filePath(exampleNames().at(1));
    const QString own = boards.filePath(QStringLiteral("моя доска.txt"));
    const QString snapshot =
        QDir(home.path()).filePath(kUserFolder + QStringLiteral("/Скриншоты/снимок.bmp"));
    for (const QString& path : {changed, own, snapshot}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("2\r\n1\r\n");
    }
    QVERIFY(QFile::remove(removed));

    QVERIFY(run(launcher(), {QStringLiteral("--prepare-only")}, withHome(home.path())).exitCode ==
            0);
    // Only what was missing comes back; nothing of the user's is touched.
    QCOMPARE(contents(changed), QByteArray("2\r\n1\r\n"));
    QCOMPARE(contents(own), QByteArray("2\r\n1\r\n"));
    QCOMPARE(contents(snapshot), QByteArray("2\r\n1\r\n"));
    QCOMPARE(contents(removed), contents(kExamples + QLatin1Char('/') + exampleNames().at(1)));
}

void InstallTest::launcherStartsTheProgramInTheFolder() {
    // A copy of the launcher beside a stand-in program that reports where it was started.
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    const QDir root(tree.path());
    QVERIFY(root.mkpath(QStringLiteral("bin")));
    QVERIFY(root.mkpath(QStringLiteral("share/tivla/примеры")));
    QVERIFY(QFile::copy(launcher(), root.filePath(QStringLiteral("bin/tivla-launcher"))));
    QFile stub(root.filePath(QStringLiteral("bin/tivla")));
    QVERIFY(stub.open(QIODevice::WriteOnly));
    stub.write("#!/bin/sh\n"
               "ls \"$PWD/примеры\" > \"$HOME/started\"\n"
               "printf '%s|%s\\n' \"$PWD\" \"$#\" >> \"$HOME/started\"\n"
               "exit 7\n");
    stub.close();
    QVERIFY(stub.setPermissions(stub.permissions() | QFile::ExeOwner));
    QFile example(root.filePath(QStringLiteral("share/tivla/примеры/Пример 40x40.txt")));
    QVERIFY(example.open(QIODevice::WriteOnly));
    example.close();

    QTemporaryDir home;
    QVERIFY(home.isValid());
    const Outcome started =
        run(root.filePath(QStringLiteral("bin/tivla-launcher")), {}, withHome(home.path()));
    // The launcher becomes the program: its exit status is the program's.
    QCOMPARE(started.exitCode, 7);
    const QString folder = QDir(home.path()).filePath(kUserFolder);
    QCOMPARE(QString::fromUtf8(contents(QDir(home.path()).filePath(QStringLiteral("started")))),
             QStringLiteral("Пример 40x40.txt\n%1|0\n").arg(folder));
}

void InstallTest::launcherRefuses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("withHome");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--start")} << true << 2;
    QTest::newRow("two arguments")
        << QStringList{QStringLiteral("--prepare-only"), QStringLiteral("x")} << true << 2;
    QTest::newRow("no home") << QStringList{QStringLiteral("--prepare-only")} << false << 1;
}

void InstallTest::launcherRefuses() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, withHome);
    QFETCH(int, exitCode);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("HOME"));
    if (withHome) {
        environment.insert(QStringLiteral("HOME"), home.path());
    }
    const Outcome refused = run(launcher(), arguments, environment);
    QCOMPARE(refused.exitCode, exitCode);
    QVERIFY(refused.out.isEmpty());
    QVERIFY(!refused.err.isEmpty());
    QVERIFY(QDir(home.path()).isEmpty());
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::InstallTest)
#include "InstallTest.moc"
