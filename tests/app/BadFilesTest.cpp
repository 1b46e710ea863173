// Board files and snapshots that can't be read or written, and what must hold after each: the
// exact message, the program still running, the board, the counters and existing files intact.
#include "MainWindowFixture.h"
#include "ScratchMount.h"

#include "tests/support/FileSizeLimit.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using namespace tivla;

namespace {

constexpr rlim_t kTinyFileLimit = 1000;
constexpr qint64 kScratchBytes = 64 * 1024; // holds a small file, not a 200 x 200 board

QString refusedSize(int size) {
    return QStringLiteral("Недопустимый размер поля: %1. Размер должен быть от 1 до 200.")
        .arg(size);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class BadFilesTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow(true)); }
    void cleanup() { closeWindow(); }

    // --- Opening board files -------------------------------------------------------------

    void aBadBoardFileLeavesAnEmptyBoardOfTheOldSize_data() {
        // kind: "file" writes bytes to доска.txt, "" leaves the folder empty, the others are
        // made by the test. name: what the dialog answers, relative to the folder.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString board = QStringLiteral("доска.txt");
        const QByteArray good = "2\r\n1\r\n";
        const QString notFound = QStringLiteral("File not found.");
        const QString badName = QStringLiteral("Invalid filename.");
        const QString denied = QStringLiteral("File access denied.");
        const QString badNumber = QStringLiteral("Invalid numeric input.");
        QTest::newRow("missing") << "" << QByteArray() << board << notFound;
        QTest::newRow("removed while the dialog is open") << "removed" << good << board << notFound;
        QTest::newRow("through a regular file") << "file" << good << board + "/" + board << badName;
        QTest::newRow("NUL in the name") << "" << QByteArray() << board + QChar(0) << badName;
        QTest::newRow("a folder") << "" << QByteArray() << "." << denied;
        QTest::newRow("no read permission") << "unreadable" << good << board << denied;
        QTest::newRow("a named pipe") << "fifo" << QByteArray() << board << denied;
        QTest::newRow("an endless device") << "" << QByteArray() << "/dev/zero" << denied;
        QTest::newRow("size 0") << "file" << QByteArray("0\r\n1\r\n") << board << refusedSize(0);
        QTest::newRow("size -1") << "file" << QByteArray("-1\r\n1\r\n") << board << refusedSize(-1);
        QTest::newRow("size 201") << "file" << QByteArray("201\r\n1\r\n") << board
                                  << refusedSize(201);
        QTest::newRow("size $C9") << "file" << QByteArray("$C9\r\n1\r\n") << board
                                  << refusedSize(201);
        QTest::newRow("empty file") << "file" << QByteArray() << board << refusedSize(0);
        QTest::newRow("size 2147483648")
            << "file" << QByteArray("2147483648\r\n1\r\n") << board << badNumber;
        QTest::newRow("size in words")
            << "file" << QByteArray("сорок\r\n1\r\n") << board << badNumber;
    }

    void aBadBoardFileLeavesAnEmptyBoardOfTheOldSize() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QTest::mouseClick(control("SpeedButton13"), Qt::LeftButton); // 80 x 80
        placeBlinker();
        advance(3);

        const QString path = dir->filePath(QStringLiteral("доска.txt"));
        log.nextOpen = QDir(dir->path()).filePath(name);
        std::thread unblocker;
        if (!kind.isEmpty() && kind != QLatin1String("fifo")) {
            QVERIFY(!write(path, bytes).isEmpty());
        }
        if (name.startsWith(QLatin1Char('/')) && !QFileInfo::exists(name)) {
            QSKIP("no such device here");
        }
        if (kind == QLatin1String("removed")) {
            log.whileOpen = [path] { QFile::remove(path); };
        } else if (kind == QLatin1String("unreadable")) {
            if (::geteuid() == 0) {
                QSKIP("permissions don't stop root; the folder row is what root meets");
            }
            QVERIFY(QFile::setPermissions(path, {}));
        } else if (kind == QLatin1String("fifo")) {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            // Should the open wait for a writer, this one comes and goes, so the row fails
            // instead of hanging.
            unblocker = std::thread([fifo = QFile::encodeName(path)] {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ::close(fd);
                }
            });
        }

        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        if (unblocker.joinable()) {
            unblocker.join();
        }
        log.whileOpen = nullptr;
        QCOMPARE(log.errors, QStringList{expected});
        QCOMPARE(form->board().BoardSize, 80);
        QCOMPARE(form->formState().CellSize, 8);
        QCOMPARE(control<StringGrid>("StringGrid1")->size(), QSize(720, 720));
        QVERIFY(!control<QToolButton>("SpeedButton13")->isVisible());
        QCOMPARE(aliveCount(81), 0);
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(form->board().Population, 0);
        QCOMPARE(control<ValueLabel>("Label5")->text(), QString());

        // The program goes on: the next good file loads.
        log.nextOpen =
            write(QStringLiteral("два.txt"), "2\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(log.errors.size(), 1);
        QCOMPARE(form->board().BoardSize, 2);
        QVERIFY(form->board().isAlive(1, 0));
        QCOMPARE(aliveCount(3), 1);
    }

    // A file cut short is no error ("Read beyond end of file" never arises): the cells it
    // doesn't hold are dead.
    void aFileCutShortIsNoError() {
        log.nextOpen = write(QStringLiteral("short.txt"), "3\r\n1\r\n\r\n0\r\n1");
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
        QCOMPARE(form->board().BoardSize, 3);
        QVERIFY(form->board().isAlive(0, 0) && form->board().isAlive(0, 2));
        QCOMPARE(aliveCount(4), 2);
    }

    // --- Saving board files --------------------------------------------------------------

    void aFailedSaveIsReportedAndKeepsTheOldFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        const QString denied = QStringLiteral("File access denied.");
        QTest::newRow("a folder chosen as the file") << "folder" << denied;
        QTest::newRow("folder removed while the dialog is open")
            << QStringLiteral("removed") << QStringLiteral("File not found.");
        QTest::newRow("read-only file") << "read-only file" << denied;
        QTest::newRow("read-only file system") << "read-only mount" << denied;
        QTest::newRow("full disk") << "full mount" << QStringLiteral("Disk full.");
        // A write cut short by the file size limit: EFBIG has no classic number.
        QTest::newRow("file size limit") << "size limit" << QStringLiteral("I/O error 27.");
        // Saved the usual way, a new file would be renamed over them: the pipe or the device
        // (as root, /dev/null itself) would be gone.
        QTest::newRow("a named pipe chosen as the file") << "fifo" << denied;
        QTest::newRow("a device chosen as the file") << "device" << denied;
    }

    void aFailedSaveIsReportedAndKeepsTheOldFile() {
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        const QString folder = dir->filePath(QStringLiteral("примеры"));
        QVERIFY(QDir().mkdir(folder));
        std::unique_ptr<ScratchMount> mount;
        if (kind.endsWith(QLatin1String("mount"))) {
            mount = std::make_unique<ScratchMount>(folder, kScratchBytes);
            if (!mount->isMounted()) {
                QSKIP("no right to mount a small file system here");
            }
        }
        const QString old = folder + QStringLiteral("/старая.txt");
        const QByteArray oldBytes = "2\r\n1\r\n0\r\n";
        QVERIFY(!write(old, oldBytes).isEmpty());

        QTest::mouseClick(control("SpeedButton14"), Qt::LeftButton); // 200 x 200: 121208 bytes
        placeBlinker();
        form->board().Cells[199][199] = form->board().Cells[200][3] = kAlive;
        log.nextSave = old;
        QStringList expectedEntries{QStringLiteral("старая.txt")};
        std::unique_ptr<FileSizeLimit> limit;
        if (kind == QLatin1String("folder")) {
            log.nextSave = folder;
        } else if (kind == QLatin1String("removed")) {
            log.nextSave = dir->filePath(QStringLiteral("пропавшая/доска.txt"));
            QVERIFY(QDir().mkdir(dir->filePath(QStringLiteral("пропавшая"))));
            log.whileOpen = [this] {
                QDir(dir->filePath(QStringLiteral("пропавшая"))).removeRecursively();
            };
        } else if (kind == QLatin1String("read-only file")) {
            if (::geteuid() == 0) {
                QSKIP("permissions don't stop root; the read-only file system row is what root "
                      "meets");
            }
            QVERIFY(QFile::setPermissions(old, QFile::ReadOwner));
        } else if (kind == QLatin1String("read-only mount")) {
            QVERIFY(mount->makeReadOnly());
        } else if (kind == QLatin1String("size limit")) {
            limit = std::make_unique<FileSizeLimit>(kTinyFileLimit);
        } else if (kind == QLatin1String("fifo") || kind == QLatin1String("device")) {
            log.nextSave = folder + QStringLiteral("/особый");
            const QByteArray name = QFile::encodeName(log.nextSave);
            const bool made = kind == QLatin1String("fifo")
                                  ? ::mkfifo(name.constData(), 0600) == 0
                                  : ::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
            if (!made) {
                QSKIP("no right to make a device node here");
            }
            expectedEntries.prepend(QStringLiteral("особый"));
        }

        QTest::mouseClick(control("SpeedButton8"), Qt::LeftButton);
        limit.reset();
        log.whileOpen = nullptr;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(log.errors, QStringList{expected});
        QCOMPARE(entries(folder), expectedEntries);
        QCOMPARE(contents(old), oldBytes);
        if (expectedEntries.size() > 1) {
            QVERIFY(!QFileInfo(log.nextSave).isFile());
        }
        QVERIFY(!QFileInfo::exists(dir->filePath(QStringLiteral("пропавшая"))));
        QCOMPARE(aliveCount(201), 5);
        QCOMPARE(form->board().BoardSize, 200);

        // The program goes on: a save where there is room succeeds.
        log.nextSave = dir->filePath(QStringLiteral("после.txt"));
        QTest::mouseClick(control("SpeedButton8"), Qt::LeftButton);
        QCOMPARE(log.errors.size(), 1);
        QCOMPARE(contents(log.nextSave).size(), 121208);
    }

    // --- Snapshots -----------------------------------------------------------------------

    void aSnapshotThatCannotBeWrittenSaysWhy_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no folder") << "none" << QStringLiteral("No such file or directory");
        QTest::newRow("a regular file in its place") << "file" << QStringLiteral("Not a directory");
        QTest::newRow("read-only folder")
            << "read-only folder" << QStringLiteral("Permission denied");
        QTest::newRow("read-only file system")
            << "read-only mount" << QStringLiteral("Read-only file system");
        QTest::newRow("full disk") << "full mount" << QStringLiteral("No space left on device");
    }

    void aSnapshotThatCannotBeWrittenSaysWhy() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString folder = dir->filePath(QStringLiteral("Скриншоты"));
        std::unique_ptr<ScratchMount> mount;
        QStringList before;
        if (kind == QLatin1String("file")) {
            QVERIFY(!write(folder, "not a folder").isEmpty());
        } else if (kind != QLatin1String("none")) {
            QVERIFY(QDir().mkdir(folder));
            if (kind.endsWith(QLatin1String("mount"))) {
                mount = std::make_unique<ScratchMount>(folder, kScratchBytes);
                if (!mount->isMounted()) {
                    QSKIP("no right to mount a small file system here");
                }
            }
            QVERIFY(!write(folder + QStringLiteral("/старый.bmp"), "BM old").isEmpty());
            before = entries(folder);
            if (kind == QLatin1String("read-only folder")) {
                if (::geteuid() == 0) {
                    QSKIP("permissions don't stop root; the read-only file system row is what root "
                          "meets");
                }
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            } else if (kind == QLatin1String("read-only mount")) {
                QVERIFY(mount->makeReadOnly());
            }
        }
        placeBlinker();
        advance(2);

        QTest::mouseClick(control("SpeedButton17"), Qt::LeftButton);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(log.errors.size(), 1);
        const QRegularExpression pattern(
            QStringLiteral(
                "^Cannot create file \"%1/Дата-[^\"/]+ Время-[^\"/]+ Поколение-2\\.bmp\"\\. %2\\.$")
                .arg(QRegularExpression::escape(
                         QDir::current().absoluteFilePath(QStringLiteral("Скриншоты"))),
                     QRegularExpression::escape(reason)));
        QVERIFY2(pattern.match(log.errors.first()).hasMatch(), qPrintable(log.errors.first()));
        if (kind == QLatin1String("file")) {
            QCOMPARE(contents(folder), QByteArray("not a folder"));
        } else if (kind != QLatin1String("none")) {
            QCOMPARE(entries(folder), before);
            QCOMPARE(contents(folder + QStringLiteral("/старый.bmp")), QByteArray("BM old"));
        }
        QCOMPARE(form->board().Generation, 2);
        QVERIFY(form->board().isAlive(11, 10) && !form->board().isAlive(11, 9));
    }
};

QTEST_MAIN(BadFilesTest)
#include "BadFilesTest.moc"
