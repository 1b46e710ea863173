// tivla-batch: loads a board file or a pattern, runs a number of generations without a display,
// prints the statistics and saves the result; the same engine and codec as the program, without Qt.
#include "BatchOptions.h"
#include "engine/BatchRunner.h"
#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileSave.h"
#include "files/BoardPicture.h"
#include "files/CellSizes.h"
#include "files/FileError.h"
#include "files/PatternFormat.h"
#include "files/PatternPlacement.h"
#include "files/PatternReader.h"
#include "files/PatternWriter.h"
#include "files/PngEncoding.h"
#include "files/RunAnimation.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
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

// The file's name without its folder and extension: the saved pattern's name.
std::string patternName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Loads INPUT onto the fresh board as the open command does; the error text on failure.
std::optional<std::string> load(const tivla::BatchOptions& options, tivla::Board& board) {
    tivla::SilentPainter silent;
    const tivla::PatternFormat format = tivla::formatForPath(options.input);
    if (format == tivla::PatternFormat::BoardFile) {
        tivla::BoardFileInput input(options.input);
        if (!input.isOpen()) {
            return input.openError()->text();
        }
        const tivla::LoadResult loaded = tivla::readBoard(input.stream(), board, silent, [] {});
        if (!loaded.ok()) {
            return loaded.error->text();
        }
        return std::nullopt;
    }
    const tivla::PatternRead read = tivla::readPatternFile(options.input, format);
    if (!read.pattern) {
        return read.error->text();
    }
    const tivla::Pattern& pattern = *read.pattern;
    if (options.size && !tivla::patternFits(pattern, *options.size)) {
        const std::string side = std::to_string(*options.size);
        return "Узор " + std::to_string(pattern.width) + " x " + std::to_string(pattern.height) +
               " не помещается на поле " + side + " x " + side +
               ", заданное --size. Узор не загружен, поле осталось пустым.";
    }
    const int size =
        options.size ? *options.size : tivla::boardSizeForPattern(pattern, board.BoardSize);
    tivla::placePattern(pattern, size, board, silent, [] {});
    return std::nullopt;
}

// The window's way of drawing the board, as the options adjust it.
tivla::PictureStyle pictureStyle(const tivla::BatchOptions& options, const tivla::Board& board) {
    const int cell = options.cell.value_or(
        tivla::cellSizeFor(board.BoardSize).value_or(tivla::kCellSizes.front()));
    return {cell, options.grid ? 1 : 0};
}

// The bytes OUTPUT gets in the format its name asks for, or the error text.
std::optional<std::string> outputBytes(const tivla::BatchOptions& options,
                                       const tivla::Board& start, const tivla::Board& board,
                                       const tivla::BatchOutcome& outcome, std::string& error) {
    const std::string& path = *options.output;
    switch (tivla::pictureFormatForPath(path)) {
    case tivla::PictureFormat::Png:
        if (auto png = tivla::encodePng(
                tivla::BoardPicture::ofBoard(board, pictureStyle(options, board)))) {
            return png;
        }
        error = "Не хватило памяти на рисунок поля. Файл не записан";
        return std::nullopt;
    case tivla::PictureFormat::Gif: {
        tivla::AnimationSettings settings;
        settings.every = options.every;
        settings.delayCentiseconds = (options.delayMs + 5) / 10;
        settings.style = pictureStyle(options, start);
        const tivla::AnimationPlan plan =
            tivla::planAnimation(options.steps, options.every, outcome.cycle);
        tivla::AnimationResult animation = tivla::animateRun(start, settings, plan);
        if (!animation.bytes) {
            error = animation.error->text();
        }
        return std::move(animation.bytes);
    }
    case tivla::PictureFormat::None:
        break;
    }
    const tivla::PatternNotes notes{patternName(path), board.Generation};
    return tivla::textInFormat(tivla::formatForPath(path), board, notes);
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
    if (options.help || options.version) {
        std::fputs((options.help ? tivla::batchUsage() : tivla::batchVersion()).c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kExitFailure;
    }
    // Past a file-size limit, writes should fail and be reported, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::setvbuf(stdout, nullptr, _IOFBF, kOutputBuffer);

    // Far too large for the stack: the board tables of a whole main window.
    auto board = std::make_unique<tivla::Board>();
    board->resetToStart();
    tivla::SilentPainter silent;
    board->ClearBoard(silent, [] {});
    if (options.size && tivla::formatForPath(options.input) == tivla::PatternFormat::BoardFile) {
        reportError("--size applies to patterns (.rle, .cells, .lif, .life): a board file "
                    "names its own size");
        return kExitUsage;
    }
    // Known before the run: nothing is written in a format only read.
    if (options.output && tivla::formatForPath(*options.output) == tivla::PatternFormat::Life) {
        reportError(tivla::unwritableFormatError().text());
        return kExitFailure;
    }
    if (const auto error = load(options, *board)) {
        reportError(*error);
        return kExitFailure;
    }

    const bool animated =
        options.output && tivla::pictureFormatForPath(*options.output) == tivla::PictureFormat::Gif;
    // An animation is drawn from the first board again, once the run has found its cycle.
    const auto start = animated ? std::make_unique<tivla::Board>(*board) : nullptr;
    tivla::BatchSettings settings;
    settings.findCycleStart = options.cycle || animated;
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
        std::string failure;
        const std::optional<std::string> bytes =
            outputBytes(options, start ? *start : *board, *board, outcome, failure);
        if (!bytes) {
            reportError(failure);
            return kExitFailure;
        }
        if (const auto error = tivla::replaceFileAtomically(*options.output, *bytes)) {
            reportError(error->text());
            return kExitFailure;
        }
    }
    return 0;
}
