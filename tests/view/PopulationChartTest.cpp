// The population chart: its points, its ranges, panning, and the pixels it paints.
#include "view/PopulationChart.h"
#include "ChartPixels.h"
#include "view/BlockMaxima.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

using tivla::AxisRange;
using tivla::BlockMaxima;
using tivla::kChartAreaColour;
using tivla::kChartBackgroundColour;
using tivla::PopulationChart;
using tivla::test::areaHeights;

namespace {

constexpr int kWidth = 169;
constexpr int kHeight = 177;
constexpr double kMaximum40 = 1600;

void shapeLikeTheProgram(PopulationChart& chart) {
    chart.resize(kWidth, kHeight);
    chart.setLeftAxisMaximum(kMaximum40);
}

bool allEqual(const std::vector<int>& heights, int value) {
    return std::all_of(heights.begin(), heights.end(), [value](int h) { return h == value; });
}

} // namespace

class PopulationChartTest : public QObject {
    Q_OBJECT

private slots:
    void rangeMaximaMatchAScan() {
        std::mt19937 random(7);
        std::uniform_int_distribution<std::int32_t> value(0, 40000);
        for (const std::size_t size : {1u, 15u, 16u, 17u, 255u, 256u, 257u, 5000u}) {
            std::vector<std::int32_t> values;
            BlockMaxima grown;
            for (std::size_t i = 0; i < size; ++i) {
                values.push_back(value(random));
                grown.appended(values);
            }
            BlockMaxima rebuilt;
            rebuilt.rebuild(values);
            std::uniform_int_distribution<std::size_t> index(0, size - 1);
            for (int query = 0; query < 2000; ++query) {
                std::size_t first = index(random);
                std::size_t last = index(random);
                if (first > last) {
                    std::swap(first, last);
                }
                const auto expected =
                    *std::max_element(values.begin() + first, values.begin() + last + 1);
                QCOMPARE(grown.maximum(values, first, last), expected);
                QCOMPARE(rebuilt.maximum(values, first, last), expected);
            }
        }
    }

    void pointsStaySortedByX() {
        PopulationChart chart;
        auto& series = chart.series();
        const std::vector<std::pair<int, int>> added{{1, 10}, {2, 20}, {5, 50}, {3, 30},
                                                     {5, 51}, {0, 0},  {4, 40}};
        for (const auto& [x, y] : added) {
            series.addXY(x, y);
        }
        QCOMPARE(series.count(), added.size());
        const std::vector<std::int64_t> xs{0, 1, 2, 3, 4, 5, 5};
        const std::vector<std::int32_t> ys{0, 10, 20, 30, 40, 50, 51};
        std::vector<std::int64_t> gotXs;
        std::vector<std::int32_t> gotYs;
        for (std::size_t i = 0; i < series.count(); ++i) {
            gotXs.push_back(series.x(i));
            gotYs.push_back(series.y(i));
        }
        QCOMPARE(gotXs, xs);
        QCOMPARE(gotYs, ys);
        // The maxima must follow the insertions too.
        QCOMPARE(series.peakBetween(0, 3), 30.0);
        QCOMPARE(series.peakBetween(0, 5), 51.0);
    }

    void clearRemovesEveryPointAndTheArea() {
        PopulationChart chart;
        shapeLikeTheProgram(chart);
        for (int x = 1; x <= 100; ++x) {
            chart.series().addXY(x, 1000);
        }
        chart.series().clear();
        QCOMPARE(chart.series().count(), std::size_t{0});
        QVERIFY(allEqual(areaHeights(chart), 0));
    }

    void verticalRangeIsSetFromOutside() {
        PopulationChart chart;
        chart.setLeftAxisMaximum(40000);
        chart.setTopAxisMaximum(40000);
        chart.setRightAxisMaximum(40000);
        for (const AxisRange axis : {chart.leftAxis(), chart.topAxis(), chart.rightAxis()}) {
            QCOMPARE(axis.minimum, 3.0);
            QCOMPARE(axis.maximum, 40000.0);
        }
        // A 1 x 1 board puts the maximum below the minimum: nothing to draw, nothing to fail.
        chart.setLeftAxisMaximum(1);
        chart.resize(kWidth, kHeight);
        chart.series().addXY(1, 1);
        chart.series().addXY(2, 1);
        QVERIFY(allEqual(areaHeights(chart), 0));
    }

    void horizontalRangeFollowsTheData() {
        PopulationChart chart;
        QCOMPARE(chart.bottomAxis().maximum - chart.bottomAxis().minimum, 0.0);
        for (int x = 1; x <= 10; ++x) {
            chart.series().addXY(x, 100);
        }
        QCOMPARE(chart.bottomAxis().minimum, 1.0);
        QCOMPARE(chart.bottomAxis().maximum, 10.0);
        chart.series().addXY(20, 100);
        QCOMPARE(chart.bottomAxis().maximum, 20.0);
    }

