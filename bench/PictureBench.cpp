// Pictures as users make them, each a whole process: a thumbnail of a 200 x 200 soup RLE by
// tivla-thumbnail, and a GIF of 1,000 generations of a 200 x 200 soup by tivla-batch, with the
// time each takes and the size of what it writes.
#include "engine/Board.h"
#include "files/PatternFormat.h"
#include "files/PatternWriter.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kSoupDensity = 0.35;
constexpr int kThumbnailRuns = 20;

// Runs the program to its end with standard output and error discarded; true on exit 0.
bool runToEnd(std::vector<std::string> argv) {
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ) == 0) {
        ::waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    return status == 0;
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main() {
    auto board = std::make_unique<tivla::Board>();
    board->BoardSize = 200;
    std::mt19937 rng(200);
    std::bernoulli_distribution alive(kSoupDensity);
    for (int c = 0; c < 200; ++c) {
        for (int r = 0; r < 200; ++r) {
            board->Cells[c][r] = alive(rng) ? tivla::kAlive : tivla::kDead;
        }
    }
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("tivla-picture-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string rle = (dir / "soup.rle").string();
    std::ofstream(rle) << *tivla::textInFormat(tivla::PatternFormat::Rle, *board, {"soup", 0});

    const std::string thumbnail = (dir / "soup.png").string();
    auto start = Clock::now();
    bool ok = true;
    for (int i = 0; i < kThumbnailRuns; ++i) {
        ok = ok && runToEnd({TIVLA_THUMBNAIL_PATH, "-s", "256", rle, thumbnail});
    }
    std::printf("thumbnail 256 of a 200 x 200 soup RLE, process start included: %.1f ms, %llu "
                "bytes%s\n",
                millisecondsSince(start) / kThumbnailRuns,
                static_cast<unsigned long long>(std::filesystem::file_size(thumbnail)),
                ok ? "" : " (FAILED)");

    const std::string gif = (dir / "soup.gif").string();
    start = Clock::now();
    ok = runToEnd({TIVLA_BATCH_PATH, rle, "1000", gif});
    std::printf("GIF of generations 0 to 1000 of the soup (2-pixel cells, 600 x 600): %.0f ms, "
                "%.2f MiB%s\n",
                millisecondsSince(start),
                static_cast<double>(std::filesystem::file_size(gif)) / (1 << 20),
                ok ? "" : " (FAILED)");
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
