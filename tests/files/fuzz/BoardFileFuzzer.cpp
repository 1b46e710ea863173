// libFuzzer target: any bytes as a board file must load within the board tables, fail with a
// known error, or load a board that saves and loads back to the same bytes.
#include "app/FormState.h"
#include "engine/Board.h"
#include "engine/GenerationStep.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileWriter.h"
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
    std::fprintf(stderr, "board file fuzzer: %s\n", what);
    std::abort();
}

// Paints may reach index N, never beyond it.
struct CheckingPainter {
    const tivla::Board* board;
    void PaintAliveCell(int x, int y) const {
        if (x < 0 || y < 0 || x > board->BoardSize || y > board->BoardSize) {
            fail("painted outside the board and its extra row and column");
        }
    }
};

// The save-and-load check costs a whole board's worth of text; on large boards it runs for a
// fixed share of inputs (chosen by their bytes, so a run stays reproducible), which keeps the
// fuzzer fast enough to reach millions of executions.
bool checkRoundTrip(const std::uint8_t* data, std::size_t size, int boardSize) {
    constexpr int kAlwaysCheckedSize = 64;
    constexpr std::uint32_t kShareMask = 15;
    if (boardSize <= kAlwaysCheckedSize) {
        return true;
    }
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size && i < 256; ++i) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    return (hash & kShareMask) == 0;
}

void startFresh(tivla::Board& board) {
    std::destroy_at(&board);
    std::construct_at(&board);
    board.resetToStart();
    tivla::SilentPainter silent;
    board.ClearBoard(silent, [] {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two whole boards are too large for the stack; they live for the fuzzer's run.
    static const auto board = std::make_unique<tivla::Board>();
    static const auto reloaded = std::make_unique<tivla::Board>();
    startFresh(*board);

    MemoryBuffer buffer(data, size);
    std::istream in(&buffer);
    CheckingPainter painter{board.get()};
    bool applied = false;
    // The window's cell size, which follows the size only when the load applies one.
    tivla::FormState form;
    form.resetToStart();
    const tivla::LoadResult result = tivla::readBoard(in, *board, painter, [&] {
        applied = true;
        form.followBoardSize(board->BoardSize);
        if (board->BoardSize < tivla::kMinBoardSize || board->BoardSize > tivla::kMaxBoardSize) {
            fail("a size the tables cannot hold was applied");
        }
    });
    if (!result.ok()) {
        if (result.error->text().empty() || result.error->messageText().back() != '.') {
            fail("an error without a message");
        }
        if (!applied && (board->BoardSize != 40 || form.CellSize != 15)) {
            fail("a refused size changed the board size or the cell size");
        }
        return 0;
    }
    if (!applied) {
        fail("a load succeeded without applying its size");
    }

    if (!checkRoundTrip(data, size, board->BoardSize)) {
        return 0;
    }
    const std::string saved = tivla::boardFileText(*board);
    startFresh(*reloaded);
    std::istringstream again(saved);
    tivla::SilentPainter silent;
    if (!tivla::readBoard(again, *reloaded, silent, [] {}).ok() ||
        tivla::boardFileText(*reloaded) != saved) {
        fail("a loaded board does not survive a save and a load");
    }
    // Markers in the extra row and column take part in the step; it must stay in the tables.
    tivla::stepGeneration(*board, silent, tivla::NoStatistics{});
    return 0;
}
