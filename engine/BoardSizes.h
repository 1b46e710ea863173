// The six board sizes the size buttons offer, each with the pixel size of its cells.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tivla {

struct BoardSizeEntry {
    std::int32_t boardSize;
    std::int32_t cellSize;
};

inline constexpr std::array<BoardSizeEntry, 6> kBoardSizes{
    {{40, 15}, {50, 13}, {80, 8}, {100, 5}, {150, 4}, {200, 2}}};

// The cell size that goes with a board size, or nothing for a size no button offers.
inline std::optional<std::int32_t> cellSizeFor(std::int32_t boardSize) {
    for (const auto& entry : kBoardSizes) {
        if (entry.boardSize == boardSize) {
            return entry.cellSize;
        }
    }
    return std::nullopt;
}

} // namespace tivla
