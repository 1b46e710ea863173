// Generations per second of the batch kernels against the single-pass step and the textbook
// two-buffer step, on random soups and on a steady oscillation, printed side by side.
#include "engine/BatchKernel.h"
#include "engine/BatchRunner.h"
#include "engine/Board.h"
#include "engine/GenerationStep.h"
#include "engine/TextbookLife.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace tivla;

namespace {

// Each timed iteration runs this many generations from the same starting board, so every
// method sees the same boards (a soup thins out quickly).
constexpr int kGenerationsPerIteration = 100;
constexpr double kSoupDensity = 0.35;
constexpr long long kLongRun = 1000000;
constexpr int kBlinkerSpacing = 4;

enum class Method { SinglePass, Textbook, Scalar, Avx2, Avx512 };

struct MethodInfo {
    Method method;
    const char* name;
    BatchKernel kernel;
};

const std::vector<MethodInfo>& methods() {
    static const std::vector<MethodInfo> all{
        {Method::SinglePass, "single-pass", BatchKernel::Automatic},
        {Method::Textbook, "textbook", BatchKernel::Automatic},
        {Method::Scalar, "scalar", BatchKernel::Scalar},
        {Method::Avx2, "avx2", BatchKernel::Avx2},
        {Method::Avx512, "avx512", BatchKernel::Avx512},
    };
    return all;
}

std::unique_ptr<Board> soup(int size) {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    board->BoardSize = size;
    std::mt19937 rng(static_cast<unsigned>(size));
    std::bernoulli_distribution alive(kSoupDensity);
    for (int c = 0; c < size; ++c) {
        for (int r = 0; r < size; ++r) {
            board->Cells[c][r] = alive(rng) ? kAlive : kDead;
        }
    }
    return board;
}

// Vertical blinkers on a four-cell grid: they never touch each other, period 2.
std::unique_ptr<Board> blinkers(int size) {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    board->BoardSize = size;
    for (int c = 1; c + 1 < size; c += kBlinkerSpacing) {
        for (int r = 0; r + 2 < size; r += kBlinkerSpacing) {
            for (int k = 0; k < 3; ++k) {
                board->Cells[c][r + k] = kAlive;
            }
        }
    }
    return board;
}

TextbookLife textbookOf(const Board& board) {
    TextbookLife life(board.BoardSize);
    for (int c = 0; c < board.BoardSize; ++c) {
        for (int r = 0; r < board.BoardSize; ++r) {
            life.set(c, r, board.isAlive(c, r));
        }
    }
    return life;
}

// Processor time of this thread: the machine is shared, and waiting for it is not our cost.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void runMethod(benchmark::State& state, const Board& start, const MethodInfo& method) {
    auto board = std::make_unique<Board>(start);
    TextbookLife life = textbookOf(start);
    const TextbookLife startLife = life;
    SilentPainter silent;
    for (auto _ : state) {
        *board = start;
        life = startLife;
        const double begin = threadSeconds();
        switch (method.method) {
        case Method::SinglePass:
            for (int g = 0; g < kGenerationsPerIteration; ++g) {
                stepGeneration(*board, silent, NoStatistics{});
            }
            break;
        case Method::Textbook:
            for (int g = 0; g < kGenerationsPerIteration; ++g) {
                life.step();
            }
            break;
        default:
            runBatchWith(method.kernel, *board, kGenerationsPerIteration, NoStatistics{});
            break;
        }
        benchmark::DoNotOptimize(board->Population);
        benchmark::DoNotOptimize(life.alive(0, 0));
        state.SetIterationTime(threadSeconds() - begin);
    }
    state.counters["gens/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kGenerationsPerIteration,
                           benchmark::Counter::kIsRate);
}

// Remembers each benchmark's generations per second for the table at the end.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto found = run.counters.find("gens/s");
            if (found != run.counters.end()) {
                rates[run.run_name.function_name] = found->second.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> rates;
};

struct Scenario {
    std::string name;
    std::shared_ptr<Board> start;
};

std::string benchName(const Scenario& scenario, const MethodInfo& method) {
    return scenario.name + "/" + method.name;
}

