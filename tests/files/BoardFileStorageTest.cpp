// Board files on disk: opening with the error numbers users see, and saves that never leave
// a broken file behind.
#include "FileSizeLimit.h"
#include "TempDirectory.h"
#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileSave.h"
#include "files/BoardFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace tivla;
using tivla::test::readFile;
using tivla::test::TempDirectory;
using tivla::test::writeFile;

namespace {

std::unique_ptr<Board> boardWithGlider() {
    auto board = std::make_unique<Board>();
    board->resetToStart();
    for (const auto& [x, y] : {std::pair{26, 25}, {27, 26}, {25, 27}, {26, 27}, {27, 27}}) {
        board->Cells[x][y] = kAlive;
    }
    return board;
}

std::size_t entriesIn(const std::filesystem::path& directory) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) {
        ++count;
    }
    return count;
}

} // namespace

TEST(BoardFileInput, OpenFailuresCarryTheirErrorNumbers) {
    TempDirectory dir;
    writeFile(dir.file("board"), "1\n");
    const struct {
        std::string path;
        const char* box;
    } cases[] = {
        {dir.file("missing"), "File not found."},
        {dir.file("missing/board"), "File not found."},
        {dir.file("board/inside"), "Invalid filename."},
        {dir.path().string(), "File access denied."},
        {"", "File not found."},
        {std::string("bo\0ard", 6), "Invalid filename."},
        {dir.file(std::string(300, 'n')), "Invalid filename."},
    };
    for (const auto& c : cases) {
        BoardFileInput input(c.path);
        ASSERT_FALSE(input.isOpen()) << c.path;
        EXPECT_EQ(input.openError()->messageText(), c.box) << c.path;
        EXPECT_FALSE(input.stream().good());
    }
}

TEST(BoardFileSave, SavedFileLoadsBackAndReplacesTheOldOneInPlace) {
    TempDirectory dir;
    const std::string path = dir.file("board.txt");
    writeFile(path, "old contents");
    ::chmod(path.c_str(), 0640);
    const auto board = boardWithGlider();
    ASSERT_FALSE(saveBoardFile(path, *board).has_value());
    EXPECT_EQ(readFile(path), boardFileText(*board));
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left";
    struct stat status {};
    ::stat(path.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";

    auto back = std::make_unique<Board>();
    back->resetToStart();
    BoardFileInput input(path);
    ASSERT_TRUE(input.isOpen());
    SilentPainter silent;
    ASSERT_TRUE(readBoard(input.stream(), *back, silent, [] {}).ok());
    EXPECT_EQ(boardFileText(*back), boardFileText(*board));
}

TEST(BoardFileSave, FailedSaveLeavesTheOldFileIntactAndNothingElse) {
    TempDirectory dir;
    const std::string good = "1\r\n0\r\n0\r\n0\r\n1\r\n";
    const auto board = boardWithGlider();
    const std::string boardText = boardFileText(*board);

    // Writing stops after 1000 of the 5047 bytes.
    {
        const std::string path = dir.file("limited");
        writeFile(path, good);
        const FileSizeLimit limit(1000);
        const auto error = saveBoardFile(path, *board);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->messageText(), "I/O error 27.");
        EXPECT_EQ(readFile(path), good);
    }
    // The target is a folder.
    {
        std::filesystem::create_directory(dir.file("folder"));
        const auto error = saveBoardFile(dir.file("folder"), *board);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), FileError::kAccessDenied);
        EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
    }
    // The folder of the target doesn't exist.
    {
        const auto error = saveBoardFile(dir.file("nowhere/board"), *board);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), FileError::kFileNotFound);
    }
    // A name the file system cannot take.
    {
        const auto error = saveBoardFile(dir.file(std::string(300, 'n')), *board);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), FileError::kInvalidFilename);
    }
    EXPECT_EQ(entriesIn(dir.path()), 2u) << "only the old file and the folder remain";
}

TEST(BoardFileWriter, BytesTheDeviceRefusesOnFlushAreReported) {
    // /dev/full accepts bytes into the stream's buffer and refuses them when they are flushed.
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    std::ofstream out("/dev/full", std::ios::binary);
    EXPECT_FALSE(writeBoard(out, *boardWithGlider()));
}

TEST(BoardFileSave, DevicesAreWrittenIntoNeverReplaced) {
    Board board;
    board.resetToStart();
    EXPECT_FALSE(saveBoardFile("/dev/null", board).has_value());
    const auto full = saveBoardFile("/dev/full", board);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->number(), FileError::kDiskFull);
    for (const char* device : {"/dev/null", "/dev/full"}) {
        struct stat info {};
        ASSERT_EQ(::stat(device, &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode)) << device;
    }
}
