// The RLE and plaintext writers: their exact text, their line rules, and boards that come
// back cell for cell on every size.
#include "files/PatternWriter.h"
#include "engine/BoardSizes.h"
#include "files/PatternPlacement.h"
#include "files/PatternReader.h"
#include "tests/support/Boards.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>

using namespace tivla;

namespace {

std::unique_ptr<Board> soup(int size, unsigned seed) {
    auto board = test::boardOfSize(size);
    std::mt19937 random(seed);
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            board->Cells[x][y] = random() % 3 == 0 ? kAlive : kDead;
        }
    }
    // Index N is stored by board files only; the pattern formats drop it.
    board->Cells[size][0] = board->Cells[0][size] = kAlive;
    return board;
}

} // namespace

TEST(PatternWriter, RleTextIsExact) {
    auto board = test::boardOfSize(40);
    board->Generation = 12;
    for (const auto& [x, y] : {std::pair{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {39, 5}}) {
        board->Cells[x][y] = kAlive;
    }
    board->Cells[40][3] = kAlive;
    EXPECT_EQ(rleText(*board, {"планер", 12}),
              "#N планер\n#C Тивла, поколение 12.\nx = 40, y = 40, rule = B3/S23\n"
              "bo$2bo$3o3$39bo!\n");
    EXPECT_EQ(rleText(*test::boardOfSize(1), {"", 0}),
              "#C Тивла, поколение 0.\nx = 1, y = 1, rule = B3/S23\n!\n");
}

TEST(PatternWriter, PlaintextTextIsExact) {
    auto board = test::boardOfSize(3);
    board->Cells[1][0] = board->Cells[2][2] = board->Cells[3][1] = kAlive;
    EXPECT_EQ(plaintextText(*board, {"доска", 7}),
              "!Name: доска\n!Тивла, поколение 7.\n.O.\n...\n..O\n");
}

TEST(PatternWriter, RleLinesStayWithinSeventyAndNeverSplitARun) {
    // Rows whose runs and "!" take 69, exactly 70 and 71 characters: only the last breaks.
    std::string bo;
    for (int i = 0; i < 33; ++i) {
        bo += "bo";
    }
    const std::string header = "#C Тивла, поколение 0.\nx = 70, y = 70, rule = B3/S23\n";
    for (const std::string& data : {"2o" + bo + "!\n", "o" + bo + "bo!\n", "2o" + bo + "bo\n!\n"}) {
        std::istringstream in(header + data);
        auto board = test::boardOfSize(70);
        SilentPainter silent;
        placePattern(*readPattern(in, PatternFormat::Rle).pattern, 70, *board, silent, [] {});
        EXPECT_EQ(rleText(*board, {"", 0}), header + data);
    }
    for (unsigned seed = 1; seed <= 5; ++seed) {
        const std::string text = rleText(*soup(200, seed), {"soup", 0});
        std::istringstream lines(text);
        std::string line;
        int dataLines = 0;
        while (std::getline(lines, line)) {
            EXPECT_LE(line.size(), kRleLineLength);
            if (line.starts_with('#') || line.starts_with('x')) {
                continue;
            }
            ++dataLines;
            // A run's count and its tag stay together: no line ends in a digit.
            EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(line.back()))) << line;
        }
        EXPECT_GT(dataLines, 100);
        EXPECT_TRUE(text.ends_with("!\n"));
    }
}

// Saved on a board of any of the six sizes and opened again from a 40 x 40 board, the pattern
// takes its board's size and every cell its place; index N is dropped.
TEST(PatternWriter, BoardsComeBackCellForCellOnEverySize) {
    for (const int n : kBoardSizes) {
        const auto saved = soup(n, static_cast<unsigned>(n));
        for (const PatternFormat format : {PatternFormat::Rle, PatternFormat::Plaintext}) {
            std::istringstream in(*textInFormat(format, *saved, {"x", 3}));
            const PatternRead read = readPattern(in, format);
            ASSERT_TRUE(read.pattern) << n << ": " << read.error->text();
            auto loaded = test::boardOfSize(40);
            SilentPainter silent;
            placePattern(*read.pattern, boardSizeForPattern(*read.pattern, 40), *loaded, silent,
                         [] {});
            ASSERT_EQ(loaded->BoardSize, n);
            for (int x = 0; x <= n; ++x) {
                for (int y = 0; y <= n; ++y) {
                    const bool expected = x < n && y < n && saved->isAlive(x, y);
                    ASSERT_EQ(loaded->isAlive(x, y), expected) << n << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PatternWriter, LifeFormatsAreReadOnly) {
    EXPECT_FALSE(textInFormat(PatternFormat::Life, *test::boardOfSize(5), {}).has_value());
    EXPECT_TRUE(unwritableFormatError().text().ends_with("Файл не записан."));
    EXPECT_EQ(textInFormat(PatternFormat::BoardFile, *test::boardOfSize(2), {})->size(), 30u);
}
