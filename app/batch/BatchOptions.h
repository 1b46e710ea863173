// The command line of tivla-batch: what to load, how far to run, where to save.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tivla {

struct BatchOptions {
    bool help = false;
    bool version = false;
    bool stats = false;
    bool cycle = false;
    std::string input;
    long long steps = 0;
    std::optional<std::string> output;
    // The board size a pattern is opened on (--size N); without it, the program's rule.
    std::optional<int> size;
    // Pictures (.png, .gif OUTPUT): pixels per cell, else the window's for the board size;
    // the grid lines, shown unless --no-grid.
    std::optional<int> cell;
    bool grid = true;
    // Animations (.gif OUTPUT): every K-th generation a frame, shown delayMs each.
    long long every = 1;
    int delayMs = 100;
};

// Either the options or the text that explains why the command line is wrong.
struct ParsedBatchOptions {
    std::optional<BatchOptions> options;
    std::string error;
};

// Reads `[--stats] [--cycle] [--size N] [--cell PX] [--no-grid] [--every K] [--delay MS] INPUT
// N [OUTPUT]`, `--help` or `--version`; an option's value may also follow it after "=". "--" ends
// the options, so a file name may start with a dash.
ParsedBatchOptions parseBatchOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string batchUsage();
// The line --version prints.
std::string batchVersion();

} // namespace tivla
