// The title picture, the button glyphs and the application icon, built into the program.
#pragma once

#include <QLatin1String>

namespace tivla {

// Registers the pictures with Qt's resource system. They live in a static library, whose
// resources the linker would otherwise drop, so call this once before loading any of them.
void initAssets();

namespace assets {

// 768 x 573, 24-bit; only its top-left 767 x 553 is meant to be seen.
inline constexpr QLatin1String kTitle{":/assets/title.png"};
// The tool buttons' glyphs, 21 x 21 with transparent backgrounds.
inline constexpr QLatin1String kClear{":/assets/clear.png"};
inline constexpr QLatin1String kStart{":/assets/start.png"};
inline constexpr QLatin1String kStop{":/assets/stop.png"};
inline constexpr QLatin1String kOpen{":/assets/open.png"};
inline constexpr QLatin1String kSave{":/assets/save.png"};
inline constexpr QLatin1String kAdvance{":/assets/advance.png"};
inline constexpr QLatin1String kAdvanceTo{":/assets/advance-to.png"};
// The About and fill buttons' glyphs, 16 x 16.
inline constexpr QLatin1String kAbout{":/assets/about.png"};
inline constexpr QLatin1String kFill{":/assets/fill.png"};
// The application icon, 32 x 32.
inline constexpr QLatin1String kIcon{":/assets/icon.png"};

} // namespace assets

} // namespace tivla
