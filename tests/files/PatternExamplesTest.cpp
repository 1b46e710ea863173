// The example patterns in «примеры», read by the program's readers and run on an unbounded
// plane, must do what the well-known patterns they name do: a gun fires a glider every 30
// generations, an oscillator returns in its period, a spaceship moves, a methuselah settles.
#include "files/PatternReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

using namespace tivla;

namespace {

// Conway's rule on an unbounded plane: a yardstick for the patterns that knows nothing of the
// board's edges or of the engine.
class Plane {
public:
    explicit Plane(const Pattern& pattern) {
        for (const PatternCell& cell : pattern.alive) {
            alive_.insert(key(cell.x, cell.y));
        }
    }
    void step() {
        std::unordered_map<std::uint64_t, int> counts;
        counts.reserve(alive_.size() * 9);
        for (const std::uint64_t cell : alive_) {
            const auto [x, y] = unkey(cell);
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    if (dx != 0 || dy != 0) {
                        ++counts[key(x + dx, y + dy)];
                    }
                }
            }
        }
        std::unordered_set<std::uint64_t> next;
        for (const auto& [cell, count] : counts) {
            if (count == 3 || (count == 2 && alive_.count(cell) != 0)) {
                next.insert(cell);
            }
        }
        alive_ = std::move(next);
    }
    void run(int generations) {
        for (int g = 0; g < generations; ++g) {
            step();
        }
    }
    int population() const { return static_cast<int>(alive_.size()); }
    // The live cells moved by (dx, dy), sorted, for comparing two states.
    std::set<std::pair<int, int>> cells(int dx = 0, int dy = 0) const {
        std::set<std::pair<int, int>> result;
        for (const std::uint64_t cell : alive_) {
            const auto [x, y] = unkey(cell);
            result.emplace(x + dx, y + dy);
        }
        return result;
    }
    // The live cells inside the box from (0, 0) to (width - 1, height - 1).
    std::set<std::pair<int, int>> cellsIn(int width, int height) const {
        std::set<std::pair<int, int>> result;
        for (const auto& [x, y] : cells()) {
            if (x >= 0 && y >= 0 && x < width && y < height) {
                result.emplace(x, y);
            }
        }
        return result;
    }

private:
    static std::uint64_t key(int x, int y) {
        return (std::uint64_t{static_cast<std::uint32_t>(x)} << 32) | static_cast<std::uint32_t>(y);
    }
    static std::pair<int, int> unkey(std::uint64_t cell) {
        return {static_cast<std::int32_t>(cell >> 32), static_cast<std::int32_t>(cell)};
    }
    std::unordered_set<std::uint64_t> alive_;
};

enum class Kind { Gun, Oscillator, Spaceship, Settles, Dies, Grows };

struct Example {
    const char* file;
    Kind kind;
    int period = 0; // gun, oscillator, spaceship
    int dx = 0;     // spaceship
    int dy = 0;
    int generation = 0; // settles, dies
    int population = 0; // settles
};

const Example kExamples[] = {
    {"Ружьё Госпера.rle", Kind::Gun, 30},
    {"Пульсар.cells", Kind::Oscillator, 3},
    {"Пентадекатлон.cells", Kind::Oscillator, 15},
    {"Галактика Кока.life", Kind::Oscillator, 8},
    {"Челнок пчелиной матки.rle", Kind::Oscillator, 30},
    {"Планер.lif", Kind::Spaceship, 4, 1, 1},
    {"Лёгкий корабль.lif", Kind::Spaceship, 4, -2, 0},
    {"Средний корабль.rle", Kind::Spaceship, 4, -2, 0},
    {"Тяжёлый корабль.rle", Kind::Spaceship, 4, -2, 0},
    {"R-пентамино.life", Kind::Settles, 0, 0, 0, 1103, 116},
    {"Желудь.rle", Kind::Settles, 0, 0, 0, 5206, 633},
    {"Диехард.cells", Kind::Dies, 0, 0, 0, 130},
    {"Бесконечный рост.rle", Kind::Grows},
};

const std::filesystem::path kFolder{TIVLA_EXAMPLES_DIR};

bool isPatternFile(const std::filesystem::path& path) {
    return formatForPath(path.string()) != PatternFormat::BoardFile;
}

} // namespace

TEST(PatternExamples, EveryExampleIsCheckedByASimulation) {
    std::set<std::string> listed;
    for (const Example& example : kExamples) {
        listed.insert(example.file);
    }
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(kFolder)) {
        if (isPatternFile(entry.path())) {
            present.insert(entry.path().filename().string());
        }
    }
    EXPECT_EQ(present, listed);
    EXPECT_GE(present.size(), 12u);
}

TEST(PatternExamples, EachDoesWhatItsNameSays) {
    for (const Example& example : kExamples) {
        SCOPED_TRACE(example.file);
        const std::string path = (kFolder / example.file).string();
        const PatternRead read = readPatternFile(path, formatForPath(path));
        ASSERT_TRUE(read.pattern) << read.error->text();
        const Pattern& pattern = *read.pattern;
        Plane plane(pattern);
        const auto start = plane.cells();
        switch (example.kind) {
        case Kind::Oscillator:
        case Kind::Spaceship:
            for (int g = 1; g < example.period; ++g) {
                plane.step();
                EXPECT_NE(plane.cells(), start) << "back at generation " << g;
            }
            plane.step();
            EXPECT_EQ(plane.cells(-example.dx, -example.dy), start);
            break;
        case Kind::Gun: {
            // Past its first glider, the gun inside its box repeats every period, and each
            // period one more glider of five cells has left it.
            plane.run(2 * example.period);
            const auto gun = plane.cellsIn(pattern.width, pattern.height);
            const int before = plane.population();
            plane.run(example.period);
            EXPECT_EQ(plane.cellsIn(pattern.width, pattern.height), gun);
            EXPECT_EQ(plane.population(), before + 5);
            plane.run(example.period);
            EXPECT_EQ(plane.population(), before + 10);
            break;
        }
        case Kind::Settles:
            plane.run(example.generation);
            EXPECT_EQ(plane.population(), example.population);
            break;
        case Kind::Dies:
            plane.run(example.generation - 1);
            EXPECT_GT(plane.population(), 0);
            plane.step();
            EXPECT_EQ(plane.population(), 0);
            break;
        case Kind::Grows: {
            plane.run(1000);
            const int early = plane.population();
            plane.run(2000);
            EXPECT_GT(plane.population(), early + 50);
            break;
        }
        }
    }
}
