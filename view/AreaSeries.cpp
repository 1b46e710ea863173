// The population chart's one series, kept as bucket entries that double in width when they must.
#include "AreaSeries.h"

#include "PopulationChart.h"

#include <algorithm>
#include <limits>

namespace tivla {

namespace {
constexpr std::int32_t kNoPoint = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kHighestX = std::numeric_limits<std::int64_t>::max();
constexpr std::size_t kFirstCapacity = 64;
// Past this the buckets hold the whole range of x in a handful of entries.
constexpr int kWidestShift = 62;

// Doubles a full vector's room up to `limit` elements, so its capacity never overshoots the
// bound the way a growth factor applied to an odd size would.
template <typename T> void makeRoom(std::vector<T>& values, std::size_t limit) {
    if (values.size() == values.capacity()) {
        values.reserve(std::min(limit, std::max(kFirstCapacity, 2 * values.capacity())));
    }
}
} // namespace

AreaSeries::AreaSeries(PopulationChart& chart) : chart_(chart) {
    // Entries with their maxima and block maxima (under one int each), the trailing points and
    // a repeat's copy of them with its block maxima.
    static_assert(kMaxEntries * (sizeof(Entry) + 2 * sizeof(std::int32_t)) +
                      kRepeatablePoints * 3 * sizeof(std::int32_t) <=
                  kMemoryBudget);
}

void AreaSeries::addXY(std::int64_t x, std::int32_t y) {
    place(x, y);
    ++count_;
    remember(x, y);
    chart_.seriesChanged();
}

void AreaSeries::place(std::int64_t x, std::int32_t y) {
    if (entries_.empty()) {
        insertEntry(0, x, y);
        return;
    }
    if (x >= lastX()) {
        if (shift_ > 0 && bucketOf(x) == bucketOf(entries_.back().firstX)) {
            mergeInto(entries_.size() - 1, x, y);
        } else {
            insertEntry(entries_.size(), x, y);
        }
        return;
    }
    // An earlier x: after every entry that starts at or before it.
    const auto after = std::partition_point(entries_.begin(), entries_.end(),
                                            [x](const Entry& e) { return e.firstX <= x; });
    const auto at = static_cast<std::size_t>(after - entries_.begin());
    if (shift_ > 0 && at > 0 && bucketOf(entries_[at - 1].firstX) == bucketOf(x)) {
        mergeInto(at - 1, x, y);
    } else if (shift_ > 0 && at < entries_.size() && bucketOf(entries_[at].firstX) == bucketOf(x)) {
        mergeInto(at, x, y);
    } else {
        insertEntry(at, x, y);
    }
}

void AreaSeries::mergeInto(std::size_t at, std::int64_t x, std::int32_t y) {
    Entry& entry = entries_[at];
    if (x < entry.firstX) {
        entry.firstX = x;
        entry.firstY = y;
    }
    // Equal x come in the order added, so a new one is the bucket's last.
    if (x >= entry.lastX) {
        entry.lastX = x;
        entry.lastY = y;
    }
    if (y > maxY_[at]) {
        if (at + 1 == maxY_.size()) {
            raiseLast(y);
        } else {
            maxY_[at] = y;
            peaks_.rebuild(maxY_);
        }
    }
}

void AreaSeries::insertEntry(std::size_t at, std::int64_t x, std::int32_t y) {
    if (entries_.size() == kMaxEntries) {
        coarsen();
        place(x, y);
        return;
    }
    makeRoom(entries_, kMaxEntries);
    makeRoom(maxY_, kMaxEntries);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), Entry{x, x, y, y});
    maxY_.insert(maxY_.begin() + static_cast<std::ptrdiff_t>(at), y);
    if (at + 1 == maxY_.size()) {
        peaks_.appended(maxY_);
    } else {
        peaks_.rebuild(maxY_);
    }
}

void AreaSeries::raiseLast(std::int32_t y) {
    // The block maxima summarise complete blocks only: take the old value out, put the new in.
    maxY_.pop_back();
    peaks_.truncated(maxY_);
    maxY_.push_back(y);
    peaks_.appended(maxY_);
}

