// tivla-batch: loads a board file, runs a number of generations without a display, prints the
// statistics and saves the result; the same engine and codec as the program, without Qt.
#include "BatchOptions.h"
#include "engine/BatchRunner.h"
#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileSave.h"
#include "files/FileError.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// Statistics lines go out in large blocks: a long run prints millions of them.
constexpr std::size_t kOutputBuffer = 1 << 20;

// One statistics line, as the statistics display sees the counters after a step.
void printStatistics(const tivla::Board& board) {
    std::printf("%d %d %lld %d\n", static_cast<int>(board.Generation),
                static_cast<int>(board.Population), static_cast<long long>(board.PopulationPercent),
                static_cast<int>(board.MaxPopulation));
}

void reportError(const std::string& text) {
    std::fprintf(stderr, "%s\n", tivla::withFullStop(text).c_str());
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const tivla::ParsedBatchOptions parsed = tivla::parseBatchOptions(arguments);
    if (!parsed.options) {
        reportError(parsed.error);
        std::fprintf(stderr, "Try 'tivla-batch --help'.\n");
        return kExitUsage;
    }
    const tivla::BatchOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(tivla::batchUsage().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kExitFailure;
    }
    // Past a file-size limit, writes should fail and be reported, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::setvbuf(stdout, nullptr, _IOFBF, kOutputBuffer);

    // Far too large for the stack: the board tables of a whole main window.
    auto board = std::make_unique<tivla::Board>();
    board->FormCreate();
    tivla::SilentPainter silent;
    board->ClearBoard(silent, [] {});
    tivla::BoardFileInput input(options.input);
    if (!input.isOpen()) {
        reportError(input.openError()->text());
        return kExitFailure;
    }
    const tivla::LoadResult loaded = tivla::readBoard(input.stream(), *board, silent, [] {});
    if (!loaded.ok()) {
        reportError(loaded.error->text());
        return kExitFailure;
    }

    tivla::BatchSettings settings;
    settings.findCycleStart = options.cycle;
    tivla::BatchOutcome outcome;
    if (options.stats) {
        // Every generation gets its line, so this sink takes no repetitions.
        outcome = tivla::runBatch(
            *board, options.steps, [](const tivla::Board& current) { printStatistics(current); },
            nullptr, settings);
    } else {
        outcome = tivla::runBatch(*board, options.steps, tivla::NoStatistics{}, nullptr, settings);
        printStatistics(*board);
    }
    if (options.cycle) {
        if (outcome.cycle) {
            std::printf("cycle %lld %lld\n", outcome.cycle->period, outcome.cycle->start);
        } else {
            std::printf("cycle none\n");
        }
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        reportError("cannot write the statistics to standard output");
        return kExitFailure;
    }

    if (options.output) {
        if (const auto error = tivla::saveBoardFile(*options.output, *board)) {
            reportError(error->text());
            return kExitFailure;
        }
    }
    return 0;
}
