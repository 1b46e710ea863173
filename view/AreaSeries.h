// The population chart's one series: its points, kept sorted by x, and their range maxima.
#pragma once

#include "BlockMaxima.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tivla {

class PopulationChart;

class AreaSeries {
public:
    explicit AreaSeries(PopulationChart& chart);
    AreaSeries(const AreaSeries&) = delete;
    AreaSeries& operator=(const AreaSeries&) = delete;

    // Adds one point in the series' own colour, with no label. The program adds increasing x,
    // which costs O(1) amortised; a smaller x is inserted in order at O(count()).
    void addXY(std::int32_t x, std::int32_t y);
    // Removes every point.
    void clear();
    std::size_t count() const { return xs_.size(); }

    // An inactive series keeps its points but is not drawn.
    void setActive(bool active);
    bool isActive() const { return active_; }

    std::int32_t x(std::size_t index) const { return xs_[index]; }
    std::int32_t y(std::size_t index) const { return ys_[index]; }
    const std::vector<std::int32_t>& xs() const { return xs_; }
    const std::vector<std::int32_t>& ys() const { return ys_; }
    // The largest y among points first..last, both inclusive.
    std::int32_t maximumY(std::size_t first, std::size_t last) const;

private:
    PopulationChart& chart_;
    std::vector<std::int32_t> xs_;
    std::vector<std::int32_t> ys_;
    BlockMaxima peaks_;
    bool active_ = true;
};

} // namespace tivla
