// The chart's runs of repeating points: the picture is the one the full list of points gives,
// before and after panning, while memory stays within the budget however many points come.
#include "ChartPixels.h"
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

// Feeds the chart and the plain list alike.
struct Feed {
    PopulationChart& chart;
    Points points;
    Points added; // in the order added, for repeats
    std::mt19937 random{11};

    void add(std::int32_t x, std::int32_t y) {
        chart.series().addXY(x, y);
        addPoint(points, x, y);
        added.emplace_back(x, y);
    }
    void repeat(long long period, long long times) {
        chart.series().repeatLast(period, times);
        const Points last(added.end() - period, added.end());
        std::int32_t x = added.back().first;
        for (long long t = 0; t < times; ++t) {
            for (const auto& point : last) {
                x = static_cast<std::int32_t>(static_cast<std::uint32_t>(x) + 1u);
                addPoint(points, x, point.second);
                added.emplace_back(x, point.second);
            }
        }
    }
    // A wandering population over consecutive generations from `from`; returns the next x.
    std::int32_t wander(std::int32_t from, int count) {
        std::uniform_int_distribution<int> change(-60, 60);
        int population = 800;
        for (int i = 0; i < count; ++i) {
            population = std::clamp(population + change(random), 0, 1700);
            add(static_cast<std::int32_t>(from + i), population);
        }
        return from + count;
    }
    // The same short cycle of populations, point by point, as a running timer adds them.
    std::int32_t cycle(std::int32_t from, const std::vector<int>& populations, int count) {
        for (int i = 0; i < count; ++i) {
            add(static_cast<std::int32_t>(static_cast<std::uint32_t>(from) + unsigned(i)),
                populations[static_cast<std::size_t>(i) % populations.size()]);
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(from) + unsigned(count));
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
        auto expected = [&] {
            return expectedHeights(f.points, chart.bottomAxis(), kWidth, kHeight, kMaximum);
        };
        QCOMPARE(areaHeights(chart), expected());
        // Dragged sideways both ways, and far past the data.
        for (const auto& [from, to] : {std::pair{100, 37}, std::pair{20, 150}, std::pair{0, 160}}) {
            drag(chart, from, to);
            QVERIFY(chart.isPanned());
            QCOMPARE(areaHeights(chart), expected());
        }
        // Repeats are kept as runs, not as points.
        QVERIFY(chart.series().memoryUsed() < f.points.size() * sizeof(std::int32_t));
    }

    void billionsOfRepeatedGenerationsTakeLittleMemory() {
        PopulationChart chart;
        chart.resize(kWidth, kHeight);
        chart.setLeftAxisMaximum(kMaximum);
        Feed f{chart, {}, {}};
        f.cycle(f.wander(1, 3000), {600, 1200}, 2);
        chart.series().repeatLast(2, 999'000'000);
        QCOMPARE(chart.series().count(), std::size_t{3002} + 1'998'000'000);
        QCOMPARE(chart.series().x(chart.series().count() - 1), 3002 + 1'998'000'000);
        QCOMPARE(chart.series().y(chart.series().count() - 1), 1200);
        QVERIFY(chart.series().memoryUsed() < 1 << 20);
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
        QVERIFY(chart.series().memoryUsed() <= tivla::AreaSeries::kMemoryBudget);
        QCOMPARE(chart.series().x(0), 1);
        QVERIFY(chart.series().x(chart.series().count() - 1) > static_cast<int>(points) - 64);
    }
};

QTEST_MAIN(ChartMemoryTest)
#include "ChartMemoryTest.moc"
