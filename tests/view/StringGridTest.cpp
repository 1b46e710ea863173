// Checks the board grid: its pixels, single-cell painting, and the order in which presses,
// drags and keys move the current cell and reach the owner.
#include "view/StringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using tivla::StringGrid;

namespace {

constexpr QRgb kBoard = qRgb(255, 128, 64);
constexpr QRgb kAlive = qRgb(255, 255, 0);
constexpr QRgb kSilver = qRgb(192, 192, 192);

// A grid that believes it sits on a screen of device pixel ratio 2.
class DoubleDensityGrid : public StringGrid {
protected:
    int metric(PaintDeviceMetric metric) const override {
        if (metric == PdmDevicePixelRatio) {
            return 2;
        }
        if (metric == PdmDevicePixelRatioScaled) {
            return static_cast<int>(2 * devicePixelRatioFScale());
        }
        return StringGrid::metric(metric);
    }
};

// Stands in for the main window: the board's markers and the owner drawing that reads them.
struct Owner {
    bool alive[202][202]{};

    void attach(StringGrid& grid) {
        grid.setDrawCellHandler([this](QPainter& painter, int col, int row, const QRect& rect) {
            if (alive[col][row]) {
                painter.setBrush(QColor(kAlive));
            }
            painter.fillRect(rect, painter.brush());
        });
    }
};

// A grid shaped the way the main window shapes it for a board of n cells per side.
std::unique_ptr<StringGrid> makeGrid(Owner& owner, int n, int cellSize, int lineWidth,
                                     bool doubleDensity = false) {
    std::unique_ptr<StringGrid> grid =
        doubleDensity ? std::make_unique<DoubleDensityGrid>() : std::make_unique<StringGrid>();
    owner.attach(*grid);
    grid->setRowCount(n);
    grid->setColCount(n);
    grid->setDefaultRowHeight(cellSize);
    grid->setDefaultColWidth(cellSize);
    grid->setGridLineWidth(lineWidth);
    grid->resize((cellSize + 1) * n, (cellSize + 1) * n);
    return grid;
}

// The picture of an unfocused grid, worked out pixel by pixel.
QImage expectedPicture(const Owner& owner, int n, int cellSize, int lineWidth, QPoint current,
                       QRgb selection) {
    const int side = (cellSize + 1) * n;
    const int pitch = cellSize + lineWidth;
    QImage picture(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int col = x / pitch;
            const int row = y / pitch;
            QRgb colour = kBoard;
            if (col < n && row < n) {
                if (x % pitch >= cellSize || y % pitch >= cellSize) {
                    colour = kSilver;
                } else if (owner.alive[col][row]) {
                    colour = kAlive;
                } else if (QPoint(col, row) == current) {
                    colour = selection;
                }
            }
            picture.setPixel(x, y, colour);
        }
    }
    return picture;
}

QPoint firstDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) {
        return {-2, -2};
    }
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

// A 40 x 40 grid of 15-pixel cells in an active window, next to a line edit that can take
// the focus from it.
struct ShownGrid {
    QWidget window;
    Owner owner;
    StringGrid* grid = makeGrid(owner, 40, 15, 1).release();
    QLineEdit* edit = new QLineEdit;

    ShownGrid() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(edit);
        grid->setFixedSize(640, 640);
        grid->setFocus();
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window) && grid->hasFocus(); }
    QPoint current() const { return {grid->col(), grid->row()}; }
    QPoint centreOf(int col, int row) const { return grid->cellRect(col, row).center(); }
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(pos), QPointF(grid->mapToGlobal(pos)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(grid, &event);
    }
};

} // namespace

