// Reading board files: the value rule line by line, and what a load leaves in the board.
#include "files/BoardFileReader.h"
#include "app/FormState.h"
#include "engine/Board.h"
#include "engine/IntegerText.h"
#include "tests/support/RecordingPainter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

using namespace tivla;
using tivla::test::RecordingPainter;

namespace {

// Values until the end of the file (or the first error, recorded as nullopt).
std::vector<std::optional<std::int32_t>> valuesOf(const std::string& text, int count) {
    std::istringstream in(text);
    BoardFileReader reader(in);
    std::vector<std::optional<std::int32_t>> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(reader.readValue());
        if (!values.back()) {
            break;
        }
    }
    return values;
}

struct Load {
    std::unique_ptr<Board> board = std::make_unique<Board>();
    FormState form;
    RecordingPainter painter;
    int applied = 0;
    LoadResult result;
};

// The open command on a freshly started program: FormCreate, ClearBoard, then the file, whose
// size the window follows when it applies it.
Load load(std::istream& in, std::int32_t boardSize = 40, std::int32_t cellSize = 15) {
    Load l;
    l.board->resetToStart();
    l.form.resetToStart();
    l.board->BoardSize = boardSize;
    l.form.CellSize = cellSize;
    SilentPainter silent;
    l.board->ClearBoard(silent, [] {});
    l.result = readBoard(in, *l.board, l.painter, [&] {
        ++l.applied;
        l.form.followBoardSize(l.board->BoardSize);
    });
    return l;
}

Load load(const std::string& text, std::int32_t boardSize = 40, std::int32_t cellSize = 15) {
    std::istringstream in(text);
    return load(in, boardSize, cellSize);
}

std::vector<std::pair<int, int>> aliveCells(const Board& board) {
    std::vector<std::pair<int, int>> alive;
    for (int x = 0; x < kCellsDim; ++x) {
        for (int y = 0; y < kCellsDim; ++y) {
            if (board.Cells[x][y] == kAlive) {
                alive.emplace_back(x, y);
            }
        }
    }
    return alive;
}

using Values = std::vector<std::optional<std::int32_t>>;
constexpr std::nullopt_t kFails = std::nullopt;

} // namespace

