// What the main window keeps besides the board: the cells' pixel size, the chosen stamp and
// pen, the panels' flags and the length of the last batch. The engine never sees any of it.
#pragma once

#include "files/CellSizes.h"

#include <cstdint>

namespace tivla {

struct FormState {
    // The values a new main window starts with. The pen and the last batch keep theirs.
    void resetToStart() {
        CellSize = 15;
        AutoCollapse = true;
        StampKind = 1;
        StatsVisible = false;
    }

    // A board of a size a size button offers takes that button's cell size; any other size
    // keeps the cells as they are.
    void followBoardSize(std::int32_t boardSize) {
        CellSize = cellSizeFor(boardSize).value_or(CellSize);
    }

    // Pixels per cell, the grid line not included.
    std::int32_t CellSize = 0;
    // Generations the last batch ran, or was asked to run.
    std::int32_t StepsToRun = 0;
    // The stamp a click places: 1 to 11 the brushes, 12 to 18 the figures.
    std::int32_t StampKind = 0;
    // Drawing (a drag adds cells and never removes them) rather than poking.
    bool DrawMode = false;
    // The brush and figure panels fold away once the pointer leaves them.
    bool AutoCollapse = false;
    // The statistics panel is open: steps and batches report to it.
    bool StatsVisible = false;
};

} // namespace tivla
