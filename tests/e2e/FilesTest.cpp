// The program's files on a real X display: a board saved and one opened through the real
// file dialogs by typing names, and snapshots compared with the screen pixel for pixel.
#include "ControlPlaces.h"
#include "DesktopSession.h"
#include "ScreenPixels.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <set>
#include <utility>

namespace tivla::e2e {

namespace {

using Look = GridOnScreen::Look;
using Cell = GridOnScreen::Cell;

// A board file as the program writes it: the size, then every cell of columns and rows 0 to
// n (one beyond the board), column by column, CR LF after each line.
QByteArray boardFile(int n, const std::set<Cell>& alive) {
    QByteArray bytes = QByteArray::number(n) + "\r\n";
    for (int x = 0; x <= n; ++x) {
        for (int y = 0; y <= n; ++y) {
            bytes += alive.count({x, y}) != 0 ? "1\r\n" : "0\r\n";
        }
    }
    return bytes;
}

QByteArray waitForFile(const QString& path, qint64 size, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QFile file(path);
        if (file.size() == size && file.open(QIODevice::ReadOnly)) {
            return file.readAll();
        }
        QThread::msleep(50);
    }
    return {};
}

// The snapshot files in folder, waiting until there are count of them.
QStringList waitForSnapshots(const QDir& folder, int count, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QStringList names;
    do {
        names =
            folder.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Time | QDir::Reversed);
        if (names.size() >= count) {
            break;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return names;
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void saveThroughTheDialog();
    void openThroughTheDialog();
    void openAnRlePatternThroughTheDialog();
    void snapshotsMatchTheScreen();

private:
    using DialogSight = std::function<bool(const QImage& screen, const QRect& dialog)>;
    // Waits for the file dialog, clicks into its margin so that the keyboard goes to it, types
    // the name and Enter, and waits for the dialog to go; before the Enter, when given, waits
    // until the dialog shows what beforeEnter looks for.
    bool answerFileDialog(const QString& name, const DialogSight& beforeEnter = {});
    // Clicks the cells alive on the 40 x 40 board and waits until the screen shows them.
    bool clickCellsAlive(const GridOnScreen& board, const std::set<Cell>& alive);

    DesktopSession session_{QStringLiteral("FilesTest"), QSize(1280, 1024)};
    QPoint at(const QRect& control) const {
        return session_.mainWindow().at(places::centre(control));
    }
    GridOnScreen grid(int cellSize = places::kStartCellSize) const {
        return session_.mainWindow().grid(cellSize);
    }
};

void FilesTest::initTestCase() {
    if (const QString reason = DesktopSession::skipReason(); !reason.isEmpty()) {
        QSKIP(qPrintable(reason));
    }
    QVERIFY2(session_.startDisplay(), session_.why());
}

void FilesTest::init() {
    QVERIFY2(session_.launch(), session_.why());
}

void FilesTest::cleanup() {
    session_.finish();
}

bool FilesTest::answerFileDialog(const QString& name, const DialogSight& beforeEnter) {
    QRect dialog;
    if (!session_.seeDialog(QStringLiteral("file dialog"), &dialog)) {
        return false;
    }
    session_.user().click(dialog.topLeft() + QPoint(3, 3) * session_.scale());
    session_.user().type(name);
    const auto typed = [&](const QImage& s) { return beforeEnter(s, dialog); };
    if (beforeEnter && !session_.see(QStringLiteral("file dialog before Enter"), typed)) {
        return false;
    }
    session_.user().key(QStringLiteral("Return"));
    return session_.seeDialogGone(QStringLiteral("file dialog closed"));
}

bool FilesTest::clickCellsAlive(const GridOnScreen& board, const std::set<Cell>& alive) {
    for (const auto& [col, row] : alive) {
        session_.user().click(board.cellCentre(col, row));
    }
    return session_.see(QStringLiteral("cells drawn"), [&](const QImage& s) {
        return board.shows(s, alive, QRect(0, 0, 40, 40));
    });
}

void FilesTest::saveThroughTheDialog() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = grid();
    const std::set<Cell> alive{{0, 39}, {3, 4}, {10, 20}, {39, 39}};
    QVERIFY2(clickCellsAlive(board, alive), session_.why());

    session_.user().click(at(places::kSaveButton));
    QVERIFY2(answerFileDialog(QStringLiteral("e2e-saved.txt")), session_.why());
    // The dialog starts in "примеры" under the program's working folder.
    const QString path =
        session_.program().workDir().filePath(QStringLiteral("примеры/e2e-saved.txt"));
    const QByteArray expected = boardFile(40, alive);
    QCOMPARE(expected.size(), 5047);
    const QByteArray saved = waitForFile(path, expected.size(), DesktopSession::kPatienceMs);
    QVERIFY2(saved == expected,
             qPrintable(QStringLiteral("%1: %2 bytes").arg(path).arg(saved.size())));
    // Saving changes nothing on the board.
    QVERIFY2(
        session_.see(QStringLiteral("board unchanged"),
                     [&](const QImage& s) { return board.shows(s, alive, QRect(0, 0, 40, 40)); }),
        session_.why());
}

void FilesTest::openThroughTheDialog() {
    // A 50 x 50 board whose cell in the extra column (index 50) is stored but never shown.
    const std::set<Cell> alive{{0, 0}, {1, 2}, {2, 0}, {25, 10}, {10, 25}, {49, 0}, {49, 49}};
    std::set<Cell> inFile = alive;
    inFile.insert({50, 3});
    const QString name = QStringLiteral("е2е доска 50x50.txt");
    QFile file(session_.program().workDir().filePath(QStringLiteral("примеры/") + name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(boardFile(50, inFile)) > 0);
    file.close();

    QVERIFY2(session_.openMainWindow(), session_.why());
    // A live cell that the opening clears, and the grid's current cell on a cell the file
    // makes alive, so that every cell shows plain alive or dead afterwards.
    session_.user().click(grid().cellCentre(5, 5));
    session_.user().click(grid().cellCentre(1, 2));
    session_.user().click(at(places::kOpenButton));
    QVERIFY2(answerFileDialog(name), session_.why());

    // 50 cells of 13 pixels and a line: a 700 x 700 grid in a 1028 x 700 window.
    const WindowOnScreen window = session_.mainWindow();
    const GridOnScreen board = grid(13);
    const QRect grown = window.rect(QRect(0, 0, 1028, 700));
    QImage screen;
    QVERIFY2(session_.see(
                 QStringLiteral("50 x 50 board opened"),
                 [&](const QImage& s) {
                     return s.pixel(grown.bottomRight()) == kLineSilver &&
                            board.shows(s, alive, QRect(0, 0, 50, 50));
                 },
                 &screen),
             session_.why());
    QVERIFY(isUniform(screen, QRect(grown.right() + 1, grown.top(), 1, grown.height()), kBlack));
    QVERIFY(isUniform(screen, QRect(grown.left(), grown.bottom() + 1, grown.width(), 1), kBlack));
    QVERIFY(isUniform(screen, window.rect(places::kSize50Button), kBoardOrange));
    QVERIFY(!isUniform(screen, window.rect(places::kSize40Button), kBoardOrange));
}

void FilesTest::openAnRlePatternThroughTheDialog() {
    // A 45 x 45 box holds more than the 40 x 40 board: it opens on 50 x 50, two cells in.
    const QByteArray rle = "#N e2e\r\n#C a glider in the corner of a larger box\r\n"
                           "x = 45, y = 45, rule = B3/S23\r\nbo$2bo$3o42$44bo!\r\n";
    const std::set<Cell> alive{{3, 2}, {4, 3}, {2, 4}, {3, 4}, {4, 4}, {46, 46}};
    // Latin only: xdotool types other letters by remapping a key, which a busy server can lose.
    const QString name = QStringLiteral("e2e-glider.rle");
    QFile file(session_.program().workDir().filePath(QStringLiteral("примеры/") + name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(rle) == rle.size());
    file.close();

    QVERIFY2(session_.openMainWindow(), session_.why());
    // The grid's current cell on a cell the pattern makes alive, as in the board file's test.
    session_.user().click(grid().cellCentre(3, 2));
    session_.user().click(at(places::kOpenButton));
    // The preview beside the file list: the box and its margin, 47 x 47 cells, in square cells
    // of the board's colours, the live ones one cell in from the edge; its texts below it.
    const auto showsPreview = [&](const QImage& s, const QRect& dialog) {
        const QRect board = boundsOf(s, dialog, kBoardOrange);
        const int cell = board.width() / 47;
        const QRect texts(board.left(), board.bottom() + 1, board.width(), 60 * session_.scale());
        return cell > 0 && board.width() == 47 * cell && board.height() == board.width() &&
               board.left() > dialog.center().x() &&
               boundsOf(s, dialog, kAliveYellow) == board.adjusted(cell, cell, -cell, -cell) &&
               countColour(s, dialog, kAliveYellow) == 6 * cell * cell &&
               !boundsOfOther(s, texts, dominantColour(s, texts)).isNull();
    };
    QVERIFY2(answerFileDialog(name, showsPreview), session_.why());

    const WindowOnScreen window = session_.mainWindow();
    const GridOnScreen board = grid(13);
    QImage screen;
    QVERIFY2(session_.see(
                 QStringLiteral("RLE pattern opened on 50 x 50"),
                 [&](const QImage& s) { return board.shows(s, alive, QRect(0, 0, 50, 50)); },
                 &screen),
             session_.why());
    QVERIFY(isUniform(screen, window.rect(places::kSize50Button), kBoardOrange));
}

void FilesTest::snapshotsMatchTheScreen() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = grid();
    const std::set<Cell> alive{{3, 3}, {4, 3}, {21, 30}, {20, 30}};
    QVERIFY2(clickCellsAlive(board, alive), session_.why());
    const QDate day = QDate::currentDate();
    session_.user().click(at(places::kSnapshotButton));
    const QDir folder(session_.program().workDir().filePath(QStringLiteral("Скриншоты")));
    QStringList names = waitForSnapshots(folder, 1, DesktopSession::kPatienceMs);
    QCOMPARE(names.size(), 1);
    const QRegularExpression pattern(QStringLiteral(
        "^Дата-(\\d\\d)_(\\d\\d)_(\\d{4}) Время-\\d\\d_\\d\\d_\\d\\d Поколение-(\\d+)\\.bmp$"));
    QRegularExpressionMatch match = pattern.match(names.first());
    QVERIFY2(match.hasMatch(), qPrintable(names.first()));
    const QDate named(match.captured(3).toInt(), match.captured(2).toInt(),
                      match.captured(1).toInt());
    QVERIFY(named == day || named == QDate::currentDate());
    QCOMPARE(match.captured(4), QStringLiteral("0"));

    const QRect area = board.controlRect(40);
    const auto matchesScreen = [&](const QString& fileName) -> std::optional<QString> {
        const QImage picture(folder.filePath(fileName));
        QFile::copy(folder.filePath(fileName), session_.artefacts().filePath(fileName));
        if (picture.size() != QSize(640, 640)) {
            return QStringLiteral("snapshot of %1 x %2").arg(picture.width()).arg(picture.height());
        }
        const QImage screen = session_.user().look();
        session_.artefacts().keep(screen, QStringLiteral("screen at ") + fileName);
        return firstDifference(screen, area, picture.convertToFormat(QImage::Format_RGB32),
                               QPoint(0, 0));
    };
    auto difference = matchesScreen(names.first());
    QVERIFY2(!difference, qPrintable(difference.value_or(QString())));
    // The grid has the focus: its current cell carries the dotted frame, in the file too.
    const QImage first(folder.filePath(names.first()));
    const QRect current = board.cellRect(21, 30).translated(-area.topLeft()); // clicked last
    QVERIFY(isUniform(first, current.adjusted(1, 1, -1, -1), kAliveYellow));
    QVERIFY(!isUniform(first, current, kAliveYellow));

    // Focus elsewhere and one generation on: the lone cells die, the pair too.
    session_.user().click(at(places::kStepsEdit));
    session_.user().click(at(places::kBatchButton));
    QVERIFY2(session_.see(QStringLiteral("generation 1"),
                          [&](const QImage& s) { return board.look(s, 3, 3) == Look::Dead; }),
             session_.why());
    session_.user().click(at(places::kSnapshotButton));
    names = waitForSnapshots(folder, 2, DesktopSession::kPatienceMs);
    QCOMPARE(names.size(), 2);
    match = pattern.match(names.last());
    QVERIFY2(match.hasMatch(), qPrintable(names.last()));
    QCOMPARE(match.captured(4), QStringLiteral("1"));
    difference = matchesScreen(names.last());
    QVERIFY2(!difference, qPrintable(difference.value_or(QString())));
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::FilesTest)
#include "FilesTest.moc"
