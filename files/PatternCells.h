// The live cells of a pattern as a reader finds them, kept within a box the board can hold.
#pragma once

#include "Pattern.h"

#include <cstdint>
#include <vector>

namespace tivla {

// Every cell a reader adds lies within 199 cells of the first one, or the box would pass 200;
// so a fixed grid around the first cell holds them all, each once however often it is named,
// and the memory stays the same for any file.
class PatternCells {
public:
    PatternCells();

    // Marks the cell alive; false, with nothing marked, when the live cells would then no
    // longer fit into 200 x 200.
    bool add(std::int64_t x, std::int64_t y);
    // The size the live cells would span with (x, y) added, for the refusal's message.
    std::int64_t widthWith(std::int64_t x) const;
    std::int64_t heightWith(std::int64_t y) const;

    bool empty() const { return !any_; }
    std::int64_t left() const { return minX_; }
    std::int64_t top() const { return minY_; }
    // The span of the live cells; 0 when there are none.
    int width() const { return any_ ? static_cast<int>(maxX_ - minX_ + 1) : 0; }
    int height() const { return any_ ? static_cast<int>(maxY_ - minY_ + 1) : 0; }

    // The pattern whose box, width x height, has its top-left at (left, top) and holds every
    // live cell.
    Pattern pattern(std::int64_t left, std::int64_t top, int width, int height) const;

private:
    static constexpr int kReach = kMaxPatternSide - 1;
    static constexpr int kSide = 2 * kReach + 1;

    std::vector<std::uint8_t> grid_;
    bool any_ = false;
    std::int64_t anchorX_ = 0;
    std::int64_t anchorY_ = 0;
    std::int64_t minX_ = 0;
    std::int64_t maxX_ = 0;
    std::int64_t minY_ = 0;
    std::int64_t maxY_ = 0;
};

} // namespace tivla
