// The installed tree: "cmake --install" into a temporary prefix puts the programs, the launcher,
// the desktop entry, the icons, the metadata and the example boards in their places, and the
// launcher prepares the user's folder and starts the program there. Needs no display.
#include "InstalledTree.h"
#include "files/PatternReader.h"
#include "files/PictureColours.h"

#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <set>

namespace tivla::e2e {

namespace {

const QString kExamples = QStringLiteral(TIVLA_E2E_EXAMPLES);
const QString kUserFolder = QStringLiteral("Тивла");
constexpr char kNoFolder[] = "folder cannot be made";

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
    void launcherStartsTheProgramInTheFolder_data();
    void launcherStartsTheProgramInTheFolder();
    void launcherRefuses_data();
    void launcherRefuses();
    void thumbnailerDrawsPatternsAndRefusesHostileFiles();

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
    QVERIFY(exampleNames(kExamples).size() >= 6);
    const std::set<QString> expected = installedFiles(kExamples);
    QCOMPARE(filesBelow(prefix_.path()), expected);

    for (const QString& program : {QStringLiteral("bin/tivla"), QStringLiteral("bin/tivla-batch"),
                                   QStringLiteral("bin/tivla-launcher")}) {
        QVERIFY2(QFileInfo(installed(program)).isExecutable(), qPrintable(program));
    }
    QVERIFY(contents(launcher()).startsWith("#!/bin/sh\n"));
    for (const QString& name : exampleNames(kExamples)) {
        QCOMPARE(contents(installed(QStringLiteral("share/tivla/примеры/") + name)),
                 contents(kExamples + QLatin1Char('/') + name));
    }
    // The theme's 32-pixel icon is the program's own window icon.
    const QString icon = installed(QStringLiteral("share/icons/hicolor/32x32/apps/tivla.png"));
    QCOMPARE(contents(icon),
             contents(QStringLiteral(TIVLA_E2E_SOURCE_DIR "/assets/images/icon.png")));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage image(
            installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/tivla.png").arg(size)));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(image.hasAlphaChannel());
    }
}

void InstallTest::desktopEntryStartsTheLauncher() {
    const QString entry = installed(QStringLiteral("share/applications/tivla.desktop"));
    const QHash<QString, QString> keys = desktopEntryKeys(entry);
    QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Тивла"));
    QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("tivla-launcher %f"));
    QCOMPARE(keys.value(QStringLiteral("MimeType")),
             QStringLiteral("application/x-life-rle;application/x-life-cells;"
                            "application/x-life-lif;"));
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
    QCOMPARE(copied, exampleNames(kExamples));
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
    const QString changed = boards.filePath(exampleNames(kExamples).at(0));
    const QString removed = boards.filePath(exampleNames(kExamples).at(1));
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
    QCOMPARE(contents(removed),
             contents(kExamples + QLatin1Char('/') + exampleNames(kExamples).at(1)));
}

void InstallTest::launcherStartsTheProgramInTheFolder_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("passedOn");
    QTest::newRow("no file") << QStringList{} << QString();
    QTest::newRow("absolute file")
        << QStringList{QStringLiteral("/tmp/узор.rle")} << QStringLiteral("|--|/tmp/узор.rle");
    // Relative to where the launcher started, not to the folder the program runs in.
    QTest::newRow("relative file")
        << QStringList{QStringLiteral("узор 1.rle")} << QStringLiteral("|--|START/узор 1.rle");
    QTest::newRow("file after --") << QStringList{QStringLiteral("--"), QStringLiteral("-x.rle")}
                                   << QStringLiteral("|--|START/-x.rle");
    // A file where the folder should be: preparing fails, for root too, and the program starts
    // all the same, where the launcher started.
    QTest::newRow(kNoFolder) << QStringList{QStringLiteral("a.rle")}
                             << QStringLiteral("|--|START/a.rle");
}

void InstallTest::launcherStartsTheProgramInTheFolder() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, passedOn);
    const bool folderIsAFile = qstrcmp(QTest::currentDataTag(), kNoFolder) == 0;
    // A copy of the launcher beside a stand-in program that reports where it was started and
    // with what.
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
               "printf '%s' \"$PWD\" >> \"$HOME/started\"\n"
               "for a in \"$@\"; do printf '|%s' \"$a\" >> \"$HOME/started\"; done\n"
               "exit 7\n");
    stub.close();
    QVERIFY(stub.setPermissions(stub.permissions() | QFile::ExeOwner));
    QFile example(root.filePath(QStringLiteral("share/tivla/примеры/Пример 40x40.txt")));
    QVERIFY(example.open(QIODevice::WriteOnly));
    example.close();

    QTemporaryDir home;
    QTemporaryDir start;
    QVERIFY(home.isValid() && start.isValid());
    const QString folder = QDir(home.path()).filePath(kUserFolder);
    QVERIFY(!folderIsAFile || QFile(folder).open(QIODevice::WriteOnly));
    QProcess launched;
    launched.setProcessEnvironment(withHome(home.path()));
    launched.setWorkingDirectory(start.path());
    launched.start(root.filePath(QStringLiteral("bin/tivla-launcher")), arguments);
    QVERIFY(launched.waitForFinished());
    // The launcher becomes the program: its exit status is the program's.
    QCOMPARE(launched.exitCode(), 7);
    passedOn.replace(QStringLiteral("START"), start.path());
    QCOMPARE(QString::fromUtf8(contents(QDir(home.path()).filePath(QStringLiteral("started")))),
             (folderIsAFile ? start.path() : QStringLiteral("Пример 40x40.txt\n") + folder) +
                 passedOn);
    // The failed step is named; a prepared folder is no news.
    QCOMPARE(launched.readAllStandardError().contains("tivla-launcher: "), folderIsAFile);
}

