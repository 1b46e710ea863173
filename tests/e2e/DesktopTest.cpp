// The program on a real X display, used with the mouse and keyboard as a person would: the
// title screen, editing cells, figures, running, batches with statistics, sizes, grid lines.
#include "ControlPlaces.h"
#include "DesktopSession.h"
#include "ScreenPixels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <set>
#include <utility>

namespace tivla::e2e {

namespace {

using Look = GridOnScreen::Look;
using Cell = GridOnScreen::Cell;

constexpr QRect kWholeBoard{0, 0, 40, 40};

const QString kGlyphs = QStringLiteral(TIVLA_E2E_SOURCE_DIR "/assets/images/");

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void titleScreenOpensCentredMainWindow();
    void clicksToggleACell();
    void figureChosenFromThePanelIsPlaced();
    void keysMarkTheCellsTheyMoveTo();
    void drawModeDrawsAlongTheDrag();
    void startAndStopRunABlinker();
    void batchWithStatisticsDrawsTheChart();
    void sizeButtonReshapesTheGrid();
    void gridLinesHideAndShow();

private:
    DesktopSession session_{QStringLiteral("DesktopTest"), QSize(1280, 1024)};
    QPoint at(QPoint windowPos) const { return session_.mainWindow().at(windowPos); }
    QPoint at(const QRect& control) const { return at(places::centre(control)); }
    GridOnScreen grid(int cellSize = places::kStartCellSize, int lineWidth = 1) const {
        return session_.mainWindow().grid(cellSize, lineWidth);
    }
};

void DesktopTest::initTestCase() {
    if (const QString reason = DesktopSession::skipReason(); !reason.isEmpty()) {
        QSKIP(qPrintable(reason));
    }
    QVERIFY2(session_.startDisplay(), session_.why());
}

void DesktopTest::init() {
    QVERIFY2(session_.launch(), session_.why());
}

void DesktopTest::cleanup() {
    session_.finish();
}

void DesktopTest::titleScreenOpensCentredMainWindow() {
    QImage screen;
    QVERIFY2(session_.openMainWindow(&screen), session_.why());
    // 968 x 640 at (1280 - 968) / 2, (1024 - 640) / 2, edge to edge, with nothing beyond.
    const QRect window(156, 192, 968, 640);
    QVERIFY(isUniform(screen, QRect(window.left() - 1, window.top(), 1, window.height()), kBlack));
    QVERIFY(isUniform(screen, QRect(window.right() + 1, window.top(), 1, window.height()), kBlack));
    QVERIFY(isUniform(screen, QRect(window.left(), window.top() - 1, window.width(), 1), kBlack));
    QVERIFY(
        isUniform(screen, QRect(window.left(), window.bottom() + 1, window.width(), 1), kBlack));
    QCOMPARE(screen.pixel(window.topLeft()), kBoardOrange);
    // The grid's lines: silver after every 15-pixel cell, down to the window's edge.
    const GridOnScreen board = grid();
    QCOMPARE(board.controlRect(40), QRect(156 + 328, 192, 640, 640));
    for (int k = 0; k < 40; ++k) {
        QCOMPARE(screen.pixel(board.cellRect(k, 7).right() + 1, board.cellRect(k, 7).center().y()),
                 kLineSilver);
        QCOMPARE(screen.pixel(board.cellRect(7, k).center().x(), board.cellRect(7, k).bottom() + 1),
                 kLineSilver);
        QCOMPARE(board.look(screen, k, 39 - k), Look::Dead);
    }
    // The title screen's strip above the main window is bare screen again.
    QVERIFY(isUniform(screen, QRect(254, 150, 767, 40), kBlack));
}

void DesktopTest::clicksToggleACell() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = grid();
    session_.user().click(board.cellCentre(3, 4));
    QImage screen;
    QVERIFY2(session_.see(
                 QStringLiteral("cell 3,4 alive"),
                 [&](const QImage& s) { return board.look(s, 3, 4) == Look::Alive; }, &screen),
             session_.why());
    QVERIFY(board.shows(screen, {{3, 4}}, kWholeBoard));
    // Yellow to the cell's edge, silver line right after it.
    const QRect cell = board.cellRect(3, 4);
    QCOMPARE(screen.pixel(cell.right(), cell.center().y()), kAliveYellow);
    QCOMPARE(screen.pixel(cell.right() + 1, cell.center().y()), kLineSilver);

    session_.user().click(board.cellCentre(3, 4));
    QVERIFY2(session_.see(
                 QStringLiteral("cell 3,4 dead again"),
                 [&](const QImage& s) { return board.look(s, 3, 4) == Look::Dead; }, &screen),
             session_.why());
    QVERIFY(board.shows(screen, {}, kWholeBoard));
}

