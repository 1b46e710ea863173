// The standard text-to-integer conversion that every number box and the board file share.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tivla {

// Leading blanks, an optional sign, then decimal digits or hexadecimal digits after "$", "x"
// or "0x". Decimal values must fit a signed 32-bit integer; hexadecimal ones may use all 32
// bits and wrap, as the classic conversion does. Anything else, trailing text included, is
// not an integer.
std::optional<std::int32_t> parseInteger(std::string_view text);

} // namespace tivla