void printTable(const std::vector<Scenario>& scenarios, const TableReporter& reporter) {
    std::printf("\nGenerations per second, processor time (each batch: %d generations from the "
                "same board; the kernels' figures include packing and unpacking)\n",
                kGenerationsPerIteration);
    std::printf("%-14s", "board");
    for (const auto& m : methods()) {
        std::printf(" %13s", m.name);
    }
    std::printf("   best/single-pass  best/textbook  best/scalar\n");
    for (const auto& scenario : scenarios) {
        std::printf("%-14s", scenario.name.c_str());
        double best = 0;
        for (const auto& m : methods()) {
            const auto found = reporter.rates.find(benchName(scenario, m));
            if (found == reporter.rates.end()) {
                std::printf(" %13s", "-");
                continue;
            }
            std::printf(" %13.0f", found->second);
            if (m.method != Method::SinglePass && m.method != Method::Textbook) {
                best = std::max(best, found->second);
            }
        }
        auto rate = [&](const char* name) {
            const auto found = reporter.rates.find(scenario.name + "/" + name);
            return found == reporter.rates.end() ? 0.0 : found->second;
        };
        auto ratio = [&](double base) { return base > 0 ? best / base : 0.0; };
        std::printf("   %16.0fx %13.1fx %11.1fx\n", ratio(rate("single-pass")),
                    ratio(rate("textbook")), ratio(rate("scalar")));
    }
}

void printLongRuns() {
    // Every generation is run here: the jump over repeats has its own benchmark.
    std::printf("\n%lld generations of the 200x200 soup in one batch, every one run\n", kLongRun);
    for (const auto& m : methods()) {
        if (m.method == Method::SinglePass || m.method == Method::Textbook ||
            !batchKernelAvailable(m.kernel)) {
            continue;
        }
        auto board = soup(kMaxBoardSize);
        const auto wallBegin = std::chrono::steady_clock::now();
        const double begin = threadSeconds();
        BatchSettings everyGeneration;
        everyGeneration.kernel = m.kernel;
        everyGeneration.detectCycles = false;
        runBatch(*board, kLongRun, NoStatistics{}, nullptr, everyGeneration);
        const double took = threadSeconds() - begin;
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBegin;
        std::printf("  %-8s %7.3f s processor time, %7.3f s wall (%.0f generations/s)\n", m.name,
                    took, wall.count(), static_cast<double>(kLongRun) / took);
    }
    std::printf("  automatic kernel here: %s\n",
                batchKernelName(resolveBatchKernel(BatchKernel::Automatic)));
}

// What packing, unpacking and settling the counters cost when a batch is only one generation.
void printShortBatches() {
    constexpr int kRepeats = 2000;
    auto board = soup(kMaxBoardSize);
    SilentPainter silent;
    double begin = threadSeconds();
    for (int i = 0; i < kRepeats / 10; ++i) {
        stepGeneration(*board, silent, NoStatistics{});
    }
    const double stepMicros = (threadSeconds() - begin) / (kRepeats / 10) * 1e6;
    board = soup(kMaxBoardSize);
    begin = threadSeconds();
    for (int i = 0; i < kRepeats; ++i) {
        runBatch(*board, 1, NoStatistics{});
    }
    const double batchMicros = (threadSeconds() - begin) / kRepeats * 1e6;
    std::printf(
        "\nOne generation of the 200x200 soup: batch of 1 %.1f us, single-pass step %.1f us\n",
        batchMicros, stepMicros);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<Scenario> scenarios;
    for (int size : {40, 100, 200}) {
        scenarios.push_back({"soup " + std::to_string(size), soup(size)});
    }
    for (int size : {40, 200}) {
        scenarios.push_back({"blinkers " + std::to_string(size), blinkers(size)});
    }
    for (const auto& scenario : scenarios) {
        for (const auto& m : methods()) {
            if (!batchKernelAvailable(m.kernel)) {
                continue;
            }
            benchmark::RegisterBenchmark(
                benchName(scenario, m).c_str(),
                [scenario, m](benchmark::State& state) { runMethod(state, *scenario.start, m); })
                ->UseManualTime();
        }
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable(scenarios, reporter);
    printLongRuns();
    printShortBatches();
    benchmark::Shutdown();
    return 0;
}
