// Writing the board in the board-file format: the size line, then every cell column by column.
#pragma once

#include "engine/Board.h"

#include <ostream>
#include <string>

namespace tivla {

// The exact bytes of the board file: BoardSize, then "1" or "0" for each cell (x, y) with x
// from 0 to N outer and y from 0 to N inner, index N included; every line ends with CR LF.
// A 40 x 40 board gives 1682 lines and 5047 bytes.
std::string boardFileText(const Board& board);

// Writes boardFileText(board) to out; true when the stream took every byte.
bool writeBoard(std::ostream& out, const Board& board);

} // namespace tivla
