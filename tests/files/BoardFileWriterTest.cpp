// The bytes a save writes, and boards that survive a save and a load unchanged.
#include "files/BoardFileWriter.h"
#include "app/FormState.h"
#include "engine/Board.h"
#include "files/BoardFileReader.h"
#include "tests/support/Boards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>

using namespace tivla;

namespace {

// form, when given, follows the loaded size as the window does.
std::unique_ptr<Board> loaded(const std::string& text, FormState* form = nullptr) {
    auto board = test::boardOfSize();
    std::istringstream in(text);
    SilentPainter silent;
    const LoadResult result = readBoard(in, *board, silent, [&] {
        if (form != nullptr) {
            form->followBoardSize(board->BoardSize);
        }
    });
    EXPECT_TRUE(result.ok());
    return board;
}

// Every entry from 0 to N in both directions, the extra row and column included.
void expectSameCells(const Board& a, const Board& b) {
    const int n = a.BoardSize;
    for (int x = 0; x <= n; ++x) {
        for (int y = 0; y <= n; ++y) {
            ASSERT_EQ(a.Cells[x][y], b.Cells[x][y]) << "at column " << x << ", row " << y;
        }
    }
}

} // namespace

TEST(BoardFileWriter, SizeTwoBoardWithOneCellIsTheTenLineExample) {
    auto board = test::boardOfSize();
    board->BoardSize = 2;
    board->Cells[1][0] = kAlive;
    EXPECT_EQ(boardFileText(*board), "2\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(BoardFileWriter, FilesOfTheSixBoardSizesHaveTheKnownLengths) {
    const struct {
        int size;
        long lines;
        std::size_t bytes;
    } cases[] = {{40, 1682, 5047},    {50, 2602, 7807},    {80, 6562, 19687},
                 {100, 10202, 30608}, {150, 22802, 68408}, {200, 40402, 121208}};
    for (const auto& c : cases) {
        auto board = test::boardOfSize();
        board->BoardSize = c.size;
        board->Cells[c.size][c.size] = kAlive;
        const std::string text = boardFileText(*board);
        EXPECT_EQ(text.size(), c.bytes) << c.size;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.lines) << c.size;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), c.lines) << c.size;
        EXPECT_TRUE(text.ends_with("\r\n1\r\n")) << "the last line is cell (N, N)";
    }
}

TEST(BoardFileWriter, EveryCellUpToIndexNSurvivesSaveAndLoad) {
    std::mt19937 random(40);
    for (const int size : {40, 1, 7, 60, 200}) {
        auto board = test::boardOfSize();
        board->BoardSize = size;
        for (int x = 0; x <= size; ++x) {
            for (int y = 0; y <= size; ++y) {
                board->Cells[x][y] = random() % 3 == 0 ? kAlive : kDead;
            }
        }
        board->Cells[size][size] = kAlive;
        std::ostringstream out;
        ASSERT_TRUE(writeBoard(out, *board));
        FormState form;
        form.resetToStart();
        const auto back = loaded(out.str(), &form);
        EXPECT_EQ(back->BoardSize, size);
        EXPECT_EQ(form.CellSize, cellSizeFor(size).value_or(15)) << size;
        expectSameCells(*board, *back);
        EXPECT_EQ(boardFileText(*back), out.str()) << size;
    }
}
