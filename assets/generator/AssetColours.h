// The colours shared by the title picture, the glyphs and the icon, so the set looks of a piece.
#pragma once

#include <QColor>

namespace tivla::colours {

// The window and the dead board cells; the alive cells.
inline const QColor kOrange{255, 128, 64};
inline const QColor kAlive{255, 255, 0};
inline const QColor kCream{255, 251, 240};
inline const QColor kSilver{192, 192, 192};

// Outlines are a deep brown rather than black: softer on the orange, still sharp.
inline const QColor kInk{70, 24, 2};
inline const QColor kShadow{110, 36, 0, 110};
inline const QColor kTextShadow{150, 50, 0, 120};
inline const QColor kDeepOrange{214, 92, 30};

inline const QColor kGreen{62, 172, 58};
inline const QColor kGreenLight{156, 228, 120};
inline const QColor kRed{218, 44, 34};
inline const QColor kRedLight{255, 136, 112};
inline const QColor kFolder{246, 188, 60};
inline const QColor kFolderLight{255, 226, 130};
inline const QColor kBlue{52, 92, 186};
inline const QColor kBlueLight{118, 156, 232};
inline const QColor kBlueDark{34, 60, 130};
inline const QColor kPink{255, 150, 168};
inline const QColor kPinkLight{255, 196, 206};
inline const QColor kSteel{206, 210, 218};
inline const QColor kGrey{120, 120, 130};

} // namespace tivla::colours
