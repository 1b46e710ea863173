// The RLE, plaintext and Life readers: what each format accepts, where each box comes from,
// and the refusals, hostile files included, with their lines and texts.
#include "files/PatternReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

using namespace tivla;

namespace {

PatternRead readText(PatternFormat format, const std::string& text) {
    std::istringstream in(text);
    return readPattern(in, format);
}

// A file too large to hold in a test: a prefix, then one byte repeated, made up as it is read.
class RepeatingBuffer : public std::streambuf {
public:
    RepeatingBuffer(std::string prefix, char fill, std::size_t count)
        : prefix_(std::move(prefix)), chunk_(64 * 1024, fill), left_(count) {
        setg(prefix_.data(), prefix_.data(), prefix_.data() + prefix_.size());
    }

protected:
    int_type underflow() override {
        if (left_ == 0) {
            return traits_type::eof();
        }
        const std::size_t size = std::min(left_, chunk_.size());
        left_ -= size;
        setg(chunk_.data(), chunk_.data(), chunk_.data() + size);
        return traits_type::to_int_type(chunk_[0]);
    }

private:
    std::string prefix_;
    std::string chunk_;
    std::size_t left_;
};

struct Accepted {
    const char* what;
    PatternFormat format;
    std::string text;
    int width;
    int height;
    std::vector<PatternCell> alive;
};

struct Refused {
    const char* what;
    PatternFormat format;
    std::string text;
    // The start of the message, line number included.
    std::string start;
};

const auto kRle = PatternFormat::Rle;
const auto kCells = PatternFormat::Plaintext;
const auto kLife = PatternFormat::Life;

std::string describe(const PatternRead& read) {
    if (read.error) {
        return read.error->text();
    }
    std::string text =
        std::to_string(read.pattern->width) + "x" + std::to_string(read.pattern->height) + ":";
    for (const PatternCell& cell : read.pattern->alive) {
        text += ' ';
        text += std::to_string(cell.x);
        text += ',';
        text += std::to_string(cell.y);
    }
    return text;
}

} // namespace

