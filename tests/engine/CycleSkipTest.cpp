// The jump over repeated periods against running every generation: the same board, band,
// counters and statistics, on random boards of every size and on built oscillators, with
// counts that wrap the generation counter and lengths around whole numbers of periods.
#include "BatchTestSupport.h"
#include "engine/BatchKernel.h"
#include "engine/BatchRunner.h"
#include "engine/GenerationStep.h"
#include "tests/support/Boards.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace tivla;
using namespace tivla::test;

namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

BatchSettings every(BatchKernel kernel) {
    BatchSettings settings;
    settings.kernel = kernel;
    settings.detectCycles = false;
    return settings;
}

BatchSettings jumping(BatchKernel kernel) {
    BatchSettings settings;
    settings.kernel = kernel;
    settings.findCycleStart = true;
    return settings;
}

std::int32_t generationAfter(std::int32_t generation, long long steps) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(generation) +
                                     static_cast<std::uint32_t>(steps));
}

// Records every generation, expanding repeats into the calls they stand for, and checks that
// each repeat ends on the counters it announces.
class ExpandingRecorder final : public StatisticsSink {
public:
    std::vector<StatisticsCall> calls;
    long long repeats = 0;
    bool consistent = true;

    void generationTaken(const Board& b) override { calls.push_back(callOf(b)); }
    void periodRepeated(const Board& b, long long period, long long times) override {
        ++repeats;
        const std::size_t from = calls.size() - static_cast<std::size_t>(period);
        for (long long t = 1; t <= times; ++t) {
            for (std::size_t i = from; i < from + static_cast<std::size_t>(period); ++i) {
                StatisticsCall call = calls[i];
                call.generation = generationAfter(call.generation, t * period);
                calls.push_back(call);
            }
        }
        consistent = consistent && calls.back() == callOf(b);
    }
    bool takesRepetitions() const override { return true; }

private:
    static StatisticsCall callOf(const Board& b) {
        return {b.Generation, b.Population, b.PopulationPercent, b.MaxPopulation};
    }
};

// Lays rows of '#' (alive) and '.' on the board with its top-left cell at (column, row).
void place(Board& board, int column, int row, const std::vector<std::string>& rows) {
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            if (rows[y][x] == '#') {
                board.Cells[column + static_cast<int>(x)][row + static_cast<int>(y)] = kAlive;
            }
        }
    }
}

const std::vector<std::string> kBlinker{"###"};
const std::vector<std::string> kPulsar{
    "..###...###..", ".............", "#....#.#....#", "#....#.#....#", "#....#.#....#",
    "..###...###..", ".............", "..###...###..", "#....#.#....#", "#....#.#....#",
    "#....#.#....#", ".............", "..###...###.."};
const std::vector<std::string> kOctagon{"...##...", "..#..#..", ".#....#.", "#......#",
                                        "#......#", ".#....#.", "..#..#..", "...##..."};
const std::vector<std::string> kPentadecathlon{"..#....#..", "##.####.##", "..#....#.."};
const std::vector<std::string> kMold{"...##.", "..#..#", "#..#.#", "....#.", "#.##..", ".#...."};

// Runs `steps` from `start` twice, every generation and jumping, with and without a sink;
// both must agree in everything. Returns the jumping run's outcome.
BatchOutcome expectJumpIsExact(const Board& start, long long steps, BatchKernel kernel,
                               const std::string& what) {
    auto reference = std::make_unique<Board>(start);
    std::vector<StatisticsCall> referenceCalls;
    runBatch(*reference, steps, Recorder{&referenceCalls}, nullptr, every(kernel));

    auto silent = std::make_unique<Board>(start);
    const BatchOutcome outcome = runBatch(*silent, steps, NoStatistics{}, nullptr, jumping(kernel));
    EXPECT_EQ(difference(*reference, *silent), "") << what << ", no statistics";

    auto watched = std::make_unique<Board>(start);
    ExpandingRecorder recorder;
    runBatch(*watched, steps, recorder, nullptr, jumping(kernel));
    EXPECT_EQ(difference(*reference, *watched), "") << what << ", with statistics";
    EXPECT_TRUE(recorder.consistent) << what;
    EXPECT_TRUE(recorder.calls == referenceCalls) << what << ": statistics differ";
    EXPECT_EQ(outcome.done, steps) << what;
    return outcome;
}

} // namespace