TEST(BoardFileReader, ReadsOneValuePerLineByTheClassicRule) {
    const std::string zeros32(32, '0');
    const struct {
        const char* what;
        std::string text;
        Values values;
    } cases[] = {
        {"text after a blank", "1 abc\r\n2\r\n", {1, 2, 0}},
        {"tab ends the run", "7\tjunk 9\r\n", {7, 0}},
        {"negative and zero", "-1\r\n0\r\n", {-1, 0, 0}},
        {"empty lines and leading blanks", "\r\n\r\n  \t 3\r\n\n4\n", {3, 4, 0}},
        {"hexadecimal forms", "$1\n0x1\nx1\n$C8\n-$10\n+5\n007\n", {1, 1, 1, 200, -16, 5, 7}},
        {"a lone CR doesn't end a line", "5\r6\r\n7\r\n", {5, 7, 0}},
        {"no line end after the last value", "8\r\n9", {8, 9, 0, 0}},
        {"empty file", "", {0, 0}},
        {"NUL and control bytes are blanks", std::string("\0\0\x01 3\x1f\n4", 9), {3, 4}},
        {"DEL is no blank", "3\x7f\n", {kFails}},
        {"32 characters are taken whole", zeros32.substr(1) + "1\n2\n", {1, 2}},
        {"the 33rd character is skipped", zeros32 + "1\n2\n", {0, 2}},
        {"junk past 32 characters goes unseen", zeros32.substr(1) + "1xyz\n5\n", {1, 5}},
        {"32 digits are too large", std::string(1, '1').append(31, '0').append("\n"), {kFails}},
        {"not a number", "abc\n", {kFails}},
        {"text glued to a number", "1abc\n", {kFails}},
        {"prefix without digits", "0x\n", {kFails}},
        {"beyond 32 bits", "2147483648\n", {kFails}},
        {"a decimal point", "1.5\n", {kFails}},
        {"letters beyond ASCII", "\xd0\x90\n", {kFails}},
        {"good values before a bad one", "1\n2\nz\n3\n", {1, 2, kFails}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(valuesOf(c.text, static_cast<int>(c.values.size())), c.values) << c.what;
    }
}

TEST(BoardFileReader, ValuesAndLinesMayStraddleTheReadBuffer) {
    // Blanks up to just before 64 KiB, then a value across the boundary and a line whose line
    // feed comes in the next block.
    std::string text(64 * 1024 - 2, ' ');
    text += "123 ";
    text += std::string(70 * 1024, 'z');
    text += "\n45\n";
    EXPECT_EQ(valuesOf(text, 3), (Values{123, 45, 0}));
}

TEST(BoardFileReader, BlanksAreExactlyTheBytesUpToTheSpaceWhereverTheyStand) {
    // Long stretches of blanks are skipped in blocks; every byte value at every offset of a
    // block must still be told apart.
    std::string blanks;
    for (int i = 0; i < 100; ++i) {
        blanks += static_cast<char>(i % 0x21);
    }
    for (const std::size_t offset : {0, 1, 7, 8, 31, 32, 33, 63, 64, 65, 99}) {
        for (int byte = 0; byte <= 0xFF; ++byte) {
            const std::string text = blanks.substr(0, offset) + static_cast<char>(byte) + "5\n";
            // A blank leaves "5"; anything else joins it in one run ("$5", "-5", "75", "a5").
            const std::optional<std::int32_t> expected =
                byte <= 0x20 ? std::optional(5) : parseInteger(text.substr(offset, 2));
            ASSERT_EQ(valuesOf(text, 1), Values{expected}) << "byte " << byte << " at " << offset;
        }
    }
}

TEST(ReadBoard, SizeTwoExampleLoadsOnlyColumnOneRowZero) {
    const Load l = load("2\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    ASSERT_TRUE(l.result.ok());
    EXPECT_EQ(l.board->BoardSize, 2);
    EXPECT_EQ(l.form.CellSize, 15) << "2 is no size button's size";
    EXPECT_EQ(l.applied, 1);
    EXPECT_EQ(aliveCells(*l.board), (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(l.painter.alive, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST(ReadBoard, PaintsColumnByColumnIncludingIndexN) {
    const Load l = load("2\n1\n1\n1\n1\n1\n1\n1\n1\n1\n");
    ASSERT_TRUE(l.result.ok());
    const std::vector<std::pair<int, int>> order{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1},
                                                 {1, 2}, {2, 0}, {2, 1}, {2, 2}};
    EXPECT_EQ(l.painter.alive, order);
    EXPECT_EQ(aliveCells(*l.board), order);
}

TEST(ReadBoard, SizeSetsCellSizeOnlyForTheSizeButtonsSizes) {
    const struct {
        const char* sizeLine;
        std::int32_t boardSize;
        std::int32_t cellSize;
    } cases[] = {
        {"40", 40, 15}, {"50", 50, 13}, {"150", 150, 4}, {"$C8", 200, 2},
        {"60", 60, 7},  {"1", 1, 7},    {"199", 199, 7},
    };
    for (const auto& c : cases) {
        // Start from an unusual cell size so that "kept" is visible.
        const Load l = load(std::string(c.sizeLine) + "\r\n", 40, 7);
        ASSERT_TRUE(l.result.ok()) << c.sizeLine;
        EXPECT_EQ(l.board->BoardSize, c.boardSize) << c.sizeLine;
        EXPECT_EQ(l.form.CellSize, c.cellSize) << c.sizeLine;
        EXPECT_EQ(l.applied, 1) << c.sizeLine;
    }
}

TEST(ReadBoard, SizesTheTablesCannotHoldAreRefusedAndChangeNothing) {
    const struct {
        const char* text;
        FileError error;
    } cases[] = {
        {"0\n1\n", FileError::boardSizeOutOfRange(0)},
        {"", FileError::boardSizeOutOfRange(0)},
        {"\r\n \r\n", FileError::boardSizeOutOfRange(0)},
        {"-5\n1\n", FileError::boardSizeOutOfRange(-5)},
        {"201\n1\n", FileError::boardSizeOutOfRange(201)},
        {"$FFFFFFFF\n", FileError::boardSizeOutOfRange(-1)},
        {"-2147483648\n", FileError::boardSizeOutOfRange(INT32_MIN)},
        {"2147483648\n1\n", FileError(FileError::kInvalidNumericInput)},
        {"forty\n1\n", FileError(FileError::kInvalidNumericInput)},
    };
    for (const auto& c : cases) {
        const Load l = load(c.text, 50, 13);
        ASSERT_FALSE(l.result.ok()) << c.text;
        EXPECT_EQ(*l.result.error, c.error) << c.text;
        EXPECT_EQ(l.board->BoardSize, 50) << c.text;
        EXPECT_EQ(l.form.CellSize, 13) << c.text;
        EXPECT_EQ(l.applied, 0) << c.text;
        EXPECT_TRUE(aliveCells(*l.board).empty()) << c.text;
    }
}

TEST(ReadBoard, BadCellLineEndsTheLoadKeepingTheCellsBeforeIt) {
    const Load l = load("2\n1\n0\n1\n??\n1\n1\n");
    ASSERT_FALSE(l.result.ok());
    EXPECT_EQ(*l.result.error, FileError(FileError::kInvalidNumericInput));
    EXPECT_EQ(l.board->BoardSize, 2);
    EXPECT_EQ(l.applied, 1);
    EXPECT_EQ(aliveCells(*l.board), (std::vector<std::pair<int, int>>{{0, 0}, {0, 2}}));
}

TEST(ReadBoard, FewerCellLinesThanTheBoardNeedsIsNoError) {
    const Load l = load("3\r\n0\r\n1\r\n1");
    ASSERT_TRUE(l.result.ok());
    EXPECT_EQ(l.board->BoardSize, 3);
    EXPECT_EQ(aliveCells(*l.board), (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}}));
}

TEST(ReadBoard, LinesAfterTheLastCellAreNeverRead) {
    const Load l = load("1\n0\n0\n0\n1\nnot a number\n");
    ASSERT_TRUE(l.result.ok());
    EXPECT_EQ(aliveCells(*l.board), (std::vector<std::pair<int, int>>{{1, 1}}));
}

namespace {

// A stream buffer whose device fails after handing over some bytes.
class FailingBuffer : public std::streambuf {
public:
    FailingBuffer(std::string head, int error) : head_(std::move(head)), error_(error) {
        setg(head_.data(), head_.data(), head_.data() + head_.size());
    }

protected:
    int_type underflow() override { throw std::system_error(error_, std::system_category()); }

private:
    std::string head_;
    int error_;
};

} // namespace

TEST(ReadBoard, ReadErrorsAreReportedWithTheirErrno) {
    const struct {
        int errorNumber;
        const char* box;
    } cases[] = {{EIO, "I/O error 5."}, {EISDIR, "File access denied."}};
    for (const auto& c : cases) {
        FailingBuffer buffer("2\n1\n1\n", c.errorNumber);
        std::istream in(&buffer);
        const Load l = load(in);
        ASSERT_FALSE(l.result.ok());
        EXPECT_EQ(l.result.error->messageText(), c.box);
        EXPECT_EQ(in.exceptions(), std::ios_base::goodbit) << "the caller's mask is restored";
    }
}

TEST(ReadBoard, StreamThatNeverOpenedIsAnErrorNotAnEmptyBoard) {
    std::istream in(nullptr);
    const Load l = load(in, 50, 13);
    ASSERT_FALSE(l.result.ok());
    EXPECT_EQ(l.result.error->text(), "I/O error 5");
    EXPECT_EQ(l.board->BoardSize, 50);
}