void DesktopTest::figureChosenFromThePanelIsPlaced() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const WindowOnScreen window = session_.mainWindow();
    const QRect thrush = window.rect(places::figureRadio(places::kThrushFigure));
    // The pointer over the panel's caption strip opens it; the figures appear.
    session_.user().moveTo(at(QPoint(260, places::kFigurePanelShut.y() + 7)));
    QVERIFY2(session_.see(QStringLiteral("figure panel open"),
                          [&](const QImage& s) { return !isUniform(s, thrush, kBoardOrange); }),
             session_.why());
    session_.user().click(at(places::indicator(places::figureRadio(places::kThrushFigure))));
    // Choosing slides the panel shut; a press during the slide would still place the old
    // stamp, so wait for it to end.
    const QRect underPanel = window.rect(QRect(200, 152, 121, 120));
    QVERIFY2(session_.see(QStringLiteral("figure panel shut"),
                          [&](const QImage& s) { return isUniform(s, underPanel, kBoardOrange); }),
             session_.why());

    const GridOnScreen board = grid();
    session_.user().click(board.cellCentre(20, 20));
    // "Дрозд": a bar of three two rows up, and a bar of three down from the pressed cell.
    const std::set<Cell> thrushCells{{19, 18}, {20, 18}, {21, 18}, {20, 20}, {20, 21}, {20, 22}};
    QImage screen;
    QVERIFY2(session_.see(
                 QStringLiteral("figure placed"),
                 [&](const QImage& s) { return board.look(s, 20, 22) == Look::Alive; }, &screen),
             session_.why());
    QVERIFY(board.shows(screen, thrushCells, kWholeBoard));
}

void DesktopTest::keysMarkTheCellsTheyMoveTo() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = grid();
    // The click gives the grid the keyboard; each key moves the current cell as it goes
    // down and marks the cell it reached alive as it comes up.
    session_.user().click(board.cellCentre(10, 10));
    session_.user().key(QStringLiteral("Right"));
    session_.user().key(QStringLiteral("Down"), 2);
    session_.user().key(QStringLiteral("End"));
    const std::set<Cell> marked{{10, 10}, {11, 10}, {11, 11}, {11, 12}, {39, 12}};
    QVERIFY2(session_.see(QStringLiteral("cells marked by keys"),
                          [&](const QImage& s) { return board.shows(s, marked, kWholeBoard); }),
             session_.why());
}

void DesktopTest::drawModeDrawsAlongTheDrag() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = grid();
    session_.user().click(at(places::indicator(places::kDrawRadio)));
    // In draw mode every pointer move over the board places the stamp at the current cell:
    // the first move, with no button held, marks the starting current cell (0, 0); the drag
    // then takes the current cell, and the stamp, along its path.
    session_.user().drag(board.cellCentre(2, 20), board.cellCentre(12, 20));
    std::set<Cell> drawn{{0, 0}};
    for (int col = 2; col <= 12; ++col) {
        drawn.insert({col, 20});
    }
    QVERIFY2(session_.see(QStringLiteral("line drawn"),
                          [&](const QImage& s) { return board.shows(s, drawn, kWholeBoard); }),
             session_.why());
}

void DesktopTest::startAndStopRunABlinker() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = grid();
    for (int col = 10; col <= 12; ++col) {
        session_.user().click(board.cellCentre(col, 10));
    }
    const std::set<Cell> flat{{10, 10}, {11, 10}, {12, 10}};
    const std::set<Cell> upright{{11, 9}, {11, 10}, {11, 11}};
    const auto shows = [&](const std::set<Cell>& cells) {
        return
            [&board, cells](const QImage& s) { return board.shows(s, cells, QRect(8, 7, 7, 7)); };
    };
    QVERIFY2(session_.see(QStringLiteral("blinker drawn"), shows(flat)), session_.why());

    const QRect button = session_.mainWindow().rect(places::kStartStopButton);
    const QImage startGlyph(kGlyphs + QStringLiteral("start.png"));
    const QImage stopGlyph(kGlyphs + QStringLiteral("stop.png"));
    session_.user().moveTo(at(places::kRestingPoint));
    QVERIFY2(session_.see(QStringLiteral("start button"),
                          [&](const QImage& s) { return showsGlyph(s, button, startGlyph); }),
             session_.why());

    session_.user().click(at(places::kStartStopButton));
    QVERIFY2(session_.see(QStringLiteral("first tick"), shows(upright)), session_.why());
    QVERIFY2(session_.see(QStringLiteral("second tick"), shows(flat)), session_.why());
    session_.user().moveTo(at(places::kRestingPoint));
    QVERIFY2(session_.see(QStringLiteral("stop button in the start button's place"),
                          [&](const QImage& s) { return showsGlyph(s, button, stopGlyph); }),
             session_.why());

    session_.user().click(at(places::kStartStopButton));
    session_.user().moveTo(at(places::kRestingPoint));
    QImage stopped;
    QVERIFY2(session_.see(
                 QStringLiteral("stopped"),
                 [&](const QImage& s) { return showsGlyph(s, button, startGlyph); }, &stopped),
             session_.why());
    // Three intervals of 500 ms without a tick: nothing can be polled for here.
    QTest::qSleep(1600);
    const QImage later = session_.user().look();
    session_.artefacts().keep(later, QStringLiteral("still stopped"));
    QVERIFY(board.shows(stopped, flat, kWholeBoard) || board.shows(stopped, upright, kWholeBoard));
    const QRect area = board.controlRect(40);
    const auto difference = firstDifference(stopped, area, later, area.topLeft());
    QVERIFY2(!difference, qPrintable(difference.value_or(QString())));
}

