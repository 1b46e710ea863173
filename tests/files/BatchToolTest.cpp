// tivla-batch from the outside: its statistics lines and output file against the engine's own
// single-pass step, and its refusals.
#include "engine/Board.h"
#include "engine/GenerationStep.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileWriter.h"
#include "files/BoardPicture.h"
#include "files/PngEncoding.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

using namespace tivla;
using tivla::test::readFile;
using tivla::test::TempDirectory;
using tivla::test::writeFile;

extern char** environ;

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// tivla-batch, or another program found on PATH (ImageMagick's).
ToolRun runBatch(const TempDirectory& dir, const std::vector<std::string>& arguments,
                 const std::string& program = TIVLA_BATCH_PATH) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    const std::string outPath = dir.file(".stdout");
    const std::string errPath = dir.file(".stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    ToolRun run;
    if (posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

std::unique_ptr<Board> loadedBoard(const std::string& text) {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    SilentPainter silent;
    board->ClearBoard(silent, [] {});
    std::istringstream in(text);
    EXPECT_TRUE(readBoard(in, *board, silent, [] {}).ok());
    return board;
}

std::string statisticsLine(const Board& board) {
    std::ostringstream line;
    line << board.Generation << ' ' << board.Population << ' '
         << static_cast<long long>(board.PopulationPercent) << ' ' << board.MaxPopulation << '\n';
    return line.str();
}

std::string boardText(int size, std::initializer_list<std::pair<int, int>> alive) {
    auto board = std::make_unique<Board>();
    board->BoardSize = size;
    for (const auto& [x, y] : alive) {
        board->Cells[x][y] = kAlive;
    }
    return boardFileText(*board);
}

std::string boardPng(int size, std::initializer_list<std::pair<int, int>> alive,
                     PictureStyle style) {
    return *encodePng(BoardPicture::ofBoard(*loadedBoard(boardText(size, alive)), style));
}

} // namespace

TEST(BatchTool, AgreesWithTheSinglePassStepLineByLineAndInTheSavedFile) {
    TempDirectory dir;
    const struct {
        const char* what;
        std::string text;
        long long steps;
    } cases[] = {
        {"blinker", boardText(5, {{2, 1}, {2, 2}, {2, 3}}), 3},
        {"glider into the corner",
         boardText(40, {{26, 25}, {27, 26}, {25, 27}, {26, 27}, {27, 27}}), 60},
        {"marker beyond the edge", boardText(10, {{9, 3}, {9, 5}, {10, 4}}), 2},
        {"nothing to run", boardText(50, {{0, 0}, {1, 0}, {0, 1}}), 0},
    };
    for (const auto& c : cases) {
        const std::string input = dir.file("in");
        const std::string output = dir.file("out");
        writeFile(input, c.text);
        std::filesystem::remove(output);

        auto board = loadedBoard(c.text);
        std::string everyStep;
        SilentPainter silent;
        for (long long s = 0; s < c.steps; ++s) {
            stepGeneration(*board, silent, [&](const Board& b) { everyStep += statisticsLine(b); });
        }

        const ToolRun stats = runBatch(dir, {"--stats", input, std::to_string(c.steps), output});
        EXPECT_EQ(stats.status, 0) << c.what << stats.err;
        EXPECT_EQ(stats.out, everyStep) << c.what;
        EXPECT_EQ(readFile(output), boardFileText(*board)) << c.what;

        const ToolRun last = runBatch(dir, {input, std::to_string(c.steps)});
        EXPECT_EQ(last.status, 0) << c.what;
        EXPECT_EQ(last.out, statisticsLine(*board)) << c.what;
    }
}

TEST(BatchTool, FreshlyLoadedBoardReportsZeros) {
    TempDirectory dir;
    writeFile(dir.file("in"), boardText(5, {{2, 1}, {2, 2}, {2, 3}}));
    const ToolRun run = runBatch(dir, {dir.file("in"), "0"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "0 0 0 0\n");
    EXPECT_EQ(run.err, "");
}

TEST(BatchTool, BadInputIsRefusedWithTheProgramsTextAndWritesNothing) {
    TempDirectory dir;
    writeFile(dir.file("good"), boardText(5, {{2, 2}}));
    writeFile(dir.file("bad-cell"), "2\n1\nx\n");
    writeFile(dir.file("too-big"), "201\n");
    writeFile(dir.file("empty"), "");
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string firstLine;
    } cases[] = {
        {{dir.file("missing"), "1"}, 1, "File not found."},
        {{dir.path().string(), "1"}, 1, "File access denied."},
        {{dir.file("bad-cell"), "1"}, 1, "Invalid numeric input."},
        {{dir.file("too-big"), "1"},
         1,
         "Недопустимый размер поля: 201. Размер должен быть от 1 до 200."},
        {{dir.file("empty"), "1"},
         1,
         "Недопустимый размер поля: 0. Размер должен быть от 1 до 200."},
        {{dir.file("good"), "-1"}, 2, "'-1' is not a valid number of generations."},
        {{dir.file("good"), "abc"}, 2, "'abc' is not a valid integer value."},
        {{dir.file("good"), "1.5"}, 2, "'1.5' is not a valid integer value."},
        {{dir.file("good"), "9223372036854775808"},
         2,
         "'9223372036854775808' is not a valid integer value."},
        {{dir.file("good")}, 2, "expected INPUT N [OUTPUT]."},
        {{"--fast", dir.file("good"), "1"}, 2, "unknown option --fast."},
        {{"--cell=33", dir.file("good"), "1"}, 2, "'33' is not a cell size from 1 to 32 pixels."},
        {{"--delay=9", dir.file("good"), "1"},
         2,
         "'9' is not a delay from 10 to 655350 milliseconds."},
        {{"--every=0", dir.file("good"), "1"},
         2,
         "'0' is not a number of generations from 1 to 1000000000."},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        const bool takesOutput = arguments.size() >= 2 && !arguments.back().starts_with("--") &&
                                 arguments[arguments.size() - 2] != "--size";
        if (takesOutput) {
            arguments.push_back(dir.file("out"));
        }
        const ToolRun run = runBatch(dir, arguments);
        EXPECT_EQ(run.status, c.status) << c.firstLine;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.firstLine);
        EXPECT_EQ(run.out, "") << c.firstLine;
        EXPECT_FALSE(std::filesystem::exists(dir.file("out"))) << c.firstLine;
    }
}

