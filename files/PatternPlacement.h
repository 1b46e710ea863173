// Putting a pattern on the board: which size the board takes and where the box goes.
#pragma once

#include "Pattern.h"
#include "engine/Board.h"

namespace tivla {

// Whether a box of the pattern's size fits on a board of this size.
bool patternFits(const Pattern& pattern, int boardSize);

// The size the program opens a pattern on: the current size when the box fits in it,
// otherwise the smallest of the six sizes that holds it.
int boardSizeForPattern(const Pattern& pattern, int currentSize);

// Where the box's top-left goes: (N - w) div 2 columns in, (N - h) div 2 rows down.
inline int patternOffset(int boardSize, int boxSide) {
    return (boardSize - boxSide) / 2;
}

// Places the pattern, which fits, on the board the caller has just cleared: BoardSize, as a
// board file sets it; then applyBoardSize(), where the window fits itself to the size; then
// each live cell marked and painted.
template <typename Painter, typename ApplySize>
void placePattern(const Pattern& pattern, int boardSize, Board& board, Painter& painter,
                  ApplySize&& applyBoardSize) {
    board.BoardSize = boardSize;
    applyBoardSize();
    const int left = patternOffset(boardSize, pattern.width);
    const int top = patternOffset(boardSize, pattern.height);
    for (const PatternCell& cell : pattern.alive) {
        board.Cells[left + cell.x][top + cell.y] = kAlive;
        painter.PaintAliveCell(left + cell.x, top + cell.y);
    }
}

} // namespace tivla
