// A grid of 399 x 399 around the first live cell: all a 200 x 200 box can reach from it.
#include "PatternCells.h"

#include <algorithm>

namespace tivla {

PatternCells::PatternCells() : grid_(static_cast<std::size_t>(kSide) * kSide, 0) {}

namespace {

// The cells from the smaller to the larger of low..high and value. Coordinates are at most 64
// bits apart only in a refused file; the span saturates.
std::int64_t spanWith(std::int64_t low, std::int64_t high, std::int64_t value) {
    const auto span = static_cast<std::uint64_t>(std::max(high, value)) -
                      static_cast<std::uint64_t>(std::min(low, value));
    return span >= static_cast<std::uint64_t>(INT64_MAX) ? INT64_MAX
                                                         : static_cast<std::int64_t>(span) + 1;
}

} // namespace

std::int64_t PatternCells::widthWith(std::int64_t x) const {
    return any_ ? spanWith(minX_, maxX_, x) : 1;
}

std::int64_t PatternCells::heightWith(std::int64_t y) const {
    return any_ ? spanWith(minY_, maxY_, y) : 1;
}

bool PatternCells::add(std::int64_t x, std::int64_t y) {
    if (widthWith(x) > kMaxPatternSide || heightWith(y) > kMaxPatternSide) {
        return false;
    }
    if (!any_) {
        any_ = true;
        anchorX_ = minX_ = maxX_ = x;
        anchorY_ = minY_ = maxY_ = y;
    }
    minX_ = std::min(minX_, x);
    maxX_ = std::max(maxX_, x);
    minY_ = std::min(minY_, y);
    maxY_ = std::max(maxY_, y);
    const auto column = static_cast<std::size_t>(x - anchorX_ + kReach);
    const auto row = static_cast<std::size_t>(y - anchorY_ + kReach);
    grid_[row * kSide + column] = 1;
    return true;
}

Pattern PatternCells::pattern(std::int64_t left, std::int64_t top, int width, int height) const {
    Pattern result;
    result.width = width;
    result.height = height;
    if (!any_) {
        return result;
    }
    for (std::int64_t y = minY_; y <= maxY_; ++y) {
        const auto row = static_cast<std::size_t>(y - anchorY_ + kReach);
        for (std::int64_t x = minX_; x <= maxX_; ++x) {
            if (grid_[row * kSide + static_cast<std::size_t>(x - anchorX_ + kReach)] != 0) {
                result.alive.push_back({static_cast<int>(x - left), static_cast<int>(y - top)});
            }
        }
    }
    return result;
}

} // namespace tivla
