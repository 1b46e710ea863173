// Error numbers, their texts, the errno mapping and the full stop of the error boxes.
#include "files/FileError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

using tivla::FileError;
using tivla::withFullStop;

TEST(FileError, NumbersReadAsTheClassicTextsWithAFullStopInTheBox) {
    const struct {
        int number;
        const char* box;
    } cases[] = {
        {2, "File not found."},
        {3, "Invalid filename."},
        {4, "Too many open files."},
        {5, "File access denied."},
        {100, "Read beyond end of file."},
        {101, "Disk full."},
        {106, "Invalid numeric input."},
        {32, "I/O error 32."},
        {1, "I/O error 1."},
    };
    for (const auto& c : cases) {
        const FileError error(c.number);
        EXPECT_EQ(error.number(), c.number);
        EXPECT_EQ(error.messageText(), c.box) << c.number;
    }
}

TEST(FileError, ErrnoValuesMapToTheNumbersUsersKnow) {
    const struct {
        int error;
        int number;
        const char* text;
    } cases[] = {
        {ENOENT, 2, "File not found"},
        {ENOTDIR, 3, "Invalid filename"},
        {ENAMETOOLONG, 3, "Invalid filename"},
        {EINVAL, 3, "Invalid filename"},
        {EMFILE, 4, "Too many open files"},
        {ENFILE, 4, "Too many open files"},
        {EACCES, 5, "File access denied"},
        {EPERM, 5, "File access denied"},
        {EISDIR, 5, "File access denied"},
        {EROFS, 5, "File access denied"},
        {ENOSPC, 101, "Disk full"},
        {EDQUOT, 101, "Disk full"},
        // errno values that happen to equal a classic number still read as what they are.
        {EIO, EIO, "I/O error 5"},
        {EINTR, EINTR, "I/O error 4"},
        {EFBIG, EFBIG, "I/O error 27"},
    };
    for (const auto& c : cases) {
        const FileError error = FileError::fromErrno(c.error);
        EXPECT_EQ(error.number(), c.number) << c.error;
        EXPECT_EQ(error.text(), c.text) << c.error;
    }
}

TEST(FileError, RefusedSizeNamesTheSizeAndTheRange) {
    const FileError error = FileError::boardSizeOutOfRange(0);
    EXPECT_EQ(error.messageText(), "Недопустимый размер поля: 0. Размер должен быть от 1 до 200.");
    EXPECT_EQ(error.refusedBoardSize(), 0);
    EXPECT_EQ(FileError::boardSizeOutOfRange(-5).text(),
              "Недопустимый размер поля: -5. Размер должен быть от 1 до 200");
    EXPECT_NE(FileError::boardSizeOutOfRange(2), FileError(2));
    EXPECT_FALSE(FileError(2).refusedBoardSize().has_value());
}

TEST(FileError, FullStopOnlyAfterCharactersThatSortAfterIt) {
    const struct {
        std::string text;
        std::string box;
    } cases[] = {
        {"Disk full", "Disk full."},
        {"I/O error 7", "I/O error 7."},
        {"path/", "path/."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(a)", "(a)"},
        {"a-", "a-"},
        {"", ""},
        {"Поле", "Поле."},
        {"Хозяин! Мы заняты.", "Хозяин! Мы заняты."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withFullStop(c.text), c.box) << c.text;
    }
}
