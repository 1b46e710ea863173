// Batches as long as the n box takes, on random 200 x 200 soups: how long they take with the
// statistics panel shut and open, with the fastest and the portable kernel, how far the
// process's peak memory grows meanwhile, and what watching for repeats costs a board that
// does not repeat. Figures are printed, never judged.
#include "engine/BatchKernel.h"
#include "engine/BatchRunner.h"
#include "engine/Board.h"
#include "view/PopulationChart.h"
#include "view/StatisticsDisplay.h"
#include "view/ValueLabel.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace tivla;

namespace {

constexpr int kSoups = 10;
constexpr long long kLongest = 2'147'483'647;
constexpr double kDensity = 0.35;
// Timings of the watching's cost are the best of this many alternating runs.
constexpr int kRepeats = 7;

std::unique_ptr<Board> soup(unsigned seed) {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    board->BoardSize = kMaxBoardSize;
    std::mt19937 rng(seed);
    std::bernoulli_distribution alive(kDensity);
    for (int c = 0; c < kMaxBoardSize; ++c) {
        for (int r = 0; r < kMaxBoardSize; ++r) {
            board->Cells[c][r] = alive(rng) ? kAlive : kDead;
        }
    }
    return board;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM").
long statusKib(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Starts a fresh peak: the kernel then counts the peak from the present size.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The statistics panel's labels and chart, as the main window holds them.
struct Panel {
    QWidget box;
    ValueLabel* generation = new ValueLabel(&box);
    ValueLabel* population = new ValueLabel(&box);
    ValueLabel* percent = new ValueLabel(&box);
    ValueLabel* maximum = new ValueLabel(&box);
    PopulationChart* chart = new PopulationChart(&box);
    StatisticsDisplay display{generation, population, percent, maximum, chart};
};

void longBatches(BatchKernel kernel, bool panelOpen,
                 const std::vector<std::unique_ptr<Board>>& soups) {
    Panel panel;
    panel.chart->resize(169, 177);
    BatchSettings settings;
    settings.kernel = kernel;
    std::vector<double> times;
    const long before = statusKib("VmRSS");
    resetPeak();
    for (const auto& start : soups) {
        auto board = std::make_unique<Board>(*start);
        panel.display.clear();
        const auto began = std::chrono::steady_clock::now();
        if (panelOpen) {
            runBatch(*board, kLongest, &panel.display, nullptr, settings);
        } else {
            runBatch(*board, kLongest, NoStatistics{}, nullptr, settings);
        }
        times.push_back(millisecondsSince(began));
    }
    const long peak = statusKib("VmHWM");
    std::sort(times.begin(), times.end());
    std::printf("  %-7s panel %-4s  median %7.2f ms  slowest %7.2f ms  peak memory growth "
                "%6.2f MiB\n",
                batchKernelName(resolveBatchKernel(kernel)), panelOpen ? "open" : "shut",
                times[times.size() / 2], times.back(), (peak - before) / 1024.0);
}

// Each soup over the generations before its cycle starts, with and without the watching.
void watchingCost(BatchKernel kernel, const std::vector<std::unique_ptr<Board>>& soups) {
    double watched = 0;
    double unwatched = 0;
    long long generations = 0;
    for (const auto& start : soups) {
        BatchSettings find;
        find.kernel = kernel;
        find.findCycleStart = true;
        auto probe = std::make_unique<Board>(*start);
        const auto outcome = runBatch(*probe, kLongest, NoStatistics{}, nullptr, find);
        const long long stretch = outcome.cycle ? outcome.cycle->start : 100000;
        generations += stretch;
        double best[2] = {1e300, 1e300};
        for (int r = 0; r < kRepeats; ++r) {
            for (int on = 0; on < 2; ++on) {
                BatchSettings settings;
                settings.kernel = kernel;
                settings.detectCycles = on == 1;
                auto board = std::make_unique<Board>(*start);
                const auto began = std::chrono::steady_clock::now();
                runBatch(*board, stretch, NoStatistics{}, nullptr, settings);
                best[on] = std::min(best[on], millisecondsSince(began));
            }
        }
        unwatched += best[0];
        watched += best[1];
    }
    std::printf("  %-7s %lld generations that never repeat: %.2f ms watched, %.2f ms not, "
                "ratio %.3f\n",
                batchKernelName(resolveBatchKernel(kernel)), generations, watched, unwatched,
                watched / unwatched);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::vector<std::unique_ptr<Board>> soups;
    for (int s = 0; s < kSoups; ++s) {
        soups.push_back(soup(static_cast<unsigned>(1000 + s)));
    }
    std::printf("%d random 200 x 200 soups (density %.2f), n = %lld each\n", kSoups, kDensity,
                kLongest);
    const BatchKernel kernels[] = {BatchKernel::Automatic, BatchKernel::Scalar};
    for (BatchKernel kernel : kernels) {
        for (bool open : {false, true}) {
            longBatches(kernel, open, soups);
        }
    }
    std::printf("\nWatching for repeats on the stretch before each soup's cycle (best of %d)\n",
                kRepeats);
    for (BatchKernel kernel : kernels) {
        watchingCost(kernel, soups);
    }
    return 0;
}