// The program's save refuses them too: a pipe without a reader would hold the run, and as root
// a renamed file would take /dev/null's place.
TEST(BatchTool, ADeviceOrAPipeAsOutputIsRefusedAndLeftAsItIs) {
    TempDirectory dir;
    writeFile(dir.file("good"), boardText(5, {{2, 2}}));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    for (const std::string& output : {std::string("/dev/null"), dir.file("pipe")}) {
        const ToolRun run = runBatch(dir, {dir.file("good"), "1", output});
        EXPECT_EQ(run.status, 1) << output;
        EXPECT_EQ(run.err, "File access denied.\n") << output;
        struct stat info = {};
        ASSERT_EQ(::stat(output.c_str(), &info), 0);
        EXPECT_FALSE(S_ISREG(info.st_mode)) << output;
    }
}

TEST(BatchTool, HelpAndVersionGoToStandardOutput) {
    TempDirectory dir;
    const struct {
        std::vector<std::string> arguments;
        std::string start;
    } cases[] = {
        {{"--help"}, "Usage: tivla-batch [--stats] [--cycle] [--size N] [--cell PX] [--no-grid]\n"},
        {{"--version"}, "tivla-batch " TIVLA_VERSION "\n"},
        // Either wins over a command line that would run.
        {{"--stats", dir.file("missing"), "5", "--version"}, "tivla-batch " TIVLA_VERSION "\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runBatch(dir, c.arguments);
        EXPECT_EQ(run.status, 0) << c.start;
        EXPECT_TRUE(run.out.starts_with(c.start)) << run.out;
        EXPECT_EQ(run.err, "") << c.start;
    }
}

// The extension picks the reader and the writer; a pattern lands centred on the size the
// program would choose, or on --size.
TEST(BatchTool, PatternsInAndOutByTheirExtensions) {
    TempDirectory dir;
    writeFile(dir.file("glider.RLE"), "#N glider\nx = 3, y = 3\nbo$2bo$3o!\n");
    writeFile(dir.file("wide.lif"), "#Life 1.06\n-20 0\n20 0\n");
    writeFile(dir.file("dot.cells"), "!dot\nO\n");
    const struct {
        std::vector<std::string> arguments;
        std::string output;
        std::string expected;
    } cases[] = {
        {{dir.file("glider.RLE"), "0"},
         "out.txt",
         boardText(40, {{19, 18}, {20, 19}, {18, 20}, {19, 20}, {20, 20}})},
        {{"--size", "7", dir.file("glider.RLE"), "0"},
         "out.cells",
         "!Name: out\n!Тивла, поколение 0.\n.......\n.......\n...O...\n....O..\n..OOO..\n"
         ".......\n.......\n"},
        {{"--size=5", dir.file("dot.cells"), "2"},
         "out.RLE",
         "#N out\n#C Тивла, поколение 2.\nx = 5, y = 5, rule = B3/S23\n!\n"},
        {{dir.file("wide.lif"), "0"}, "out.txt", boardText(50, {{4, 24}, {44, 24}})},
        // The program's own encoder, with the window's cells for the size: the same bytes.
        {{dir.file("glider.RLE"), "0"},
         "out.PNG",
         boardPng(40, {{19, 18}, {20, 19}, {18, 20}, {19, 20}, {20, 20}}, {15, 1})},
        {{"--no-grid", "--size=50", dir.file("glider.RLE"), "0"},
         "out.png",
         boardPng(50, {{24, 23}, {25, 24}, {23, 25}, {24, 25}, {25, 25}}, {13, 0})},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back(dir.file(c.output));
        const ToolRun run = runBatch(dir, arguments);
        EXPECT_EQ(run.status, 0) << c.output << run.err;
        EXPECT_EQ(readFile(dir.file(c.output)), c.expected) << c.output;
        std::filesystem::remove(dir.file(c.output));
    }
}

TEST(BatchTool, RefusedPatternsPrintWhyAndWriteNothing) {
    TempDirectory dir;
    writeFile(dir.file("huge-run.rle"), "x = 1, y = 1\n99999999999o!\n");
    writeFile(dir.file("gun.rle"), "x = 36, y = 9\n36o!\n");
    writeFile(dir.file("board.rle"), boardText(3, {{1, 1}}));
    writeFile(dir.file("rle.txt"), "x = 1, y = 1\no!\n");
    writeFile(dir.file("board.txt"), boardText(3, {{1, 1}}));
    const struct {
        std::vector<std::string> arguments;
        std::string output;
        int status;
        std::string start;
    } cases[] = {
        {{dir.file("huge-run.rle"), "1"},
         "out.txt",
         1,
         "Строка 2: число повторений 99999999999 больше 200. Узор не загружен, поле осталось "
         "пустым.\n"},
        {{"--size", "20", dir.file("gun.rle"), "1"},
         "out.rle",
         1,
         "Узор 36 x 9 не помещается на поле 20 x 20, заданное --size."},
        {{dir.file("board.rle"), "1"}, "out.rle", 1, "Строка 1: ожидался заголовок RLE"},
        {{dir.file("rle.txt"), "1"}, "out.txt", 1, "Invalid numeric input.\n"},
        {{dir.file("board.txt"), "1"}, "out.lif", 1, "Тивла читает файлы Life 1.06 и 1.05"},
        {{"--size", "40", dir.file("board.txt"), "1"}, "out.txt", 2, "--size applies to patterns"},
        {{"--size", "201", dir.file("gun.rle"), "1"},
         "out.txt",
         2,
         "'201' is not a board size from 1 to 200.\n"},
        {{"--size=0", dir.file("gun.rle"), "1"}, "out.txt", 2, "'0' is not a board size"},
        {{dir.file("gun.rle"), "1", "--size"}, "", 2, "--size needs a board size.\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        if (!c.output.empty()) {
            // An OUTPUT that exists keeps its bytes.
            writeFile(dir.file(c.output), "old bytes");
            arguments.push_back(dir.file(c.output));
        }
        const ToolRun run = runBatch(dir, arguments);
        EXPECT_EQ(run.status, c.status) << c.start;
        EXPECT_EQ(run.err.substr(0, c.start.size()), c.start);
        EXPECT_EQ(run.out, "") << c.start;
        if (!c.output.empty()) {
            EXPECT_EQ(readFile(dir.file(c.output)), "old bytes") << c.start;
        }
    }
}

TEST(BatchTool, CycleLineNamesThePeriodAndTheFirstGenerationOfTheCycle) {
    TempDirectory dir;
    const struct {
        const char* what;
        std::string text;
        std::string steps;
        std::string cycle;
    } cases[] = {
        {"blinker from the start", boardText(5, {{2, 1}, {2, 2}, {2, 3}}), "2", "cycle 2 0\n"},
        {"blinker, one generation", boardText(5, {{2, 1}, {2, 2}, {2, 3}}), "1", "cycle none\n"},
        // Three cells of an L become a block after one generation.
        {"block after one generation", boardText(6, {{2, 2}, {3, 2}, {2, 3}}),
         "9223372036854775807", "cycle 1 1\n"},
        {"lone cell dies", boardText(6, {{2, 2}}), "3", "cycle 1 1\n"},
        {"glider into the corner",
         boardText(40, {{26, 25}, {27, 26}, {25, 27}, {26, 27}, {27, 27}}), "100000", "cycle 1 "},
    };
    for (const auto& c : cases) {
        writeFile(dir.file("in"), c.text);
        const ToolRun run = runBatch(dir, {"--cycle", dir.file("in"), c.steps});
        EXPECT_EQ(run.status, 0) << c.what << run.err;
        const auto cycleLine = run.out.substr(run.out.find('\n') + 1);
        EXPECT_TRUE(cycleLine.starts_with(c.cycle)) << c.what << ": " << run.out;
        // The statistics line is the one a run of every generation ends with.
        if (c.steps.size() < 7) {
            auto board = loadedBoard(c.text);
            SilentPainter silent;
            for (long long s = 0; s < std::stoll(c.steps); ++s) {
                stepGeneration(*board, silent, NoStatistics{});
            }
            EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), statisticsLine(*board)) << c.what;
        }
    }
}

