// The board's grid control: owner-drawn cells over a backing image, a current cell that
// follows presses, drags and navigation keys, and direct painting of single cells.
#include "view/StringGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace tivla {

namespace {

// Beyond this a coordinate is off any screen; clamping keeps huge indices from overflowing.
constexpr std::int64_t kFarCoordinate = 1 << 28;
// A drag can move the current cell many times before the next paint; past this many cells
// waiting, they are drawn at once instead of growing the list.
constexpr std::size_t kMaxPendingRedraws = 64;

int placeOf(int index, int size, int lineWidth) {
    const std::int64_t place = std::int64_t{index} * (std::int64_t{size} + lineWidth);
    return static_cast<int>(std::clamp(place, -kFarCoordinate, kFarCoordinate));
}

// How many of count cells, pitch apart, start inside extent pixels.
int cellsStartingWithin(int count, int pitch, int extent) {
    if (pitch <= 0) {
        return extent > 0 ? count : 0;
    }
    return static_cast<int>(
        std::min<std::int64_t>(count, (std::int64_t{extent} + pitch - 1) / pitch));
}

// How many of count cells, each size wide and pitch apart, fit wholly inside extent pixels.
int cellsWhollyWithin(int count, int size, int pitch, int extent) {
    if (size > extent) {
        return 0;
    }
    if (pitch <= 0) {
        return count;
    }
    return std::min(count, (extent - size) / pitch + 1);
}

} // namespace

QRect gridCellRect(int col, int row, int width, int height, int lineWidth) {
    return {placeOf(col, width, lineWidth), placeOf(row, height, lineWidth), width, height};
}

StringGrid::StringGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every pixel comes from the backing image, so Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    pendingRedraws_.reserve(kMaxPendingRedraws);
}

void StringGrid::setColCount(int count) {
    count = std::max(count, 1);
    if (count == colCount_) {
        return;
    }
    colCount_ = count;
    col_ = std::min(col_, colCount_ - 1);
    invalidateImage();
}

void StringGrid::setRowCount(int count) {
    count = std::max(count, 1);
    if (count == rowCount_) {
        return;
    }
    rowCount_ = count;
    row_ = std::min(row_, rowCount_ - 1);
    invalidateImage();
}

void StringGrid::setDefaultColWidth(int width) {
    width = std::max(width, 0);
    if (width != colWidth_) {
        colWidth_ = width;
        invalidateImage();
    }
}

void StringGrid::setDefaultRowHeight(int height) {
    height = std::max(height, 0);
    if (height != rowHeight_) {
        rowHeight_ = height;
        invalidateImage();
    }
}

void StringGrid::setGridLineWidth(int width) {
    width = std::max(width, 0);
    if (width != lineWidth_) {
        lineWidth_ = width;
        invalidateImage();
    }
}

void StringGrid::setDrawCellHandler(DrawCellHandler handler) {
    drawCell_ = std::move(handler);
    invalidateImage();
}

void StringGrid::setCurrentCell(int col, int row) {
    moveCurrent(col, row, Redraw::IfMoved);
}

QRect StringGrid::cellRect(int col, int row) const {
    return gridCellRect(col, row, colWidth_, rowHeight_, lineWidth_);
}

QPoint StringGrid::cellAt(QPoint pos) const {
    const QPoint none(-1, -1);
    const int pitchX = colWidth_ + lineWidth_;
    const int pitchY = rowHeight_ + lineWidth_;
    if (!rect().contains(pos) || pitchX <= 0 || pitchY <= 0) {
        return none;
    }
    // A line belongs to the cell before it, as in the classic grid.
    const int col = pos.x() / pitchX;
    const int row = pos.y() / pitchY;
    if (col >= colCount_ || row >= rowCount_) {
        return none;
    }
    return {col, row};
}

void StringGrid::fillCell(int col, int row, const QColor& colour) {
    if (col < 0 || row < 0) {
        return;
    }
    // Only the cheap checks here: this runs for every cell of a whole-board repaint.
    if (imageStale_ || image_.logicalSize() != size()) {
        rebuildImage();
    }
    const QRect target = cellRect(col, row) & QRect(QPoint(0, 0), image_.logicalSize());
    if (target.isEmpty()) {
        return;
    }
    image_.fillRect(target, colour.rgb());
    scheduleUpdate(target);
}

QImage StringGrid::snapshot() const {
    bringImageUpToDate();
    QImage shot = image_.logicalCopy();
    if (hasFocus() && !shot.isNull()) {
        QPainter painter(&shot);
        image_.drawDottedFrame(painter, cellRect(col_, row_));
    }
    return shot;
}