void AreaSeries::doubleBuckets() {
    ++shift_;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (kept > 0 && bucketOf(entries_[kept - 1].firstX) == bucketOf(entries_[i].firstX)) {
            entries_[kept - 1].lastX = entries_[i].lastX;
            entries_[kept - 1].lastY = entries_[i].lastY;
            maxY_[kept - 1] = std::max(maxY_[kept - 1], maxY_[i]);
        } else {
            entries_[kept] = entries_[i];
            maxY_[kept] = maxY_[i];
            ++kept;
        }
    }
    entries_.resize(kept);
    maxY_.resize(kept);
}

void AreaSeries::coarsen() {
    // Down to three quarters at most (one doubling leaves half and one, as the first and last
    // buckets may be partly filled), so a quarter of the entries is added before another pass:
    // O(1) per point amortised. Spread-out points may need several doublings before pairs meet.
    while (entries_.size() > kMaxEntries / 4 * 3 && shift_ < kWidestShift) {
        doubleBuckets();
    }
    peaks_.rebuild(maxY_);
}

void AreaSeries::remember(std::int64_t x, std::int32_t y) {
    const bool follows =
        consecutive_ > 0 &&
        static_cast<std::uint64_t>(x) - static_cast<std::uint64_t>(lastAdded_) == 1;
    consecutive_ = follows ? consecutive_ + 1 : 1;
    lastAdded_ = x;
    pushRecent(y);
}

void AreaSeries::pushRecent(std::int32_t y) {
    if (recent_.size() < kRepeatablePoints) {
        makeRoom(recent_, kRepeatablePoints);
        recent_.push_back(y);
    } else {
        recent_[recentWritten_ % kRepeatablePoints] = y;
    }
    ++recentWritten_;
}

std::int32_t AreaSeries::recentY(std::uint64_t back) const {
    return recent_[(recentWritten_ - 1 - back) % kRepeatablePoints];
}

void AreaSeries::repeatLast(long long period, long long times) {
    if (period <= 0 || times <= 0 || entries_.empty() ||
        consecutive_ < static_cast<std::uint64_t>(period) || lastAdded_ != lastX()) {
        return; // not the consecutive stretch a batch reports
    }
    const std::int64_t room = kHighestX - lastX();
    const std::int64_t total = times > room / period ? room : period * times;
    if (total <= 0) {
        return;
    }
    const std::int64_t from = lastX() + 1;
    const std::int64_t to = from + (total - 1);
    const int shiftBefore = shift_;
    while (shift_ < kWidestShift) {
        const bool joinsLast = bucketOf(from) == bucketOf(entries_.back().firstX);
        const auto needed =
            static_cast<std::uint64_t>(bucketOf(to) - bucketOf(from)) + (joinsLast ? 0 : 1);
        if (needed <= kMaxEntries - entries_.size()) {
            break;
        }
        doubleBuckets();
    }
    if (shift_ != shiftBefore) {
        peaks_.rebuild(maxY_);
    }

    std::vector<std::int32_t> pattern;
    BlockMaxima patternPeaks;
    const auto periodPoints = static_cast<std::uint64_t>(period);
    const bool exact = periodPoints <= kRepeatablePoints;
    if (exact) {
        pattern.resize(periodPoints);
        for (std::uint64_t i = 0; i < periodPoints; ++i) {
            pattern[i] = recentY(periodPoints - 1 - i);
        }
        patternPeaks.rebuild(pattern);
    }
    // Beyond the trailing points kept, the period's own outline is what repeats.
    const std::int64_t source = from - period;
    auto rangeMaximum = [&](std::int64_t first, std::int64_t last) {
        return exact ? patternPeaks.maximum(pattern, static_cast<std::size_t>(first),
                                            static_cast<std::size_t>(last))
                     : outlineMaximum(double(source + first), double(source + last));
    };
    auto at = [&](std::int64_t phase) {
        return exact ? pattern[static_cast<std::size_t>(phase)] : rangeMaximum(phase, phase);
    };
    appendRepeat(from, to, period, rangeMaximum, at);

    // The repeated points are now the last added.
    const auto written =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(total), kRepeatablePoints);
    for (std::uint64_t k = static_cast<std::uint64_t>(total) - written;
         k < static_cast<std::uint64_t>(total); ++k) {
        const std::int32_t y = at(static_cast<std::int64_t>(k % periodPoints));
        pushRecent(y);
    }
    consecutive_ += static_cast<std::uint64_t>(total);
    lastAdded_ = to;
    count_ += static_cast<std::uint64_t>(total);
    chart_.seriesChanged();
}

