// The chart's memory bound: the picture is the full list's, panned or not, while the memory
// held, counted apart from the chart, stays within the budget whatever the populations.
#include "ChartPixels.h"
#include "tests/support/CountingAllocator.h"
#include "view/PopulationChart.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <functional>
#include <limits>
#include <random>

using tivla::PopulationChart;
using tivla::test::addPoint;
using tivla::test::areaHeights;
using tivla::test::expectedHeights;
using tivla::test::Points;

namespace {

constexpr int kWidth = 169;
constexpr int kHeight = 177;
constexpr double kMaximum = 1600;
constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kBudget = tivla::AreaSeries::kMemoryBudget;
// Enough points for the buckets to double three times.
constexpr std::int64_t kManyPoints = 2'000'000;

using Population = std::function<int(std::int64_t)>;
// Populations over 0..1600 that look random and repeat every `period` generations.
Population periodic(std::int64_t period) {
    return [period](std::int64_t i) {
        const auto h = std::uint64_t(i % period + 1) * 0x9E3779B97F4A7C15u;
        return static_cast<int>((h ^ (h >> 29)) % 1601);
    };
}
const Population kNineteenThenOne = [](std::int64_t i) { return i % 20 < 19 ? 700 : 1500; };

// Feeds the chart and the plain list alike.
struct Feed {
    PopulationChart& chart;
    Points points;
    Points added; // in the order added, for repeats
    std::mt19937 random{11};
    // Bytes held before feeding, and the most held by the chart (all but the lists) since.
    std::int64_t start = tivla::test::heldBytes().load();
    std::int64_t most = 0;

