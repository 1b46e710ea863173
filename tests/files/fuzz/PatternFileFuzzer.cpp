// libFuzzer target: any bytes, read as RLE, as plaintext and as a Life file, must give either a
// refusal with a message or a pattern inside its 200 x 200 box that lands on the board and
// comes back cell for cell through the RLE and plaintext writers.
#include "engine/Board.h"
#include "files/PatternPlacement.h"
#include "files/PatternReader.h"
#include "files/PatternWriter.h"
#include "tests/support/MemoryBuffer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <memory>
#include <sstream>
#include <string>

namespace {

using tivla::test::MemoryBuffer;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "pattern file fuzzer: %s\n", what);
    std::abort();
}

struct CheckingPainter {
    const tivla::Board* board;
    void PaintAliveCell(int x, int y) const {
        if (x < 0 || y < 0 || x >= board->BoardSize || y >= board->BoardSize) {
            fail("a pattern cell painted outside the board");
        }
    }
    void PaintDeadCell(int, int) const {}
};

void checkPattern(const tivla::Pattern& pattern) {
    if (pattern.width < 0 || pattern.height < 0 || pattern.width > tivla::kMaxPatternSide ||
        pattern.height > tivla::kMaxPatternSide) {
        fail("a box beyond 200 x 200 was accepted");
    }
    for (std::size_t i = 0; i < pattern.alive.size(); ++i) {
        const tivla::PatternCell& cell = pattern.alive[i];
        if (cell.x < 0 || cell.y < 0 || cell.x >= pattern.width || cell.y >= pattern.height) {
            fail("a live cell outside its box");
        }
        if (i > 0) {
            const tivla::PatternCell& before = pattern.alive[i - 1];
            if (before.y > cell.y || (before.y == cell.y && before.x >= cell.x)) {
                fail("live cells out of order or twice");
            }
        }
    }
}

void place(const tivla::Pattern& pattern, int size, tivla::Board& board) {
    std::destroy_at(&board);
    std::construct_at(&board);
    board.resetToStart();
    CheckingPainter painter{&board};
    tivla::placePattern(pattern, size, board, painter, [] {});
}

// The board the pattern lands on, written in each format and read back, lands the same.
void checkRoundTrip(const tivla::Pattern& pattern) {
    static const auto board = std::make_unique<tivla::Board>();
    static const auto again = std::make_unique<tivla::Board>();
    const int size = tivla::boardSizeForPattern(pattern, 40);
    place(pattern, size, *board);
    for (const tivla::PatternFormat format :
         {tivla::PatternFormat::Rle, tivla::PatternFormat::Plaintext}) {
        std::istringstream text(*tivla::textInFormat(format, *board, {"fuzz", 0}));
        const tivla::PatternRead read = tivla::readPattern(text, format);
        if (!read.pattern) {
            fail("a written pattern does not read back");
        }
        if (tivla::boardSizeForPattern(*read.pattern, 40) != size) {
            fail("a written pattern opens on another size");
        }
        place(*read.pattern, size, *again);
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                if (board->isAlive(x, y) != again->isAlive(x, y)) {
                    fail("a written pattern lands differently");
                }
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const tivla::PatternFormat format :
         {tivla::PatternFormat::Rle, tivla::PatternFormat::Plaintext, tivla::PatternFormat::Life}) {
        MemoryBuffer buffer(data, size);
        std::istream in(&buffer);
        const tivla::PatternRead read = tivla::readPattern(in, format);
        if (read.pattern.has_value() == read.error.has_value()) {
            fail("neither a pattern nor a refusal, or both");
        }
        if (read.error) {
            const std::string text = read.error->messageText();
            if (text.empty() || text.back() != '.') {
                fail("a refusal without a message");
            }
            continue;
        }
        checkPattern(*read.pattern);
        checkRoundTrip(*read.pattern);
    }
    return 0;
}
