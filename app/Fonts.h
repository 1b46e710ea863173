// Gives the program the Windows fonts its controls name, or the nearest fonts at hand.
#pragma once

#include <QFont>
#include <QLatin1String>
#include <QString>

namespace tivla {

// Where Debian's fonts-wine puts Tahoma and the bitmap MS Sans Serif.
inline constexpr QLatin1String kWineFontFolder{"/usr/share/wine/fonts"};

// Registers Tahoma and MS Sans Serif from the folder and makes "Georgia", "Arial" (and
// "Tahoma" or "MS Sans Serif" where their files are missing) resolve to stand-ins, also for
// fonts that name those families directly. A missing folder or file is skipped without
// complaint: the stand-ins serve instead. Needs a QGuiApplication; calling it again registers
// nothing twice.
void installFonts(const QString& folder = QString(kWineFontFolder));

// The font a Windows program gets when it asks for the family at a LOGFONT height at 96 dpi:
// a negative height is the character (em) height in pixels; a positive one is the cell height,
// internal leading included, which Windows measures as usWinAscent + usWinDescent (for a font
// without those tables, the pixel size whose ascent + descent comes closest); 0 is the default
// size. A family that is not installed, or a bitmap family without that size or without a bold
// face, gives way to its stand-in: "Georgia" to PT Serif, "Arial" and "MS Sans Serif" to
// Liberation Sans, "Tahoma" to DejaVu Sans; DejaVu is the last resort for all of them.
QFont windowsFont(const QString& family, int height, bool bold = false);

} // namespace tivla
