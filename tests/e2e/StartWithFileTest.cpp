// The program started with a file on its command line, as a double click in a file manager
// starts it: the pattern is on the board as soon as the main window appears, and a file that
// cannot be read gets the open command's message box while the program goes on.
#include "ControlPlaces.h"
#include "DesktopSession.h"
#include "ScreenPixels.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <set>

namespace tivla::e2e {

namespace {

using Cell = GridOnScreen::Cell;
using Look = GridOnScreen::Look;

struct PatternFile {
    QString name;
    QByteArray text;
};

// A glider, as its corner-relative cells and as files of the formats the program reads.
const std::set<Cell> kGlider{{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};

QByteArray boardFileWithGliderAt(int left, int top) {
    constexpr int kSize = 40;
    QByteArray bytes = QByteArray::number(kSize) + "\r\n";
    for (int x = 0; x <= kSize; ++x) {
        for (int y = 0; y <= kSize; ++y) {
            bytes += kGlider.count({x - left, y - top}) != 0 ? "1\r\n" : "0\r\n";
        }
    }
    return bytes;
}

const PatternFile kBoardGlider{QStringLiteral("глайдер 40x40.txt"), boardFileWithGliderAt(17, 12)};
const PatternFile kRleGlider{QStringLiteral("глайдер.rle"),
                             "#N Glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n"};
// The file given on the command line: either of the above. Where the program places a pattern
// is its own affair, so the test looks for the glider's shape anywhere on the board.
const PatternFile& kGiven = kRleGlider;

// The live cells of the 40 x 40 board on screen, moved so that the topmost and leftmost
// touch row and column 0; nothing if more than one cell looks neither alive nor dead (the
// grid's current cell, highlighted, is the one allowed).
std::optional<std::set<Cell>> aliveShape(const QImage& screen, const GridOnScreen& board) {
    std::set<Cell> alive;
    int unclear = 0;
    for (int col = 0; col < 40; ++col) {
        for (int row = 0; row < 40; ++row) {
            const Look look = board.look(screen, col, row);
            unclear += look == Look::Other;
            if (look == Look::Alive) {
                alive.insert({col, row});
            }
        }
    }
    if (unclear > 1) {
        return std::nullopt;
    }
    if (alive.empty()) {
        return alive;
    }
    int left = 40;
    int top = 40;
    for (const auto& [col, row] : alive) {
        left = std::min(left, col);
        top = std::min(top, row);
    }
    std::set<Cell> shape;
    for (const auto& [col, row] : alive) {
        shape.insert({col - left, row - top});
    }
    return shape;
}

} // namespace

class StartWithFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void patternIsOnTheBoardWhenTheWindowAppears();
    void unreadableFileIsReportedAndTheProgramGoesOn();

private:
    DesktopSession session_{QStringLiteral("StartWithFileTest"), QSize(1280, 1024)};
    GridOnScreen grid() const { return session_.mainWindow().grid(places::kStartCellSize); }
};

void StartWithFileTest::initTestCase() {
    if (const QString reason = DesktopSession::skipReason(); !reason.isEmpty()) {
        QSKIP(qPrintable(reason));
    }
    QVERIFY2(session_.startDisplay(), session_.why());
}

void StartWithFileTest::cleanup() {
    session_.finish();
}

void StartWithFileTest::patternIsOnTheBoardWhenTheWindowAppears() {
    // A name relative to the folder the program starts in, as a shell would pass it.
    QVERIFY2(session_.launch({kGiven.name}), session_.why());
    QFile file(session_.program().workDir().filePath(kGiven.name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(kGiven.text) == kGiven.text.size());
    file.close();

    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = grid();
    QVERIFY2(session_.see(QStringLiteral("glider on the board"),
                          [&](const QImage& s) { return aliveShape(s, board) == kGlider; }),
             session_.why());
}

void StartWithFileTest::unreadableFileIsReportedAndTheProgramGoesOn() {
    QVERIFY2(session_.launch({QStringLiteral("нет такого файла.rle")}), session_.why());
    QVERIFY2(session_.openMainWindow(), session_.why());
    QRect box;
    QVERIFY2(session_.seeDialog(QStringLiteral("message box about the file"), &box),
             session_.why());
    session_.user().click(box.topLeft() + QPoint(3, 3));
    session_.user().key(QStringLiteral("Return"));
    QVERIFY2(session_.seeDialogGone(QStringLiteral("message box dismissed")), session_.why());

    // The program goes on: the board takes a click.
    const GridOnScreen board = grid();
    session_.user().click(board.cellCentre(7, 9));
    const auto cellAlive = [&](const QImage& s) {
        return board.shows(s, {{7, 9}}, QRect(0, 0, 40, 40));
    };
    QVERIFY2(session_.see(QStringLiteral("cell clicked alive"), cellAlive), session_.why());
    QVERIFY(session_.program().isRunning());
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::StartWithFileTest)
#include "StartWithFileTest.moc"
