// The main window's own chrome on a real X display: the About box over a running board,
// dragging by the title, minimising and restoring, and the exit button ending the program.
#include "ControlPlaces.h"
#include "DesktopSession.h"
#include "ScreenPixels.h"

#ifdef TIVLA_E2E_HAVE_X11
#include "WindowManagerStandIn.h"
#endif

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

#include <set>
#include <utility>

namespace tivla::e2e {

namespace {

using Look = GridOnScreen::Look;
using Cell = GridOnScreen::Cell;

const std::set<Cell> kFlat{{10, 10}, {11, 10}, {12, 10}};
const std::set<Cell> kUpright{{11, 9}, {11, 10}, {11, 11}};

} // namespace

class ChromeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aboutBoxOverARunningBoard();
    void dragMinimiseAndRestore();
    void exitButtonEndsTheProgram();

private:
    DesktopSession session_{QStringLiteral("ChromeTest"), QSize(1280, 1024)};
    QPoint at(const QRect& control) const {
        return session_.mainWindow().at(places::centre(control));
    }
};

void ChromeTest::initTestCase() {
    if (const QString reason = DesktopSession::skipReason(); !reason.isEmpty()) {
        QSKIP(qPrintable(reason));
    }
    QVERIFY2(session_.startDisplay(), session_.why());
}

void ChromeTest::init() {
    QVERIFY2(session_.launch(), session_.why());
}

void ChromeTest::cleanup() {
    session_.finish();
}

void ChromeTest::aboutBoxOverARunningBoard() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    const GridOnScreen board = session_.mainWindow().grid(places::kStartCellSize);
    for (int col = 10; col <= 12; ++col) {
        session_.user().click(board.cellCentre(col, 10));
    }
    session_.user().click(at(places::kStartStopButton));

    session_.user().click(at(places::kAboutButton));
    QRect box;
    QVERIFY2(session_.seeDialog(QStringLiteral("about box"), &box), session_.why());
    // Centred on the screen, each half with the remainder dropped.
    QCOMPARE(box.topLeft(), QPoint((1280 - box.width()) / 2, (1024 - box.height()) / 2));
    QVERIFY(!box.intersects(board.cellRect(11, 9).united(board.cellRect(12, 11))));
    // The modal box lets the timer through: the blinker goes on turning behind it.
    const auto shows = [&](const std::set<Cell>& cells) {
        return
            [&board, cells](const QImage& s) { return board.shows(s, cells, QRect(8, 7, 7, 7)); };
    };
    QVERIFY2(session_.see(QStringLiteral("blinker upright behind the box"), shows(kUpright)),
             session_.why());
    QVERIFY2(session_.see(QStringLiteral("blinker flat behind the box"), shows(kFlat)),
             session_.why());

    session_.user().click(box.topLeft() + QPoint(3, 3));
    session_.user().key(QStringLiteral("Return"));
    QVERIFY2(session_.seeDialogGone(QStringLiteral("about box dismissed")), session_.why());
    const QRect where = box;
    QVERIFY2(session_.see(QStringLiteral("board where the box was"),
                          [&](const QImage& s) {
                              const QRect inGrid = where & board.controlRect(40);
                              return countColour(s, inGrid, kBoardOrange) +
                                         countColour(s, inGrid, kLineSilver) ==
                                     inGrid.width() * inGrid.height();
                          }),
             session_.why());
}

void ChromeTest::dragMinimiseAndRestore() {
#ifndef TIVLA_E2E_HAVE_X11
    QSKIP("built without Xlib, which stands in for the window manager");
#else
    QVERIFY2(session_.openMainWindow(), session_.why());
    const WindowOnScreen start = session_.mainWindow();
    session_.user().click(start.grid(places::kStartCellSize).cellCentre(4, 4));
    // Dragged by the title "Тивла" 40 to the right and 30 down.
    const QPoint grip = places::kTitleLabel.topLeft() + QPoint(30, 15);
    const QPoint shift(40, 30);
    session_.user().drag(start.at(grip), start.at(grip + shift));
    const WindowOnScreen moved(start.logicalOrigin() + shift, session_.scale());
    const QRect area = moved.rect(QRect(QPoint(0, 0), places::kMainWindowAtStart));
    session_.user().moveTo(moved.at(places::kRestingPoint));
    QImage before;
    QVERIFY2(session_.see(
                 QStringLiteral("dragged"),
                 [&](const QImage& s) {
                     return s.pixel(area.topLeft()) == kBoardOrange &&
                            s.pixel(area.topLeft() - QPoint(1, 1)) == kBlack &&
                            s.pixel(area.bottomRight() + QPoint(1, 1)) == kBlack &&
                            moved.grid(places::kStartCellSize).look(s, 4, 4) == Look::Alive;
                 },
                 &before),
             session_.why());

    WindowManagerStandIn windowManager(session_.displayName());
    QVERIFY(windowManager.isConnected());
    session_.user().click(moved.at(places::centre(places::kMinimiseButton)));
    const QDeadlineTimer deadline(DesktopSession::kPatienceMs);
    int iconified = 0;
    while (iconified == 0 && !deadline.hasExpired()) {
        iconified = windowManager.iconifyRequested();
        QThread::msleep(20);
    }
    QCOMPARE(iconified, 1);
    const QRect screenRect(QPoint(0, 0), session_.screenSize());
    QVERIFY2(session_.see(QStringLiteral("minimised"),
                          [&](const QImage& s) { return isUniform(s, screenRect, kBlack); }),
             session_.why());
    QVERIFY(session_.program().isRunning());

    windowManager.restore();
    session_.user().moveTo(moved.at(places::kRestingPoint));
    // Back where it was dragged to, showing what it showed.
    QVERIFY2(session_.see(QStringLiteral("restored"),
                          [&](const QImage& s) {
                              return !firstDifference(s, area, before, area.topLeft());
                          }),
             session_.why());
#endif
}

void ChromeTest::exitButtonEndsTheProgram() {
    QVERIFY2(session_.openMainWindow(), session_.why());
    session_.user().click(at(places::kExitButton));
    QVERIFY(session_.program().waitForExit(DesktopSession::kPatienceMs));
    QCOMPARE(session_.program().exitStatus(), QProcess::NormalExit);
    QCOMPARE(session_.program().exitCode(), 0);
    const QRect screenRect(QPoint(0, 0), session_.screenSize());
    QVERIFY2(session_.see(QStringLiteral("nothing left on the screen"),
                          [&](const QImage& s) { return isUniform(s, screenRect, kBlack); }),
             session_.why());
}

} // namespace tivla::e2e

QTEST_GUILESS_MAIN(tivla::e2e::ChromeTest)
#include "ChromeTest.moc"