QSize StringGrid::sizeHint() const {
    return {cellRect(colCount_, 0).left(), cellRect(0, rowCount_).top()};
}

void StringGrid::paintEvent(QPaintEvent* event) {
    pendingBounds_ = QRect();
    const bool rebuilding = imageMisfits();
    bringImageUpToDate();
    const QRect dirty = event->rect();
    if (rebuilding && !dirty.contains(rect())) {
        update();
    }
    QPainter painter(this);
    image_.drawOnto(painter, dirty);
    if (hasFocus()) {
        image_.drawDottedFrame(painter, cellRect(col_, row_));
    }
}

void StringGrid::resizeEvent(QResizeEvent* /*event*/) {
    imageStale_ = true;
}

void StringGrid::showEvent(QShowEvent* /*event*/) {
    // Being shown again is this control's "uncovered": everything is drawn afresh.
    invalidateImage();
}

void StringGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        invalidateImage();
    }
    QWidget::changeEvent(event);
}

// The current cell looks different with and without focus (focus marking or selection
// colour), so it is drawn again either way.
void StringGrid::focusInEvent(QFocusEvent* /*event*/) {
    invalidateCell(col_, row_);
}

void StringGrid::focusOutEvent(QFocusEvent* /*event*/) {
    invalidateCell(col_, row_);
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    takeFocus();
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const QPoint cell = cellAt(pos);
        if (cell.x() >= 0) {
            moveCurrent(cell.x(), cell.y(), Redraw::Always);
            dragging_ = true;
        }
    }
    event->accept();
    emit mousePressed(event->button(), event->modifiers(), pos);
}

// The second press of a double click neither moves the current cell nor starts a drag.
void StringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    takeFocus();
    event->accept();
    emit mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    // A release that went elsewhere (a modal dialog opened by a handler takes it) ends the
    // drag, so the current cell does not follow a pointer with no button held.
    if (dragging_ && !(event->buttons() & Qt::LeftButton)) {
        dragging_ = false;
    }
    if (dragging_) {
        followPointer(pos);
    }
    event->accept();
    emit mouseMoved(event->modifiers(), pos);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !dragging_) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    followPointer(pos);
    emit mouseMoved(event->modifiers(), pos);
    dragging_ = false;
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int col = col_;
    int row = row_;
    // The classic grid: Ctrl with Up or Down only scrolls, and this grid never scrolls;
    // Ctrl with Left or Right moves by a page of columns.
    switch (event->key()) {
    case Qt::Key_Up:
        row -= ctrl ? 0 : 1;
        break;
    case Qt::Key_Down:
        row += ctrl ? 0 : 1;
        break;
    case Qt::Key_Left:
        col -= ctrl ? std::max(1, fullyVisibleCols()) : 1;
        break;
    case Qt::Key_Right:
        col += ctrl ? std::max(1, fullyVisibleCols()) : 1;
        break;
    case Qt::Key_PageUp:
        row = ctrl ? 0 : row - std::max(1, fullyVisibleRows());
        break;
    case Qt::Key_PageDown:
        row = ctrl ? fullyVisibleRows() - 1 : row + std::max(1, fullyVisibleRows());
        break;
    case Qt::Key_Home:
        col = 0;
        row = ctrl ? 0 : row;
        break;
    case Qt::Key_End:
        col = colCount_ - 1;
        row = ctrl ? rowCount_ - 1 : row;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    moveCurrent(col, row, Redraw::IfMoved);
}

// Only the real release counts: a held key reports one release, after its last move.
void StringGrid::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    if (!event->isAutoRepeat()) {
        emit keyReleased(event->key(), event->modifiers());
    }
}

void StringGrid::invalidateImage() {
    imageStale_ = true;
    pendingRedraws_.clear();
    pendingBounds_ = rect();
    update();
}

bool StringGrid::imageMisfits() const {
    return imageStale_ || image_.logicalSize() != size() || image_.scale() != devicePixelRatioF();
}

void StringGrid::bringImageUpToDate() const {
    if (imageMisfits()) {
        rebuildImage();
        return;
    }
    if (pendingRedraws_.empty() || image_.isNull()) {
        pendingRedraws_.clear();
        return;
    }
    QPainter painter(&image_.image());
    painter.setPen(Qt::NoPen);
    const QBrush selection(palette().color(QPalette::Active, QPalette::Highlight));
    // By index: a handler may ask for more redraws while these are drawn.
    for (std::size_t i = 0; i < pendingRedraws_.size(); ++i) {
        const QPoint cell = pendingRedraws_[i];
        if (cell.x() < colCount_ && cell.y() < rowCount_) {
            drawCell(painter, cell.x(), cell.y(), selection, false);
        }
    }
    pendingRedraws_.clear();
}

