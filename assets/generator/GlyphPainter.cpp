// Draws the button glyphs and the application icon as pixel art at their final sizes.
#include "GlyphPainter.h"

#include "AssetColours.h"
#include "IconPainter.h"
#include "PixelCanvas.h"

#include <cmath>
#include <cstdlib>

namespace tivla {

namespace {

constexpr int kToolSize = 21;
constexpr int kSmallSize = 16;
constexpr int kIconSize = 32;

// A triangle pointing right whose rows widen one step at a time up to the middle row.
void fillPlayTriangle(PixelCanvas& canvas, int left, int top, int height, int width,
                      const QColor& colour) {
    const int half = (height - 1) / 2;
    for (int row = 0; row < height; ++row) {
        const int fromMiddle = std::abs(row - half);
        const int span =
            static_cast<int>(std::lround(double(half - fromMiddle) * (width - 1) / half));
        canvas.fillRect(left, top + row, span + 1, 1, colour);
    }
}

// Lights the left edge of a play triangle so it reads as slightly raised.
void lightPlayTriangle(PixelCanvas& canvas, int left, int top, int height, const QColor& light) {
    for (int row = 1; row < height - 1; ++row)
        canvas.set(left, top + row, light);
}

QImage finish(PixelCanvas& canvas) {
    canvas.dropShadow(colours::kShadow);
    return canvas.image();
}

} // namespace

QImage GlyphPainter::start() {
    PixelCanvas canvas(kToolSize, kToolSize);
    fillPlayTriangle(canvas, 7, 3, 15, 10, colours::kGreen);
    lightPlayTriangle(canvas, 7, 3, 15, colours::kGreenLight);
    canvas.outline(colours::kInk);
    return finish(canvas);
}

QImage GlyphPainter::stop() {
    PixelCanvas canvas(kToolSize, kToolSize);
    canvas.fillRect(5, 5, 11, 11, colours::kRed);
    canvas.fillRect(6, 6, 9, 1, colours::kRedLight);
    canvas.fillRect(6, 6, 1, 9, colours::kRedLight);
    canvas.outline(colours::kInk);
    return finish(canvas);
}

QImage GlyphPainter::advance() {
    PixelCanvas canvas(kToolSize, kToolSize);
    fillPlayTriangle(canvas, 2, 5, 11, 8, colours::kGreen);
    fillPlayTriangle(canvas, 10, 5, 11, 8, colours::kGreen);
    lightPlayTriangle(canvas, 2, 5, 11, colours::kGreenLight);
    lightPlayTriangle(canvas, 10, 5, 11, colours::kGreenLight);
    canvas.outline(colours::kInk);
    return finish(canvas);
}

QImage GlyphPainter::advanceTo() {
    PixelCanvas canvas(kToolSize, kToolSize);
    fillPlayTriangle(canvas, 3, 4, 13, 9, colours::kGreen);
    lightPlayTriangle(canvas, 3, 4, 13, colours::kGreenLight);
    canvas.fillRect(14, 4, 3, 13, colours::kCream);
    canvas.outline(colours::kInk);
    return finish(canvas);
}

QImage GlyphPainter::open() {
    PixelCanvas back(kToolSize, kToolSize);
    back.fillRect(2, 4, 6, 2, colours::kFolder);
    back.fillRect(2, 6, 14, 11, colours::kFolder);
    back.outline(colours::kInk);

    PixelCanvas paper(kToolSize, kToolSize);
    paper.fillRect(5, 6, 8, 4, colours::kCream);
    paper.outline(colours::kInk);

    PixelCanvas flap(kToolSize, kToolSize);
    flap.fillPolygon(QPolygonF({QPointF(6, 10), QPointF(20, 10), QPointF(16, 17), QPointF(2, 17)}),
                     colours::kFolderLight);
    flap.outline(colours::kInk);

    back.paste(paper);
    back.paste(flap);
    return finish(back);
}

QImage GlyphPainter::save() {
    PixelCanvas body(kToolSize, kToolSize);
    body.fillRect(2, 2, 16, 16, colours::kBlue);
    body.fillRect(3, 3, 1, 14, colours::kBlueLight);
    // The clipped corner of a diskette.
    body.set(17, 2, Qt::transparent);
    body.outline(colours::kInk);

    PixelCanvas shutter(kToolSize, kToolSize);
    shutter.fillRect(6, 2, 9, 5, colours::kSteel);
    shutter.fillRect(11, 3, 2, 3, colours::kInk);
    shutter.outline(colours::kInk);

    PixelCanvas label(kToolSize, kToolSize);
    label.fillRect(5, 11, 11, 7, colours::kCream);
    label.fillRect(7, 13, 7, 1, colours::kSilver);
    label.fillRect(7, 15, 7, 1, colours::kSilver);
    label.outline(colours::kInk);

    body.paste(shutter);
    body.paste(label);
    return finish(body);
}

QImage GlyphPainter::clear() {
    // An eraser seen from above and in front: a pink rubber end in a blue sleeve.
    PixelCanvas canvas(kToolSize, kToolSize);
    const auto colour = [](char c) {
        switch (c) {
        case 'p':
            return colours::kPinkLight;
        case 'P':
            return colours::kPink;
        case 'b':
            return colours::kBlueLight;
        case 'B':
            return colours::kBlue;
        case 'D':
            return colours::kBlueDark;
        default:
            return colours::kInk;
        }
    };
    // clang-format off
    canvas.drawPattern(2, 4, {".....KKKKKKKKKKK",
                              "....KpppKbbbbbKK",
                              "...KpppKbbbbbKDK",
                              "..KpppKbbbbbKDDK",
                              ".KpppKbbbbbKDDDK",
                              "KKKKKKKKKKKDDDDK",
                              "KPPPKBBBBBKDDDDK",
                              "KPPPKBBBBBKDDDK.",
                              "KPPPKBBBBBKDDK..",
                              "KPPPKBBBBBKDK...",
                              "KPPPKBBBBBKK....",
                              "KKKKKKKKKKK....."}, colour);
    // clang-format on
    return finish(canvas);
}

QImage GlyphPainter::about() {
    PixelCanvas canvas(kSmallSize, kSmallSize);
    canvas.fillDisc(7.5, 7.5, 6.6, colours::kBlue);
    canvas.outline(colours::kInk);
    // clang-format off
    canvas.drawPattern(5, 3, {".##.",
                              ".##.",
                              "....",
                              "###.",
                              ".##.",
                              ".##.",
                              ".##.",
                              "####"}, [](char) { return colours::kCream; });
    // clang-format on
    return finish(canvas);
}

QImage GlyphPainter::fill() {
    PixelCanvas canvas(kSmallSize, kSmallSize);
    canvas.fillRect(2, 2, 12, 12, colours::kCream);
    canvas.outline(colours::kInk);
    for (const QPoint pip :
         {QPoint(4, 4), QPoint(10, 4), QPoint(7, 7), QPoint(4, 10), QPoint(10, 10)})
        canvas.fillRect(pip.x(), pip.y(), 2, 2, colours::kInk);
    return finish(canvas);
}

QImage GlyphPainter::icon() {
    return IconPainter::paint(kIconSize);
}

} // namespace tivla
