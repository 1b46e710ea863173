// Draws the button glyphs and the application icon as pixel art at their final sizes.
#pragma once

#include <QImage>

namespace tivla {

class GlyphPainter {
public:
    // The tool buttons' glyphs, 21 x 21.
    static QImage clear();
    static QImage start();
    static QImage stop();
    static QImage open();
    static QImage save();
    static QImage advance();
    static QImage advanceTo();
    // The About and fill buttons' glyphs, 16 x 16.
    static QImage about();
    static QImage fill();
    // The application icon, 32 x 32.
    static QImage icon();
};

} // namespace tivla
