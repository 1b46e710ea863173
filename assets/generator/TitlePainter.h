// Draws the title screen's picture: the heading, a glider on a grid and the rules of the game.
#pragma once

#include <QImage>

namespace tivla {

class TitlePainter {
public:
    // The whole picture, 768 x 573 in 24-bit colour; only its top-left 767 x 553 is ever seen.
    static QImage paint();
};

} // namespace tivla
