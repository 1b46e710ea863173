// The board-file bytes, built in one buffer so that a save is one write.
#include "BoardFileWriter.h"

#include <algorithm>
#include <string_view>

namespace tivla {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

std::string boardFileText(const Board& board) {
    const int n = board.BoardSize;
    // A size outside the tables would never be loaded; the clamp only keeps the reads inside.
    const int last = std::clamp(n, 0, kMaxBoardSize);
    std::string text = std::to_string(n);
    text += kLineEnd;
    const auto cellCount = static_cast<std::size_t>(last + 1) * static_cast<std::size_t>(last + 1);
    text.reserve(text.size() + cellCount * (1 + kLineEnd.size()));
    for (int x = 0; x <= last; ++x) {
        for (int y = 0; y <= last; ++y) {
            text += board.Cells[x][y] == kAlive ? '1' : '0';
            text += kLineEnd;
        }
    }
    return text;
}

bool writeBoard(std::ostream& out, const Board& board) {
    const std::string text = boardFileText(board);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return out.good();
}

} // namespace tivla
