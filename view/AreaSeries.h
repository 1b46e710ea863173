// The population chart's one series: the outline of its points over buckets of generations,
// exact while it fits and coarser, never larger, once it does not.
#pragma once

#include "BlockMaxima.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tivla {

class PopulationChart;

// The x of a point counts generations since the chart was last cleared, in 64 bits: it never
// wraps, so the points stay in order however long the program runs.
//
// What is kept is one entry per bucket of 2^shift consecutive x values that holds a point: the
// bucket's first and last point (for the line to its neighbours) and its highest y (for the
// area within it). While shift is 0 an entry is a point and the picture is the one the full
// list of points gives; after that a column whose edge cuts a bucket counts the whole bucket.
// A picture exact for every sequence and every pan would need every point (a falling
// population with the column edge anywhere), so this is the bound's price.
//
// Memory bound. What grows with the points: the entries, their maxima and the block maxima
// over those. What stops it: an entry is only added while there are fewer than kMaxEntries;
// at that count the buckets double in width and neighbours merge until at most three quarters
// remain, so no sequence of x and y can take more. The trailing points kept for repeatLast and
// a repeat's copy of them are capped at kRepeatablePoints each. The vectors grow by doubling
// up to these caps and never past them; the constructor checks the sum against kMemoryBudget.
class AreaSeries {
public:
    // What the series may take, whatever the points.
    static constexpr std::size_t kMemoryBudget = std::size_t{16} << 20;
    // Entries kept at most; points beyond this make the buckets coarser. A power of two.
    static constexpr std::size_t kMaxEntries = std::size_t{1} << 18;
    // The longest period repeatLast copies exactly; a longer one repeats the outline.
    static constexpr std::size_t kRepeatablePoints = std::size_t{1} << 19;

    explicit AreaSeries(PopulationChart& chart);
    AreaSeries(const AreaSeries&) = delete;
    AreaSeries& operator=(const AreaSeries&) = delete;

    // Adds one point in the series' own colour, with no label, after any equal x already
    // there. Increasing x costs O(1) amortised.
    void addXY(std::int64_t x, std::int32_t y);
    // The last `period` points added, at consecutive x, are added again `times` more times at
    // the x values that follow them, as that many addXY calls would, in time and memory
    // bounded by the entries whatever `times` is.
    void repeatLast(long long period, long long times);
    // Removes every point.
    void clear();
    // Points added since the last clear.
    std::uint64_t count() const { return count_; }

    // An inactive series keeps its points but is not drawn.
    void setActive(bool active);
    bool isActive() const { return active_; }

    // The first and last x and the last point's y; the series must not be empty.
    std::int64_t firstX() const { return entries_.front().firstX; }
    std::int64_t lastX() const { return entries_.back().lastX; }
    std::int32_t lastY() const { return entries_.back().lastY; }
    // The highest point of the line through the points over lo..hi, which lie within the data;
    // with buckets wider than one x, a bucket that reaches into lo..hi counts whole.
    double peakBetween(double lo, double hi) const;

    // Generations per bucket: 1 while every point is kept.
    std::int64_t bucketWidth() const { return std::int64_t{1} << shift_; }
    // Points, or buckets once they are wider than one x, and the one at an index in x order
    // (its first point's x, its highest y).
    std::size_t entryCount() const { return entries_.size(); }
    std::int64_t x(std::size_t index) const { return entries_[index].firstX; }
    std::int32_t y(std::size_t index) const { return maxY_[index]; }

    // Bytes the entries, their summaries and the trailing points hold now.
    std::size_t memoryUsed() const;

private:
    struct Entry {
        std::int64_t firstX = 0;
        std::int64_t lastX = 0;
        std::int32_t firstY = 0;
        std::int32_t lastY = 0;
    };

    std::int64_t bucketOf(std::int64_t x) const { return x >> shift_; }
    void place(std::int64_t x, std::int32_t y);
    void mergeInto(std::size_t at, std::int64_t x, std::int32_t y);
    void insertEntry(std::size_t at, std::int64_t x, std::int32_t y);
    void raiseLast(std::int32_t y);
    void doubleBuckets();
    void coarsen();
    void remember(std::int64_t x, std::int32_t y);
    // The trailing points a repeat copies: a ring of kRepeatablePoints.
    void pushRecent(std::int32_t y);
    // The y of the point `back` places before the last one added; back < kRepeatablePoints.
    std::int32_t recentY(std::uint64_t back) const;
    // The highest y over entries that reach into lo..hi; lowest int32 if none.
    std::int32_t outlineMaximum(double lo, double hi) const;
    template <typename RangeMaximum, typename At>
    void appendRepeat(std::int64_t from, std::int64_t to, std::int64_t period,
                      RangeMaximum&& rangeMaximum, At&& at);

    PopulationChart& chart_;
    std::vector<Entry> entries_;
    std::vector<std::int32_t> maxY_;
    BlockMaxima peaks_;
    int shift_ = 0;
    std::uint64_t count_ = 0;
    // The last points added, in a ring of at most kRepeatablePoints, for repeatLast.
    std::vector<std::int32_t> recent_;
    std::uint64_t recentWritten_ = 0;
    // How many of the last points added follow each other at consecutive x, ending at lastAdded_.
    std::uint64_t consecutive_ = 0;
    std::int64_t lastAdded_ = 0;
    bool active_ = true;
};

} // namespace tivla
