// RLE: "#" lines, the header "x = m, y = n, rule = B3/S23", then runs of b, o and $ up to "!".
#include "PatternCells.h"
#include "PatternReader.h"
#include "PatternText.h"

#include <algorithm>

namespace tivla {

namespace {

// A header longer than this is no header any writer makes.
constexpr std::size_t kMaxHeaderLength = 1000;
// Digits of a refused run count shown in its message; numberText cuts them short after 20.
constexpr std::size_t kShownDigits = 20;
const std::string kHeaderShape = "«x = 3, y = 3, rule = B3/S23»";

struct RleHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

std::string lowered(std::string_view text) {
    std::string result;
    for (const char ch : text) {
        if (ch != ' ' && ch != '\t') {
            result += ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
        }
    }
    return result;
}

bool isConwayRule(std::string_view rule) {
    const std::string spelled = lowered(rule);
    return spelled == "b3/s23" || spelled == "23/3";
}

// The header's size value: a whole number from 0 to 200.
std::optional<FileError> readSize(std::string_view value, const char* name, int line,
                                  std::int64_t& size) {
    const Decimal number = parseDecimal(value, 0, kMaxPatternSide);
    const std::string quoted = std::string(name) + " = " + numberText(value);
    if (!number.isNumber) {
        return patternRefusal(line, "в заголовке RLE «" + quoted +
                                        "»: размер узора должен быть целым числом");
    }
    if (!number.inRange) {
        return patternRefusal(
            line, "заголовок RLE задаёт размер узора " + quoted + ", а узор должен быть от 0 до " +
                      std::to_string(kMaxPatternSide) + " клеток в ширину и в высоту");
    }
    size = number.value;
    return std::nullopt;
}

std::optional<FileError> parseHeader(std::string_view text, int line, RleHeader& header) {
    bool hasWidth = false;
    bool hasHeight = false;
    while (true) {
        std::size_t comma = text.find(',');
        std::string_view part = text.substr(0, comma);
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            return patternRefusal(line, "ожидался заголовок RLE вида " + kHeaderShape);
        }
        const std::string key = lowered(part.substr(0, equals));
        if (key == "rule") {
            // The rule is the header's last field and may hold commas of its own.
            comma = std::string_view::npos;
            part = text;
        }
        const std::string_view value = trimmed(part.substr(equals + 1));
        if (key == "x") {
            if (auto error = readSize(value, "x", line, header.width)) {
                return error;
            }
            hasWidth = true;
        } else if (key == "y") {
            if (auto error = readSize(value, "y", line, header.height)) {
                return error;
            }
            hasHeight = true;
        } else if (key == "rule") {
            if (!isConwayRule(value)) {
                return patternRefusal(line, "правило «" + std::string(value) +
                                                "» не поддерживается: Тивла считает поколения "
                                                "только по правилам Конвея B3/S23");
            }
        } else {
            return patternRefusal(line, "в заголовке RLE неизвестное поле «" +
                                            std::string(trimmed(part.substr(0, equals))) +
                                            "»; ожидался заголовок вида " + kHeaderShape);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (!hasWidth || !hasHeight) {
        return patternRefusal(line, "в заголовке RLE нет ширины x или высоты y; ожидался "
                                    "заголовок вида " +
                                        kHeaderShape);
    }
    return std::nullopt;
}

bool isLetter(int byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

std::string rowsRefusal() {
    return "в узоре больше " + std::to_string(kMaxPatternSide) + " рядов";
}

} // namespace

PatternRead readRle(std::istream& in) {
    PatternText text(in);
    PatternComments comments;
    std::string line;
    int headerLine = 0;
    while (true) {
        if (text.peek() < 0) {
            if (text.error()) {
                return {std::nullopt, text.error()};
            }
            return {std::nullopt,
                    patternRefusal(0, "В файле RLE нет заголовка вида " + kHeaderShape)};
        }
        if (text.peek() == '#') {
            text.get();
            comments.readMarkedLine(text);
            continue;
        }
        headerLine = text.line();
        if (!text.readLine(line, kMaxHeaderLength)) {
            return {std::nullopt,
                    patternRefusal(headerLine, "ожидался заголовок RLE вида " + kHeaderShape)};
        }
        if (!trimmed(line).empty()) {
            break;
        }
    }
    RleHeader header;
    if (auto error = parseHeader(line, headerLine, header)) {
        return {std::nullopt, error};
    }

    PatternCells cells;
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::string digits;
    std::int64_t count = 0;
    // A blank or a line break after a count: its tag may still come, another digit may not.
    bool countSpaced = false;
    while (true) {
        const int lineNumber = text.line();
        const int byte = text.get();
        if (byte < 0 || byte == '!') {
            // A file that ends without "!" is taken as it stands.
            break;
        }
        if (byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n') {
            countSpaced = !digits.empty();
            continue;
        }
        if (byte >= '0' && byte <= '9') {
            if (countSpaced) {
                return {std::nullopt,
                        patternRefusal(lineNumber,
                                       "после числа повторений " + numberText(digits) +
                                           " стоит пробел или перевод строки, а за ним цифра " +
                                           std::string(1, char(byte)) +
                                           "; цифры числа пишутся подряд, а после числа идёт "
                                           "b, o или $")};
            }
            digits += static_cast<char>(byte);
            count = count * 10 + (byte - '0');
            if (count > kMaxPatternSide) {
                // Refused at once, whatever follows: a run's digits never pile up. A few more
                // are read for the message.
                while (digits.size() <= kShownDigits && text.peek() >= '0' && text.peek() <= '9') {
                    digits += static_cast<char>(text.get());
                }
                return {std::nullopt,
                        patternRefusal(lineNumber, "число повторений " + numberText(digits) +
                                                       " больше " +
                                                       std::to_string(kMaxPatternSide))};
            }
            continue;
        }
        const std::int64_t run = digits.empty() ? 1 : count;
        if (!digits.empty() && count == 0) {
            return {std::nullopt, patternRefusal(lineNumber, "число повторений 0 перед «" +
                                                                 std::string(1, char(byte)) +
                                                                 "» ничего не значит")};
        }
        if (byte == 'b' || byte == 'o') {
            if (x + run > kMaxPatternSide) {
                return {
                    std::nullopt,
                    patternRefusal(lineNumber, "ряд " + std::to_string(y + 1) + " узора длиннее " +
                                                   std::to_string(kMaxPatternSide) + " клеток")};
            }
            if (byte == 'o') {
                if (y >= kMaxPatternSide) {
                    return {std::nullopt, patternRefusal(lineNumber, rowsRefusal())};
                }
                for (std::int64_t i = 0; i < run; ++i) {
                    cells.add(x + i, y);
                }
            }
            x += run;
        } else if (byte == '$') {
            if (y + run > kMaxPatternSide) {
                return {std::nullopt, patternRefusal(lineNumber, rowsRefusal())};
            }
            y += run;
            x = 0;
        } else if (isLetter(byte)) {
            return {std::nullopt,
                    patternRefusal(lineNumber,
                                   "в узоре RLE клетка в состоянии «" + std::string(1, char(byte)) +
                                       "»; Тивла знает только живые (o) и мёртвые (b) клетки, "
                                       "узоры со многими состояниями она не читает")};
        } else {
            return {std::nullopt,
                    patternRefusal(lineNumber, byteName(byte) + " не может стоять в узоре RLE: "
                                                                "там бывают только числа, b, o, "
                                                                "$ и !")};
        }
        digits.clear();
        count = 0;
        countSpaced = false;
    }
    if (text.error()) {
        return {std::nullopt, text.error()};
    }
    const auto width =
        static_cast<int>(std::max<std::int64_t>(header.width, cells.left() + cells.width()));
    const auto height =
        static_cast<int>(std::max<std::int64_t>(header.height, cells.top() + cells.height()));
    Pattern pattern = cells.pattern(0, 0, width, height);
    pattern.comments = std::move(comments);
    return {std::move(pattern), std::nullopt};
}

} // namespace tivla
