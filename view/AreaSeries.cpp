// The population chart's one series, stored as runs of explicit points and of repeating ones.
#include "AreaSeries.h"

#include "PopulationChart.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tivla {

namespace {
constexpr std::int32_t kLowestX = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kHighestX = std::numeric_limits<std::int32_t>::max();
// Trailing repeats of a short period needed before points turn into a repeating run.
std::uint32_t repeatsNeeded(int period) {
    return static_cast<std::uint32_t>(2 * period + 16);
}
// Measuring walks every run, so appends measure only now and then.
constexpr std::size_t kMeasureEvery = 4096;
} // namespace

// --- One run -----------------------------------------------------------------------------

std::int32_t AreaSeries::Run::x(std::size_t i) const {
    return periodic() ? static_cast<std::int32_t>(x0 + static_cast<std::int64_t>(i)) : xs[i];
}

std::int32_t AreaSeries::Run::y(std::size_t i) const {
    return periodic() ? pattern->ys[(phase + i) % pattern->ys.size()] : ys[i];
}

std::int32_t AreaSeries::Run::maximum(std::size_t first, std::size_t last) const {
    if (!periodic()) {
        return peaks.maximum(ys, first, last);
    }
    const std::size_t period = pattern->ys.size();
    if (last - first + 1 >= period) {
        return pattern->maximum;
    }
    const std::size_t from = (phase + first) % period;
    const std::size_t to = (phase + last) % period;
    if (from <= to) {
        return pattern->peaks.maximum(pattern->ys, from, to);
    }
    return std::max(pattern->peaks.maximum(pattern->ys, from, period - 1),
                    pattern->peaks.maximum(pattern->ys, 0, to));
}

std::size_t AreaSeries::Run::firstAtLeast(double value) const {
    if (!periodic()) {
        return static_cast<std::size_t>(
            std::partition_point(xs.begin(), xs.end(),
                                 [value](std::int32_t x) { return x < value; }) -
            xs.begin());
    }
    const double offset = std::ceil(value - x0);
    return offset <= 0 ? 0 : static_cast<std::size_t>(std::min<double>(offset, length));
}

std::size_t AreaSeries::Run::firstBeyond(double value) const {
    if (!periodic()) {
        return static_cast<std::size_t>(
            std::partition_point(xs.begin(), xs.end(),
                                 [value](std::int32_t x) { return x <= value; }) -
            xs.begin());
    }
    const double offset = std::floor(value - x0) + 1;
    return offset <= 0 ? 0 : static_cast<std::size_t>(std::min<double>(offset, length));
}

// --- The series ----------------------------------------------------------------------------

AreaSeries::AreaSeries(PopulationChart& chart) : chart_(chart) {}

std::shared_ptr<const AreaSeries::Pattern> AreaSeries::makePattern(std::vector<std::int32_t> ys) {
    auto pattern = std::make_shared<Pattern>();
    pattern->ys = std::move(ys);
    pattern->ys.shrink_to_fit();
    pattern->peaks.rebuild(pattern->ys);
    pattern->maximum = *std::max_element(pattern->ys.begin(), pattern->ys.end());
    return pattern;
}

std::size_t AreaSeries::runAt(std::size_t index) const {
    const auto after = std::partition_point(runs_.begin(), runs_.end(),
                                            [index](const Run& r) { return r.start <= index; });
    return static_cast<std::size_t>(after - runs_.begin()) - 1;
}

void AreaSeries::restart(std::size_t from) {
    for (std::size_t r = from; r < runs_.size(); ++r) {
        runs_[r].start = r == 0 ? 0 : runs_[r - 1].start + runs_[r - 1].length;
    }
}

void AreaSeries::insertRun(std::size_t at, Run run) {
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(at), std::move(run));
    restart(at);
}

void AreaSeries::splitRun(std::size_t run, std::size_t keep) {
    Run right = runs_[run];
    right.x0 = static_cast<std::int32_t>(right.x0 + static_cast<std::int64_t>(keep));
    right.phase = (right.phase + keep) % right.pattern->ys.size();
    right.length -= keep;
    runs_[run].length = keep;
    insertRun(run + 1, std::move(right));
}