namespace {

// Each frame as ImageMagick draws it over the ones before, three bytes a pixel.
std::vector<std::string> gifFrames(const TempDirectory& dir, const std::string& gif, int side) {
    const std::string raw = dir.file("frames.rgb");
    runBatch(dir, {gif, "-coalesce", "-depth", "8", "rgb:" + raw}, "convert");
    const std::string pixels = readFile(raw);
    const std::size_t frameBytes = std::size_t(side) * side * 3;
    std::vector<std::string> frames;
    for (std::size_t at = 0; at + frameBytes <= pixels.size(); at += frameBytes) {
        frames.push_back(pixels.substr(at, frameBytes));
    }
    return frames;
}

// The first cell whose pixel is not yellow where it lives and board colour elsewhere, or "".
std::string frameMismatch(const std::string& frame, const Board& board, int pitch) {
    for (int r = 0; r < board.BoardSize; ++r) {
        for (int c = 0; c < board.BoardSize; ++c) {
            const std::size_t at = (std::size_t(r) * board.BoardSize * pitch + c) * pitch * 3;
            const std::string expected(board.isAlive(c, r) ? "\xff\xff\x00" : "\xff\x80\x40", 3);
            if (frame.compare(at, 3, expected) != 0) {
                return "cell " + std::to_string(c) + " " + std::to_string(r);
            }
        }
    }
    return {};
}

} // namespace