TEST(CycleSkip, RandomBoardsOfEverySizeEndAsIfEveryGenerationRan) {
    std::mt19937 rng(2026);
    int repeated = 0;
    for (int size = kMinBoardSize; size <= kMaxBoardSize; ++size) {
        const auto start = randomBoard(size, rng);
        const long long steps = 20000 + size;
        const auto outcome = expectJumpIsExact(*start, steps, BatchKernel::Automatic,
                                               "size " + std::to_string(size));
        repeated += outcome.cycle.has_value();
        if (HasFailure()) {
            return;
        }
    }
    // Most random boards settle well within the run: the jump is what was compared.
    EXPECT_GT(repeated, 150);
}

TEST(CycleSkip, BuiltOscillatorsAroundWholeNumbersOfPeriods) {
    struct Case {
        const char* what;
        int size;
        std::vector<std::pair<std::pair<int, int>, const std::vector<std::string>*>> parts;
        long long period;
        bool fromTheStart;
    };
    const std::vector<Case> cases{
        {"still block against the wall", 4, {{{2, 2}, nullptr}}, 1, true},
        {"blinker", 5, {{{1, 2}, &kBlinker}}, 2, true},
        {"pulsar and blinker", 40, {{{2, 2}, &kPulsar}, {{30, 30}, &kBlinker}}, 6, true},
        {"octagon, mold and pulsar",
         60,
         {{{2, 2}, &kOctagon}, {{20, 2}, &kMold}, {{35, 35}, &kPulsar}},
         60,
         true},
        {"pentadecathlon, mold and a block held by markers",
         40,
         {{{15, 18}, &kPentadecathlon}, {{33, 2}, &kMold}, {{0, 0}, nullptr}},
         60,
         true},
    };
    for (const auto& c : cases) {
        auto start = test::boardOfSize(c.size);
        for (const auto& [at, pattern] : c.parts) {
            if (pattern == nullptr) {
                // A block in the far corner, held by markers beyond the board.
                start->Cells[c.size - 1][c.size - 1] = kAlive;
                start->Cells[c.size][c.size] = kAlive;
                start->Cells[c.size - 1][c.size] = kAlive;
                start->Cells[c.size][c.size - 1] = kAlive;
            } else {
                place(*start, at.first, at.second, *pattern);
            }
        }
        for (BatchKernel kernel : kernelsHere()) {
            for (long long whole : {40LL, 41LL}) {
                for (long long extra : {-1LL, 0LL, 1LL}) {
                    const long long steps = whole * 256 * c.period / 4 + extra;
                    const auto what = std::string(c.what) + ", " + batchKernelName(kernel) + ", " +
                                      std::to_string(steps);
                    const auto outcome = expectJumpIsExact(*start, steps, kernel, what);
                    ASSERT_TRUE(outcome.cycle.has_value()) << what;
                    EXPECT_EQ(outcome.cycle->period, c.period) << what;
                    EXPECT_EQ(outcome.cycle->start == 0, c.fromTheStart) << what;
                }
            }
        }
    }
}

TEST(CycleSkip, GenerationCounterWrapsInsideAndAcrossTheJump) {
    std::mt19937 rng(31);
    for (int size : {7, 40, 64, 200}) {
        auto start = randomBoard(size, rng);
        // Near the top, so that the counter wraps in the stepped part or in the jump.
        for (std::int32_t at : {kInt32Max - 300, kInt32Max - 20000, kInt32Max - 40}) {
            start->Generation = at;
            expectJumpIsExact(*start, 30000, BatchKernel::Automatic,
                              "size " + std::to_string(size) + " from " + std::to_string(at));
        }
    }
}

TEST(CycleSkip, RunsFarBeyondThe32BitCounterMatchTheirRemainder) {
    std::mt19937 rng(77);
    for (int size : {12, 50, 200}) {
        const auto start = randomBoard(size, rng);
        auto jumped = std::make_unique<Board>(*start);
        const long long steps = 9'000'000'000'000'000'000LL;
        const auto outcome = runBatch(*jumped, steps, NoStatistics{}, nullptr, jumping({}));
        ASSERT_TRUE(outcome.cycle.has_value()) << size;
        // Past the cycle's start and the band's saturation, only the remainder matters.
        const long long settled = outcome.cycle->start + 64 * outcome.cycle->period + 4;
        const long long same = settled + (steps - settled) % outcome.cycle->period;
        auto reference = std::make_unique<Board>(*start);
        runBatch(*reference, same, NoStatistics{}, nullptr, every({}));
        reference->Generation = generationAfter(start->Generation, steps);
        EXPECT_EQ(difference(*reference, *jumped), "") << size;
    }
}