    std::int64_t held() const {
        const auto lists = (points.capacity() + added.capacity()) * sizeof(Points::value_type);
        return tivla::test::heldBytes().load() - start - std::int64_t(lists);
    }
    void add(std::int64_t x, std::int32_t y) {
        chart.series().addXY(x, y);
        addPoint(points, x, y);
        added.emplace_back(x, y);
        most = added.size() % 4096 == 0 ? std::max(most, held()) : most;
    }
    void repeat(long long period, long long times) {
        chart.series().repeatLast(period, times);
        const Points last(added.end() - period, added.end());
        std::int64_t x = added.back().first;
        for (long long t = 0; t < times; ++t) {
            for (const auto& point : last) {
                ++x;
                addPoint(points, x, point.second);
                added.emplace_back(x, point.second);
            }
        }
    }
    // A wandering population over consecutive generations from `from`; returns the next x.
    std::int64_t wander(std::int64_t from, int count) {
        std::uniform_int_distribution<int> change(-60, 60);
        int population = 800;
        for (int i = 0; i < count; ++i) {
            population = std::clamp(population + change(random), 0, 1700);
            add(from + i, population);
        }
        return from + count;
    }
    // The same short cycle of populations, point by point, as a running timer adds them.
    std::int64_t cycle(std::int64_t from, const std::vector<int>& populations, int count) {
        for (int i = 0; i < count; ++i) {
            add(from + i, populations[static_cast<std::size_t>(i) % populations.size()]);
        }
        return from + count;
    }
};

void drag(PopulationChart& chart, int fromX, int toX) {
    auto send = [&chart](QEvent::Type type, int x, Qt::MouseButton button,
                         Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(x, 50), chart.mapToGlobal(QPointF(x, 50)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&chart, &event);
    };
    send(QEvent::MouseButtonPress, fromX, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, toX, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, toX, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class ChartMemoryTest : public QObject {
    Q_OBJECT

private slots:
    void thePictureIsTheFullListsPicture_data() {
        QTest::addColumn<std::function<void(Feed&)>>("feed");
        QTest::newRow("a transient, then period 2 repeated by a batch")
            << std::function<void(Feed&)>([](Feed& f) {
                   const auto next = f.wander(1, 3000);
                   f.cycle(next, {700, 900}, 40);
                   f.repeat(2, 60000);
               });
        QTest::newRow("a timer run of a period-6 population")
            << std::function<void(Feed&)>([](Feed& f) {
                   const auto next = f.wander(1, 500);
                   f.cycle(next, {500, 1400, 20, 800, 801, 3}, 120000);
               });
        QTest::newRow("gaps where the panel was shut") << std::function<void(Feed&)>([](Feed& f) {
            f.wander(1, 200);
            const auto next = f.cycle(900, {100, 1500, 1500}, 3000);
            f.repeat(3, 5000);
            f.cycle(next + 15000 + 77, {1200}, 400);
        });
        QTest::newRow("a repeat that wraps the generation counter")
            << std::function<void(Feed&)>([](Feed& f) {
                   f.wander(1, 50);
                   const auto next = f.wander(kTop - 4000, 2000);
                   f.cycle(next, {300, 1300, 900, 200, 1600, 1000}, 60);
                   f.repeat(6, 2000);
               });
        QTest::newRow("a repeat of 21 over a repeated period 2")
            << std::function<void(Feed&)>([](Feed& f) {
                   f.cycle(f.wander(1, 100), {400, 1500}, 30);
                   f.repeat(2, 50);
                   f.repeat(21, 7);
               });
        auto worst = [](const char* name, Population population, std::int64_t from = 1) {
            QTest::newRow(name) << std::function<void(Feed&)>([population, from](Feed& f) {
                for (std::int64_t i = 0; i < kManyPoints; ++i) {
                    f.add(from + i, population(i));
                }
            });
        };
        worst("19 x a, then b", kNineteenThenOne);
        worst("period 65", periodic(65));
        worst("period 127", periodic(127));
        worst("period 1000", periodic(1000));
        worst("slowly drifting", [](std::int64_t i) { return int(100 + i / 2000 % 1500); });
        worst("random", periodic(kManyPoints));
        // Three batches of the largest count take the generation counter past its wrap.
        worst("19 x a, then b, after the wrap", kNineteenThenOne, 3 * std::int64_t{kTop});
        QTest::newRow("a long period, then new populations, then another repeat")
            << std::function<void(Feed&)>([](Feed& f) {
                   const auto next = f.wander(1, 1000);
                   f.repeat(157, 300);
                   const auto later = f.wander(next + 157 * 300, 700);
                   f.cycle(later, {1000, 10}, 10);
                   f.repeat(10, 4000);
               });
    }

    void thePictureIsTheFullListsPicture() {
        QFETCH(std::function<void(Feed&)>, feed);
        PopulationChart chart;
        chart.resize(kWidth, kHeight);
        chart.setLeftAxisMaximum(kMaximum);
        Feed f{chart, {}, {}};
        feed(f);
        QCOMPARE(chart.series().count(), f.points.size());
        auto expected = [&](double widen = 0) {
            return expectedHeights(f.points, chart.bottomAxis(), kWidth, kHeight, kMaximum, widen);
        };
        QCOMPARE(areaHeights(chart), expected());
        // A bucket wider than a generation lifts a column it straddles to the bucket's highest.
        const auto widen = double(chart.series().bucketWidth() - 1);
        // Dragged sideways both ways, and far past the data.
        for (const auto& [from, to] : {std::pair{100, 37}, std::pair{20, 150}, std::pair{0, 160}}) {
            drag(chart, from, to);
            QVERIFY(chart.isPanned());
            const auto heights = areaHeights(chart);
            const auto low = expected(), high = expected(widen);
            for (std::size_t c = 0; c < heights.size(); ++c) {
                QVERIFY(low[c] <= heights[c] && heights[c] <= high[c]);
            }
        }
        const auto held = std::max(f.most, f.held());
        QVERIFY(held <= kBudget);
        // Give or take malloc's rounding and what Qt keeps from the first repaint request.
        QVERIFY(std::int64_t(chart.series().memoryUsed()) + 16384 >= held);
        // Every point is kept, in order, the repeated ones included, while they fit.
        QCOMPARE(chart.series().bucketWidth() == 1,
                 f.points.size() <= tivla::AreaSeries::kMaxEntries);
        for (std::size_t i = 0; chart.series().bucketWidth() == 1 && i < f.points.size(); ++i) {
            QCOMPARE(std::pair(chart.series().x(i), chart.series().y(i)), f.points[i]);
        }
    }

    void billionsOfRepeatedGenerationsTakeLittleMemory() {
        PopulationChart chart;
        chart.resize(kWidth, kHeight);
        chart.setLeftAxisMaximum(kMaximum);
        Feed f{chart, {}, {}};
        f.cycle(f.wander(1, 3000), {600, 1200}, 2);
        chart.series().repeatLast(2, 999'000'000);
        QCOMPARE(chart.series().count(), std::size_t{3002} + 1'998'000'000);
        QCOMPARE(chart.series().lastX(), std::int64_t{3002} + 1'998'000'000);
        QCOMPARE(chart.series().lastY(), 1200);
        QVERIFY(f.held() <= kBudget);
        // Almost all of the width is the repeat, whose columns reach its higher population.
        const auto heights = areaHeights(chart);
        QCOMPARE(heights.back(), heights[kWidth / 2]);
        QVERIFY(heights.back() > kHeight * 3 / 4 - 1);
    }

    void populationsThatNeverRepeatStayWithinTheBudget() {
        PopulationChart chart;
        std::mt19937 random(5);
        std::uniform_int_distribution<int> population(0, 40000);
        const std::size_t points = tivla::AreaSeries::kMemoryBudget / 2;
        for (std::size_t x = 1; x <= points; ++x) {
            chart.series().addXY(static_cast<std::int32_t>(x), population(random));
        }
        // A period longer than the points kept for repeats repeats its outline.
        const auto period = tivla::AreaSeries::kRepeatablePoints + 1;
        chart.series().repeatLast(period, 1000);
        QCOMPARE(chart.series().count(), points + period * 1000);
        QVERIFY(chart.series().memoryUsed() <= tivla::AreaSeries::kMemoryBudget);
        QCOMPARE(chart.series().x(0), 1);
        QCOMPARE(chart.series().lastX(), static_cast<std::int64_t>(points + period * 1000));
    }
};

QTEST_MAIN(ChartMemoryTest)
#include "ChartMemoryTest.moc"
