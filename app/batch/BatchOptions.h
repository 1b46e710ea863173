// The command line of tivla-batch: what to load, how far to run, where to save.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tivla {

struct BatchOptions {
    bool help = false;
    bool stats = false;
    bool cycle = false;
    std::string input;
    long long steps = 0;
    std::optional<std::string> output;
};

// Either the options or the text that explains why the command line is wrong.
struct ParsedBatchOptions {
    std::optional<BatchOptions> options;
    std::string error;
};

// Reads `[--stats] [--cycle] INPUT N [OUTPUT]` or `--help`. "--" ends the options, so a file name
// may start with a dash.
ParsedBatchOptions parseBatchOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string batchUsage();

} // namespace tivla
