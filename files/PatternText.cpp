// Buffered reading with line numbers, shared by the RLE, plaintext and Life readers.
#include "PatternText.h"

#include "BoardFileReader.h"
#include "Pattern.h"

#include <cstring>

namespace tivla {

namespace {

// A number of more digits than this is shown by its first ones and an ellipsis.
constexpr std::size_t kShownDigits = 20;

} // namespace

void PatternText::skipLine() {
    while (peek() >= 0) {
        const char* data = buffer_.get();
        const void* lineFeed = std::memchr(data + position_, '\n', filled_ - position_);
        if (lineFeed != nullptr) {
            position_ = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - data) + 1;
            ++line_;
            return;
        }
        position_ = filled_;
    }
}

bool PatternText::readLine(std::string& out, std::size_t maxLength) {
    out.clear();
    for (int byte = peek(); byte >= 0 && byte != '\n'; byte = peek()) {
        // One byte more than the limit may be the carriage return of a CR LF ending.
        if (out.size() > maxLength) {
            return false;
        }
        out += static_cast<char>(get());
    }
    get();
    if (!out.empty() && out.back() == '\r') {
        out.pop_back();
    }
    return out.size() <= maxLength;
}

FileError patternRefusal(int line, const std::string& reason) {
    std::string text;
    if (line > 0) {
        text = "Строка " + std::to_string(line) + ": ";
    }
    text += reason + ". Узор не загружен, поле осталось пустым.";
    return FileError::refusal(std::move(text));
}

std::string byteName(int byte) {
    if (byte == 0) {
        return "нулевой байт";
    }
    if (byte > ' ' && byte < 0x7F) {
        return std::string("символ «") + static_cast<char>(byte) + "»";
    }
    constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("байт 0x") + kHex[(byte >> 4) & 0xF] + kHex[byte & 0xF];
}

std::string numberText(std::string_view digits) {
    if (digits.size() <= kShownDigits) {
        return std::string(digits);
    }
    return std::string(digits.substr(0, kShownDigits)) + "…";
}

Decimal parseDecimal(std::string_view text, std::int64_t low, std::int64_t high) {
    Decimal result;
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return result;
    }
    // Past this the value only needs to be known as too large.
    constexpr std::int64_t kSaturated = std::int64_t{1} << 62;
    std::int64_t magnitude = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9') {
            return result;
        }
        magnitude = magnitude >= kSaturated / 10 ? kSaturated : magnitude * 10 + (ch - '0');
    }
    result.isNumber = true;
    result.value = negative ? -magnitude : magnitude;
    result.inRange = magnitude < kSaturated && result.value >= low && result.value <= high;
    return result;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<FileError> readCellRow(PatternText& text, std::string_view alive,
                                     const std::string& rule,
                                     const std::function<std::optional<FileError>(int)>& addAlive,
                                     int& length) {
    const int line = text.line();
    length = 0;
    while (true) {
        const int byte = text.get();
        if (byte < 0 || byte == '\n') {
            return std::nullopt;
        }
        if (byte == '\r' && (text.peek() == '\n' || text.peek() < 0)) {
            continue;
        }
        const bool isAlive = byte != 0 && alive.find(char(byte)) != std::string_view::npos;
        if (byte != '.' && !isAlive) {
            return patternRefusal(line, byteName(byte) + " не означает клетку: " + rule);
        }
        if (length == kMaxPatternSide) {
            return patternRefusal(line, "ряд узора длиннее " + std::to_string(kMaxPatternSide) +
                                            " клеток");
        }
        if (isAlive) {
            if (auto refused = addAlive(length)) {
                return refused;
            }
        }
        ++length;
    }
}

} // namespace tivla
