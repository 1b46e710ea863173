// The population chart's one series: its points, kept sorted by x, and their range maxima.
#include "AreaSeries.h"

#include "PopulationChart.h"

#include <algorithm>

namespace tivla {

namespace {
// Room for a long batch before the vectors first grow; clear() keeps whatever they reached.
constexpr std::size_t kInitialCapacity = 1 << 16;
} // namespace

AreaSeries::AreaSeries(PopulationChart& chart) : chart_(chart) {
    xs_.reserve(kInitialCapacity);
    ys_.reserve(kInitialCapacity);
}

void AreaSeries::addXY(std::int32_t x, std::int32_t y) {
    if (xs_.empty() || x >= xs_.back()) {
        xs_.push_back(x);
        ys_.push_back(y);
        peaks_.appended(ys_);
    } else {
        // After equal x values already present, like an append would place it.
        const auto at = std::upper_bound(xs_.begin(), xs_.end(), x);
        const auto index = at - xs_.begin();
        xs_.insert(at, x);
        ys_.insert(ys_.begin() + index, y);
        peaks_.rebuild(ys_);
    }
    chart_.seriesChanged();
}

void AreaSeries::clear() {
    xs_.clear();
    ys_.clear();
    peaks_.clear();
    chart_.seriesCleared();
}

void AreaSeries::setActive(bool active) {
    if (active_ != active) {
        active_ = active;
        chart_.seriesChanged();
    }
}

std::int32_t AreaSeries::maximumY(std::size_t first, std::size_t last) const {
    return peaks_.maximum(ys_, first, last);
}

} // namespace tivla
