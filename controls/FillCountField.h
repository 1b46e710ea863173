// What the fill count field reads and how it corrects itself, without the widget.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tivla {

inline constexpr int kFillCountMin = 3;
inline constexpr int kFillCountMax = 2550;
inline constexpr int kFillCountStart = 3;
inline constexpr int kFillCountMaxLength = 4;

// The count the field holds: its text as an integer, or the lower bound when the text is not
// one (an empty field, a lone sign, a decimal fraction).
int fillCountFromText(std::string_view text);

// SpinEdit1Change: the text the field must be set to after its text became `text` on a board
// of boardSize cells a side, or nothing when it stays as it is. A value above the number of
// cells comes down to that number, kept within the field's bounds; a value below the lower
// bound goes up to it. An empty field is left empty: it already reads as the lower bound.
std::optional<std::string> correctedFillCountText(std::string_view text, int boardSize);

// When the field loses the keyboard focus a value outside its bounds is brought back in.
std::optional<std::string> fillCountTextAfterFocusLoss(std::string_view text);

// The up and down buttons and keys: the value read from the text, stepped by delta, within
// the bounds.
std::string fillCountTextAfterStep(std::string_view text, int delta);

// Typed characters the field lets through: digits, signs, the decimal separator and control
// characters such as backspace, but not Enter; anything else is refused with a beep.
bool fillCountAcceptsCharacter(char32_t character, char32_t decimalSeparator);

} // namespace tivla
