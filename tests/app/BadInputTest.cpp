// Bad input of every kind a user can give the main window, and what must hold after each: a
// clear message, the program still running, and the board, the counters and files as they were.
#include "MainWindowFixture.h"
#include "ScratchMount.h"

#include "app/RunTimer.h"
#include "app/SpinEdit.h"
#include "tests/files/qt/FileSizeLimit.h"
#include "view/PopulationChart.h"
#include "view/StringGrid.h"
#include "view/ValueLabel.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
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
const QColor kAliveColour(255, 255, 0);

QString invalidInteger(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value.").arg(text);
}

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

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() {
        log = {};
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QDir::setCurrent(dir->path());
        form = shownMainWindow(log);
        QVERIFY(form);
    }
    void cleanup() {
        form.reset();
        QDir::setCurrent(QDir::rootPath());
        dir.reset();
    }

    // --- Number boxes --------------------------------------------------------------------

    void textThatIsNoIntegerIsReportedAndChangesNothing_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("byPaste");
        const QStringList texts = {QStringLiteral("abc"),         QStringLiteral("-"),
                                   QStringLiteral("$"),           QStringLiteral("2147483648"),
                                   QStringLiteral("99999999999"), QStringLiteral("12 monkeys")};
        for (int box = 1; box <= 3; ++box) {
            for (const QString& text : texts) {
                const bool byPaste = texts.indexOf(text) % 2 == 0;
                QTest::addRow("Edit%d %s by %s", box, qPrintable(text),
                              byPaste ? "paste" : "insert")
                    << box << text << byPaste;
            }
        }
        QTest::newRow("Edit2 blank") << 2 << QStringLiteral(" ") << true;
    }

    // The interval and n boxes refuse such text from the keyboard, so it arrives by pasting.
    void textThatIsNoIntegerIsReportedAndChangesNothing() {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(bool, byPaste);
        placeBlinker();
        form->board().Cells[7][8] = kAlive; // only a repaint would show it

        QLineEdit* edit = numberBox(box);
        byPaste ? paste(edit, text) : insert(edit, text);
        if (box == 2) {
            QTest::mouseClick(form->SpeedButton16, Qt::LeftButton);
        } else if (box == 3) {
            QTest::mouseClick(form->SpeedButton15, Qt::LeftButton);
        }

        QStringList expected{invalidInteger(text)};
        if (box == 3) {
            expected << invalidInteger(text); // once as it changed, once when the command ran
        }
        QCOMPARE(log.errors, expected);
        QCOMPARE(edit->text(), text);
        QCOMPARE(form->Timer1->interval(), 500);
        QVERIFY(!form->Timer1->enabled());
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(form->board().StepsToRun, 0);
        QVERIFY(form->board().isAlive(11, 10) && !form->board().isAlive(11, 9));
        QVERIFY(form->StringGrid1->snapshot().pixelColor(cellCentre(7, 8)) != kAliveColour);
    }

    void intervalsTheTimerCannotCountDown_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("ticking");
        QTest::newRow("negative") << QStringLiteral("-5") << -5 << false;
        QTest::newRow("hexadecimal all ones") << QStringLiteral("$FFFFFFFF") << -1 << false;
        QTest::newRow("most negative") << QStringLiteral("-2147483648") << INT_MIN << false;
        QTest::newRow("largest") << QStringLiteral("2147483647") << INT_MAX << true;
    }

    // The classic timer reads the interval as unsigned: a negative one never comes round. The
    // board must neither tick nor spin, stay "running", and resume on a usable interval.
    void intervalsTheTimerCannotCountDown() {
        QFETCH(QString, text);
        QFETCH(int, interval);
        QFETCH(bool, ticking);
        placeBlinker();
        paste(form->Edit1, text);
        QCOMPARE(form->Timer1->interval(), interval);
        QTest::mouseClick(form->SpeedButton7, Qt::LeftButton);
        QSignalSpy ticks(form->Timer1, &RunTimer::timeout);
        QTest::qWait(100);
        QCOMPARE(ticks.count(), 0);
        QCOMPARE(form->Timer1->ticking(), ticking);
        QVERIFY(form->Timer1->enabled());
        QVERIFY(form->SpeedButton18->isVisible());
        QCOMPARE(form->board().Generation, 0);

        paste(form->Edit1, QStringLiteral("5"));
        QTRY_VERIFY_WITH_TIMEOUT(form->board().Generation > 0, 2000);
        QTest::mouseClick(form->SpeedButton18, Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
    }

    void batchCountsBelowOneAdvanceNothingButRepaint_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("steps");
        QTest::newRow("negative") << QStringLiteral("-5") << -5;
        QTest::newRow("hexadecimal all ones") << QStringLiteral("$FFFFFFFF") << -1;
        QTest::newRow("most negative") << QStringLiteral("-2147483648") << INT_MIN;
    }

    void batchCountsBelowOneAdvanceNothingButRepaint() {
        QFETCH(QString, text);
        QFETCH(int, steps);
        placeBlinker();
        form->board().Cells[7][8] = kAlive;
        paste(form->Edit2, text);
        QTest::mouseClick(form->SpeedButton16, Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
        QCOMPARE(form->board().StepsToRun, steps);
        QCOMPARE(form->board().Generation, 0);
        QVERIFY(form->board().isAlive(11, 10) && !form->board().isAlive(11, 9));
        QCOMPARE(form->StringGrid1->snapshot().pixelColor(cellCentre(7, 8)), kAliveColour);
    }

    // A batch of 2147483647 would run for minutes; the target box shows that the largest
    // number is taken as one, from a generation just below it.
    void theLargestCountsAreNumbers() {
        form->Edit2->setFocus();
        form->Edit2->selectAll();
        QTest::keyClicks(form->Edit2, QStringLiteral("2147483647"));
        QCOMPARE(form->Edit2->text(), QStringLiteral("2147483647"));

        placeBlinker();
        form->board().Generation = INT_MAX - 1;
        paste(form->Edit3, QStringLiteral("2147483647"));
        QCOMPARE(form->Edit3->text(), QStringLiteral("2147483647"));
        QTest::mouseClick(form->SpeedButton15, Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
        QCOMPARE(form->board().StepsToRun, 1);
        QCOMPARE(form->board().Generation, INT_MAX);
        QVERIFY(form->board().isAlive(11, 9)); // the blinker turned once
    }

    // --- The fill count ------------------------------------------------------------------

    void theFillEndsWithWhatFits_data() {
        QTest::addColumn<int>("typedOn");
        QTest::addColumn<int>("boardSize");
        QTest::addColumn<int>("aliveBefore");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("placed");
        QTest::addColumn<QString>("message");
        const QString shortfall =
            QStringLiteral("Хозяин! Свободных клеток хватило только на %1 из %2.");
        const QString three = QStringLiteral("3");
        QTest::newRow("empty field") << 40 << 40 << 0 << QString() << QString() << 3 << QString();
        QTest::newRow("lone minus")
            << 40 << 40 << 0 << QStringLiteral("-") << QStringLiteral("-") << 3 << QString();
        QTest::newRow("lone plus")
            << 40 << 40 << 0 << QStringLiteral("+") << QStringLiteral("+") << 3 << QString();
        QTest::newRow("letters") << 40 << 40 << 0 << QStringLiteral("abc") << three << 3
                                 << QString();
        QTest::newRow("above N x N")
            << 10 << 10 << 0 << QStringLiteral("150") << QStringLiteral("100") << 100 << QString();
        QTest::newRow("left above N x N by a smaller board")
            << 80 << 10 << 0 << QStringLiteral("2550") << QStringLiteral("2550") << 100
            << shortfall.arg(100).arg(2550);
        QTest::newRow("more than the empty cells")
            << 10 << 10 << 98 << three << three << 2 << shortfall.arg(2).arg(3);
        QTest::newRow("a full board") << 10 << 10 << 100 << three << three << 0
                                      << QStringLiteral("Хозяин! Свободных клеток не осталось.");
        QTest::newRow("one cell") << 1 << 1 << 0 << three << three << 1 << shortfall.arg(1).arg(3);
    }

    void theFillEndsWithWhatFits() {
        QFETCH(int, typedOn);
        QFETCH(int, boardSize);
        QFETCH(int, aliveBefore);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(int, placed);
        QFETCH(QString, message);
        loadEmptyBoard(typedOn);
        // Pasted: typing would correct each keystroke on its way ("2" becomes "3" at once).
        paste(form->SpinEdit1->findChild<QLineEdit*>(), typed);
        if (boardSize != typedOn) {
            loadEmptyBoard(boardSize);
        }
        QCOMPARE(form->SpinEdit1->text(), field);
        for (int i = 0; i < aliveBefore; ++i) {
            form->board().Cells[i / boardSize][i % boardSize] = kAlive;
        }

        QTest::mouseClick(form->SpeedButton4, Qt::LeftButton);
        QCOMPARE(log.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(aliveCount(boardSize), aliveBefore + placed);
        for (int i = 0; i < aliveBefore; ++i) {
            QVERIFY(form->board().isAlive(i / boardSize, i % boardSize));
        }
        QCOMPARE(aliveCount(boardSize + 1), aliveCount(boardSize)); // nothing beyond the board
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(form->board().Population, 0);
        QCOMPARE(form->Label2->text(), QString());
        QVERIFY(log.errors.isEmpty());
    }

    // --- Opening board files -------------------------------------------------------------

    void aBadBoardFileLeavesAnEmptyBoardOfTheOldSize_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QString notFound = QStringLiteral("File not found.");
        const QString badName = QStringLiteral("Invalid filename.");
        const QString denied = QStringLiteral("File access denied.");
        const QString badNumber = QStringLiteral("Invalid numeric input.");
        QTest::newRow("missing") << "missing" << QByteArray() << notFound;
        QTest::newRow("removed while the dialog is open")
            << "removed" << QByteArray("2\r\n1\r\n") << notFound;
        QTest::newRow("through a regular file") << "inside a file" << QByteArray() << badName;
        QTest::newRow("NUL in the name") << "nul" << QByteArray() << badName;
        QTest::newRow("a folder") << "folder" << QByteArray() << denied;
        QTest::newRow("no read permission") << "unreadable" << QByteArray("2\r\n1\r\n") << denied;
        QTest::newRow("a named pipe") << "fifo" << QByteArray() << denied;
        QTest::newRow("an endless device") << "/dev/zero" << QByteArray() << denied;
        QTest::newRow("size 0") << "file" << QByteArray("0\r\n1\r\n") << refusedSize(0);
        QTest::newRow("size -1") << "file" << QByteArray("-1\r\n1\r\n") << refusedSize(-1);
        QTest::newRow("size 201") << "file" << QByteArray("201\r\n1\r\n") << refusedSize(201);
        QTest::newRow("size $C9") << "file" << QByteArray("$C9\r\n1\r\n") << refusedSize(201);
        QTest::newRow("empty file") << "file" << QByteArray() << refusedSize(0);
        QTest::newRow("size 2147483648")
            << "file" << QByteArray("2147483648\r\n1\r\n") << badNumber;
        QTest::newRow("size in words") << "file" << QByteArray("сорок\r\n1\r\n") << badNumber;
    }

    void aBadBoardFileLeavesAnEmptyBoardOfTheOldSize() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QTest::mouseClick(form->SpeedButton13, Qt::LeftButton); // 80 x 80
        placeBlinker();
        advance(3);

        const QString path = dir->filePath(QStringLiteral("доска.txt"));
        log.nextOpen = path;
        std::thread unblocker;
        if (kind == QLatin1String("file") || kind == QLatin1String("removed") ||
            kind == QLatin1String("unreadable")) {
            QVERIFY(!write(path, bytes).isEmpty());
        }
        if (kind == QLatin1String("removed")) {
            log.whileOpen = [path] { QFile::remove(path); };
        } else if (kind == QLatin1String("inside a file")) {
            QVERIFY(!write(path, "2\r\n1\r\n").isEmpty());
            log.nextOpen = path + QStringLiteral("/доска.txt");
        } else if (kind == QLatin1String("nul")) {
            log.nextOpen = path + QChar(0) + QStringLiteral(".txt");
            QTest::ignoreMessage(QtWarningMsg, "Broken filename passed to function");
        } else if (kind == QLatin1String("folder")) {
            log.nextOpen = dir->path();
        } else if (kind == QLatin1String("unreadable")) {
            if (::geteuid() == 0) {
                QSKIP("permissions don't stop root; the folder row is what root meets");
            }
            QVERIFY(QFile::setPermissions(path, {}));
        } else if (kind == QLatin1String("fifo")) {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            // Should the open wait for a writer, this one comes and goes, so the row fails
            // instead of hanging.
            unblocker = std::thread([name = QFile::encodeName(path)] {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ::close(fd);
                }
            });
        } else if (kind.startsWith(QLatin1Char('/'))) {
            if (!QFileInfo::exists(kind)) {
                QSKIP("no such device here");
            }
            log.nextOpen = kind;
        }

        QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
        if (unblocker.joinable()) {
            unblocker.join();
        }
        log.whileOpen = nullptr;
        QCOMPARE(log.errors, QStringList{expected});
        QCOMPARE(form->board().BoardSize, 80);
        QCOMPARE(form->board().CellSize, 8);
        QCOMPARE(form->StringGrid1->size(), QSize(720, 720));
        QVERIFY(!form->SpeedButton13->isVisible());
        QCOMPARE(aliveCount(81), 0);
        QCOMPARE(form->board().Generation, 0);
        QCOMPARE(form->board().Population, 0);
        QCOMPARE(form->Label5->text(), QString());

        // The program goes on: the next good file loads.
        log.nextOpen =
            write(QStringLiteral("два.txt"), "2\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
        QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
        QCOMPARE(log.errors.size(), 1);
        QCOMPARE(form->board().BoardSize, 2);
        QVERIFY(form->board().isAlive(1, 0));
        QCOMPARE(aliveCount(3), 1);
    }

    // A file cut short is no error ("Read beyond end of file" never arises): the cells it
    // doesn't hold are dead.
    void aFileCutShortIsNoError() {
        log.nextOpen = write(QStringLiteral("short.txt"), "3\r\n1\r\n\r\n0\r\n1");
        QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
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
        QTest::newRow("read-only folder") << "read-only folder" << denied;
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

        QTest::mouseClick(form->SpeedButton14, Qt::LeftButton); // 200 x 200: 121208 bytes
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
        } else if (kind == QLatin1String("read-only folder")) {
            if (::geteuid() == 0) {
                QSKIP("permissions don't stop root; the read-only file system row is what root "
                      "meets");
            }
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
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

        QTest::mouseClick(form->SpeedButton8, Qt::LeftButton);
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
        QTest::mouseClick(form->SpeedButton8, Qt::LeftButton);
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

        QTest::mouseClick(form->SpeedButton17, Qt::LeftButton);
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

private:
    QLineEdit* numberBox(int box) const {
        return box == 1 ? form->Edit1 : box == 2 ? form->Edit2 : form->Edit3;
    }
    // Select everything and paste over it, as a user replacing the box's number would.
    static void paste(QLineEdit* edit, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        edit->setFocus();
        edit->selectAll();
        edit->paste();
    }
    static void insert(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        edit->insert(text);
    }
    void advance(int steps) {
        form->Edit2->setText(QString::number(steps));
        QTest::mouseClick(form->SpeedButton16, Qt::LeftButton);
    }
    // A horizontal blinker centred on (11, 10); it stands upright after an odd number of steps.
    void placeBlinker() {
        for (int c = 10; c <= 12; ++c) {
            form->board().Cells[c][10] = kAlive;
            form->PaintAliveCell(c, 10);
        }
    }
    void loadEmptyBoard(int size) {
        log.nextOpen = write(QStringLiteral("пустая.txt"), QByteArray::number(size) + "\r\n");
        QTest::mouseClick(form->SpeedButton3, Qt::LeftButton);
        QCOMPARE(form->board().BoardSize, size);
    }
    QPoint cellCentre(int col, int row) const {
        return form->StringGrid1->cellRect(col, row).center();
    }
    // Live cells in columns and rows 0 to side - 1.
    int aliveCount(int side) const {
        int alive = 0;
        for (int c = 0; c < side; ++c) {
            for (int r = 0; r < side; ++r) {
                alive += form->board().isAlive(c, r);
            }
        }
        return alive;
    }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(QDir(dir->path()).filePath(name)); // absolute names stay as they are
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size()) {
            return {};
        }
        return file.fileName();
    }

    std::unique_ptr<QTemporaryDir> dir;
    FakeDialogs::Log log;
    std::unique_ptr<TForm1> form;
};

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