TEST(CycleSkip, CycleIsReportedOnlyOnceSeenWithinTheRun) {
    auto start = test::boardOfSize(9);
    place(*start, 3, 4, kBlinker);
    struct Case {
        long long steps;
        bool seen;
    };
    for (const Case c : {Case{1, false}, Case{2, true}, Case{3, true}, Case{100000, true}}) {
        auto board = std::make_unique<Board>(*start);
        const auto outcome = runBatch(*board, c.steps, NoStatistics{}, nullptr, jumping({}));
        EXPECT_EQ(outcome.cycle.has_value(), c.seen) << c.steps;
        if (outcome.cycle) {
            EXPECT_EQ(outcome.cycle->period, 2);
            EXPECT_EQ(outcome.cycle->start, 0);
        }
    }
}

TEST(CycleSkip, AStoppedBatchEndsAtTheGenerationItReached) {
    struct StopAfter final : BatchProgress {
        long long limit;
        explicit StopAfter(long long l) : limit(l) {}
        bool carryOn(long long done, std::int32_t) override { return done < limit; }
    };
    std::mt19937 rng(12);
    const auto start = randomBoard(100, rng);
    for (long long limit : {256LL, 1000LL, 5000LL}) {
        auto board = std::make_unique<Board>(*start);
        std::vector<StatisticsCall> calls;
        StopAfter stop(limit);
        BatchSettings off;
        off.detectCycles = false;
        const auto outcome = runBatch(*board, 1'000'000'000, Recorder{&calls}, &stop, off);
        ASSERT_GE(outcome.done, limit);
        ASSERT_LT(outcome.done, limit + 256);
        auto reference = std::make_unique<Board>(*start);
        std::vector<StatisticsCall> referenceCalls;
        runSilentSteps(*reference, outcome.done, Recorder{&referenceCalls});
        EXPECT_EQ(difference(*reference, *board), "") << limit;
        EXPECT_TRUE(calls == referenceCalls) << limit;
    }
}

TEST(CycleSkip, CycleStartAndPeriodAreTheLeastOnesEvenOnDirtyCounts) {
    constexpr std::size_t kGenerations = 1200;
    std::mt19937 rng(41);
    for (int i = 0; i < 62; ++i) {
        // A count of 1 left beside a blinker changes nothing, so the loaded board is in the
        // cycle; a count of 3 gives a cell that lives one generation, so the cycle starts at 2.
        auto start = i < 2 ? test::boardOfSize(9) : randomBoard(4 + i % 9, rng);
        if (i < 2) {
            place(*start, 3, 4, kBlinker);
            start->NeighbourCounts[7][7] = 1 + 2 * i;
        }
        // Every generation's columns of cells, stepped one at a time.
        auto board = std::make_unique<Board>(*start);
        std::vector<std::string> cells(kGenerations + 1);
        SilentPainter silent;
        for (auto& generation : cells) {
            const auto columns = static_cast<std::size_t>(board->BoardSize * kCellsDim);
            generation.assign(reinterpret_cast<const char*>(board->Cells), columns);
            stepGeneration(*board, silent, NoStatistics{});
        }
        // The least period, then the least start from which the cells repeat to the end, both
        // within a third of the run.
        for (std::size_t period = 1; 3 * period <= kGenerations; ++period) {
            std::size_t from = kGenerations - period + 1;
            while (from > 0 && cells[from - 1] == cells[from - 1 + period]) {
                --from;
            }
            if (3 * from <= kGenerations) {
                // The whole run, and one that ends as the cycle first closes.
                for (const std::size_t length : {kGenerations, from + period}) {
                    auto run = std::make_unique<Board>(*start);
                    const auto outcome = runBatch(*run, static_cast<long long>(length),
                                                  NoStatistics{}, nullptr, jumping({}));
                    ASSERT_TRUE(outcome.cycle.has_value()) << i << " " << length;
                    EXPECT_EQ(outcome.cycle->period, static_cast<long long>(period)) << i;
                    EXPECT_EQ(outcome.cycle->start, static_cast<long long>(from)) << i;
                }
                break;
            }
        }
    }
}
