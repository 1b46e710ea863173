// Draws the application icon, a glider on a corner of the board, at any of the sizes an icon
// theme asks for, and as SVG.
#pragma once

#include <QByteArray>
#include <QImage>

namespace tivla {

class IconPainter {
public:
    // The sizes the icon theme gets as pictures, in pixels a side.
    static constexpr int kThemeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

    // Small sizes are pixel art with whole-pixel lines; from 48 up the tile's corners round.
    static QImage paint(int size);
    // The same drawing on a 32-unit canvas, for any size.
    static QByteArray svg();
};

} // namespace tivla
