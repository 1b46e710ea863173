// Open, save and snapshot through the main window, with the dialogs answered by the test.
#include "MainWindowFixture.h"

#include "view/StringGrid.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolButton>

using namespace tivla;

class FilesTest : public QObject, protected MainWindowUnderTest {
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QVERIFY(openWindow(true)); }
    void cleanup() { closeWindow(); }

    void cancellingTheOpenDialogLeavesAnEmptyBoardOfTheOldSize() {
        QTest::mouseClick(control("SpeedButton13"), Qt::LeftButton); // 80x80
        form->board().Cells[4][4] = kAlive;
        log.nextOpen.clear();
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(log.openFolders, QStringList{QStringLiteral("примеры")});
        QCOMPARE(form->board().BoardSize, 80);
        QVERIFY(!form->board().isAlive(4, 4));
        QVERIFY(log.errors.isEmpty());
    }

    void aSavedBoardLoadsBackCellForCell() {
        Board& b = form->board();
        b.Cells[0][0] = b.Cells[39][39] = b.Cells[17][3] = b.Cells[40][5] = kAlive;
        log.nextSave = dir->filePath(QStringLiteral("доска.txt"));
        QTest::mouseClick(control("SpeedButton8"), Qt::LeftButton);
        QFile file(log.nextSave);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), 5047);
        QCOMPARE(bytes.count("\r\n"), 1682);

        QTest::mouseClick(control("SpeedButton14"), Qt::LeftButton); // 200x200, then back by file
        log.nextOpen = log.nextSave;
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QVERIFY(log.errors.isEmpty());
        QCOMPARE(b.BoardSize, 40);
        QCOMPARE(form->formState().CellSize, 15);
        QCOMPARE(control<StringGrid>("StringGrid1")->size(), QSize(640, 640));
        for (int c = 0; c <= 40; ++c) {
            for (int r = 0; r <= 40; ++r) {
                const bool expected = (c == 0 && r == 0) || (c == 39 && r == 39) ||
                                      (c == 17 && r == 3) || (c == 40 && r == 5);
                QCOMPARE(b.isAlive(c, r), expected);
            }
        }
    }

    void aSixtyBoardKeepsTheCellSizeAndShowsEverySizeButton() {
        QByteArray text = "60\r\n";
        for (int i = 0; i < 61 * 61; ++i) {
            text += i == 61 * 2 + 7 ? "1\r\n" : "0\r\n";
        }
        log.nextOpen = write(QStringLiteral("sixty.txt"), text);
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(form->board().BoardSize, 60);
        QCOMPARE(form->formState().CellSize, 15);
        QCOMPARE(control<StringGrid>("StringGrid1")->size(), QSize(960, 960));
        QVERIFY(control("SpeedButton9")->isVisible() && control("SpeedButton14")->isVisible());
        QVERIFY(form->board().isAlive(2, 7));
    }

    void badFilesAreReportedAndKeepWhatWasRead() {
        log.nextOpen = dir->filePath(QStringLiteral("нет-такого.txt"));
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(log.errors.last(), QStringLiteral("File not found."));

        log.nextOpen = write(QStringLiteral("broken.txt"), "3\r\n1\r\n0\r\nxyz\r\n1\r\n");
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(log.errors.last(), QStringLiteral("Invalid numeric input."));
        QCOMPARE(form->board().BoardSize, 3);
        QVERIFY(form->board().isAlive(0, 0));
        QVERIFY(!form->board().isAlive(0, 3));

        for (const char* size : {"0", "-5", "201"}) {
            const int before = form->board().BoardSize;
            log.nextOpen = write(QStringLiteral("size.txt"), QByteArray(size) + "\r\n1\r\n");
            QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
            QCOMPARE(form->board().BoardSize, before);
            QVERIFY(log.errors.last().contains(QString::fromLatin1(size)));
        }
        log.nextOpen = dir->path(); // a folder chosen as a file
        QTest::mouseClick(control("SpeedButton3"), Qt::LeftButton);
        QCOMPARE(log.errors.size(), 6);
    }

    void aFailedSaveLeavesTheOldFileAlone() {
        const QString good = write(QStringLiteral("good.txt"), "2\r\n1\r\n");
        // A name inside a "folder" that is really a file cannot be created by anyone.
        log.nextSave = good + QStringLiteral("/inside.txt");
        QTest::mouseClick(control("SpeedButton8"), Qt::LeftButton);
        QCOMPARE(log.errors.size(), 1);
        QFile file(good);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("2\r\n1\r\n"));
    }

    void snapshotsGoIntoTheirFolderOrSayWhyNot() {
        QTest::mouseClick(control("SpeedButton17"), Qt::LeftButton);
        QCOMPARE(log.errors.size(), 1);
        QVERIFY(log.errors.last().startsWith(QStringLiteral("Cannot create file \"")));
        QVERIFY(log.errors.last().contains(dir->path()));

        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("Скриншоты")));
        QTest::mouseClick(control("SpeedButton14"), Qt::LeftButton);
        QTest::mouseClick(control("SpeedButton17"), Qt::LeftButton);
        QCOMPARE(log.errors.size(), 1);
        const QStringList shots =
            QDir(dir->filePath(QStringLiteral("Скриншоты"))).entryList(QDir::Files);
        QCOMPARE(shots.size(), 1);
        QVERIFY(shots.first().endsWith(QStringLiteral(" Поколение-0.bmp")));
        const QImage image(dir->filePath(QStringLiteral("Скриншоты/") + shots.first()));
        QCOMPARE(image.size(), QSize(600, 600));
    }

    // The PNG the save dialog writes is the grid as the window shows it, pixel for pixel,
    // with the lines on and off.
    void aPngPictureIsTheGridPixelForPixel() {
        auto* grid = control<StringGrid>(QStringLiteral("StringGrid1"));
        auto* linesSwitch = control<QCheckBox>(QStringLiteral("CheckBox1"));
        for (const auto& [sizeButton, linesOff] : {std::pair<const char*, bool>{nullptr, false},
                                                   {"SpeedButton13", true},
                                                   {"SpeedButton14", false}}) {
            if (sizeButton != nullptr) {
                QTest::mouseClick(control(sizeButton), Qt::LeftButton);
            }
            if (linesSwitch->isChecked() != linesOff) {
                linesSwitch->click();
            }
            const int last = form->board().BoardSize - 1;
            placeBlinker();
            pressCell(0, 0);
            pressCell(last, last);
            log.nextSave = dir->filePath(QStringLiteral("поле"));
            log.nextSaveFilter = 3;
            QTest::mouseClick(control("SpeedButton8"), Qt::LeftButton);
            QVERIFY(log.filters.last().contains(QStringLiteral("Рисунок PNG (*.png)")));
            const QImage png(dir->filePath(QStringLiteral("поле.png")));
            const int pitch = grid->defaultColWidth() + (linesOff ? 0 : 1);
            QCOMPARE(png.size(), QSize(pitch, pitch) * (last + 1));
            // The grid's strip beyond the last cell is board colour; the current cell is drawn
            // as the selection in the window only.
            const QRect skipped = grid->cellRect(grid->col(), grid->row());
            const QImage shown = grid->snapshot().convertToFormat(QImage::Format_RGB32);
            QImage expected(shown.size(), QImage::Format_RGB32);
            expected.fill(StringGrid::kBackgroundColour);
            QPainter painter(&expected);
            painter.drawImage(0, 0, png);
            painter.drawImage(skipped.topLeft(), shown, skipped);
            painter.end();
            QCOMPARE(shown, expected);
        }
    }
};

QTEST_MAIN(FilesTest)
#include "FilesTest.moc"
