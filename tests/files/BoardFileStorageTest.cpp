// Board files on disk: opening with the error numbers users see, and saves that never leave
// a broken file behind.
#include "engine/Board.h"
#include "files/BoardFileInput.h"
#include "files/BoardFileReader.h"
#include "files/BoardFileSave.h"
#include "files/BoardFileWriter.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
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
    ::chmod(path.c_str(), 04640);
    const auto board = boardWithGlider();
    ASSERT_FALSE(saveBoardFile(path, *board).has_value());
    EXPECT_EQ(readFile(path), boardFileText(*board));
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left";
    struct stat status = {};
    ::stat(path.c_str(), &status);
    // Written by root (CI), the set-user-ID bit would survive the write if it were copied.
    EXPECT_EQ(status.st_mode & 07777, 0640u) << "permissions kept, set-user-ID dropped";

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

// Renamed over, a pipe or a device would be gone (as root, /dev/null itself); written into, a
// failure could not be undone and a pipe would hold the save until a reader came.
TEST(BoardFileSave, DevicesAndPipesAreRefusedAndLeftAsTheyAre) {
    TempDirectory dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Board board;
    board.resetToStart();
    for (const std::string& path : {std::string("/dev/null"), std::string("/dev/full"), fifo}) {
        const auto error = saveBoardFile(path, board);
        ASSERT_TRUE(error.has_value()) << path;
        EXPECT_EQ(error->number(), FileError::kAccessDenied) << path;
        struct stat info = {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_FALSE(S_ISREG(info.st_mode)) << path;
    }
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left";
}

// The file a link names is replaced and the link stays, wherever the link points.
TEST(BoardFileSave, SymbolicLinksAreFollowed) {
    TempDirectory dir;
    std::filesystem::create_directory(dir.file("boards"));
    const auto board = boardWithGlider();
    const struct {
        const char* link;
        std::string target;
        std::string file;
        bool fileExists;
    } cases[] = {
        {"relative", "boards/a.txt", dir.file("boards/a.txt"), true},
        {"absolute", dir.file("boards/b.txt"), dir.file("boards/b.txt"), true},
        {"chained", "relative", dir.file("boards/a.txt"), true},
        {"dangling", "boards/new.txt", dir.file("boards/new.txt"), false},
    };
    for (const auto& c : cases) {
        std::filesystem::create_symlink(c.target, dir.file(c.link));
    }
    for (const auto& c : cases) {
        if (c.fileExists) {
            writeFile(c.file, "old");
        }
        ASSERT_FALSE(saveBoardFile(dir.file(c.link), *board).has_value()) << c.link;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file(c.link))) << c.link;
        EXPECT_EQ(readFile(c.file), boardFileText(*board)) << c.link;
    }
    EXPECT_EQ(entriesIn(dir.file("boards")), 3u) << "no temporary file is left";
    // A loop ends nowhere: the save fails and the link is not replaced by a file.
    std::filesystem::create_symlink("loop", dir.file("loop"));
    const auto error = saveBoardFile(dir.file("loop"), *board);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), ELOOP);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("loop")));
}

// As an ordinary user: a file that may not be written is refused, not renamed over; a closed
// folder, a hard link and another's file in a sticky folder are written in place; the group
// and the permissions but for the set-ID bits are kept, the group's bits only with the group.
TEST(BoardFileSave, PermissionsLinksAndGroupsAreKept) {
    TempDirectory dir;
    const std::string saved = boardFileText(*boardWithGlider());
    // Made before dropping root: someone else's file, writable by all, in a sticky folder.
    const std::filesystem::path sticky = dir.path() / "sticky";
    const std::string others = sticky / "board.txt";
    std::filesystem::create_directory(sticky);
    writeFile(others, "old");
    ASSERT_EQ(::chmod(others.c_str(), 0666) | ::chmod(sticky.c_str(), 01777), 0);
    // And a file of nobody's own in root's group, which nobody cannot give the new file.
    const std::string ours = dir.file("board.txt");
    writeFile(ours, "old");
    const bool foreignGroup = ::chown(ours.c_str(), 65534, 0) == 0;
    ::chmod(ours.c_str(), 0640);
    const auto skipped = test::runUnprivileged(dir.path(), [&] {
        const auto error = saveBoardFile(others, *boardWithGlider());
        EXPECT_EQ(error ? error->messageText() : "", "") << "sticky folder";
        EXPECT_TRUE(readFile(others) == saved && entriesIn(sticky) == 1u) << "sticky folder";
        ASSERT_FALSE(saveBoardFile(ours, *boardWithGlider()).has_value());
        struct stat regrouped = {};
        ::stat(ours.c_str(), &regrouped);
        EXPECT_EQ(regrouped.st_mode & 0777, foreignGroup ? 0600u : 0640u)
            << "another group gains nothing of the old group's access";
        // A group of ours other than the one new files get, if any.
        gid_t groups[16] = {::getegid()};
        const bool second = ::getgroups(16, groups) > 1 && groups[0] == ::getegid();
        const gid_t group = groups[second ? 1 : 0];
        const struct {
            const char* what;
            mode_t file, folder;
            bool hardLink, refused;
        } cases[] = {
            {"read-only file", 0444, 0755, false, true},
            {"read-only folder", 0640, 0555, false, false},
            {"hard link", 0600, 0755, true, false},
            {"set-ID bits", 06754, 0755, false, false},
        };
        for (const auto& c : cases) {
            const std::filesystem::path folder = dir.path() / c.what;
            const std::string path = folder / "board.txt";
            std::filesystem::create_directory(folder);
            writeFile(path, "old");
            ASSERT_EQ(::chown(path.c_str(), -1, group) | ::chmod(path.c_str(), c.file), 0);
            if (c.hardLink) {
                std::filesystem::create_hard_link(path, folder / "link");
            }
            ::chmod(folder.c_str(), c.folder);
            const auto error = saveBoardFile(path, *boardWithGlider());
            ::chmod(folder.c_str(), 0755);
            EXPECT_EQ(error ? error->messageText() : "", c.refused ? "File access denied." : "")
                << c.what;
            EXPECT_TRUE(readFile(path) == (c.refused ? "old" : saved)) << c.what;
            EXPECT_TRUE(!c.hardLink || readFile(folder / "link") == saved) << c.what;
            EXPECT_EQ(entriesIn(folder), c.hardLink ? 2u : 1u) << c.what << ": a stray file";
            struct stat after = {};
            ::stat(path.c_str(), &after);
            EXPECT_EQ(after.st_mode & 07777, c.file & 0777) << c.what;
            EXPECT_EQ(after.st_gid, group) << c.what;
        }
    });
    if (skipped) {
        GTEST_SKIP() << *skipped;
    }
}
