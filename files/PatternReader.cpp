// The choice of reader, and the pattern file opened like a board file.
#include "PatternReader.h"

#include "BoardFileInput.h"

namespace tivla {

PatternRead readPattern(std::istream& in, PatternFormat format) {
    switch (format) {
    case PatternFormat::Rle:
        return readRle(in);
    case PatternFormat::Plaintext:
        return readPlaintext(in);
    case PatternFormat::Life:
        return readLife(in);
    case PatternFormat::BoardFile:
        break;
    }
    return {std::nullopt, FileError::refusal("A board file is not a pattern.")};
}

PatternRead readPatternFile(const std::string& path, PatternFormat format) {
    BoardFileInput input(path);
    if (!input.isOpen()) {
        return {std::nullopt, input.openError()};
    }
    return readPattern(input.stream(), format);
}

} // namespace tivla