void DesktopTest::batchWithStatisticsDrawsTheChart() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const WindowOnScreen window = session_.mainWindow();
    const GridOnScreen board = grid();

    // Settings panel: 800 random cells.
    session_.user().click(at(places::indicator(places::kFillCheckBox)));
    const QRect countField = window.rect(places::kFillCountOpen);
    QVERIFY2(session_.see(QStringLiteral("settings panel open"),
                          [&](const QImage& s) {
                              return countColour(s, countField, kWhite) > countField.width() * 10;
                          }),
             session_.why());
    session_.user().click(at(places::kFillCountOpen));
    session_.user().key(QStringLiteral("End"));
    session_.user().key(QStringLiteral("BackSpace"), 4);
    session_.user().type(QStringLiteral("800"));
    session_.user().click(at(places::kFillButtonOpen));
    QImage screen;
    QVERIFY2(session_.see(
                 QStringLiteral("800 cells filled"),
                 [&](const QImage& s) { return board.countAlive(s, 40) == 800; }, &screen),
             session_.why());

    // Statistics panel, below the open settings panel.
    const QPoint panel =
        places::kStatisticsPanelShut.topLeft() + places::kStatisticsOffsetWithSettingsOpen;
    session_.user().click(at(panel + QPoint(92, 7)));
    const QRect chart = window.rect(places::kChart.translated(panel));
    const QRect generation = window.rect(places::kGenerationValue.translated(panel));
    QVERIFY2(session_.see(
                 QStringLiteral("statistics panel open"),
                 [&](const QImage& s) { return isUniform(s, chart, kBlack); }, &screen),
             session_.why());
    // No step taken yet: the generation's label is empty.
    const QImage emptyLabel = screen.copy(generation);

    session_.user().click(at(places::kStepsEdit));
    session_.user().key(QStringLiteral("End"));
    session_.user().key(QStringLiteral("BackSpace"), 3);
    session_.user().type(QStringLiteral("25"));
    session_.user().click(at(places::kBatchButton));
    session_.user().moveTo(at(places::kRestingPoint));
    // Populations from 800 down: a yellow area rising from the chart's bottom on black.
    const QRect bottomRow(chart.left(), chart.bottom(), chart.width(), 1);
    const QRect topRows(chart.left(), chart.top(), chart.width(), 10);
    QVERIFY2(session_.see(
                 QStringLiteral("chart drawn"),
                 [&](const QImage& s) {
                     return countColour(s, bottomRow, kAliveYellow) > chart.width() * 9 / 10 &&
                            isUniform(s, topRows, kBlack);
                 },
                 &screen),
             session_.why());
    const int yellow = countColour(screen, chart, kAliveYellow);
    const int black = countColour(screen, chart, kBlack);
    QVERIFY2(yellow > chart.width() * 10, qPrintable(QString::number(yellow)));
    // Area and background only, give or take the edge's smoothing.
    QVERIFY(yellow + black > chart.width() * chart.height() * 95 / 100);
    QVERIFY(screen.copy(generation) != emptyLabel);
    QVERIFY(board.countAlive(screen, 40) != 800);

    const QString readme = session_.artefacts().filePath(QStringLiteral("screenshot.png"));
    QVERIFY(screen.copy(window.rect(QRect(QPoint(0, 0), places::kMainWindowAtStart))).save(readme));
    qInfo().noquote() << "artefact:" << readme;
    // Only on request does the suite replace the picture the README shows.
    if (qEnvironmentVariableIsSet("TIVLA_E2E_UPDATE_DOCS")) {
        const QString docs = QStringLiteral(TIVLA_E2E_SOURCE_DIR "/docs/screenshot.png");
        QVERIFY(QDir().mkpath(QFileInfo(docs).path()));
        QFile::remove(docs);
        QVERIFY(QFile::copy(readme, docs));
        qInfo().noquote() << "updated:" << docs;
    }
}

