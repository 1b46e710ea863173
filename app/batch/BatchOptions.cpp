// Command-line parsing for tivla-batch.
#include "BatchOptions.h"

#include "controls/NumberBoxRules.h"

#include <charconv>

namespace tivla {

namespace {

// A board size from 1 to 200.
std::optional<int> boardSize(const std::string& text) {
    int size = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, size);
    if (text.empty() || error != std::errc() || stop != end || size < 1 || size > 200) {
        return std::nullopt;
    }
    return size;
}

} // namespace

std::string batchUsage() {
    return "Usage: tivla-batch [--stats] [--cycle] [--size N] INPUT N [OUTPUT]\n"
           "\n"
           "Loads INPUT as Тивла's open command does, runs N generations\n"
           "(0 to 9223372036854775807) and, when OUTPUT is given, saves the board to it; an\n"
           "existing OUTPUT is replaced only once the new file is complete.\n"
           "\n"
           "The extension decides each file's format, in any letter case: .rle is RLE, .cells\n"
           "plaintext, .lif and .life Life 1.06 or 1.05 (read only), anything else the board\n"
           "file. A pattern goes onto the 40 x 40 board if it fits, otherwise onto the smallest\n"
           "of the sizes 50, 80, 100, 150 and 200 that holds it, centred.\n"
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
           "Errors (a missing or unreadable file, a value that isn't a number, a board size\n"
           "outside 1 to 200, a bad N) go to standard error with the program's own texts;\n"
           "the exit status is then 1 (2 for a wrong command line) and nothing is written.\n"
           "\n"
           "Options:\n"
           "  --stats   print the statistics line after every generation\n"
           "  --size N  open the pattern on an N x N board (1 to 200); refused when it does\n"
           "            not fit\n"
           "  --cycle   print the board's cycle, if any, after the statistics\n"
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
            } else if (argument == "--size" || argument.starts_with("--size=")) {
                std::string value;
                if (argument != "--size") {
                    value = argument.substr(7);
                } else if (i + 1 < arguments.size()) {
                    value = arguments[++i];
                } else {
                    return {std::nullopt, "--size needs a board size"};
                }
                options.size = boardSize(value);
                if (!options.size) {
                    return {std::nullopt, "'" + value + "' is not a board size from 1 to 200"};
                }
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
