// Life 1.06 ("x y" per live cell) and Life 1.05 ("#P x y" blocks of "." and "*" rows).
#include "PatternCells.h"
#include "PatternReader.h"
#include "PatternText.h"

#include <algorithm>
#include <array>
#include <climits>

namespace tivla {

namespace {

// Lines of numbers longer than this are no coordinates any writer makes.
constexpr std::size_t kMaxNumberLine = 200;

// Characters of a number beyond these only make it too large; a coordinate has at most 11.
constexpr std::size_t kWordLength = 24;

bool isBlank(int byte) {
    return byte == ' ' || byte == '\t';
}

void skipBlanks(PatternText& text) {
    while (isBlank(text.peek())) {
        text.get();
    }
}

// The next word of the line; only its first kWordLength characters are kept. Numbers are read
// straight from the text, as files of millions of cells are made of nothing else.
std::string_view readWord(PatternText& text, std::array<char, kWordLength>& buffer) {
    std::size_t length = 0;
    for (int byte = text.peek(); byte >= 0 && byte != '\n' && byte != '\r' && !isBlank(byte);
         byte = text.peek()) {
        if (length < buffer.size()) {
            buffer[length++] = static_cast<char>(byte);
        }
        text.get();
    }
    return {buffer.data(), length};
}

// Passes over blanks and a CR to the line feed, which it takes; false when something else
// stands before it.
bool endOfLine(PatternText& text) {
    skipBlanks(text);
    if (text.peek() == '\r') {
        text.get();
    }
    if (text.peek() < 0) {
        return true;
    }
    if (text.peek() == '\n') {
        text.get();
        return true;
    }
    return false;
}

// Two coordinates and the end of the line, each a 32-bit signed integer.
std::optional<FileError> readPair(PatternText& text, int lineNumber, const char* what,
                                  std::int64_t& x, std::int64_t& y) {
    std::array<char, kWordLength> first{};
    std::array<char, kWordLength> second{};
    skipBlanks(text);
    const std::string_view words[] = {readWord(text, first),
                                      (skipBlanks(text), readWord(text, second))};
    const auto expected = [&] {
        return patternRefusal(lineNumber,
                              std::string("ожидались ") + what + ": два целых числа через пробел");
    };
    if (words[1].empty() || !endOfLine(text)) {
        return expected();
    }
    std::int64_t* targets[] = {&x, &y};
    for (std::size_t i = 0; i < 2; ++i) {
        const Decimal number = parseDecimal(words[i], INT32_MIN, INT32_MAX);
        if (!number.isNumber) {
            return expected();
        }
        if (!number.inRange) {
            return patternRefusal(lineNumber, "координата " + numberText(words[i]) +
                                                  " вне пределов от " + std::to_string(INT32_MIN) +
                                                  " до " + std::to_string(INT32_MAX));
        }
        *targets[i] = number.value;
    }
    return std::nullopt;
}

FileError boxRefusal(int line, const PatternCells& cells, std::int64_t x, std::int64_t y) {
    return patternRefusal(
        line, "живые клетки узора занимают " + std::to_string(cells.widthWith(x)) + " x " +
                  std::to_string(cells.heightWith(y)) + " клеток, а узор может быть не больше " +
                  std::to_string(kMaxPatternSide) + " x " + std::to_string(kMaxPatternSide));
}

PatternRead finished(const PatternText& text, const PatternCells& cells, PatternComments comments) {
    if (text.error()) {
        return {std::nullopt, text.error()};
    }
    Pattern pattern = cells.pattern(cells.left(), cells.top(), cells.width(), cells.height());
    pattern.comments = std::move(comments);
    return {std::move(pattern), std::nullopt};
}

PatternRead readLife106(PatternText& text) {
    PatternCells cells;
    PatternComments comments;
    while (text.peek() >= 0) {
        const int lineNumber = text.line();
        if (text.peek() == '#') {
            text.get();
            comments.readMarkedLine(text);
            continue;
        }
        std::int64_t x = 0;
        std::int64_t y = 0;
        if (endOfLine(text)) {
            continue;
        }
        if (auto error = readPair(text, lineNumber, "координаты живой клетки", x, y)) {
            return {std::nullopt, error};
        }
        if (!cells.add(x, y)) {
            return {std::nullopt, boxRefusal(lineNumber, cells, x, y)};
        }
    }
    return finished(text, cells, std::move(comments));
}

bool isConwayRule(std::string_view rule) {
    std::string spelled;
    for (const char ch : rule) {
        if (ch != ' ' && ch != '\t') {
            spelled += ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
        }
    }
    return spelled == "23/3" || spelled == "B3/S23";
}

PatternRead readLife105(PatternText& text) {
    PatternCells cells;
    PatternComments comments;
    std::string line;
    bool inBlock = false;
    std::int64_t blockX = 0;
    std::int64_t blockY = 0;
    int row = 0;
    while (text.peek() >= 0) {
        const int lineNumber = text.line();
        if (text.peek() == '#') {
            text.get();
            const int kind = text.peek();
            if (kind != 'P' && kind != 'R') {
                // #D, #C and whatever else: nothing to act on. A bare #N (Conway's rules) names
                // nothing, so it leaves the name alone.
                comments.readMarkedLine(text);
                continue;
            }
            text.get();
            if (kind == 'R') {
                const bool whole = text.readLine(line, kMaxNumberLine);
                if (!whole || !isConwayRule(line)) {
                    return {std::nullopt,
                            patternRefusal(lineNumber, "правило «" + numberText(trimmed(line)) +
                                                           "» не поддерживается: Тивла считает "
                                                           "поколения только по правилам Конвея "
                                                           "23/3")};
                }
                continue;
            }
            if (auto error = readPair(text, lineNumber, "после #P левый верхний угол блока", blockX,
                                      blockY)) {
                return {std::nullopt, error};
            }
            inBlock = true;
            row = 0;
            continue;
        }
        if (!inBlock) {
            const bool whole = text.readLine(line, kMaxNumberLine);
            if (whole && trimmed(line).empty()) {
                continue;
            }
            return {std::nullopt,
                    patternRefusal(lineNumber, "ряд клеток стоит до первой строки «#P x y», "
                                               "которая говорит, где он на поле")};
        }
        if (row == kMaxPatternSide) {
            return {std::nullopt,
                    patternRefusal(lineNumber, "в блоке #P больше " +
                                                   std::to_string(kMaxPatternSide) + " рядов")};
        }
        int length = 0;
        const auto error = readCellRow(
            text, "*", "в файле Life 1.05 мёртвая клетка пишется «.», живая «*»",
            [&](int x) -> std::optional<FileError> {
                if (!cells.add(blockX + x, blockY + row)) {
                    return boxRefusal(lineNumber, cells, blockX + x, blockY + row);
                }
                return std::nullopt;
            },
            length);
        if (error) {
            return {std::nullopt, error};
        }
        ++row;
    }
    return finished(text, cells, std::move(comments));
}

} // namespace

PatternRead readLife(std::istream& in) {
    PatternText text(in);
    std::string first;
    const bool whole = text.readLine(first, kMaxNumberLine);
    const std::string_view version = whole ? trimmed(first) : std::string_view();
    if (version == "#Life 1.06") {
        return readLife106(text);
    }
    if (version == "#Life 1.05") {
        return readLife105(text);
    }
    if (text.error()) {
        return {std::nullopt, text.error()};
    }
    return {std::nullopt, patternRefusal(1, "файл Life должен начинаться строкой «#Life 1.06» "
                                            "или «#Life 1.05»")};
}

} // namespace tivla