void AreaSeries::addXY(std::int32_t x, std::int32_t y) {
    // The last run that starts at or before x takes the point.
    const auto after =
        std::partition_point(runs_.begin(), runs_.end(), [x](const Run& r) { return r.x(0) <= x; });
    const auto r = static_cast<std::size_t>(after - runs_.begin());
    Run point;
    point.length = 1;
    point.xs = {x};
    point.ys = {y};
    point.peaks.rebuild(point.ys);
    if (r == 0) {
        insertRun(0, std::move(point));
        current_ = 0;
        consecutive_ = 1;
        matches_.fill(0);
    } else if (x >= runs_[r - 1].x(runs_[r - 1].length - 1)) {
        appendTo(r - 1, x, y);
    } else if (!runs_[r - 1].periodic()) {
        Run& run = runs_[r - 1];
        const std::size_t at = run.firstBeyond(x);
        run.xs.insert(run.xs.begin() + static_cast<std::ptrdiff_t>(at), x);
        run.ys.insert(run.ys.begin() + static_cast<std::ptrdiff_t>(at), y);
        run.peaks.rebuild(run.ys);
        ++run.length;
        restart(r);
        current_ = r - 1;
        consecutive_ = 0;
        matches_.fill(0);
    } else {
        splitRun(r - 1, runs_[r - 1].firstBeyond(x));
        insertRun(r, std::move(point));
        current_ = r;
        consecutive_ = 1;
        matches_.fill(0);
    }
    hasCurrent_ = true;
    ++count_;
    if (++sinceMeasured_ >= kMeasureEvery) {
        keepWithinBudget();
    }
    chart_.seriesChanged();
}

void AreaSeries::appendTo(std::size_t r, std::int32_t x, std::int32_t y) {
    Run& run = runs_[r];
    const std::int64_t lastX = run.x(run.length - 1);
    const bool follows = x == lastX + 1;
    if (run.periodic()) {
        if (follows && y == run.y(run.length)) {
            ++run.length;
            restart(r + 1);
            current_ = r;
            return;
        }
        Run point;
        point.length = 1;
        point.xs = {x};
        point.ys = {y};
        point.peaks.rebuild(point.ys);
        insertRun(r + 1, std::move(point));
        current_ = r + 1;
        consecutive_ = 1;
        matches_.fill(0);
        return;
    }
    run.xs.push_back(x);
    run.ys.push_back(y);
    run.peaks.appended(run.ys);
    ++run.length;
    restart(r + 1);
    if (current_ != r || !follows) {
        matches_.fill(0);
        consecutive_ = current_ == r && follows ? consecutive_ + 1 : 1;
    } else {
        ++consecutive_;
    }
    current_ = r;
    noticeRepeats(r);
}

void AreaSeries::noticeRepeats(std::size_t r) {
    Run& run = runs_[r];
    const std::size_t last = run.length - 1;
    for (int p = 1; p <= kWatchedPeriods && static_cast<std::size_t>(p) < consecutive_; ++p) {
        if (run.ys[last] != run.ys[last - static_cast<std::size_t>(p)]) {
            matches_[p] = 0;
            continue;
        }
        if (++matches_[p] < repeatsNeeded(p)) {
            continue;
        }
        // The last m points repeat their first p: they become one repeating run.
        const std::size_t m = matches_[p] + static_cast<std::size_t>(p);
        const std::size_t from = run.length - m;
        Run repeating;
        repeating.pattern = makePattern(
            std::vector<std::int32_t>(run.ys.begin() + static_cast<std::ptrdiff_t>(from),
                                      run.ys.begin() + static_cast<std::ptrdiff_t>(from) + p));
        repeating.x0 = run.xs[from];
        repeating.length = m;
        run.xs.resize(from);
        run.ys.resize(from);
        run.peaks.truncated(run.ys);
        run.length = from;
        if (from == 0) {
            runs_[r] = std::move(repeating);
            restart(r);
            current_ = r;
        } else {
            insertRun(r + 1, std::move(repeating));
            current_ = r + 1;
        }
        matches_.fill(0);
        return;
    }
}

void AreaSeries::repeatLast(long long period, long long times) {
    if (period <= 0 || times <= 0 || !hasCurrent_) {
        return;
    }
    const Run& run = runs_[current_];
    const std::size_t end = run.start + run.length;
    const auto points = static_cast<std::size_t>(period);
    if (end < points || static_cast<std::int64_t>(x(end - 1)) - x(end - points) != period - 1) {
        return; // not the consecutive stretch a batch reports
    }
    // Generations wrap once every 2^32; a longer repeat would lay points over its own start.
    const auto total = static_cast<std::uint64_t>(
        std::min<long double>(static_cast<long double>(period) * static_cast<long double>(times),
                              static_cast<long double>(std::numeric_limits<std::uint32_t>::max())));
    const std::int64_t lastX = x(end - 1);
    const auto fit = static_cast<std::size_t>(
        std::min<std::uint64_t>(total, static_cast<std::uint64_t>(kHighestX - lastX)));
    const std::size_t rest = static_cast<std::size_t>(total) - fit;

    std::shared_ptr<const Pattern> pattern;
    std::size_t phase = 0;
    const bool extends =
        run.periodic() && run.length >= points && points % run.pattern->ys.size() == 0;
    if (extends) {
        pattern = run.pattern;
        phase = (run.phase + run.length) % pattern->ys.size();
        runs_[current_].length += fit;
        restart(current_ + 1);
    } else {
        std::vector<std::int32_t> ys(points);
        for (std::size_t i = 0; i < points; ++i) {
            ys[i] = y(end - points + i);
        }
        pattern = makePattern(std::move(ys));
        if (fit > 0) {
            addRepeat(current_ + 1, static_cast<std::int32_t>(lastX + 1), pattern, 0, fit);
        }
    }
    count_ += fit;
    if (rest > 0) {
        const auto after = std::partition_point(runs_.begin(), runs_.end(),
                                                [](const Run& r) { return r.x(0) <= kLowestX; });
        addRepeat(static_cast<std::size_t>(after - runs_.begin()), kLowestX, pattern,
                  (phase + fit) % pattern->ys.size(), rest);
        count_ += rest;
    }
    matches_.fill(0);
    consecutive_ = 0;
    keepWithinBudget();
    chart_.seriesChanged();
}

