// A painter that keeps, in order, every cell it is asked to paint, for tests to compare with
// what the board holds.
#pragma once

#include <utility>
#include <vector>

namespace tivla::test {

struct RecordingPainter {
    std::vector<std::pair<int, int>> alive;
    std::vector<std::pair<int, int>> dead;
    void PaintAliveCell(int column, int row) { alive.emplace_back(column, row); }
    void PaintDeadCell(int column, int row) { dead.emplace_back(column, row); }
};

} // namespace tivla::test
