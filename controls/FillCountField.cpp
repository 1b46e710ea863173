// The count field's reading and corrections, as its handlers apply them.
#include "FillCountField.h"

#include "engine/IntegerText.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tivla {

namespace {

// Setting the field always passes through its bounds.
std::string boundedText(std::int64_t value) {
    return std::to_string(std::clamp<std::int64_t>(value, kFillCountMin, kFillCountMax));
}

std::optional<std::string> changedOnly(std::string text, std::string_view original) {
    if (text == original) {
        return std::nullopt;
    }
    return text;
}

} // namespace

int fillCountFromText(std::string_view text) {
    return parseInteger(text).value_or(kFillCountMin);
}

std::optional<std::string> correctedFillCountText(std::string_view text, int boardSize) {
    const std::int64_t cellsOnBoard = static_cast<std::int64_t>(boardSize) * boardSize;
    std::string current(text);
    if (fillCountFromText(current) > cellsOnBoard) {
        current = boundedText(cellsOnBoard);
    }
    if (fillCountFromText(current) < kFillCountMin) {
        current = boundedText(kFillCountMin);
    }
    return changedOnly(std::move(current), text);
}

std::optional<std::string> fillCountTextAfterFocusLoss(std::string_view text) {
    const int value = fillCountFromText(text);
    if (value >= kFillCountMin && value <= kFillCountMax) {
        return std::nullopt;
    }
    return changedOnly(boundedText(value), text);
}

std::string fillCountTextAfterStep(std::string_view text, int delta) {
    return boundedText(static_cast<std::int64_t>(fillCountFromText(text)) + delta);
}

bool fillCountAcceptsCharacter(char32_t character, char32_t decimalSeparator) {
    constexpr char32_t kFirstPrintable = 0x20;
    constexpr char32_t kEnter = 0x0D;
    if (character < kFirstPrintable) {
        return character != kEnter;
    }
    return (character >= U'0' && character <= U'9') || character == U'+' || character == U'-' ||
           character == decimalSeparator;
}

} // namespace tivla