void AreaSeries::addRepeat(std::size_t at, std::int32_t x0, std::shared_ptr<const Pattern> pattern,
                           std::size_t phase, std::size_t length) {
    Run run;
    run.pattern = std::move(pattern);
    run.x0 = x0;
    run.phase = phase;
    run.length = length;
    insertRun(at, std::move(run));
    current_ = at;
}

void AreaSeries::clear() {
    runs_.clear();
    count_ = 0;
    hasCurrent_ = false;
    consecutive_ = 0;
    matches_.fill(0);
    chart_.seriesCleared();
}

void AreaSeries::setActive(bool active) {
    if (active_ != active) {
        active_ = active;
        chart_.seriesChanged();
    }
}

std::int32_t AreaSeries::x(std::size_t index) const {
    const Run& run = runs_[runAt(index)];
    return run.x(index - run.start);
}

std::int32_t AreaSeries::y(std::size_t index) const {
    const Run& run = runs_[runAt(index)];
    return run.y(index - run.start);
}

std::int32_t AreaSeries::maximumY(std::size_t first, std::size_t last) const {
    std::int32_t result = std::numeric_limits<std::int32_t>::min();
    for (std::size_t r = runAt(first); r < runs_.size() && runs_[r].start <= last; ++r) {
        const Run& run = runs_[r];
        const std::size_t from = std::max(first, run.start) - run.start;
        const std::size_t to = std::min(last, run.start + run.length - 1) - run.start;
        result = std::max(result, run.maximum(from, to));
    }
    return result;
}

std::size_t AreaSeries::firstAtLeast(double value) const {
    const auto r = std::partition_point(runs_.begin(), runs_.end(), [value](const Run& run) {
        return run.x(run.length - 1) < value;
    });
    return r == runs_.end() ? count_ : r->start + r->firstAtLeast(value);
}

std::size_t AreaSeries::firstBeyond(double value) const {
    const auto r = std::partition_point(runs_.begin(), runs_.end(), [value](const Run& run) {
        return run.x(run.length - 1) <= value;
    });
    return r == runs_.end() ? count_ : r->start + r->firstBeyond(value);
}

std::size_t AreaSeries::memoryUsed() const {
    std::size_t bytes = runs_.capacity() * sizeof(Run);
    const Pattern* counted = nullptr;
    for (const Run& run : runs_) {
        bytes +=
            (run.xs.capacity() + run.ys.capacity()) * sizeof(std::int32_t) + run.peaks.memoryUsed();
        // Split runs share their pattern with the run before them.
        if (run.pattern && run.pattern.get() != counted) {
            counted = run.pattern.get();
            bytes += sizeof(Pattern) + run.pattern->ys.capacity() * sizeof(std::int32_t) +
                     run.pattern->peaks.memoryUsed();
        }
    }
    return bytes;
}

void AreaSeries::keepWithinBudget() {
    sinceMeasured_ = 0;
    // Past the budget only a population that never settles into a short repeat remains: its
    // longest stretch of points gives up every other point, keeping the larger of each pair,
    // so the area's outline stays as high as it was at the cost of some sideways detail.
    while (memoryUsed() > kMemoryBudget) {
        auto longest = std::max_element(runs_.begin(), runs_.end(), [](const Run& a, const Run& b) {
            return a.xs.size() < b.xs.size();
        });
        if (longest == runs_.end() || longest->xs.size() < 2) {
            return;
        }
        Run& run = *longest;
        const std::size_t halves = (run.xs.size() + 1) / 2;
        for (std::size_t i = 0; i < halves; ++i) {
            const std::size_t second = std::min(2 * i + 1, run.xs.size() - 1);
            run.xs[i] = run.xs[2 * i];
            run.ys[i] = std::max(run.ys[2 * i], run.ys[second]);
        }
        run.xs.resize(halves);
        run.ys.resize(halves);
        run.xs.shrink_to_fit();
        run.ys.shrink_to_fit();
        run.peaks.rebuild(run.ys);
        count_ -= run.length - halves;
        run.length = halves;
        restart(static_cast<std::size_t>(longest - runs_.begin()));
        matches_.fill(0);
        consecutive_ = 0;
    }
}

} // namespace tivla
