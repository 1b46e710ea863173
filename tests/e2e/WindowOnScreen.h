// A window of the program as it lies on the screen: logical window positions, as the layout
// gives them, turned into screen pixels, and the board grid read cell by cell.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <set>
#include <utility>

namespace tivla::e2e {

class GridOnScreen {
public:
    enum class Look { Alive, Dead, Other };
    // Column, row.
    using Cell = std::pair<int, int>;

    // origin: the grid's top-left screen pixel; cellSize and lineWidth in logical pixels.
    GridOnScreen(QPoint origin, int cellSize, int lineWidth, int scale);

    // The screen pixels of cell (col, row).
    QRect cellRect(int col, int row) const;
    QPoint cellCentre(int col, int row) const;
    // A cell's look judged by its inside, which the current-cell frame never touches.
    Look look(const QImage& screen, int col, int row) const;
    int countAlive(const QImage& screen, int boardSize) const;
    // Whether every cell of block (columns and rows) looks alive exactly when it is one of
    // alive, and dead otherwise.
    bool shows(const QImage& screen, const std::set<Cell>& alive, const QRect& block) const;
    // The whole control, for n cells a side: (cellSize + 1) * n logical pixels.
    QRect controlRect(int boardSize) const;

private:
    QPoint origin_;
    int cellSize_;
    int lineWidth_;
    int scale_;
};

class WindowOnScreen {
public:
    // logicalOrigin: the window's top-left in logical screen coordinates.
    WindowOnScreen(QPoint logicalOrigin, int scale);

    // The screen pixel at the middle of the logical pixel windowPos.
    QPoint at(QPoint windowPos) const;
    QRect rect(const QRect& windowRect) const;
    GridOnScreen grid(int cellSize, int lineWidth = 1) const;
    QPoint logicalOrigin() const { return origin_; }
    int scale() const { return scale_; }

    // Where a window of size appears when centred on a screen of screenSize (logical).
    static QPoint centredOrigin(QSize screenSize, QSize windowSize);

private:
    QPoint origin_;
    int scale_;
};

} // namespace tivla::e2e