template <typename RangeMaximum, typename At>
void AreaSeries::appendRepeat(std::int64_t from, std::int64_t to, std::int64_t period,
                              RangeMaximum&& rangeMaximum, At&& at) {
    const std::int32_t whole = rangeMaximum(0, period - 1);
    const std::int64_t lastInBucket = bucketWidth() - 1;
    std::int64_t start = from;
    while (true) {
        // The bucket's last x, as the low bits all set: no overflow at the top of the range.
        const std::int64_t end = std::min(to, start | lastInBucket);
        const std::int64_t first = (start - from) % period;
        const std::int64_t last = (end - from) % period;
        std::int32_t high = whole;
        if (end - start + 1 < period) {
            high = first <= last ? rangeMaximum(first, last)
                                 : std::max(rangeMaximum(first, period - 1), rangeMaximum(0, last));
        }
        if (bucketOf(start) == bucketOf(entries_.back().firstX)) {
            entries_.back().lastX = end;
            entries_.back().lastY = at(last);
            if (high > maxY_.back()) {
                raiseLast(high);
            }
        } else {
            makeRoom(entries_, kMaxEntries);
            makeRoom(maxY_, kMaxEntries);
            entries_.push_back(Entry{start, end, at(first), at(last)});
            maxY_.push_back(high);
            peaks_.appended(maxY_);
        }
        if (end == to) {
            return;
        }
        start = end + 1;
    }
}

void AreaSeries::clear() {
    // The buffers stay: the chart refills after every clear.
    entries_.clear();
    maxY_.clear();
    peaks_.clear();
    shift_ = 0;
    count_ = 0;
    recent_.clear();
    recentWritten_ = 0;
    consecutive_ = 0;
    lastAdded_ = 0;
    chart_.seriesCleared();
}

void AreaSeries::setActive(bool active) {
    if (active_ != active) {
        active_ = active;
        chart_.seriesChanged();
    }
}

std::int32_t AreaSeries::outlineMaximum(double lo, double hi) const {
    const auto first = std::partition_point(entries_.begin(), entries_.end(),
                                            [lo](const Entry& e) { return e.lastX < lo; });
    const auto past = std::partition_point(first, entries_.end(),
                                           [hi](const Entry& e) { return e.firstX <= hi; });
    if (first == past) {
        return kNoPoint;
    }
    return peaks_.maximum(maxY_, static_cast<std::size_t>(first - entries_.begin()),
                          static_cast<std::size_t>(past - entries_.begin()) - 1);
}

double AreaSeries::peakBetween(double lo, double hi) const {
    // The area's top is the straight line through the points, so over lo..hi it peaks either
    // at a point inside or where the line crosses lo or hi.
    const std::size_t n = entries_.size();
    const auto inside = static_cast<std::size_t>(
        std::partition_point(entries_.begin(), entries_.end(),
                             [lo](const Entry& e) { return e.lastX < lo; }) -
        entries_.begin());
    const auto past = static_cast<std::size_t>(
        std::partition_point(entries_.begin(), entries_.end(),
                             [hi](const Entry& e) { return e.firstX <= hi; }) -
        entries_.begin());
    auto lineAt = [this](std::size_t right, double x) {
        const double x0 = entries_[right - 1].lastX;
        const double y0 = entries_[right - 1].lastY;
        const double x1 = entries_[right].firstX;
        const double y1 = entries_[right].firstY;
        return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
    };
    double peak = -std::numeric_limits<double>::infinity();
    if (inside < past) {
        peak = peaks_.maximum(maxY_, inside, past - 1);
    }
    // Where lo falls inside a wider bucket, the bucket's maximum already covers the line there.
    if (inside > 0 && inside < n && entries_[inside].firstX > lo) {
        peak = std::max(peak, lineAt(inside, lo));
    }
    if (past > 0 && past < n && entries_[past - 1].lastX < hi) {
        peak = std::max(peak, lineAt(past, hi));
    }
    return peak;
}

std::size_t AreaSeries::memoryUsed() const {
    return entries_.capacity() * sizeof(Entry) +
           (maxY_.capacity() + recent_.capacity()) * sizeof(std::int32_t) + peaks_.memoryUsed();
}

} // namespace tivla