class StringGridTest : public QObject {
    Q_OBJECT

private slots:
    void pictureFollowsOwnerDrawing_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("cellSize");
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<bool>("doubleDensity");
        QTest::addColumn<int>("side");
        QTest::newRow("40, lines") << 40 << 15 << 1 << false << 640;
        QTest::newRow("40, no lines") << 40 << 15 << 0 << false << 640;
        QTest::newRow("40, no lines, dpr 2") << 40 << 15 << 0 << true << 640;
        QTest::newRow("200, lines") << 200 << 2 << 1 << false << 600;
        QTest::newRow("200, lines, dpr 2") << 200 << 2 << 1 << true << 600;
        QTest::newRow("60 at 15") << 60 << 15 << 1 << false << 960;
    }
    void pictureFollowsOwnerDrawing() {
        QFETCH(int, n);
        QFETCH(int, cellSize);
        QFETCH(int, lineWidth);
        QFETCH(bool, doubleDensity);
        QFETCH(int, side);
        Owner owner;
        for (const QPoint p :
             {QPoint(0, 0), QPoint(1, 0), QPoint(n - 1, 3), QPoint(n - 1, n - 1)}) {
            owner.alive[p.x()][p.y()] = true;
        }
        auto grid = makeGrid(owner, n, cellSize, lineWidth, doubleDensity);
        grid->setCurrentCell(2, n - 1);

        const QImage picture = grid->snapshot();
        QCOMPARE(picture.size(), QSize(side, side));
        const QRgb selection = grid->palette().color(QPalette::Active, QPalette::Highlight).rgb();
        QCOMPARE(firstDifference(picture, expectedPicture(owner, n, cellSize, lineWidth,
                                                          QPoint(2, n - 1), selection)),
                 QPoint(-1, -1));
    }

    void fillCellLandsWhereItFalls_data() {
        QTest::addColumn<int>("lineWidth");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QRect>("painted"); // within the 640 x 640 control
        QTest::addColumn<bool>("doubleDensity");
        QTest::newRow("on the board") << 1 << QPoint(5, 7) << QRect(80, 112, 15, 15) << false;
        QTest::newRow("on the board, dpr 2") << 1 << QPoint(5, 7) << QRect(80, 112, 15, 15) << true;
        QTest::newRow("negative column") << 1 << QPoint(-1, 5) << QRect() << false;
        QTest::newRow("negative row") << 0 << QPoint(3, -1) << QRect() << false;
        QTest::newRow("extra column, lines") << 1 << QPoint(40, 3) << QRect() << false;
        QTest::newRow("extra row, lines, dpr 2") << 1 << QPoint(3, 40) << QRect() << true;
        QTest::newRow("extra column, no lines")
            << 0 << QPoint(40, 3) << QRect(600, 45, 15, 15) << false;
        QTest::newRow("extra corner, no lines, dpr 2")
            << 0 << QPoint(40, 40) << QRect(600, 600, 15, 15) << true;
        QTest::newRow("far beyond") << 0 << QPoint(1000000000, 0) << QRect() << false;
    }
    void fillCellLandsWhereItFalls() {
        QFETCH(int, lineWidth);
        QFETCH(QPoint, cell);
        QFETCH(QRect, painted);
        QFETCH(bool, doubleDensity);
        Owner owner;
        auto grid = makeGrid(owner, 40, 15, lineWidth, doubleDensity);
        grid->setCurrentCell(20, 20);
        QImage expected = grid->snapshot();

        grid->fillCell(cell.x(), cell.y(), QColor(kAlive));

        QPainter(&expected).fillRect(painted, QColor(kAlive));
        QCOMPARE(firstDifference(grid->snapshot(), expected), QPoint(-1, -1));
    }

    void currentCellMarking() {
        ShownGrid shown;
        QVERIFY(shown.ready());
        StringGrid& grid = *shown.grid;
        grid.setCurrentCell(3, 2);
        const QRect cell = grid.cellRect(3, 2);
        QImage picture = grid.snapshot();
        // Focused: a dotted frame, every other edge pixel inverted, the inside unchanged.
        const QRgb dot = qRgb(0, 127, 191);
        QCOMPARE(picture.pixel(cell.topLeft()), dot);
        QCOMPARE(picture.pixel(cell.topLeft() + QPoint(1, 0)), kBoard);
        QCOMPARE(picture.pixel(cell.topLeft() + QPoint(0, 2)), dot);
        QCOMPARE(picture.pixel(cell.center()), kBoard);
        QCOMPARE(grid.grab().toImage().convertToFormat(QImage::Format_RGB32), picture);

        shown.edit->setFocus();
        QTRY_VERIFY(!grid.hasFocus());
        const QRgb selection = grid.palette().color(QPalette::Active, QPalette::Highlight).rgb();
        picture = grid.snapshot();
        QCOMPARE(grid.grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(picture.pixel(cell.topLeft()), selection);
        // A live current cell is yellow whatever the focus.
        shown.owner.alive[3][2] = true;
        grid.setCurrentCell(4, 2);
        grid.setCurrentCell(3, 2);
        QCOMPARE(grid.snapshot().pixel(cell.center()), kAlive);
    }

    void pressesMoveCurrentCellBeforeDelivery_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("pos"); // lines hidden: the strip starts at 600
        QTest::addColumn<QPoint>("currentWhenDelivered");
        const int press = QEvent::MouseButtonPress;
        const QPoint cell(7 * 15 + 7, 9 * 15 + 7);
        QTest::newRow("left") << press << int(Qt::LeftButton) << cell << QPoint(7, 9);
        QTest::newRow("right") << press << int(Qt::RightButton) << cell << QPoint(1, 1);
        QTest::newRow("middle") << press << int(Qt::MiddleButton) << cell << QPoint(1, 1);
        QTest::newRow("left double click")
            << int(QEvent::MouseButtonDblClick) << int(Qt::LeftButton) << cell << QPoint(1, 1);
        QTest::newRow("left on the strip")
            << press << int(Qt::LeftButton) << QPoint(620, 100) << QPoint(1, 1);
    }
    void pressesMoveCurrentCellBeforeDelivery() {
        QFETCH(int, type);
        QFETCH(int, button);
        QFETCH(QPoint, pos);
        QFETCH(QPoint, currentWhenDelivered);
        ShownGrid shown;
        QVERIFY(shown.ready());
        StringGrid& grid = *shown.grid;
        shown.edit->setFocus();
        grid.setGridLineWidth(0);
        grid.setCurrentCell(1, 1);
        QList<QPoint> seen;
        connect(&grid, &StringGrid::mousePressed, &grid, [&](Qt::MouseButton pressed) {
            QCOMPARE(pressed, Qt::MouseButton(button));
            QVERIFY(grid.hasFocus());
            seen.append(shown.current());
        });
        const auto b = Qt::MouseButton(button);
        shown.mouse(QEvent::Type(type), pos, b, b);
        shown.mouse(QEvent::MouseButtonRelease, pos, b, Qt::NoButton);

        QCOMPARE(seen, QList<QPoint>{currentWhenDelivered});
        QCOMPARE(shown.current(), currentWhenDelivered);
    }

    void dragMovesCurrentCellOnTheBoardOnly() {
        ShownGrid shown;
        QVERIFY(shown.ready());
        QList<QPoint> seen;
        connect(shown.grid, &StringGrid::mouseMoved, shown.grid,
                [&] { seen.append(shown.current()); });
        const auto move = [&](QPoint pos, Qt::MouseButtons held) {
            shown.mouse(QEvent::MouseMove, pos, Qt::NoButton, held);
        };
        move(shown.centreOf(5, 5), Qt::NoButton); // not dragging yet
        shown.mouse(QEvent::MouseButtonPress, shown.centreOf(2, 2), Qt::LeftButton, Qt::LeftButton);
        move(shown.centreOf(3, 2), Qt::LeftButton);
        move(QPoint(4 * 16 + 15, 40), Qt::LeftButton); // the line after cell (4, 2)
        move(QPoint(-5, 30), Qt::LeftButton);          // beyond the control, still captured
        move(QPoint(700, 30), Qt::LeftButton);
        shown.mouse(QEvent::MouseButtonRelease, shown.centreOf(6, 6), Qt::LeftButton, Qt::NoButton);
        move(shown.centreOf(8, 8), Qt::NoButton); // the drag has ended
        const QList<QPoint> expected{{0, 0}, {3, 2}, {4, 2}, {4, 2}, {4, 2}, {6, 6}, {6, 6}};
        QCOMPARE(seen, expected);

        // A release that never arrived (a dialog took it) must not leave the drag going.
        shown.mouse(QEvent::MouseButtonPress, shown.centreOf(1, 1), Qt::LeftButton, Qt::LeftButton);
        move(shown.centreOf(9, 9), Qt::NoButton);
        QCOMPARE(shown.current(), QPoint(1, 1));
    }

    // The stamp "Один" changes the marker without painting and relies on the redraw that the
    // grid owes the pressed cell; a right press owes none.
    void pressRedrawsFromOwnerButRightPressDoesNot() {
        ShownGrid shown;
        QVERIFY(shown.ready());
        StringGrid& grid = *shown.grid;
        connect(&grid, &StringGrid::mousePressed, &grid, [&] {
            bool& marker = shown.owner.alive[grid.col()][grid.row()];
            marker = !marker;
        });
        const QPoint inside = shown.centreOf(7, 9);
        const auto click = [&](Qt::MouseButton button) {
            shown.mouse(QEvent::MouseButtonPress, inside, button, button);
            shown.mouse(QEvent::MouseButtonRelease, inside, button, Qt::NoButton);
        };
        click(Qt::LeftButton);
        QCOMPARE(grid.snapshot().pixel(inside), kAlive);
        click(Qt::LeftButton); // already current: drawn again all the same
        QCOMPARE(grid.snapshot().pixel(inside), kBoard);
        click(Qt::RightButton);
        QVERIFY(shown.owner.alive[7][9]);
        QCOMPARE(grid.snapshot().pixel(inside), kBoard);
        grid.setCurrentCell(0, 0);
        grid.setCurrentCell(7, 9);
        QCOMPARE(grid.snapshot().pixel(inside), kAlive);
    }

    void keysMoveCurrentCellBeforeRelease_data() {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("expected");
        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        const QPoint mid(5, 7);
        QTest::newRow("right") << mid << int(Qt::Key_Right) << none << QPoint(6, 7);
        QTest::newRow("left at the edge")
            << QPoint(0, 5) << int(Qt::Key_Left) << none << QPoint(0, 5);
        QTest::newRow("right at the edge")
            << QPoint(39, 5) << int(Qt::Key_Right) << none << QPoint(39, 5);
        QTest::newRow("home") << mid << int(Qt::Key_Home) << none << QPoint(0, 7);
        QTest::newRow("end") << mid << int(Qt::Key_End) << none << QPoint(39, 7);
        QTest::newRow("page down") << mid << int(Qt::Key_PageDown) << none << QPoint(5, 39);
        QTest::newRow("page up") << mid << int(Qt::Key_PageUp) << none << QPoint(5, 0);
        QTest::newRow("ctrl home") << mid << int(Qt::Key_Home) << ctrl << QPoint(0, 0);
        QTest::newRow("ctrl end") << mid << int(Qt::Key_End) << ctrl << QPoint(39, 39);
        // The classic grid: Ctrl with Up or Down would scroll, Ctrl with Left or Right pages.
        QTest::newRow("ctrl up") << mid << int(Qt::Key_Up) << ctrl << mid;
        QTest::newRow("ctrl right") << mid << int(Qt::Key_Right) << ctrl << QPoint(39, 7);
        QTest::newRow("letter") << mid << int(Qt::Key_A) << none << mid;
        QTest::newRow("shift") << mid << int(Qt::Key_Shift) << none << mid;
    }
    void keysMoveCurrentCellBeforeRelease() {
        QFETCH(QPoint, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QPoint, expected);
        ShownGrid shown;
        QVERIFY(shown.ready());
        shown.grid->setCurrentCell(start.x(), start.y());
        QList<QPoint> seen;
        // With modifiers, keyClick releases Ctrl too: that release is delivered like any other.
        connect(shown.grid, &StringGrid::keyReleased, shown.grid, [&](int released) {
            if (released == key) {
                seen.append(shown.current());
            }
        });
        QTest::keyClick(shown.grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(seen, QList<QPoint>{expected});
    }

    void autoRepeatAndTabReleasesAreNotDelivered() {
        ShownGrid shown;
        QVERIFY(shown.ready());
        StringGrid& grid = *shown.grid;
        QSignalSpy released(&grid, &StringGrid::keyReleased);
        // A held arrow: every press moves, only the real release is delivered.
        for (int i = 0; i < 3; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, {}, i > 0);
            QCoreApplication::sendEvent(&grid, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, {}, i < 2);
            QCoreApplication::sendEvent(&grid, &release);
        }
        QCOMPARE(released.count(), 1);
        QCOMPARE(shown.current(), QPoint(3, 0));

        // Tab hands the focus on as it goes down, so its release reaches the next control.
        QTest::keyPress(&grid, Qt::Key_Tab);
        QTRY_VERIFY(shown.edit->hasFocus());
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Tab);
        grid.setFocus();
        QTest::keyPress(&grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(shown.edit->hasFocus());
        QCOMPARE(released.count(), 1);
    }

    void shrinkingClampsCurrentCell() {
        Owner owner;
        auto grid = makeGrid(owner, 40, 15, 1);
        grid->setCurrentCell(39, 25);
        grid->setRowCount(20);
        QCOMPARE(QPoint(grid->col(), grid->row()), QPoint(39, 19));
        grid->setColCount(10);
        QCOMPARE(QPoint(grid->col(), grid->row()), QPoint(9, 19));
        grid->setColCount(0);
        grid->setRowCount(-3);
        QCOMPARE(QSize(grid->colCount(), grid->rowCount()), QSize(1, 1));
        QCOMPARE(QPoint(grid->col(), grid->row()), QPoint(0, 0));
    }
};

QTEST_MAIN(StringGridTest)
#include "StringGridTest.moc"
