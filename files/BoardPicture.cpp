// The window's grid drawn into a palette of three colours, for files rather than the screen.
#include "BoardPicture.h"

#include <algorithm>

namespace tivla {

namespace {

// A cell needs this many pixels before a grid line beside it still leaves a visible cell.
constexpr int kSmallestCellWithLine = 4;

} // namespace

BoardPicture::BoardPicture(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kBoard) {}

void BoardPicture::fillRect(int x, int y, int width, int height, Colour colour) {
    const int right = std::min(x + width, width_);
    const int bottom = std::min(y + height, height_);
    for (int row = std::max(y, 0); row < bottom; ++row) {
        std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(index(std::max(x, 0), row)),
                  pixels_.begin() + static_cast<std::ptrdiff_t>(index(right, row)), colour);
    }
}

template <typename Alive>
BoardPicture BoardPicture::ofGrid(int cols, int rows, const PictureStyle& style, Alive&& alive) {
    const int pitch = style.cellSize + style.lineWidth;
    BoardPicture picture(cols * pitch, rows * pitch);
    // As the grid control: the lines first, along the cells only, then the live cells.
    if (style.lineWidth > 0) {
        for (int c = 0; c < cols; ++c) {
            picture.fillRect(c * pitch + style.cellSize, 0, style.lineWidth, picture.height_,
                             kLine);
        }
        for (int r = 0; r < rows; ++r) {
            picture.fillRect(0, r * pitch + style.cellSize, picture.width_, style.lineWidth, kLine);
        }
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (alive(c, r)) {
                picture.fillRect(c * pitch, r * pitch, style.cellSize, style.cellSize, kAlive);
            }
        }
    }
    return picture;
}

BoardPicture BoardPicture::ofBoard(const Board& board, const PictureStyle& style) {
    return ofGrid(board.BoardSize, board.BoardSize, style,
                  [&](int col, int row) { return board.isAlive(col, row); });
}

BoardPicture BoardPicture::thumbnail(const Pattern& pattern, int maxSide) {
    const int cols = pattern.width + 2;
    const int rows = pattern.height + 2;
    const int side = std::max(cols, rows);
    maxSide = std::max(maxSide, 1);
    if (side <= maxSide) {
        std::vector<bool> alive(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
        for (const PatternCell& cell : pattern.alive) {
            alive[static_cast<std::size_t>(cell.y + 1) * cols + cell.x + 1] = true;
        }
        const int pitch = maxSide / side;
        const PictureStyle style =
            pitch >= kSmallestCellWithLine ? PictureStyle{pitch - 1, 1} : PictureStyle{pitch, 0};
        return ofGrid(cols, rows, style, [&](int col, int row) {
            return alive[static_cast<std::size_t>(row) * cols + col];
        });
    }
    // Fewer pixels than cells: each pixel a square of cellsPerPixel cells a side.
    const int cellsPerPixel = (side + maxSide - 1) / maxSide;
    BoardPicture picture((cols + cellsPerPixel - 1) / cellsPerPixel,
                         (rows + cellsPerPixel - 1) / cellsPerPixel);
    for (const PatternCell& cell : pattern.alive) {
        picture.pixels_[picture.index((cell.x + 1) / cellsPerPixel, (cell.y + 1) / cellsPerPixel)] =
            kAlive;
    }
    return picture;
}

} // namespace tivla
