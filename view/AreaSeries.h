// The population chart's one series: its points, kept sorted by x, stored as runs so that a
// repeating population costs its period and not its length.
#pragma once

#include "BlockMaxima.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tivla {

class PopulationChart;

class AreaSeries {
public:
    // What the points may take, whatever the number of generations the chart has seen.
    static constexpr std::size_t kMemoryBudget = std::size_t{16} << 20;

    explicit AreaSeries(PopulationChart& chart);
    AreaSeries(const AreaSeries&) = delete;
    AreaSeries& operator=(const AreaSeries&) = delete;

    // Adds one point in the series' own colour, with no label, after any equal x already
    // there. Increasing x costs O(1) amortised.
    void addXY(std::int32_t x, std::int32_t y);
    // The last `period` points added, at consecutive x, are added again `times` more times at
    // the x values that follow them (wrapping like the generation counter), as that many
    // addXY calls would, in memory of the order of one period.
    void repeatLast(long long period, long long times);
    // Removes every point.
    void clear();
    std::size_t count() const { return count_; }

    // An inactive series keeps its points but is not drawn.
    void setActive(bool active);
    bool isActive() const { return active_; }

    // The point at an index in x order.
    std::int32_t x(std::size_t index) const;
    std::int32_t y(std::size_t index) const;
    // The largest y among points first..last, both inclusive.
    std::int32_t maximumY(std::size_t first, std::size_t last) const;
    // The index of the first point whose x is at least `x` / beyond `x`; count() if none.
    std::size_t firstAtLeast(double x) const;
    std::size_t firstBeyond(double x) const;

    // Bytes the points and their summaries hold now.
    std::size_t memoryUsed() const;
    // Runs of points, for tests of the representation.
    std::size_t runCount() const { return runs_.size(); }

private:
    struct Pattern {
        std::vector<std::int32_t> ys;
        BlockMaxima peaks;
        std::int32_t maximum = 0;
    };
    // Either explicit points (xs, ys) or, with a pattern, `length` points at consecutive x from
    // x0 whose y runs through the pattern from `phase` on.
    struct Run {
        std::size_t start = 0;
        std::size_t length = 0;
        std::vector<std::int32_t> xs;
        std::vector<std::int32_t> ys;
        BlockMaxima peaks;
        std::shared_ptr<const Pattern> pattern;
        std::int32_t x0 = 0;
        std::size_t phase = 0;

        bool periodic() const { return pattern != nullptr; }
        std::int32_t x(std::size_t i) const;
        std::int32_t y(std::size_t i) const;
        std::int32_t maximum(std::size_t first, std::size_t last) const;
        std::size_t firstAtLeast(double x) const;
        std::size_t firstBeyond(double x) const;
    };

    std::size_t runAt(std::size_t index) const;
    void restart(std::size_t from);
    void appendTo(std::size_t run, std::int32_t x, std::int32_t y);
    void insertRun(std::size_t at, Run run);
    void splitRun(std::size_t run, std::size_t keep);
    void noticeRepeats(std::size_t run);
    void addRepeat(std::size_t after, std::int32_t x0, std::shared_ptr<const Pattern> pattern,
                   std::size_t phase, std::size_t length);
    void keepWithinBudget();
    static std::shared_ptr<const Pattern> makePattern(std::vector<std::int32_t> ys);

    PopulationChart& chart_;
    std::vector<Run> runs_;
    std::size_t count_ = 0;
    // The run the last point went to, for repeatLast and for noticing repeats as they come.
    std::size_t current_ = 0;
    bool hasCurrent_ = false;
    // Trailing points of the current run at consecutive x.
    std::size_t consecutive_ = 0;
    // Points added since the memory was last measured.
    std::size_t sinceMeasured_ = 0;
    // Trailing points of the active explicit run equal to the point `p` before them, for each
    // short period p; they turn into a repeating run once long enough.
    static constexpr int kWatchedPeriods = 64;
    std::array<std::uint32_t, kWatchedPeriods + 1> matches_{};
    bool active_ = true;
};

} // namespace tivla
