// The stamp catalogue and stamp placement, checked against the stamps' pictures.
#include "editing/ApplyStamp.h"
#include "editing/StampCatalogue.h"
#include "tests/support/RecordingPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

using namespace tivla;
using tivla::test::RecordingPainter;

namespace {

using Cell = std::pair<int, int>; // column, row
using Offsets = std::vector<Cell>;

// The stamps as their pictures show them, rows top to bottom separated by " / ": '#' a cell the
// stamp sets, '.' one it leaves, 'X' the anchor when set, '+' the anchor when left. Kept apart
// from the catalogue so that a slip in either one shows.
struct Picture {
    int kind;
    StampPanel panel;
    std::string_view caption;
    std::string_view rows;
    std::size_t count;
};

const Picture kPictures[] = {
    {1, StampPanel::Brushes, "Один", "X", 1},
    {2, StampPanel::Brushes, "2х2", "X# / ##", 4},
    {3, StampPanel::Brushes, "3х3", "### / #X# / ###", 9},
    {4, StampPanel::Brushes, "Палка", "# / X / #", 3},
    {5, StampPanel::Brushes, "Палка", "#X#", 3},
    {6, StampPanel::Brushes, "Крест", ".#. / #X# / .#.", 5},
    {7, StampPanel::Brushes, "Глайдер", ".X. / ..# / ###", 5},
    {8, StampPanel::Brushes, "Пять", "#.# / .X. / #.#", 5},
    {9, StampPanel::Brushes, "Периметр", "### / #+# / ###", 8},
    {10, StampPanel::Brushes, "Угол", "..# / .+# / ###", 5},
    {11, StampPanel::Brushes, "Угол", "### / #+. / #..", 5},
    {12, StampPanel::Figures, "Долгожитель(1105)", ".### / #+.. / #...", 5},
    {13, StampPanel::Figures, "Долгожитель", "###.. / +..#. / ...##", 6},
    {14, StampPanel::Figures, "Дрозд", "### / ... / .X. / .#. / .#.", 6},
    {15, StampPanel::Figures, "Долгожитель", ".#.... / ##+###", 6},
    {16, StampPanel::Figures, "Гептамино", ".#.. / .#.. / #+#. / #.##", 7},
    {17, StampPanel::Figures, "Желудь(клотик)", ".#..... / ...#... / ##.+###", 7},
    {18, StampPanel::Figures, "Долгожитель", "..# / #X# / .#.", 5},
};

Offsets offsetsOf(std::string_view rows) {
    std::vector<std::string> lines;
    std::string line;
    for (const char ch : rows) {
        if (ch == '/') {
            lines.push_back(line);
            line.clear();
        } else if (ch != ' ') {
            line += ch;
        }
    }
    lines.push_back(line);
    Cell anchor{-1, -1};
    Offsets cells;
    for (int y = 0; y < static_cast<int>(lines.size()); ++y) {
        for (int x = 0; x < static_cast<int>(lines[y].size()); ++x) {
            const char ch = lines[y][x];
            if (ch == 'X' || ch == '+') {
                anchor = {x, y};
            }
            if (ch == 'X' || ch == '#') {
                cells.emplace_back(x, y);
            }
        }
    }
    for (Cell& cell : cells) {
        cell = {cell.first - anchor.first, cell.second - anchor.second};
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

Offsets offsetsOf(const Stamp& stamp) {
    Offsets cells;
    for (const StampOffset& offset : stamp.cells()) {
        cells.emplace_back(offset.dx, offset.dy);
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

// Guard bytes either side of the board catch a write before column 0 or past the tables.
constexpr std::size_t kGuardBytes = 1024;
constexpr unsigned char kGuardByte = 0xA5;
constexpr Marker kSpareMarker = 0x5C; // neither alive nor dead: any write to it shows

struct GuardedBoard {
    unsigned char before[kGuardBytes];
    Board board;
    unsigned char after[kGuardBytes];
};
static_assert(std::is_standard_layout_v<Board> && std::is_standard_layout_v<GuardedBoard>);
static_assert(offsetof(GuardedBoard, board) == kGuardBytes && offsetof(Board, Cells) == 0);

// A board of size n with every third cell alive (or every cell but those), the spare entries
// and the neighbour counts holding values that no stamp writes.
std::unique_ptr<GuardedBoard> patternedBoard(int n, bool inverted) {
    auto g = std::make_unique<GuardedBoard>();
    std::memset(g->before, kGuardByte, kGuardBytes);
    std::memset(g->after, kGuardByte, kGuardBytes);
    for (int c = 0; c < kCellsDim; ++c) {
        for (int r = 0; r < kCellsDim; ++r) {
            const bool alive = ((c + 2 * r) % 3 == 0) != inverted;
            g->board.Cells[c][r] = (c < n && r < n) ? (alive ? kAlive : kDead) : kSpareMarker;
        }
    }
    std::fill_n(g->board.NeighbourCounts.raw(), kCountsDim * kCountsDim, 0x5A5A5A5A);
    g->board.BoardSize = n;
    g->board.Population = 17;
    g->board.Generation = 5;
    g->board.MaxPopulation = 23;
    return g;
}

std::string firstDifference(const GuardedBoard& actual, const GuardedBoard& expected) {
    const auto* a = reinterpret_cast<const unsigned char*>(&actual);
    const auto* e = reinterpret_cast<const unsigned char*>(&expected);
    std::size_t i = 0;
    while (i < sizeof(GuardedBoard) && a[i] == e[i]) {
        ++i;
    }
    if (i == sizeof(GuardedBoard)) {
        return "none";
    }
    if (i < kGuardBytes) {
        return "byte " + std::to_string(kGuardBytes - i) + " before Cells";
    }
    const std::size_t inBoard = i - kGuardBytes;
    if (inBoard < sizeof(Board::Cells)) {
        return "Cells[" + std::to_string(inBoard / kCellsDim) + "][" +
               std::to_string(inBoard % kCellsDim) + "]";
    }
    return "byte " + std::to_string(inBoard - sizeof(Board::Cells)) + " past Cells";
}

std::vector<int> anchorPositions(int n) {
    std::set<int> positions;
    for (const int p : {0, 1, 2, 3, 4, n / 2, n - 5, n - 4, n - 3, n - 2, n - 1}) {
        if (p >= 0 && p < n) {
            positions.insert(p);
        }
    }
    return {positions.begin(), positions.end()};
}

// The cells a stamp makes alive on an empty board, as the board shows them afterwards.
std::vector<Cell> placedOnEmptyBoard(int kind, int n, int column, int row) {
    auto board = std::make_unique<Board>();
    board->BoardSize = n;
    SilentPainter painter;
    applyStamp(*board, kind, false, column, row, painter);
    std::vector<Cell> alive;
    for (int c = 0; c < kCellsDim; ++c) {
        for (int r = 0; r < kCellsDim; ++r) {
            if (board->Cells[c][r] != kDead) {
                alive.emplace_back(c, r);
            }
        }
    }
    return alive;
}

} // namespace

TEST(StampCatalogue, MatchesThePictures) {
    ASSERT_EQ(std::size(kPictures), kStampCatalogue.size());
    for (const Picture& picture : kPictures) {
        const Stamp* stamp = findStamp(picture.kind);
        ASSERT_NE(stamp, nullptr) << picture.kind;
        EXPECT_EQ(stamp->kind, picture.kind);
        EXPECT_EQ(stamp->radioButton, picture.kind);
        EXPECT_EQ(stamp->panel, picture.panel) << picture.kind;
        EXPECT_EQ(stamp->caption, picture.caption) << picture.kind;
        EXPECT_EQ(stamp->effect, picture.kind == 1 ? StampEffect::Toggle : StampEffect::Set);
        const Offsets fromPicture = offsetsOf(picture.rows);
        EXPECT_EQ(fromPicture.size(), picture.count) << picture.kind;
        EXPECT_EQ(offsetsOf(*stamp), fromPicture) << picture.kind;
    }
}

TEST(StampCatalogue, CaptionsUseNoLatinLetters) {
    // "2х2" and "3х3" take the Cyrillic letter; a Latin look-alike would slip past the eye.
    for (const Stamp& stamp : kStampCatalogue) {
        for (const char ch : stamp.caption) {
            EXPECT_FALSE((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))
                << stamp.kind << ": " << stamp.caption;
        }
    }
}

TEST(ApplyStamp, EveryStampClipsAtEveryEdgeAndOnlyAddsCells) {
    for (const int n : {1, 2, 5, 40, 200}) {
        for (const bool inverted : {false, true}) {
            const auto pristine = patternedBoard(n, inverted);
            auto actual = std::make_unique<GuardedBoard>();
            auto expected = std::make_unique<GuardedBoard>();
            for (const Picture& picture : kPictures) {
                if (picture.kind == 1) {
                    continue;
                }
                const Offsets offsets = offsetsOf(picture.rows);
                for (const int column : anchorPositions(n)) {
                    for (const int row : anchorPositions(n)) {
                        *actual = *pristine;
                        *expected = *pristine;
                        std::vector<Cell> targets;
                        for (const auto& [dx, dy] : offsets) {
                            const int c = column + dx;
                            const int r = row + dy;
                            if (c >= 0 && c < n && r >= 0 && r < n) {
                                expected->board.Cells[c][r] = kAlive;
                                targets.emplace_back(c, r);
                            }
                        }
                        RecordingPainter painter;
                        applyStamp(actual->board, picture.kind, false, column, row, painter);

                        const std::string where = "stamp " + std::to_string(picture.kind) +
                                                  " at (" + std::to_string(column) + ", " +
                                                  std::to_string(row) + ") on " +
                                                  std::to_string(n) + (inverted ? " inverted" : "");
                        ASSERT_EQ(std::memcmp(actual.get(), expected.get(), sizeof(GuardedBoard)),
                                  0)
                            << where << ": first difference at "
                            << firstDifference(*actual, *expected);
                        std::sort(painter.alive.begin(), painter.alive.end());
                        std::sort(targets.begin(), targets.end());
                        ASSERT_EQ(painter.alive, targets) << where;
                        ASSERT_TRUE(painter.dead.empty()) << where;
                    }
                }
            }
        }
    }
}

TEST(ApplyStamp, ClipsTheWellKnownEdgeCases) {
    constexpr int n = 40;
    const struct {
        int kind;
        int column;
        int row;
        std::vector<Cell> alive;
    } cases[] = {
        {3, 0, 0, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
        {7, 5, n - 2, {{5, n - 2}, {6, n - 1}}},
        {7, 5, n - 1, {{5, n - 1}}},
        {13, n - 4, 10, {{n - 4, 9}, {n - 3, 9}, {n - 2, 9}, {n - 1, 10}, {n - 1, 11}}},
        {13, n - 1, 10, {{n - 1, 9}}},
        {13, n - 1, 0, {}},
        {16, n - 1, 10, {{n - 2, 10}, {n - 2, 11}, {n - 1, 8}, {n - 1, 9}}},
        {16, 10, n - 1, {{9, n - 1}, {10, n - 3}, {10, n - 2}, {11, n - 1}}},
        {17, 2, 5, {{0, 3}, {0, 5}, {2, 4}, {3, 5}, {4, 5}, {5, 5}}},
        {14, 0, 1, {{0, 1}, {0, 2}, {0, 3}}},
        {15, 1, 0, {{0, 0}, {2, 0}, {3, 0}, {4, 0}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(placedOnEmptyBoard(c.kind, n, c.column, c.row), c.alive)
            << "stamp " << c.kind << " at (" << c.column << ", " << c.row << ")";
    }
}

TEST(ApplyStamp, WritesTheWholeStampBeforePaintingAnyCell) {
    struct CheckingPainter {
        const Board* board;
        std::vector<int> aliveAtPaint;
        void PaintAliveCell(int, int) {
            int alive = 0;
            for (int c = 0; c < board->BoardSize; ++c) {
                for (int r = 0; r < board->BoardSize; ++r) {
                    alive += board->isAlive(c, r) ? 1 : 0;
                }
            }
            aliveAtPaint.push_back(alive);
        }
        void PaintDeadCell(int, int) {}
    };
    for (const Stamp& stamp : kStampCatalogue) {
        if (stamp.effect != StampEffect::Set) {
            continue;
        }
        auto board = std::make_unique<Board>();
        board->BoardSize = 40;
        const int count = static_cast<int>(stamp.cellCount);
        CheckingPainter painter{board.get(), {}};
        applyStamp(*board, stamp.kind, false, 20, 20, painter);
        EXPECT_EQ(painter.aliveAtPaint, std::vector<int>(stamp.cellCount, count)) << stamp.kind;
    }
}

TEST(ApplyStamp, OneTogglesInPokeModeOnlySetsInDrawModeAndPaintsNothing) {
    const struct {
        bool drawMode;
        bool aliveBefore;
        bool aliveAfter;
    } cases[] = {
        {false, false, true},
        {false, true, false},
        {true, false, true},
        {true, true, true},
    };
    constexpr int n = 40;
    for (const auto& c : cases) {
        for (const Cell& anchor : {Cell{0, 0}, Cell{n - 1, n - 1}, Cell{7, 3}}) {
            const auto pristine = patternedBoard(n, false);
            pristine->board.Cells[anchor.first][anchor.second] = c.aliveBefore ? kAlive : kDead;
            auto actual = std::make_unique<GuardedBoard>(*pristine);
            auto expected = std::make_unique<GuardedBoard>(*pristine);
            expected->board.Cells[anchor.first][anchor.second] = c.aliveAfter ? kAlive : kDead;

            RecordingPainter painter;
            applyStamp(actual->board, 1, c.drawMode, anchor.first, anchor.second, painter);
            EXPECT_EQ(std::memcmp(actual.get(), expected.get(), sizeof(GuardedBoard)), 0)
                << "draw " << c.drawMode << ", alive " << c.aliveBefore << ": "
                << firstDifference(*actual, *expected);
            EXPECT_TRUE(painter.alive.empty());
            EXPECT_TRUE(painter.dead.empty());
        }
    }
}

TEST(ApplyStamp, KindsOutsideTheCatalogueDoNothing) {
    for (const int kind : {0, 19, -1, 100, INT_MIN, INT_MAX}) {
        const auto pristine = patternedBoard(40, false);
        auto actual = std::make_unique<GuardedBoard>(*pristine);
        RecordingPainter painter;
        applyStamp(actual->board, kind, false, 20, 20, painter);
        EXPECT_EQ(std::memcmp(actual.get(), pristine.get(), sizeof(GuardedBoard)), 0) << kind;
        EXPECT_TRUE(painter.alive.empty()) << kind;
        EXPECT_EQ(findStamp(kind), nullptr) << kind;
    }
}
