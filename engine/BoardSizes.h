// The six board sizes the size buttons offer, smallest first: a pattern too large for the
// board it is opened on goes to the first of them that holds it.
#pragma once

#include <array>
#include <cstdint>

namespace tivla {

inline constexpr std::array<std::int32_t, 6> kBoardSizes{40, 50, 80, 100, 150, 200};

} // namespace tivla
