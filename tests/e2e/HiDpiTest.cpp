// The program at QT_SCALE_FACTOR=2 on a large Xvfb screen beside the same program at scale 1:
// every control where the layout puts it, doubled; board cells square and sharp, drawn at the
// screen's own resolution; snapshots still at the grid's logical size.
#include "ControlPlaces.h"
#include "DesktopSession.h"
#include "ScreenPixels.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <QThread>

namespace tivla::e2e {

namespace {

using Look = GridOnScreen::Look;

struct Control {
    const char* name;
    QRect place;
};

// Controls that show something of their own, each judged by where its drawing lies inside its
// own rectangle.
const Control kControls[] = {
    {"title area", places::kTitleAreaFrame},
    {"О творце", places::kAboutButton},
    {"Тивла", places::kTitleLabel},
    {"_", places::kMinimiseButton},
    {"Х", places::kExitButton},
    {"50x50", places::kSize50Button},
    {"200x200", places::kSize200Button},
    {"clear", places::kClearButton},
    {"start", places::kStartStopButton},
    {"open", places::kOpenButton},
    {"batch", places::kBatchButton},
    {"save", places::kSaveButton},
    {"advance to", places::kAdvanceToButton},
    {"Снимок", places::kSnapshotButton},
    {"Скорость", places::kSpeedLabel},
    {"interval", places::kIntervalEdit},
    {"n", places::kStepsEdit},
    {"target", places::kTargetEdit},
    {"Тыкать", places::kPokeRadio},
    {"Рисовать", places::kDrawRadio},
    {"pin", places::kPinCheckBox},
    {"Кисти", places::kBrushPanelShut},
    {"Фигурки", places::kFigurePanelShut},
    {"Убрать сетку", places::kGridLinesCheckBox},
    {"Заполнить автоматически", places::kFillCheckBox},
    {"statistics", places::kStatisticsPanelShut},
    {"board", QRect(places::kGrid, QSize(640, 640))},
};

// Where a control's drawing lies on its background, in logical pixels from the control's
// top-left corner: at scale 2 each logical pixel is a 2 x 2 block, so the extent is halved.
QRect drawingIn(const QImage& screen, const WindowOnScreen& window, const QRect& place) {
    const QRect area = window.rect(place);
    const QRect drawn =
        boundsOfOther(screen, area, dominantColour(screen, area)).translated(-area.topLeft());
    const int s = window.scale();
    return QRect(QPoint(drawn.left() / s, drawn.top() / s),
                 QPoint(drawn.right() / s, drawn.bottom() / s));
}

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void controlsKeepTheirPlacesDoubled();
    void cellsStaySquareAndSharp();

private:
    DesktopSession single_{QStringLiteral("HiDpiTest-scale1"), QSize(1280, 1024), 1};
    DesktopSession doubled_{QStringLiteral("HiDpiTest-scale2"), QSize(2600, 1600), 2};
};

void HiDpiTest::initTestCase() {
    if (const QString reason = DesktopSession::skipReason(); !reason.isEmpty()) {
        QSKIP(qPrintable(reason));
    }
    QVERIFY2(single_.startDisplay(), single_.why());
    QVERIFY2(doubled_.startDisplay(), doubled_.why());
}

void HiDpiTest::cleanup() {
    single_.finish();
    doubled_.finish();
}

void HiDpiTest::controlsKeepTheirPlacesDoubled() {
    QImage one;
    QImage two;
    QVERIFY2(single_.launch(), single_.why());
    QVERIFY2(single_.openMainWindow(&one), single_.why());
    QVERIFY2(doubled_.launch(), doubled_.why());
    QVERIFY2(doubled_.openMainWindow(&two), doubled_.why());

    // Centred on the 1300 x 800 logical screen: 166, 80, that is 332, 160 in screen pixels,
    // and 1936 x 1280 of them.
    const WindowOnScreen w1 = single_.mainWindow();
    const WindowOnScreen w2 = doubled_.mainWindow();
    const QRect window = w2.rect(QRect(QPoint(0, 0), places::kMainWindowAtStart));
    QCOMPARE(window, QRect(332, 160, 1936, 1280));
    QVERIFY(isUniform(two, QRect(window.left() - 1, window.top(), 1, window.height()), kBlack));
    QVERIFY(isUniform(two, QRect(window.right() + 1, window.top(), 1, window.height()), kBlack));
    QVERIFY(isUniform(two, QRect(window.left(), window.bottom() + 1, window.width(), 1), kBlack));
    QCOMPARE(two.pixel(window.topLeft()), kBoardOrange);
    QVERIFY(
        two.copy(window).save(doubled_.artefacts().filePath(QStringLiteral("main-window-x2.png"))));

    // Text is drawn afresh at the larger size, so its extent may differ by a pixel or two
    // (logical); a control out of place or out of proportion is off by far more.
    QStringList misplaced;
    for (const Control& control : kControls) {
        const QRect at1 = drawingIn(one, w1, control.place);
        const QRect at2 = drawingIn(two, w2, control.place);
        const int slack = std::max(2, control.place.width() / 12);
        const bool near =
            !at1.isNull() && !at2.isNull() && std::abs(at1.left() - at2.left()) <= 1 &&
            std::abs(at1.top() - at2.top()) <= 1 && std::abs(at1.right() - at2.right()) <= slack &&
            std::abs(at1.bottom() - at2.bottom()) <= 2;
        if (!near) {
            misplaced << QStringLiteral("%1: %2 at scale 1, %3 at scale 2")
                             .arg(QString::fromUtf8(control.name), describe(at1), describe(at2));
        }
    }
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced.join(QStringLiteral("; "))));

    // The edits' white insides are exact rectangles: exactly twice as large at twice the place.
    for (const QRect& edit : {places::kIntervalEdit, places::kStepsEdit, places::kTargetEdit}) {
        const QRect white1 =
            boundsOf(one, w1.rect(edit), kWhite).translated(-w1.rect(edit).topLeft());
        const QRect white2 =
            boundsOf(two, w2.rect(edit), kWhite).translated(-w2.rect(edit).topLeft());
        QVERIFY2(std::abs(white2.left() - 2 * white1.left()) <= 1 &&
                     std::abs(white2.top() - 2 * white1.top()) <= 1 &&
                     std::abs(white2.width() - 2 * white1.width()) <= 2 &&
                     std::abs(white2.height() - 2 * white1.height()) <= 2,
                 qPrintable(describe(white1) + QStringLiteral(" against ") + describe(white2)));
    }
}

