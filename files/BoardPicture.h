// A picture of the board or of a pattern in the window's colours, drawn without Qt, for the PNG
// and GIF writers of the program, tivla-batch and tivla-thumbnail alike.
#pragma once

#include "PictureColours.h"
#include "engine/Board.h"
#include "files/Pattern.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tivla {

// How the window draws the board: square cells, each followed by its grid line to the right
// and below it.
struct PictureStyle {
    // Pixels per cell, the grid line not included.
    int cellSize = 15;
    // 1 with the grid lines shown, 0 without.
    int lineWidth = 1;
};

// The largest cell tivla-batch draws: a 200 x 200 board then is 6,600 pixels a side.
inline constexpr int kMaxPictureCellSize = 32;

class BoardPicture {
public:
    // Every pixel is one of these, an index into kPalette.
    enum Colour : std::uint8_t { kBoard = 0, kAlive = 1, kLine = 2 };
    static constexpr std::array<Rgb, 3> kPalette{kBoardRgb, kAliveRgb, kGridLineRgb};

    // width x height pixels of the board colour.
    BoardPicture(int width, int height);

    // The board's cells and grid lines exactly as the window's grid draws them: N cells of
    // (cellSize + lineWidth) pixels each way.
    static BoardPicture ofBoard(const Board& board, const PictureStyle& style);

    // The pattern's box with one dead cell around it, at most maxSide pixels each way: whole
    // square cells as large as fit, grid lines only where a cell takes 4 pixels or more; when
    // the box has more cells than maxSide, a pixel stands for a square of cells and is alive
    // where any of them is.
    static BoardPicture thumbnail(const Pattern& pattern, int maxSide);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint8_t* row(int y) const { return pixels_.data() + index(0, y); }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    void fillRect(int x, int y, int width, int height, Colour colour);
    // cols x rows cells drawn as the window draws its grid; alive(col, row) says which live.
    template <typename Alive>
    static BoardPicture ofGrid(int cols, int rows, const PictureStyle& style, Alive&& alive);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace tivla
