// Run control without a display: the whole-board repaint that follows the batch commands. The
// number boxes' rules are in controls/NumberBoxRules.h.
#pragma once

#include "Board.h"
#include "GenerationStep.h"

namespace tivla {

// Every cell of rows and columns 0..N, the band beyond the board included, painted afresh.
template <typename Painter> void repaintWholeBoard(const Board& board, Painter& painter) {
    const int n = board.BoardSize;
    for (int y = 0; y <= n; ++y) {
        for (int x = 0; x <= n; ++x) {
            painter.PaintDeadCell(x, y);
            if (board.Cells[x][y] == kAlive) {
                painter.PaintAliveCell(x, y);
            }
        }
    }
}

} // namespace tivla
