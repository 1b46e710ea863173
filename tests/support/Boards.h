// A board as a new window starts it, at the size a test asks for.
#pragma once

#include "engine/Board.h"

#include <memory>

namespace tivla::test {

// On the heap: the board tables are far too large for a test's stack.
inline std::unique_ptr<Board> boardOfSize(int size = 40) {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    board->BoardSize = size;
    return board;
}

} // namespace tivla::test
