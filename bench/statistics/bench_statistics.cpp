// What the open statistics panel adds to each generation of a batch, and what the window pays
// to show the result once the batch has ended.
#include "app/PanelGeometry.h"
#include "engine/Board.h"
#include "engine/GenerationStep.h"
#include "view/PopulationChart.h"
#include "view/StatisticsDisplay.h"
#include "view/ValueLabel.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

namespace {

constexpr int kBatch = 100000;
constexpr int kBoardSize = 200;

// The statistics panel as the main window lays it out, shown on the offscreen platform.
struct Panel {
    Panel() {
        box.resize(tivla::kStatisticsPanelAtStart.width(), tivla::kStatisticsOpenHeight);
        Label5->move(90, 16);
        Label2->move(90, 32);
        Label8->move(88, 48);
        Label10->move(89, 64);
        Chart1->setGeometry(8, 80, 169, 177);
        Chart1->setLeftAxisMaximum(kBoardSize * kBoardSize);
        box.show();
        QApplication::processEvents();
    }
    QWidget box;
    tivla::ValueLabel* Label5 = new tivla::ValueLabel(&box);
    tivla::ValueLabel* Label2 = new tivla::ValueLabel(&box);
    tivla::ValueLabel* Label8 = new tivla::ValueLabel(&box);
    tivla::ValueLabel* Label10 = new tivla::ValueLabel(&box);
    tivla::PopulationChart* Chart1 = new tivla::PopulationChart(&box);
    tivla::StatisticsDisplay display{Label5, Label2, Label8, Label10, Chart1};
};

std::unique_ptr<tivla::Board> board200() {
    auto board = std::make_unique<tivla::Board>();
    board->resetToStart();
    board->BoardSize = kBoardSize;
    return board;
}

// The counters as the step leaves them, with a population that wanders like a real run's.
void advanceCounters(tivla::Board& board, std::uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    const int change = static_cast<int>(seed >> 22) - 512;
    board.Population = std::clamp(board.Population + change, 0, kBoardSize * kBoardSize);
    board.finishStepCounters();
}

template <typename Statistics> void runBatch(benchmark::State& state, Statistics&& statistics) {
    auto board = board200();
    board->Population = kBoardSize * kBoardSize / 4;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        advanceCounters(*board, seed);
        statistics(static_cast<const tivla::Board&>(*board));
        benchmark::ClobberMemory();
    }
}

void BM_NoStatistics(benchmark::State& state) {
    runBatch(state, tivla::NoStatistics{});
}

void BM_StatisticsUpdate(benchmark::State& state, Panel& p) {
    p.display.clear();
    QApplication::processEvents();
    runBatch(state, [&p](const tivla::Board& board) { p.display.update(board); });
    state.counters["points"] = static_cast<double>(p.Chart1->series().count());
    QApplication::processEvents();
}

// One batch with the panel open, then the event loop shows its result: labels and chart.
void BM_BatchThenShow(benchmark::State& state, Panel& p) {
    auto board = board200();
    std::uint32_t seed = 1;
    for (auto _ : state) {
        p.display.clear();
        board->Generation = 0;
        board->Population = kBoardSize * kBoardSize / 4;
        for (int i = 0; i < kBatch; ++i) {
            advanceCounters(*board, seed);
            p.display.update(*board);
        }
        QApplication::processEvents();
    }
    state.counters["ns_per_generation"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBatch,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One frame of the chart: bounded by its width, not by its points.
void BM_ChartFrame(benchmark::State& state) {
    tivla::PopulationChart chart;
    chart.resize(169, 177);
    chart.setLeftAxisMaximum(kBoardSize * kBoardSize);
    auto board = board200();
    std::uint32_t seed = 1;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        advanceCounters(*board, seed);
        chart.series().addXY(board->Generation, board->Population);
    }
    QImage image(chart.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        chart.render(&image);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // The widgets must go before the application does.
    Panel panel;
    benchmark::RegisterBenchmark("BM_NoStatistics", BM_NoStatistics)->Iterations(kBatch);
    benchmark::RegisterBenchmark("BM_StatisticsUpdate", BM_StatisticsUpdate, std::ref(panel))
        ->Iterations(kBatch);
    benchmark::RegisterBenchmark("BM_BatchThenShow", BM_BatchThenShow, std::ref(panel))
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_ChartFrame", BM_ChartFrame)
        ->Unit(benchmark::kMicrosecond)
        ->Arg(1000)
        ->Arg(1000000)
        ->Arg(10000000);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