void InstallTest::launcherRefuses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("withHome");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--start")} << true << 2;
    QTest::newRow("two arguments")
        << QStringList{QStringLiteral("--prepare-only"), QStringLiteral("x")} << true << 2;
    QTest::newRow("two files") << QStringList{QStringLiteral("a"), QStringLiteral("b")} << true
                               << 2;
    QTest::newRow("empty file name") << QStringList{QString()} << true << 2;
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

// Every example pattern and every file of the readers' hostile catalogue, through the Exec line
// of the installed thumbnailer entry as a file manager runs it: a picture exactly where the
// program's readers accept the file, drawn cell for cell, and otherwise the reader's refusal
// and no file.
void InstallTest::thumbnailerDrawsPatternsAndRefusesHostileFiles() {
    const QHash<QString, QString> entry =
        desktopEntryKeys(installed(QStringLiteral("share/thumbnailers/tivla.thumbnailer")));
    // It draws the types the program opens.
    QCOMPARE(entry.value(QStringLiteral("MimeType")),
             desktopEntryKeys(installed(QStringLiteral("share/applications/tivla.desktop")))
                 .value(QStringLiteral("MimeType")));
    const QStringList exec = entry.value(QStringLiteral("Exec")).split(QLatin1Char(' '));
    QTemporaryDir scratch;
    QStringList inputs =
        exampleNames(kExamples).filter(QRegularExpression("\\.(rle|cells|lif|life)$"));
    inputs.replaceInStrings(QRegularExpression("^"), kExamples + QLatin1Char('/'));
    QVERIFY(inputs.size() >= 10);
    // The catalogue's names say the format; the extension a file manager would see is added.
    const QDir catalogue(QStringLiteral(TIVLA_E2E_SOURCE_DIR "/tests/files/fuzz/corpus-patterns"));
    for (const QString& name : catalogue.entryList(QDir::Files, QDir::Name)) {
        const QString extension =
            name.startsWith(QStringLiteral("cells"))  ? QStringLiteral(".cells")
            : name.startsWith(QStringLiteral("life")) ? QStringLiteral(".lif")
                                                      : QStringLiteral(".rle");
        inputs << scratch.filePath(name + extension);
        QVERIFY(QFile::copy(catalogue.filePath(name), inputs.last()));
    }
    const QString program = QStandardPaths::findExecutable(exec.first(), {installed("bin")});
    QVERIFY(!program.isEmpty());
    // Every box the readers accept fits with its margin, at a pixel a cell or more.
    const int side = 256;
    for (const QString& input : inputs) {
        const QString output = scratch.filePath(QStringLiteral("thumbnail.png"));
        QStringList arguments = exec.mid(1);
        arguments.replaceInStrings(QStringLiteral("%s"), QString::number(side));
        arguments.replaceInStrings(QStringLiteral("%i"), input);
        arguments.replaceInStrings(QStringLiteral("%o"), output);
        const Outcome drawn = run(program, arguments);
        const std::string path = QFile::encodeName(input).toStdString();
        const PatternRead read = readPatternFile(path, formatForPath(path));
        if (!read.pattern) {
            QCOMPARE(drawn.exitCode, 1);
            QCOMPARE(drawn.err.toStdString(), withFullStop(read.error->text()) + "\n");
            QVERIFY2(!QFileInfo::exists(output), qPrintable(input));
            continue;
        }
        QVERIFY2(drawn.exitCode == 0, drawn.err.constData());
        const QImage image(output);
        QVERIFY(QFile::remove(output));
        const Pattern& pattern = *read.pattern;
        const int cols = pattern.width + 2;
        const int rows = pattern.height + 2;
        const int pitch = side / std::max(cols, rows);
        QCOMPARE(image.size(), QSize(cols, rows) * pitch);
        std::set<std::pair<int, int>> alive;
        for (const PatternCell& cell : pattern.alive) {
            alive.insert({cell.x + 1, cell.y + 1});
        }
        const auto rgb = [](Rgb colour) { return qRgb(colour.red, colour.green, colour.blue); };
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                const QRgb cell = image.pixel(c * pitch, r * pitch);
                QVERIFY2(cell == rgb(alive.count({c, r}) ? kAliveRgb : kBoardRgb),
                         qPrintable(input + QStringLiteral(" %1 %2").arg(c).arg(r)));
                // The grid line to the right of the cell, where cells are large enough.
                QCOMPARE(image.pixel(c * pitch + pitch - 1, r * pitch) == rgb(kGridLineRgb),
                         pitch >= 4);
            }
        }
    }
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::InstallTest)
#include "InstallTest.moc"
