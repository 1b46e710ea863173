// The interval, n and target boxes' rules, without the widgets: what they let through, how a
// bad number is reported and how the target box corrects itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tivla {

inline constexpr char32_t kBackspaceCharacter = 8;

// The interval and n boxes let through only backspace and the digits.
constexpr bool acceptsNumberBoxCharacter(char32_t ch) {
    return ch == kBackspaceCharacter || (ch >= U'0' && ch <= U'9');
}

// The conversion error as the user reads it (before the message box adds its full stop);
// tivla-batch words a generation count that doesn't convert the same way.
std::string invalidIntegerText(std::string_view text);

// What the target box must read instead of `text`, if anything: it is kept above the current
// generation. Nothing when the text is fine or is not an integer (the caller reports that).
std::optional<std::string> correctedTargetText(std::string_view text, std::int32_t generation);

// The advance-to command's count: the target minus the generation, wrapping like the
// original 32-bit arithmetic. Zero or less advances nothing.
std::int32_t stepsToTarget(std::int32_t target, std::int32_t generation);

} // namespace tivla