void DesktopTest::sizeButtonReshapesTheGrid() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const WindowOnScreen window = session_.mainWindow();
    session_.user().click(grid().cellCentre(30, 30));
    session_.user().click(at(places::kSize200Button));
    // 200 cells of 2 pixels and a line: 600 x 600, and the window shrinks to 928 x 600.
    const GridOnScreen small = grid(2);
    const QRect shrunk = window.rect(QRect(0, 0, 928, 600));
    QImage screen;
    QVERIFY2(session_.see(
                 QStringLiteral("200 x 200 board"),
                 [&](const QImage& s) {
                     return s.pixel(shrunk.right() + 1, shrunk.top() + 10) == kBlack &&
                            s.pixel(shrunk.left() + 10, shrunk.bottom() + 1) == kBlack;
                 },
                 &screen),
             session_.why());
    QVERIFY(isUniform(screen, QRect(shrunk.right() + 1, shrunk.top(), 1, shrunk.height()), kBlack));
    QVERIFY(
        isUniform(screen, QRect(shrunk.left(), shrunk.bottom() + 1, shrunk.width(), 1), kBlack));
    QCOMPARE(screen.pixel(shrunk.bottomRight()), kLineSilver);
    for (int k = 0; k < 200; k += 7) {
        const QRect cell = small.cellRect(k, 199 - k);
        QCOMPARE(screen.pixel(cell.topLeft()), kBoardOrange); // cleared board
        QCOMPARE(screen.pixel(cell.bottomRight()), kBoardOrange);
        QCOMPARE(screen.pixel(cell.bottomRight() + QPoint(1, 0)), kLineSilver);
        QCOMPARE(screen.pixel(cell.bottomRight() + QPoint(0, 1)), kLineSilver);
    }
    // The 200 button has gone and the 40 button has come.
    QVERIFY(isUniform(screen, window.rect(places::kSize200Button), kBoardOrange));
    QVERIFY(!isUniform(screen, window.rect(places::kSize40Button), kBoardOrange));

    session_.user().click(at(places::kSize40Button));
    QVERIFY2(session_.see(
                 QStringLiteral("40 x 40 board again"),
                 [&](const QImage& s) {
                     return s.pixel(window.at(QPoint(967, 639))) == kLineSilver &&
                            grid().look(s, 30, 30) == Look::Dead;
                 },
                 &screen),
             session_.why());
    QVERIFY(isUniform(screen, window.rect(places::kSize40Button), kBoardOrange));
}

void DesktopTest::gridLinesHideAndShow() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const WindowOnScreen window = session_.mainWindow();
    session_.user().click(grid().cellCentre(2, 2));
    session_.user().click(at(places::indicator(places::kGridLinesCheckBox)));
    // Without lines the cells lie 15 pixels apart and a 40-pixel strip of board colour
    // fills the control's right and bottom edges.
    const GridOnScreen bare = grid(places::kStartCellSize, 0);
    const QRect control = bare.controlRect(40);
    QImage screen;
    QVERIFY2(session_.see(
                 QStringLiteral("lines hidden"),
                 [&](const QImage& s) { return countColour(s, control, kLineSilver) == 0; },
                 &screen),
             session_.why());
    const QRect alive = bare.cellRect(2, 2);
    QVERIFY(isUniform(screen, alive, kAliveYellow));
    QCOMPARE(countColour(screen, control, kAliveYellow), 15 * 15);
    QVERIFY(isUniform(screen, QRect(control.left() + 600, control.top(), 40, 640), kBoardOrange));
    QVERIFY(isUniform(screen, QRect(control.left(), control.top() + 600, 640, 40), kBoardOrange));

    session_.user().click(at(places::indicator(places::kGridLinesCheckBox)));
    const GridOnScreen lined = grid();
    QVERIFY2(session_.see(
                 QStringLiteral("lines shown again"),
                 [&](const QImage& s) {
                     return s.pixel(lined.cellRect(0, 0).right() + 1, control.top() + 100) ==
                            kLineSilver;
                 },
                 &screen),
             session_.why());
    QVERIFY(isUniform(screen, lined.cellRect(2, 2), kAliveYellow));
    QCOMPARE(countColour(screen, control, kAliveYellow), 15 * 15);
    QCOMPARE(screen.pixel(window.at(QPoint(328 + 639, 639))), kLineSilver);
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::DesktopTest)
#include "DesktopTest.moc"
