// Command-line parsing for tivla-batch.
#include "BatchOptions.h"

#include <charconv>

namespace tivla {

namespace {

// The program's own wording for a number that doesn't convert.
std::string notAnInteger(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

} // namespace

std::string batchUsage() {
    return "Usage: tivla-batch [--stats] [--cycle] INPUT N [OUTPUT]\n"
           "\n"
           "Loads the board file INPUT as Тивла's open command does, runs N generations\n"
           "(0 to 9223372036854775807) and, when OUTPUT is given, saves the board to it in the\n"
           "board-file format; an existing OUTPUT is replaced only once the new file is complete.\n"
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
           "  --cycle   print the board's cycle, if any, after the statistics\n"
           "  --help    show this text\n"
           "  --        end of options\n";
}

ParsedBatchOptions parseBatchOptions(const std::vector<std::string>& arguments) {
    BatchOptions options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument.starts_with("--")) {
            if (argument == "--") {
                optionsEnded = true;
            } else if (argument == "--stats") {
                options.stats = true;
            } else if (argument == "--cycle") {
                options.cycle = true;
            } else if (argument == "--help") {
                options.help = true;
            } else {
                return {std::nullopt, "unknown option " + argument};
            }
            continue;
        }
        positional.push_back(argument);
    }
    if (options.help) {
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
        return {std::nullopt, notAnInteger(steps)};
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