void HiDpiTest::cellsStaySquareAndSharp() {
    QVERIFY2(doubled_.launch(), doubled_.why());
    QVERIFY2(doubled_.openMainWindow(), doubled_.why());
    const WindowOnScreen window = doubled_.mainWindow();
    const GridOnScreen board = window.grid(places::kStartCellSize);
    doubled_.user().click(board.cellCentre(5, 5));
    doubled_.user().click(board.cellCentre(6, 7));
    // The focus goes to an edit, so no cell carries the focus frame and the current cell is
    // alive: every pixel of the board is a cell's or a line's.
    doubled_.user().click(window.at(places::centre(places::kIntervalEdit)));
    const QRect grid = board.controlRect(40);
    QImage screen;
    QVERIFY2(doubled_.see(
                 QStringLiteral("two cells at scale 2"),
                 [&](const QImage& s) {
                     return board.look(s, 5, 5) == Look::Alive &&
                            board.look(s, 6, 7) == Look::Alive &&
                            countColour(s, grid, kBoardOrange) + countColour(s, grid, kLineSilver) +
                                    countColour(s, grid, kAliveYellow) ==
                                grid.width() * grid.height();
                 },
                 &screen),
             doubled_.why());
    QCOMPARE(grid, QRect(332 + 656, 160, 1280, 1280));
    // A live cell is a square of 30 x 30 screen pixels, bounded by lines two pixels wide,
    // changing colour from one pixel to the next: nothing smoothed, nothing blurred.
    const QRect cell = board.cellRect(5, 5);
    QCOMPARE(boundsOf(screen, cell.adjusted(-4, -4, 4, 4), kAliveYellow), cell);
    QCOMPARE(cell.size(), QSize(30, 30));
    const int y = cell.center().y();
    QCOMPARE(screen.pixel(cell.left() - 3, y), kBoardOrange);
    QCOMPARE(screen.pixel(cell.left() - 2, y), kLineSilver);
    QCOMPARE(screen.pixel(cell.left() - 1, y), kLineSilver);
    QCOMPARE(screen.pixel(cell.left(), y), kAliveYellow);
    QCOMPARE(screen.pixel(cell.right(), y), kAliveYellow);
    QCOMPARE(screen.pixel(cell.right() + 1, y), kLineSilver);
    QCOMPARE(screen.pixel(cell.right() + 2, y), kLineSilver);
    QCOMPARE(screen.pixel(cell.right() + 3, y), kBoardOrange);
    QCOMPARE(countColour(screen, grid, kAliveYellow), 2 * 30 * 30);

    // A third cell, clicked last, is the current cell with the grid's focus frame: the
    // snapshot holds the grid at its logical size, frame included, each of its pixels one
    // 2 x 2 block of the screen.
    doubled_.user().click(board.cellCentre(8, 8));
    QVERIFY2(doubled_.see(QStringLiteral("current cell framed"),
                          [&](const QImage& s) {
                              return board.look(s, 8, 8) == Look::Alive &&
                                     !isUniform(s, board.cellRect(8, 8), kAliveYellow);
                          }),
             doubled_.why());
    doubled_.user().click(window.at(places::centre(places::kSnapshotButton)));
    const QDir folder(doubled_.program().workDir().filePath(QStringLiteral("Скриншоты")));
    QStringList names;
    const QDeadlineTimer deadline(DesktopSession::kPatienceMs);
    while (names.isEmpty() && !deadline.hasExpired()) {
        QThread::msleep(50);
        names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files);
    }
    QCOMPARE(names.size(), 1);
    QFile::copy(folder.filePath(names.first()), doubled_.artefacts().filePath(names.first()));
    const QImage picture =
        QImage(folder.filePath(names.first())).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(640, 640));
    const QRect framed(8 * 16, 8 * 16, 15, 15);
    QVERIFY(!isUniform(picture, framed, kAliveYellow));
    QVERIFY(isUniform(picture, framed.adjusted(1, 1, -1, -1), kAliveYellow));
    screen = doubled_.user().look();
    doubled_.artefacts().keep(screen, QStringLiteral("screen at the snapshot"));
    for (int py = 0; py < 640; ++py) {
        for (int px = 0; px < 640; ++px) {
            const QRgb expected = picture.pixel(px, py);
            const QRect block(grid.left() + 2 * px, grid.top() + 2 * py, 2, 2);
            if (!isUniform(screen, block, expected)) {
                QFAIL(qPrintable(
                    QStringLiteral("snapshot pixel %1,%2 is %3, the screen's block is not")
                        .arg(px)
                        .arg(py)
                        .arg(colourName(expected))));
            }
        }
    }
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::HiDpiTest)
#include "HiDpiTest.moc"
