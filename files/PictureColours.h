// The board's colours as plain numbers, shared by the window and the pictures written without Qt.
#pragma once

#include <cstdint>

namespace tivla {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Dead cells and the board around them.
inline constexpr Rgb kBoardRgb{255, 128, 64};
inline constexpr Rgb kAliveRgb{255, 255, 0};
inline constexpr Rgb kGridLineRgb{192, 192, 192};

} // namespace tivla
