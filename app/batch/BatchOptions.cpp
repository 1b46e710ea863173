// Command-line parsing for tivla-batch.
#include "BatchOptions.h"

#include "controls/NumberBoxRules.h"
#include "files/BoardPicture.h"

#include <charconv>

namespace tivla {

namespace {

// A whole number from low to high.
std::optional<long long> numberWithin(const std::string& text, long long low, long long high) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// The options that take a number: name, range, and what a wrong value is called.
struct NumberOption {
    const char* name;
    long long low;
    long long high;
    const char* needs;
    const char* what;
};

constexpr NumberOption kNumberOptions[] = {
    {"--size", 1, 200, "a board size", "a board size from 1 to 200"},
    {"--cell", 1, kMaxPictureCellSize, "a cell size", "a cell size from 1 to 32 pixels"},
    {"--every", 1, 1'000'000'000, "a number of generations",
     "a number of generations from 1 to 1000000000"},
    {"--delay", 10, 655'350, "a delay", "a delay from 10 to 655350 milliseconds"},
};

const NumberOption* numberOption(const std::string& argument) {
    for (const NumberOption& option : kNumberOptions) {
        const std::string name = option.name;
        if (argument == name || argument.starts_with(name + "=")) {
            return &option;
        }
    }
    return nullptr;
}

void setNumber(BatchOptions& options, const std::string& name, long long value) {
    if (name == "--size") {
        options.size = static_cast<int>(value);
    } else if (name == "--cell") {
        options.cell = static_cast<int>(value);
    } else if (name == "--every") {
        options.every = value;
    } else {
        options.delayMs = static_cast<int>(value);
    }
}

} // namespace

std::string batchUsage() {
    return "Usage: tivla-batch [--stats] [--cycle] [--size N] [--cell PX] [--no-grid]\n"
           "                   [--every K] [--delay MS] INPUT N [OUTPUT]\n"
           "\n"
           "Loads INPUT as Тивла's open command does, runs N generations\n"
           "(0 to 9223372036854775807) and, when OUTPUT is given, saves the board to it; an\n"
           "existing OUTPUT is replaced only once the new file is complete.\n"
           "\n"
           "The extension decides each file's format, in any letter case: .rle is RLE, .cells\n"
           "plaintext, .lif and .life Life 1.06 or 1.05 (read only), .png and .gif pictures\n"
           "(written only), anything else the board file. A pattern goes onto the 40 x 40\n"
           "board if it fits, otherwise onto the smallest of the sizes 50, 80, 100, 150 and\n"
           "200 that holds it, centred.\n"
           "\n"
           "Standard output gets the statistics line\n"
           "  Generation Population PopulationPercent MaxPopulation\n"
           "of the final state, or with --stats one such line after every generation.\n"
           "With --cycle one more line follows: 'cycle P G' when the board has come back to\n"
           "an earlier board within the N generations, repeating every P generations from\n"
           "generation G on (the least such P and G), else 'cycle none'.\n"
           "\n"
           "A board that repeats costs only until the repeat is seen: the rest of the N\n"
           "generations is jumped over in whole periods, with exactly the result of running\n"
           "them (--stats still prints every line).\n"
           "\n"
           "An OUTPUT ending in .png gets a picture of the final board as the window shows\n"
           "it: live cells yellow on the board colour, grid lines unless --no-grid, PX\n"
           "pixels a cell (by default the window's for the board size: 15, 13, 8, 5, 4 and 2\n"
           "for 40, 50, 80, 100, 150 and 200, otherwise 15).\n"
           "\n"
           "An OUTPUT ending in .gif gets the run as an animated GIF in the same colours:\n"
           "generations 0 to N, every K-th (--every, default 1), MS milliseconds a frame\n"
           "(--delay, default 100, rounded to hundredths of a second); it plays once. When\n"
           "the board comes back to an earlier board within the N generations (the cycle\n"
           "--cycle prints: period P from generation G on), the GIF holds that cycle alone\n"
           "and loops for ever: it starts at the first multiple of K at or after G and ends\n"
           "just before the pictures repeat, so its last frame leads into its first by K\n"
           "generations like any frame into the next. A GIF can only loop from its first\n"
           "frame, so the generations before G are left out; to watch them, give an N below\n"
           "G + P. At most 10000 frames and 64 MiB: a longer or larger animation is refused\n"
           "and nothing is written.\n"
           "\n"
           "Errors (a missing or unreadable file, a value that isn't a number, a board size\n"
           "outside 1 to 200, a bad N) go to standard error with the program's own texts;\n"
           "the exit status is then 1 (2 for a wrong command line) and nothing is written.\n"
           "\n"
           "Options:\n"
           "  --stats   print the statistics line after every generation\n"
           "  --size N  open the pattern on an N x N board (1 to 200); refused when it does\n"
           "            not fit\n"
           "  --cycle   print the board's cycle, if any, after the statistics\n"
           "  --cell PX pixels a cell in a .png or .gif (1 to 32)\n"
           "  --no-grid leave the grid lines out of a .png or .gif\n"
           "  --every K a frame every K generations in a .gif (1 to 1000000000)\n"
           "  --delay MS  milliseconds a frame in a .gif (10 to 655350)\n"
           "  --help    show this text\n"
           "  --version show the version\n"
           "  --        end of options\n";
}

std::string batchVersion() {
    return "tivla-batch " TIVLA_VERSION "\n";
}

ParsedBatchOptions parseBatchOptions(const std::vector<std::string>& arguments) {
    BatchOptions options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument.starts_with("--")) {
            if (argument == "--") {
                optionsEnded = true;
            } else if (const NumberOption* option = numberOption(argument)) {
                std::string value;
                if (argument != option->name) {
                    value = argument.substr(std::string(option->name).size() + 1);
                } else if (i + 1 < arguments.size()) {
                    value = arguments[++i];
                } else {
                    return {std::nullopt, std::string(option->name) + " needs " + option->needs};
                }
                const auto number = numberWithin(value, option->low, option->high);
                if (!number) {
                    return {std::nullopt, "'" + value + "' is not " + option->what};
                }
                setNumber(options, option->name, *number);
            } else if (argument == "--no-grid") {
                options.grid = false;
            } else if (argument == "--stats") {
                options.stats = true;
            } else if (argument == "--cycle") {
                options.cycle = true;
            } else if (argument == "--help") {
                options.help = true;
            } else if (argument == "--version") {
                options.version = true;
            } else {
                return {std::nullopt, "unknown option " + argument};
            }
            continue;
        }
        positional.push_back(argument);
    }
    if (options.help || options.version) {
        return {options, {}};
    }
    if (positional.size() < 2 || positional.size() > 3) {
        return {std::nullopt, "expected INPUT N [OUTPUT]"};
    }
    options.input = positional[0];
    const std::string& steps = positional[1];
    const char* end = steps.data() + steps.size();
    const auto [stop, error] = std::from_chars(steps.data(), end, options.steps);
    if (steps.empty() || error != std::errc() || stop != end) {
        return {std::nullopt, invalidIntegerText(steps)};
    }
    if (options.steps < 0) {
        return {std::nullopt, "'" + steps + "' is not a valid number of generations"};
    }
    if (positional.size() == 3) {
        options.output = positional[2];
    }
    return {options, {}};
}

} // namespace tivla
