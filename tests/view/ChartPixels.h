// Reading the population chart's picture back: the height of the yellow area in each column,
// as painted and as the full list of points calls for.
#pragma once

#include "view/PopulationChart.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace tivla::test {

// Yellow rows counted from the bottom; -1 unless the column is yellow below and black above.
inline int areaHeightAt(const QImage& image, int column) {
    int height = 0;
    while (height < image.height() &&
           image.pixel(column, image.height() - 1 - height) == kChartAreaColour) {
        ++height;
    }
    for (int row = 0; row < image.height() - height; ++row) {
        if (image.pixel(column, row) != kChartBackgroundColour) {
            return -1;
        }
    }
    return height;
}

inline std::vector<int> areaHeights(PopulationChart& chart) {
    const QImage image = chart.grab().toImage();
    std::vector<int> heights;
    for (int column = 0; column < image.width(); ++column) {
        heights.push_back(areaHeightAt(image, column));
    }
    return heights;
}

// Every point the chart was given, in its order (sorted by x, equal x in the order added).
using Points = std::vector<std::pair<std::int64_t, std::int32_t>>;

inline void addPoint(Points& points, std::int64_t x, std::int32_t y) {
    const auto at = std::upper_bound(points.begin(), points.end(), x,
                                     [](std::int64_t v, const auto& p) { return v < p.first; });
    points.insert(at, {x, y});
}

// The column heights the chart's rule gives for the full list over the generations `view`:
// the highest point of the line through the points within each column, the line's ends at the
// column's edges included. Written plainly, point by point, as the yardstick for the chart.
// `widen` stretches each column by that many generations on both sides.
inline std::vector<int> expectedHeights(const Points& points, AxisRange view, int width, int height,
                                        double verticalMaximum, double widen = 0) {
    std::vector<int> heights(static_cast<std::size_t>(width), 0);
    if (points.empty()) {
        return heights;
    }
    const double first = points.front().first;
    const double last = points.back().first;
    const double perColumn = (view.maximum - view.minimum) / width;
    auto lineAt = [&](std::size_t right, double x) {
        const auto [x0, y0] = points[right - 1];
        const auto [x1, y1] = points[right];
        return y0 + (double(y1) - y0) * (x - x0) / (double(x1) - x0);
    };
    for (int column = 0; column < width; ++column) {
        const double lo = std::max(view.minimum + column * perColumn - widen, first);
        const double hi = std::min(view.minimum + (column + 1) * perColumn + widen, last);
        if (lo > hi) {
            continue;
        }
        double peak = -std::numeric_limits<double>::infinity();
        const auto begin = std::partition_point(points.begin(), points.end(),
                                                [lo](const auto& p) { return p.first < lo; });
        auto end = begin;
        for (; end != points.end() && end->first <= hi; ++end) {
            peak = std::max(peak, double(end->second));
        }
        const auto inside = static_cast<std::size_t>(begin - points.begin());
        const auto past = static_cast<std::size_t>(end - points.begin());
        if (inside > 0 && inside < points.size() && points[inside].first > lo) {
            peak = std::max(peak, lineAt(inside, lo));
        }
        if (past > 0 && past < points.size() && points[past - 1].first < hi) {
            peak = std::max(peak, lineAt(past, hi));
        }
        const double share = (peak - PopulationChart::kVerticalMinimum) /
                             (verticalMaximum - PopulationChart::kVerticalMinimum);
        heights[static_cast<std::size_t>(column)] =
            static_cast<int>(std::clamp(std::round(share * height), 0.0, double(height)));
    }
    return heights;
}

} // namespace tivla::test
