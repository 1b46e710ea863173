// The main window's colours, read by the layout, the painting and the tests alike.
#pragma once

#include "files/PictureColours.h"

#include <QColor>

namespace tivla {

// Dead cells, the strip beyond the last cell and the window around the board: a size button
// hidden for the current size leaves no trace on it.
inline const QColor kBoardColour{kBoardRgb.red, kBoardRgb.green, kBoardRgb.blue};
inline const QColor kWindowColour = kBoardColour;
inline const QColor kAliveColour{kAliveRgb.red, kAliveRgb.green, kAliveRgb.blue};
inline const QColor kCreamColour{255, 251, 240};
inline const QColor kWhiteColour{255, 255, 255};
inline const QColor kBlackColour{0, 0, 0};

} // namespace tivla
