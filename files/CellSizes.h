// The pixel size of the grid's cells on each board size a size button offers.
#pragma once

#include "engine/BoardSizes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tivla {

// In the order of kBoardSizes: the larger the board, the smaller its cells, so that with the
// grid lines every board is 600 to 750 pixels wide.
inline constexpr std::array<std::int32_t, kBoardSizes.size()> kCellSizes{15, 13, 8, 5, 4, 2};

// The cell size that goes with a board size, or nothing for a size no button offers.
inline std::optional<std::int32_t> cellSizeFor(std::int32_t boardSize) {
    for (std::size_t i = 0; i < kBoardSizes.size(); ++i) {
        if (kBoardSizes[i] == boardSize) {
            return kCellSizes[i];
        }
    }
    return std::nullopt;
}

} // namespace tivla
