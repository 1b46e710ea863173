// Places the selected stamp at the grid's current cell and paints what it placed.
#pragma once

#include "editing/StampCatalogue.h"
#include "engine/Board.h"

#include <algorithm>
#include <array>

namespace tivla {

// stampKind is the chosen stamp (1 to 18) and drawMode the pen: in draw mode stamp 1 only ever
// sets its cell. column and row are the grid's current cell. Only cells on the board are ever
// written: the spare column and row of Cells hold what a board file put there and must survive
// editing. Stamp 1 paints nothing, because the grid redraws the current cell from Cells after a
// press; the other stamps paint exactly the cells they placed.
template <typename Painter>
void applyStamp(Board& board, int stampKind, bool drawMode, int column, int row, Painter& painter) {
    const Stamp* stamp = findStamp(stampKind);
    if (stamp == nullptr) {
        return;
    }
    const int n = std::clamp(board.BoardSize, 0, kMaxBoardSize);
    const auto onBoard = [n](int c, int r) { return c >= 0 && c < n && r >= 0 && r < n; };

    if (stamp->effect == StampEffect::Toggle) {
        if (!onBoard(column, row)) {
            return;
        }
        Marker& cell = board.Cells[column][row];
        if (cell == kDead) {
            cell = kAlive;
        } else if (!drawMode) {
            cell = kDead;
        }
        return;
    }

    struct Placed {
        int column;
        int row;
    };
    std::array<Placed, kMaxStampCells> placed;
    std::size_t placedCount = 0;
    for (const StampOffset& offset : stamp->cells()) {
        const int c = column + offset.dx;
        const int r = row + offset.dy;
        if (onBoard(c, r)) {
            board.Cells[c][r] = kAlive;
            placed[placedCount++] = {c, r};
        }
    }
    // Painting after the whole stamp is written means a painter that reads Cells sees it all.
    for (std::size_t i = 0; i < placedCount; ++i) {
        painter.PaintAliveCell(placed[i].column, placed[i].row);
    }
}

} // namespace tivla