// Every frame against the engine's board of its generation; the loop flag exactly when the
// run found its cycle, and then the last frame leads into the first by the same K steps.
TEST(BatchTool, AnimationFramesAreTheEnginesBoardsAndLoopExactlyOnACycle) {
    TempDirectory dir;
    const std::string blinker = boardText(6, {{2, 1}, {2, 2}, {2, 3}});
    // The lone cell dies in the first step; the blinker stays: a cycle from generation 1.
    const std::string leadIn = boardText(8, {{2, 1}, {2, 2}, {2, 3}, {6, 6}});
    const struct {
        const char* what;
        std::string text;
        long long steps, every, firstStep;
        std::size_t frames;
    } cases[] = {
        {"blinker", blinker, 10, 1, 0, 2},
        {"blinker every third", blinker, 10, 3, 0, 2},
        {"lead-in left out", leadIn, 10, 1, 1, 2},
        {"lead-in, every second", leadIn, 10, 2, 2, 1},
        {"glider before any repeat", boardText(20, {{2, 1}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}), 12, 5,
         0, 3},
    };
    constexpr int kPitch = 4; // cells of 3 pixels and a line
    for (const auto& c : cases) {
        const std::string input = dir.file("in.txt");
        const std::string gif = dir.file("run.gif");
        writeFile(input, c.text);
        const ToolRun run =
            runBatch(dir, {"--cycle", "--cell", "3", "--every", std::to_string(c.every), "--delay",
                           "90", input, std::to_string(c.steps), gif});
        ASSERT_EQ(run.status, 0) << c.what << run.err;
        auto board = loadedBoard(c.text);
        const auto frames = gifFrames(dir, gif, board->BoardSize * kPitch);
        ASSERT_EQ(frames.size(), c.frames) << c.what;
        // ImageMagick's %T: each frame's delay in hundredths of a second.
        EXPECT_EQ(runBatch(dir, {"-format", "%T", gif}, "identify").out, std::string(c.frames, '9'))
            << c.what;
        const bool loops =
            readFile(gif).find(std::string("NETSCAPE2.0\x03\x01\x00\x00", 15)) != std::string::npos;
        EXPECT_EQ(loops, run.out.find("cycle none") == std::string::npos) << c.what;
        SilentPainter silent;
        const auto advance = [&](long long steps) {
            for (; steps > 0; --steps) {
                stepGeneration(*board, silent, NoStatistics{});
            }
        };
        advance(c.firstStep);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frameMismatch(frames[i], *board, kPitch), "") << c.what << ", frame " << i;
            advance(c.every);
        }
        if (loops) {
            EXPECT_EQ(frameMismatch(frames.front(), *board, kPitch), "") << c.what;
        }
    }
}
