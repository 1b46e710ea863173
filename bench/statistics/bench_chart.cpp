// The population chart's memory and time per point for the sequences that defeat a chart keeping
// runs of repeats, fed through the statistics display as the run timer feeds it, from a fresh
// chart and after three batches of 2,147,483,647 generations have wrapped the counter.
#include "tests/support/CountingAllocator.h"
#include "view/PopulationChart.h"
#include "view/StatisticsDisplay.h"
#include "view/ValueLabel.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr std::int64_t kPoints = 10'000'000;
constexpr int kBoardSize = 40;
constexpr long long kLargestBatch = 2'147'483'647;

using Population = std::function<std::int32_t(std::int64_t)>;

Population periodic(std::size_t period) {
    std::mt19937 random(static_cast<unsigned>(period));
    std::uniform_int_distribution<std::int32_t> population(0, kBoardSize * kBoardSize);
    std::vector<std::int32_t> pattern(period);
    std::generate(pattern.begin(), pattern.end(), [&] { return population(random); });
    return [pattern](std::int64_t i) { return pattern[std::size_t(i) % pattern.size()]; };
}

struct Sequence {
    const char* name;
    Population population;
};

struct Panel {
    tivla::ValueLabel labels[4];
    tivla::PopulationChart chart;
    tivla::StatisticsDisplay display{&labels[0], &labels[1], &labels[2], &labels[3], &chart};
};

void measure(const Sequence& sequence, bool afterTheWrap) {
    Panel panel;
    panel.chart.resize(169, 177);
    panel.chart.setLeftAxisMaximum(kBoardSize * kBoardSize);
    tivla::Board board;
    board.resetToStart();
    board.BoardSize = kBoardSize;
    // The step's counters: finishStepCounters moves the generation on.
    auto step = [&](std::int64_t i) {
        board.Population = sequence.population(i);
        board.finishStepCounters();
    };
    const auto before = tivla::test::heldBytes().load();
    if (afterTheWrap) {
        // A still board: one generation, then three batches that jump over the rest.
        step(0);
        panel.display.update(board);
        for (int batch = 0; batch < 3; ++batch) {
            board.Generation =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(board.Generation) +
                                          static_cast<std::uint32_t>(kLargestBatch));
            panel.display.periodRepeated(board, 1, kLargestBatch);
        }
    }
    std::int64_t most = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::int64_t i = 0; i < kPoints; ++i) {
        step(i);
        panel.display.update(board);
        if (i % 65536 == 0) {
            most = std::max(most, tivla::test::heldBytes().load() - before);
        }
    }
    const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    const auto held = tivla::test::heldBytes().load() - before;
    QImage image(panel.chart.size(), QImage::Format_RGB32);
    constexpr int kFrames = 50;
    const auto paintStart = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFrames; ++frame) {
        panel.chart.render(&image);
    }
    const std::chrono::duration<double, std::micro> painted =
        std::chrono::steady_clock::now() - paintStart;
    const auto& series = panel.chart.series();
    std::printf("%-16s %-6s %8.1f %11.2f %11.2f %11.2f %8zu %10lld %9.0f %11lld\n", sequence.name,
                afterTheWrap ? "after" : "before", took.count() / kPoints,
                double(std::max(most, held)) / (1 << 20), double(held) / (1 << 20),
                double(series.memoryUsed()) / (1 << 20), series.entryCount(),
                static_cast<long long>(series.bucketWidth()), painted.count() / kFrames,
                static_cast<long long>(series.lastX()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::vector<Sequence> sequences{
        {"19 x a, then b", [](std::int64_t i) { return i % 20 < 19 ? 700 : 1500; }},
        {"period 65", periodic(65)},
        {"period 127", periodic(127)},
        {"period 1000", periodic(1000)},
        {"slowly drifting",
         [](std::int64_t i) {
             const auto step = static_cast<std::int32_t>(i / 3000 % 2400);
             return 100 + std::min(step, 2400 - step);
         }},
        {"random", [](std::int64_t i) {
             return static_cast<std::int32_t>(std::uint64_t(i) * 2654435761u % 1601);
         }}};
    std::printf("%lld points each; memory in MiB, counted by operator new (peak, at the end) and "
                "by the chart\n",
                static_cast<long long>(kPoints));
    std::printf("%-16s %-6s %8s %11s %11s %11s %8s %10s %9s %11s\n", "sequence", "wrap", "ns/point",
                "peak held", "held", "memoryUsed", "entries", "bucket", "us/frame", "last x");
    for (const Sequence& sequence : sequences) {
        for (const bool afterTheWrap : {false, true}) {
            measure(sequence, afterTheWrap);
        }
    }
    return 0;
}