void StringGrid::rebuildImage() const {
    const QSize logical = size();
    image_.reshape(logical, devicePixelRatioF());
    imageStale_ = false;
    pendingRedraws_.clear();
    if (image_.isNull()) {
        return;
    }
    image_.fill(kBackgroundColour);

    const int pitchX = colWidth_ + lineWidth_;
    const int pitchY = rowHeight_ + lineWidth_;
    const int cols = cellsStartingWithin(colCount_, pitchX, logical.width());
    const int rows = cellsStartingWithin(rowCount_, pitchY, logical.height());
    if (lineWidth_ > 0) {
        // The lines run along the cells only, never into the area beyond the last cell.
        const int linesRight = std::min(placeOf(colCount_, colWidth_, lineWidth_), logical.width());
        const int linesBottom =
            std::min(placeOf(rowCount_, rowHeight_, lineWidth_), logical.height());
        for (int c = 0; c < cols; ++c) {
            image_.fillRect(QRect(c * pitchX + colWidth_, 0, lineWidth_, linesBottom), kLineColour);
        }
        for (int r = 0; r < rows; ++r) {
            image_.fillRect(QRect(0, r * pitchY + rowHeight_, linesRight, lineWidth_), kLineColour);
        }
    }
    if (colWidth_ == 0 || rowHeight_ == 0) {
        return;
    }
    QPainter painter(&image_.image());
    painter.setPen(Qt::NoPen);
    const QBrush selection(palette().color(QPalette::Active, QPalette::Highlight));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            drawCell(painter, c, r, selection, true);
        }
    }
}

void StringGrid::drawCell(QPainter& painter, int col, int row, const QBrush& selection,
                          bool backgroundInPlace) const {
    const QRect rect = cellRect(col, row);
    if (!rect.intersects(QRect(QPoint(0, 0), image_.logicalSize()))) {
        return;
    }
    const bool selected = col == col_ && row == row_ && !hasFocus();
    const QBrush& prepared = selected ? selection : backgroundBrush_;
    painter.setBrush(prepared);
    if (selected || !backgroundInPlace) {
        painter.fillRect(rect, prepared);
    }
    if (drawCell_) {
        drawCell_(painter, col, row, rect);
    }
}

void StringGrid::moveCurrent(int col, int row, Redraw redraw) {
    col = std::clamp(col, 0, colCount_ - 1);
    row = std::clamp(row, 0, rowCount_ - 1);
    if (redraw == Redraw::IfMoved && col == col_ && row == row_) {
        return;
    }
    const int previousCol = col_;
    const int previousRow = row_;
    col_ = col;
    row_ = row;
    invalidateCell(previousCol, previousRow);
    invalidateCell(col_, row_);
}

void StringGrid::invalidateCell(int col, int row) {
    if (!imageStale_) {
        const QPoint cell(col, row);
        if (std::find(pendingRedraws_.begin(), pendingRedraws_.end(), cell) ==
            pendingRedraws_.end()) {
            if (pendingRedraws_.size() == kMaxPendingRedraws) {
                bringImageUpToDate();
            }
            pendingRedraws_.push_back(cell);
        }
    }
    scheduleUpdate(cellRect(col, row));
}

void StringGrid::scheduleUpdate(const QRect& area) {
    const QRect visible = area & rect();
    if (visible.isEmpty() || pendingBounds_.contains(visible)) {
        return;
    }
    pendingBounds_ |= visible;
    update(pendingBounds_);
}

void StringGrid::takeFocus() {
    if (focusPolicy() & Qt::ClickFocus) {
        setFocus(Qt::MouseFocusReason);
    }
}

void StringGrid::followPointer(QPoint pos) {
    const QPoint cell = cellAt(pos);
    if (cell.x() >= 0) {
        moveCurrent(cell.x(), cell.y(), Redraw::IfMoved);
    }
}

int StringGrid::fullyVisibleCols() const {
    return cellsWhollyWithin(colCount_, colWidth_, colWidth_ + lineWidth_, width());
}

int StringGrid::fullyVisibleRows() const {
    return cellsWhollyWithin(rowCount_, rowHeight_, rowHeight_ + lineWidth_, height());
}

} // namespace tivla
