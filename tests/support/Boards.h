// A board as a new window starts it, at the size a test asks for, and where two boards differ.
#pragma once

#include "engine/Board.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

namespace tivla::test {

// On the heap: the board tables are far too large for a test's stack.
inline std::unique_ptr<Board> boardOfSize(int size = 40) {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    board->BoardSize = size;
    return board;
}

// Where two boards first differ, or nothing.
inline std::string difference(const Board& want, const Board& got) {
    std::ostringstream out;
    if (want.Generation != got.Generation || want.Population != got.Population ||
        want.MaxPopulation != got.MaxPopulation ||
        want.PopulationPercent != got.PopulationPercent) {
        out << "counters: generation " << want.Generation << "/" << got.Generation << " population "
            << want.Population << "/" << got.Population << " max " << want.MaxPopulation << "/"
            << got.MaxPopulation;
        return out.str();
    }
    if (std::memcmp(want.Cells, got.Cells, sizeof want.Cells) != 0) {
        for (int c = 0; c < kCellsDim; ++c) {
            for (int r = 0; r < kCellsDim; ++r) {
                if (want.Cells[c][r] != got.Cells[c][r]) {
                    out << "Cells[" << c << "][" << r << "] " << int{want.Cells[c][r]} << "/"
                        << int{got.Cells[c][r]};
                    return out.str();
                }
            }
        }
    }
    if (std::memcmp(want.NeighbourCounts.raw(), got.NeighbourCounts.raw(),
                    sizeof(std::int32_t) * kCountsDim * kCountsDim) == 0) {
        return {};
    }
    for (int r = kCountsLow; r <= kCountsHigh; ++r) {
        for (int c = kCountsLow; c <= kCountsHigh; ++c) {
            if (want.NeighbourCounts[r][c] != got.NeighbourCounts[r][c]) {
                out << "NeighbourCounts[" << r << "][" << c << "] " << want.NeighbourCounts[r][c]
                    << "/" << got.NeighbourCounts[r][c];
                return out.str();
            }
        }
    }
    return {};
}

} // namespace tivla::test