TEST(PatternReader, AcceptsWhatEachFormatAllows) {
    const std::vector<PatternCell> glider{{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    const Accepted cases[] = {
        {"rle glider, comments first", kRle,
         "#N Glider\n#C a comment\n#O someone\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n", 3, 3,
         glider},
        {"rle free spacing, rule 23/3 in CR LF", kRle, "x=3,y=3,rule=23/3\r\nbo$2bo$3o!\r\n", 3, 3,
         glider},
        {"rle rule in any case, no rule", kRle, "x = 3, y = 3, rule = b3/s23\nbo$2bo$3o!", 3, 3,
         glider},
        {"rle without a rule", kRle, "x = 3, y = 3\nbo$2bo$3o!", 3, 3, glider},
        {"rle breaks and blanks between items and counts", kRle,
         "x = 3, y = 3\nb o $ 2\r\nb\no$\n3\no\n!", 3, 3, glider},
        {"rle header larger than the cells", kRle, "x = 10, y = 4\no!", 10, 4, {{0, 0}}},
        {"rle cells beyond a small header",
         kRle,
         "x = 1, y = 1\n3o2$o!",
         3,
         3,
         {{0, 0}, {1, 0}, {2, 0}, {0, 2}}},
        {"rle anything after ! is ignored", kRle, "x = 1, y = 1\no!\x01 junk\0zz", 1, 1, {{0, 0}}},
        {"rle without ! at the end", kRle, "x = 2, y = 1\n2o", 2, 1, {{0, 0}, {1, 0}}},
        {"rle comment of any bytes",
         kRle,
         std::string("#C \0\xff\x01\n", 7) + "x = 1, y = 1\no!",
         1,
         1,
         {{0, 0}}},
        {"rle 200 wide and 200 high",
         kRle,
         "x = 200, y = 200\n199bo199$o!",
         200,
         200,
         {{199, 0}, {0, 199}}},
        {"rle empty", kRle, "x = 0, y = 0\n!", 0, 0, {}},
        {"plaintext glider", kCells, "!Name: Glider\n!\n.O\n..O\nOOO\n", 3, 3, glider},
        {"plaintext short and empty rows, * and CR LF",
         kCells,
         "!c\r\n*\r\n\r\n..*.\r\n",
         4,
         3,
         {{0, 0}, {2, 2}}},
        {"plaintext trailing empty line is a row", kCells, "O\n\n", 1, 2, {{0, 0}}},
        {"plaintext last row without a line feed", kCells, "..\nO", 2, 2, {{0, 1}}},
        {"life 1.06 negative coordinates", kLife, "#Life 1.06\n#D c\n0 -1\n1 0\n-1 1\n0 1\n1 1\n",
         3, 3, glider},
        {"life 1.06 a cell named twice, CR LF, tabs",
         kLife,
         "#Life 1.06\r\n5\t7\r\n  5 7 \r\n\r\n6 7\r\n",
         2,
         1,
         {{0, 0}, {1, 0}}},
        {"life 1.06 only the header", kLife, "#Life 1.06\n", 0, 0, {}},
        {"life 1.05 two blocks and the rules", kLife,
         "#Life 1.05\n#D glider in parts\n#N\n#R 23/3\n#P -1 -1\n.*\n#P -1 0\n..*\n***\n", 3, 3,
         glider},
        {"life 1.05 rule B3/S23", kLife, "#Life 1.05\n#R B3/S23\n#P 10 20\n*\n", 1, 1, {{0, 0}}},
    };
    for (const Accepted& c : cases) {
        const PatternRead read = readText(c.format, c.text);
        ASSERT_TRUE(read.pattern.has_value()) << c.what << ": " << describe(read);
        EXPECT_EQ(read.pattern->width, c.width) << c.what;
        EXPECT_EQ(read.pattern->height, c.height) << c.what;
        EXPECT_EQ(read.pattern->alive, c.alive) << c.what << ": " << describe(read);
    }
}

// What the open dialog's preview shows, as "name|author|line|line": each format's comments,
// each text cut at its bound (one byte past it lands inside a letter) and the lines too.
TEST(PatternReader, KeepsNameAuthorAndCommentsWithinBounds) {
    const std::string longest(PatternComments::kMaxLength, 'a');
    const std::string manyLines = "#C 0\n#C 1\n#C 2\n#C 3\n#C 4\n#C 5\n#C 6\n#C 7\n#C 8\n";
    const struct {
        const char* what;
        PatternFormat format;
        std::string text;
        std::string kept;
    } cases[] = {
        {"rle", kRle,
         "#N  Glider \r\n#O Richard Guy\n#C first\n#c second\n#r B3/S23\n#CXRLE Pos=0,0\n#C\n"
         "#D third\n#N Later\nx = 1, y = 1\no!",
         "Glider|Richard Guy|first|second|third"},
        {"rle control bytes", kRle, std::string("#C a\0b\tc\n", 9) + "x = 1, y = 1\no!", "||a b c"},
        {"rle bounds", kRle,
         "#N" + longest + "\r\n#O" + longest.substr(1) + "ж\n" + manyLines + "x = 1, y = 1\no!",
         longest + "|" + longest.substr(1) + "…|0|1|2|3|4|5|6|7"},
        {"plaintext", kCells, "!Name: Диехард\n!Author: someone\n!\n!seven cells\nO\n",
         "Диехард|someone|seven cells"},
        {"life 1.06", kLife, "#Life 1.06\n#N Ship\n#O me\n#D moves\n0 0\n", "Ship|me|moves"},
        {"life 1.05 bare #N is the rule", kLife,
         "#Life 1.05\n#D R-pentomino\n#N\n#C settles\n#P 0 0\n*\n", "||R-pentomino|settles"},
    };
    for (const auto& c : cases) {
        const PatternRead read = readText(c.format, c.text);
        ASSERT_TRUE(read.pattern.has_value()) << c.what << ": " << describe(read);
        const PatternComments& comments = read.pattern->comments;
        std::string kept = comments.name() + "|" + comments.author();
        for (const std::string& line : comments.lines()) {
            kept += "|" + line;
        }
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

TEST(PatternReader, RefusesWithWhatIsWrongAndWhere) {
    const Refused cases[] = {
        {"rle no header", kRle, "#C only\n", "В файле RLE нет заголовка"},
        {"rle data before a header", kRle, "bo$2bo$3o!\n", "Строка 1: ожидался заголовок RLE"},
        {"rle other rule, named", kRle, "#C\nx = 1, y = 1, rule = B36/S23\no!",
         "Строка 2: правило «B36/S23» не поддерживается"},
        {"rle bounded-grid rule", kRle, "x = 1, y = 1, rule = B3/S23:T40,40\no!",
         "Строка 1: правило «B3/S23:T40,40» не поддерживается"},
        {"rle unknown header field", kRle, "x = 1, y = 1, z = 3\no!",
         "Строка 1: в заголовке RLE неизвестное поле «z»"},
        {"rle missing y", kRle, "x = 1\no!", "Строка 1: в заголовке RLE нет ширины x или высоты y"},
        {"rle header of a billion", kRle, "x = 1000000000, y = 3\no!",
         "Строка 1: заголовок RLE задаёт размер узора x = 1000000000"},
        {"rle negative header", kRle, "x = 3, y = -3\no!",
         "Строка 1: заголовок RLE задаёт размер узора y = -3"},
        {"rle header past 64 bits", kRle, "x = 99999999999999999999999, y = 3\no!",
         "Строка 1: заголовок RLE задаёт размер узора x = 99999999999999999999…"},
        {"rle header 201", kRle, "x = 201, y = 1\no!",
         "Строка 1: заголовок RLE задаёт размер узора x = 201"},
        {"rle size not a number", kRle, "x = abc, y = 1\no!",
         "Строка 1: в заголовке RLE «x = abc»"},
        {"rle run past 64 bits", kRle, "x = 1, y = 1\n\n99999999999o!",
         "Строка 3: число повторений 99999999999 больше 200"},
        {"rle row past 200", kRle, "x = 1, y = 1\n150o51b!", "Строка 2: ряд 1 узора длиннее 200"},
        {"rle rows past 200", kRle, "x = 1, y = 1\no150$51$o!",
         "Строка 2: в узоре больше 200 рядов"},
        {"rle cell in row 201", kRle, "x = 1, y = 1\n200$o!", "Строка 2: в узоре больше 200 рядов"},
        {"rle zero count", kRle, "x = 1, y = 1\n0o!", "Строка 2: число повторений 0"},
        {"rle count split by a line break", kRle, "x = 12, y = 1\n1 \r\n2o!",
         "Строка 3: после числа повторений 1 стоит пробел или перевод строки, а за ним цифра 2"},
        {"rle multi-state letter", kRle, "x = 2, y = 1\noA!",
         "Строка 2: в узоре RLE клетка в состоянии «A»"},
        {"rle NUL in the data", kRle, std::string("x = 2, y = 1\no\0o!", 17),
         "Строка 2: нулевой байт не может стоять в узоре RLE"},
        {"rle binary junk", kRle, "x = 2, y = 1\n\x89PNG", "Строка 2: байт 0x89 не может стоять"},
        {"rle comment after the header", kRle, "x = 2, y = 1\n#C late\no!",
         "Строка 2: символ «#» не может стоять"},
        {"plaintext other character", kCells, "!c\n.O\n.x\n",
         "Строка 3: символ «x» не означает клетку"},
        {"plaintext NUL", kCells, std::string("O\0", 2),
         "Строка 1: нулевой байт не означает клетку"},
        {"plaintext row past 200", kCells, std::string(201, '.'),
         "Строка 1: ряд узора длиннее 200 клеток"},
        {"plaintext rows past 200", kCells, std::string(201, '\n'),
         "Строка 201: в узоре больше 200 рядов"},
        {"life without its first line", kLife, "0 0\n1 1\n",
         "Строка 1: файл Life должен начинаться строкой «#Life 1.06» или «#Life 1.05»"},
        {"life other version", kLife, "#Life 1.07\n", "Строка 1: файл Life должен"},
        {"life board file named .lif", kLife, "3\r\n1\r\n", "Строка 1: файл Life должен"},
        {"life 1.06 coordinate of 2^40", kLife, "#Life 1.06\n1099511627776 0\n",
         "Строка 2: координата 1099511627776 вне пределов от -2147483648 до 2147483647"},
        {"life 1.06 one number", kLife, "#Life 1.06\n1\n",
         "Строка 2: ожидались координаты живой клетки"},
        {"life 1.06 box past 200", kLife, "#Life 1.06\n0 0\n-100 5\n100 0\n",
         "Строка 4: живые клетки узора занимают 201 x 6 клеток"},
        {"life 1.06 far apart in 64 bits", kLife, "#Life 1.06\n-2147483648 0\n2147483647 0\n",
         "Строка 3: живые клетки узора занимают 4294967296 x 1 клеток"},
        {"life 1.05 other rule", kLife, "#Life 1.05\n#R 34/34\n", "Строка 2: правило «34/34»"},
        {"life 1.05 row before #P", kLife, "#Life 1.05\n*.*\n", "Строка 2: ряд клеток стоит до"},
        {"life 1.05 other character", kLife, "#Life 1.05\n#P 0 0\n*O\n",
         "Строка 3: символ «O» не означает клетку"},
        {"life 1.05 blocks too far apart", kLife, "#Life 1.05\n#P 0 0\n*\n#P 300 0\n*\n",
         "Строка 5: живые клетки узора занимают 301 x 1"},
        {"life 1.05 bad #P", kLife, "#Life 1.05\n#P zero 0\n*\n",
         "Строка 2: ожидались после #P левый верхний угол блока"},
    };
    for (const Refused& c : cases) {
        const PatternRead read = readText(c.format, c.text);
        ASSERT_TRUE(read.error.has_value()) << c.what << ": " << describe(read);
        EXPECT_FALSE(read.pattern.has_value()) << c.what;
        const std::string text = read.error->text();
        EXPECT_EQ(text.substr(0, c.start.size()), c.start) << c.what;
        // Every refusal ends by telling what was kept.
        EXPECT_TRUE(text.ends_with(". Узор не загружен, поле осталось пустым.")) << text;
    }
}

// Ten megabytes in one run, one row or one comment: refused (or passed over) after reading
// no more than the file, never holding it.
TEST(PatternReader, HugeRunsRowsAndCommentsAreHandledWithoutHoldingThem) {
    constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;
    const struct {
        const char* what;
        PatternFormat format;
        std::string prefix;
        char fill;
        std::string start; // empty: accepted
    } cases[] = {
        {"rle ten megabytes of digits", kRle, "x = 1, y = 1\n", '9',
         "Строка 2: число повторений 99999999999999999999…"},
        {"rle ten megabytes of o", kRle, "x = 1, y = 1\n", 'o', "Строка 2: ряд 1 узора длиннее"},
        {"rle ten megabytes of $", kRle, "x = 1, y = 1\n", '$', "Строка 2: в узоре больше 200"},
        {"rle ten megabytes of comment", kRle, "#C ", 'c', "В файле RLE нет заголовка"},
        {"rle ten megabytes of blanks", kRle, "x = 1, y = 1\no", ' ', ""},
        {"plaintext ten megabytes in one row", kCells, "", 'O', "Строка 1: ряд узора длиннее"},
        {"plaintext ten megabytes of comment", kCells, "!", '!', ""},
        {"plaintext ten megabytes of lines", kCells, "", '\n', "Строка 201: в узоре больше 200"},
        {"life 1.06 ten megabytes of one line", kLife, "#Life 1.06\n", '1',
         "Строка 2: ожидались координаты"},
        {"life 1.05 ten megabytes of one row", kLife, "#Life 1.05\n#P 0 0\n", '*',
         "Строка 3: ряд узора длиннее"},
        {"life 1.05 ten megabytes of comment", kLife, "#Life 1.05\n#D ", 'x', ""},
    };
    for (const auto& c : cases) {
        RepeatingBuffer buffer(c.prefix, c.fill, kTenMegabytes);
        std::istream in(&buffer);
        const PatternRead read = readPattern(in, c.format);
        if (c.start.empty()) {
            ASSERT_TRUE(read.pattern.has_value()) << c.what << ": " << describe(read);
            // The comment is kept cut short, and no buffer of the whole line stays behind.
            for (const std::string& line : read.pattern->comments.lines()) {
                EXPECT_TRUE(line.ends_with("…") && line.capacity() < 1024) << c.what;
            }
        } else {
            ASSERT_TRUE(read.error.has_value()) << c.what;
            EXPECT_EQ(read.error->text().substr(0, c.start.size()), c.start) << c.what;
        }
    }
}

TEST(PatternReader, FilesOpenLikeBoardFiles) {
    EXPECT_EQ(readPatternFile("/nonexistent/x.rle", PatternFormat::Rle).error,
              FileError(FileError::kFileNotFound));
    EXPECT_EQ(readPatternFile("/", PatternFormat::Plaintext).error,
              FileError(FileError::kAccessDenied));
}

TEST(PatternFormat, TheExtensionDecidesInAnyCase) {
    const struct {
        const char* path;
        PatternFormat format;
    } cases[] = {
        {"a.rle", PatternFormat::Rle},           {"dir.x/A.RLE", PatternFormat::Rle},
        {"b.cells", PatternFormat::Plaintext},   {"b.Cells", PatternFormat::Plaintext},
        {"c.lif", PatternFormat::Life},          {"c.LIFE", PatternFormat::Life},
        {"d.txt", PatternFormat::BoardFile},     {"rle", PatternFormat::BoardFile},
        {"e.rle.txt", PatternFormat::BoardFile}, {"dir.rle/f", PatternFormat::BoardFile},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatForPath(c.path), c.format) << c.path;
    }
}
