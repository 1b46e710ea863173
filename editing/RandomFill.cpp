// The random fill's board scans and its message for a board too full to take the count.
#include "RandomFill.h"

namespace tivla {

namespace {

int boardSide(const Board& board) {
    return std::clamp(board.BoardSize, 0, kMaxBoardSize);
}

} // namespace

std::string fillShortfallMessage(const FillResult& result) {
    if (result.placed >= result.requested) {
        return {};
    }
    if (result.placed == 0) {
        return "Хозяин! Свободных клеток не осталось.";
    }
    return "Хозяин! Свободных клеток хватило только на " + std::to_string(result.placed) + " из " +
           std::to_string(result.requested) + ".";
}

int emptyCellCount(const Board& board) {
    const int n = boardSide(board);
    int empty = 0;
    for (int column = 0; column < n; ++column) {
        for (int row = 0; row < n; ++row) {
            empty += board.Cells[column][row] == kDead ? 1 : 0;
        }
    }
    return empty;
}

std::size_t collectEmptyCells(const Board& board, std::span<std::uint16_t, kMaxBoardCells> out) {
    const int n = boardSide(board);
    std::size_t count = 0;
    for (int column = 0; column < n; ++column) {
        for (int row = 0; row < n; ++row) {
            if (board.Cells[column][row] == kDead) {
                out[count++] = static_cast<std::uint16_t>(column * n + row);
            }
        }
    }
    return count;
}

} // namespace tivla
