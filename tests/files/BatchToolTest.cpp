// tivla-batch from the outside: its statistics lines and output file against the engine's own
// single-pass step, and its refusals.
#include "TempDirectory.h"
#include "engine/Board.h"
#include "engine/GenerationStep.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileWriter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <string>
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

ToolRun runBatch(const TempDirectory& dir, const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{TIVLA_BATCH_PATH};
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
    if (posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ) == 0) {
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
    board->FormCreate();
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
        board->StatsVisible = true;
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
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        const bool takesOutput = arguments.size() == 2 && !arguments[0].starts_with("--");
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

TEST(BatchTool, HelpDescribesTheCommandLine) {
    TempDirectory dir;
    const ToolRun run = runBatch(dir, {"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: tivla-batch [--stats] [--cycle] INPUT N [OUTPUT]\n"));
    EXPECT_NE(run.out.find("--cycle"), std::string::npos);
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