    void draggingPansUntilTheNextClear() {
        PopulationChart chart;
        shapeLikeTheProgram(chart);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));

        // Nothing to pan on an empty chart.
        QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(100, 50));
        QTest::mouseMove(&chart, QPoint(50, 50));
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(50, 50));
        QVERIFY(!chart.isPanned());

        for (int x = 1; x <= kWidth + 1; ++x) {
            chart.series().addXY(x, 800);
        }
        const AxisRange before = chart.bottomAxis();
        const double perPixel = (before.maximum - before.minimum) / kWidth;
        QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(100, 50));
        QTest::mouseMove(&chart, QPoint(60, 50));
        QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(60, 50));
        QVERIFY(chart.isPanned());
        // Dragging left by 40 pixels shows later generations.
        QCOMPARE(chart.bottomAxis().minimum, before.minimum + 40 * perPixel);
        QCOMPARE(chart.bottomAxis().maximum, before.maximum + 40 * perPixel);
        // Past the last point the area is empty.
        const std::vector<int> heights = areaHeights(chart);
        QVERIFY(heights[kWidth / 2] > 0);
        QCOMPARE(heights[kWidth - 1], 0);

        // New points leave the dragged view alone; a clear gives it back to the data.
        const AxisRange panned = chart.bottomAxis();
        chart.series().addXY(1000, 800);
        QCOMPARE(chart.bottomAxis().maximum, panned.maximum);
        chart.series().clear();
        QVERIFY(!chart.isPanned());
        chart.series().addXY(1, 800);
        chart.series().addXY(5, 800);
        QCOMPARE(chart.bottomAxis().maximum, 5.0);
    }

    void areaHeightFollowsTheVerticalRange_data() {
        QTest::addColumn<int>("population");
        QTest::addColumn<int>("height");
        QTest::newRow("empty board") << 0 << 0;
        QTest::newRow("two cells, below the range") << 2 << 0;
        QTest::newRow("three cells, the range's floor") << 3 << 0;
        QTest::newRow("full board") << 1600 << kHeight;
        QTest::newRow("beyond the maximum clips") << 5000 << kHeight;
        // Halfway up the range is halfway up the widget, to the pixel.
        QTest::newRow("halfway") << (3 + 1600) / 2 << kHeight / 2;
    }

    void areaHeightFollowsTheVerticalRange() {
        QFETCH(int, population);
        QFETCH(int, height);
        PopulationChart chart;
        shapeLikeTheProgram(chart);
        for (int x = 1; x <= 500; ++x) {
            chart.series().addXY(x, population);
        }
        const std::vector<int> heights = areaHeights(chart);
        QVERIFY2(allEqual(heights, heights.front()), "every column alike, yellow under black");
        QVERIFY(std::abs(heights.front() - height) <= 1);
        if (height == 0 || height == kHeight) {
            QCOMPARE(heights.front(), height);
        }
    }

    void theAreaRunsStraightAcrossMissingGenerations() {
        PopulationChart chart;
        shapeLikeTheProgram(chart);
        // Generations 11 to 89 were stepped with the panel shut.
        for (int x = 1; x <= 10; ++x) {
            chart.series().addXY(x, 1600);
        }
        for (int x = 90; x <= 100; ++x) {
            chart.series().addXY(x, 1600);
        }
        QVERIFY(allEqual(areaHeights(chart), kHeight));

        // From the floor to the top the area is a ramp.
        chart.series().clear();
        chart.series().addXY(1, 3);
        chart.series().addXY(1001, 1600);
        const std::vector<int> heights = areaHeights(chart);
        QVERIFY(std::is_sorted(heights.begin(), heights.end()));
        QVERIFY(heights.front() <= 1);
        QCOMPARE(heights.back(), kHeight);
        QVERIFY(std::abs(heights[kWidth / 2] - kHeight / 2) <= 2);
    }

    void anInactiveSeriesIsNotDrawn() {
        PopulationChart chart;
        shapeLikeTheProgram(chart);
        chart.series().addXY(1, 1600);
        chart.series().addXY(2, 1600);
        chart.series().setActive(false);
        QVERIFY(allEqual(areaHeights(chart), 0));
        chart.series().setActive(true);
        QVERIFY(allEqual(areaHeights(chart), kHeight));
    }

    void paintingCostDoesNotGrowWithThePoints() {
        // Printed for reading, never asserted: the machine is shared.
        for (const int points : {1000, 1000000}) {
            PopulationChart chart;
            chart.resize(kWidth, kHeight);
            chart.setLeftAxisMaximum(40000);
            // A wandering population, so both charts have columns of every height.
            std::mt19937 random(1);
            std::uniform_int_distribution<int> change(-400, 400);
            int population = 20000;
            for (int x = 1; x <= points; ++x) {
                population = std::clamp(population + change(random), 0, 40000);
                chart.series().addXY(x, population);
            }
            QImage image(kWidth, kHeight, QImage::Format_RGB32);
            chart.render(&image);
            constexpr int kFrames = 200;
            QElapsedTimer timer;
            timer.start();
            for (int frame = 0; frame < kFrames; ++frame) {
                chart.render(&image);
            }
            qInfo("%7d points: %.1f us per frame", points,
                  static_cast<double>(timer.nsecsElapsed()) / kFrames / 1000.0);
        }
    }
};

QTEST_MAIN(PopulationChartTest)
#include "PopulationChartTest.moc"
