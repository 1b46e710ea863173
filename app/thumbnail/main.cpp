// tivla-thumbnail: the picture a file manager shows for a pattern file, read by the program's
// own readers and drawn in its colours, without Qt.
#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileSave.h"
#include "files/BoardPicture.h"
#include "files/FileError.h"
#include "files/PatternFormat.h"
#include "files/PatternReader.h"
#include "files/PngEncoding.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// Thumbnails are at most 1024 pixels; the bound keeps a picture's memory small whatever -s says.
constexpr int kMaxSide = 4096;

constexpr const char* kUsage =
    "Usage: tivla-thumbnail -s SIZE INPUT OUTPUT\n"
    "\n"
    "Writes to OUTPUT a PNG of the pattern in INPUT (.rle, .cells, .lif, .life, or a\n"
    "board file), at most SIZE x SIZE pixels (1 to 4096): the pattern's box with one\n"
    "dead cell around it, live cells yellow on Тивла's board colour, grid lines where a\n"
    "cell takes 4 pixels or more. A file Тивла would refuse gets no picture: the\n"
    "refusal goes to standard error and the exit status is 1 (2 for a wrong command\n"
    "line). Made for file managers: see /usr/share/thumbnailers/tivla.thumbnailer.\n";

// A board file is shown whole, as the board it opens.
tivla::PatternRead readBoardAsPattern(const std::string& path) {
    tivla::BoardFileInput input(path);
    if (!input.isOpen()) {
        return {std::nullopt, input.openError()};
    }
    auto board = std::make_unique<tivla::Board>();
    board->resetToStart();
    tivla::SilentPainter silent;
    const tivla::LoadResult loaded = tivla::readBoard(input.stream(), *board, silent, [] {});
    if (!loaded.ok()) {
        return {std::nullopt, loaded.error};
    }
    tivla::Pattern pattern{board->BoardSize, board->BoardSize, {}};
    for (int row = 0; row < board->BoardSize; ++row) {
        for (int column = 0; column < board->BoardSize; ++column) {
            if (board->isAlive(column, row)) {
                pattern.alive.push_back({column, row});
            }
        }
    }
    return {std::move(pattern), std::nullopt};
}

int fail(const std::string& text) {
    std::fprintf(stderr, "%s\n", tivla::withFullStop(text).c_str());
    return kExitFailure;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "--version")) {
        std::fputs(arguments[0] == "--help" ? kUsage : "tivla-thumbnail " TIVLA_VERSION "\n",
                   stdout);
        return std::fflush(stdout) == 0 ? 0 : kExitFailure;
    }
    int side = 0;
    const std::string* size =
        arguments.size() == 4 && arguments[0] == "-s" ? &arguments[1] : nullptr;
    const char* end = size ? size->data() + size->size() : nullptr;
    if (!size || std::from_chars(size->data(), end, side).ptr != end || side < 1 ||
        side > kMaxSide) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    std::signal(SIGXFSZ, SIG_IGN);
    const std::string& input = arguments[2];
    const tivla::PatternFormat format = tivla::formatForPath(input);
    const tivla::PatternRead read = format == tivla::PatternFormat::BoardFile
                                        ? readBoardAsPattern(input)
                                        : tivla::readPatternFile(input, format);
    if (!read.pattern) {
        return fail(read.error->text());
    }
    const std::optional<std::string> png =
        tivla::encodePng(tivla::BoardPicture::thumbnail(*read.pattern, side));
    if (!png) {
        return fail("Не хватило памяти на рисунок узора. Файл не записан");
    }
    if (const auto error = tivla::replaceFileAtomically(arguments[3], *png)) {
        return fail(error->text());
    }
    return 0;
}
