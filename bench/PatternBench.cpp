// Reading patterns: a 200 x 200 soup in RLE and plaintext against the board file of the same
// board, and 10 MB hostile files, with the time each read takes and the memory it adds.
#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileWriter.h"
#include "files/PatternReader.h"
#include "files/PatternWriter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Milliseconds per call, over enough calls to fill about half a second.
double millisecondsPer(const std::function<void()>& work) {
    int calls = 0;
    const auto start = Clock::now();
    auto elapsed = Clock::duration::zero();
    do {
        work();
        ++calls;
        elapsed = Clock::now() - start;
    } while (elapsed < std::chrono::milliseconds(500));
    return std::chrono::duration<double, std::milli>(elapsed).count() / calls;
}

// A file of a prefix and then one text repeated up to 10 MB, written a piece at a time so that
// making it costs no memory the reads would be blamed for.
void writeHostile(const std::string& path, const std::string& prefix, const std::string& unit) {
    std::ofstream out(path, std::ios::binary);
    out << prefix;
    std::string piece;
    while (piece.size() < 64 * 1024) {
        piece += unit;
    }
    for (std::size_t written = 0; written < kTenMegabytes; written += piece.size()) {
        out << piece;
    }
}

} // namespace

int main() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("tivla-pattern-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    std::printf("10 MB hostile files (each read once; memory is the rise of the peak):\n");
    const struct {
        const char* what;
        tivla::PatternFormat format;
        std::string prefix;
        std::string unit;
    } hostile[] = {
        {"RLE, one run of 10 MB of digits", tivla::PatternFormat::Rle, "x = 1, y = 1\n", "9"},
        {"RLE, one comment of 10 MB", tivla::PatternFormat::Rle, "#C ", "c"},
        {"RLE, 10 MB of blanks in the data", tivla::PatternFormat::Rle, "x = 1, y = 1\no", " "},
        {"plaintext, one row of 10 MB", tivla::PatternFormat::Plaintext, "", "O"},
        {"Life 1.06, one cell named 2.6 million times", tivla::PatternFormat::Life, "#Life 1.06\n",
         "7 7\n"},
    };
    for (const auto& file : hostile) {
        const std::string path = (folder / "hostile").string();
        writeHostile(path, file.prefix, file.unit);
        const long before = peakKilobytes();
        const auto start = Clock::now();
        const tivla::PatternRead read = tivla::readPatternFile(path, file.format);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::printf("  %-45s %8.2f ms  +%5ld KB peak  %s\n", file.what, ms,
                    peakKilobytes() - before, read.pattern ? "read" : "refused");
    }

    auto board = std::make_unique<tivla::Board>();
    board->resetToStart();
    board->BoardSize = 200;
    std::mt19937 random(200);
    for (int x = 0; x < 200; ++x) {
        for (int y = 0; y < 200; ++y) {
            board->Cells[x][y] = random() % 3 == 0 ? tivla::kAlive : tivla::kDead;
        }
    }
    const std::string rle = (folder / "soup.rle").string();
    const std::string cells = (folder / "soup.cells").string();
    const std::string boardFile = (folder / "soup.txt").string();
    std::ofstream(rle, std::ios::binary) << tivla::rleText(*board, {"soup", 0});
    std::ofstream(cells, std::ios::binary) << tivla::plaintextText(*board, {"soup", 0});
    std::ofstream(boardFile, std::ios::binary) << tivla::boardFileText(*board);

    std::printf("\n200 x 200 soup, a third alive (file size, time per read):\n");
    const long before = peakKilobytes();
    const double rleMs = millisecondsPer([&] {
        if (!tivla::readPatternFile(rle, tivla::PatternFormat::Rle).pattern) {
            std::abort();
        }
    });
    const double cellsMs = millisecondsPer([&] {
        if (!tivla::readPatternFile(cells, tivla::PatternFormat::Plaintext).pattern) {
            std::abort();
        }
    });
    const double boardMs = millisecondsPer([&] {
        auto loaded = std::make_unique<tivla::Board>();
        tivla::SilentPainter silent;
        tivla::BoardFileInput input(boardFile);
        if (!tivla::readBoard(input.stream(), *loaded, silent, [] {}).ok()) {
            std::abort();
        }
    });
    const auto size = [](const std::string& path) {
        return static_cast<long>(std::filesystem::file_size(path) / 1024);
    };
    std::printf("  RLE        %5ld KB  %7.3f ms\n", size(rle), rleMs);
    std::printf("  plaintext  %5ld KB  %7.3f ms\n", size(cells), cellsMs);
    std::printf("  board file %5ld KB  %7.3f ms\n", size(boardFile), boardMs);
    std::printf("  RLE / board file: %.2f, plaintext / board file: %.2f; peak rose %ld KB\n",
                rleMs / boardMs, cellsMs / boardMs, peakKilobytes() - before);

    std::filesystem::remove_all(folder);
    return 0;
}
