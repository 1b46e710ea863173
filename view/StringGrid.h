// The board's grid control: owner-drawn cells over a backing image, a current cell that
// follows presses, drags and navigation keys, and direct painting of single cells.
#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "files/PictureColours.h"
#include "view/GridImage.h"

#include <functional>
#include <vector>

class QPainter;

namespace tivla {

// Where cell (col, row) lies when every cell is width x height pixels and followed by a line
// lineWidth pixels wide to its right and below it.
QRect gridCellRect(int col, int row, int width, int height, int lineWidth);

class StringGrid : public QWidget {
    Q_OBJECT

public:
    // Called for every cell the grid draws by itself. The painter's brush is prepared (the
    // background, or the selection colour for the current cell while the grid lacks focus);
    // the handler may choose another brush and fills rect.
    using DrawCellHandler =
        std::function<void(QPainter& painter, int col, int row, const QRect& rect)>;

    static constexpr QRgb kBackgroundColour = qRgb(kBoardRgb.red, kBoardRgb.green, kBoardRgb.blue);
    static constexpr QRgb kLineColour =
        qRgb(kGridLineRgb.red, kGridLineRgb.green, kGridLineRgb.blue);

    explicit StringGrid(QWidget* parent = nullptr);

    int colCount() const { return colCount_; }
    void setColCount(int count);
    int rowCount() const { return rowCount_; }
    void setRowCount(int count);
    int defaultColWidth() const { return colWidth_; }
    void setDefaultColWidth(int width);
    int defaultRowHeight() const { return rowHeight_; }
    void setDefaultRowHeight(int height);
    int gridLineWidth() const { return lineWidth_; }
    void setGridLineWidth(int width);

    void setDrawCellHandler(DrawCellHandler handler);

    int col() const { return col_; }
    int row() const { return row_; }
    void setCurrentCell(int col, int row);

    QRect cellRect(int col, int row) const;
    // The cell under pos, or (-1, -1) when pos lies on no cell of the grid.
    QPoint cellAt(QPoint pos) const;

    // Paints one cell straight into the backing image; nothing for negative indices, and no
    // test against the counts: the control's edge clips whatever lies beyond it.
    void fillCell(int col, int row, const QColor& colour);

    // What the control shows, one image pixel per logical pixel.
    QImage snapshot() const;

    QSize sizeHint() const override;

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseMoved(Qt::KeyboardModifiers modifiers, QPoint pos);
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    enum class Redraw { IfMoved, Always };

    void invalidateImage();
    void bringImageUpToDate() const;
    void rebuildImage() const;
    void drawCell(QPainter& painter, int col, int row, const QBrush& selection,
                  bool backgroundInPlace) const;
    bool imageMisfits() const;

    void moveCurrent(int col, int row, Redraw redraw);
    void invalidateCell(int col, int row);
    void scheduleUpdate(const QRect& rect);
    void takeFocus();
    void followPointer(QPoint pos);

    int fullyVisibleCols() const;
    int fullyVisibleRows() const;

    int colCount_ = 5;
    int rowCount_ = 5;
    int colWidth_ = 64;
    int rowHeight_ = 24;
    int lineWidth_ = 1;
    int col_ = 0;
    int row_ = 0;
    bool dragging_ = false;
    DrawCellHandler drawCell_;
    // Kept rather than rebuilt per cell: QPainter skips the brush change when it is the same.
    const QBrush backgroundBrush_{QColor(kBackgroundColour)};

    // The backing store follows the grid's settings lazily, so a burst of settings (a new
    // board size sets five of them) costs one rebuild.
    mutable GridImage image_;
    mutable bool imageStale_ = true;
    // Cells waiting to be drawn again from the handler at the next paint, the way the
    // classic grid invalidates a cell and draws it once the event handlers have returned.
    mutable std::vector<QPoint> pendingRedraws_;
    // Everything painted since the last paint event; one growing rect keeps Qt's dirty
    // region a single rectangle however many cells are painted in a row.
    QRect pendingBounds_;
};

} // namespace tivla
