// A small transparent image drawn pixel by pixel, for glyphs that must stay crisp at 16 to 32
// pixels.
#include "PixelCanvas.h"

#include <QPainter>

namespace tivla {

PixelCanvas::PixelCanvas(int width, int height) : image_(width, height, QImage::Format_ARGB32) {
    image_.fill(Qt::transparent);
}

void PixelCanvas::set(int x, int y, const QColor& colour) {
    if (image_.rect().contains(x, y))
        image_.setPixelColor(x, y, colour);
}

bool PixelCanvas::isSet(int x, int y) const {
    return image_.rect().contains(x, y) && image_.pixelColor(x, y).alpha() > 0;
}

void PixelCanvas::fillRect(int x, int y, int width, int height, const QColor& colour) {
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            set(column, row, colour);
}

void PixelCanvas::fillPolygon(const QPolygonF& polygon, const QColor& colour) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(polygon);
}

void PixelCanvas::fillDisc(double centreX, double centreY, double radius, const QColor& colour) {
    for (int y = 0; y < image_.height(); ++y) {
        for (int x = 0; x < image_.width(); ++x) {
            const double dx = x + 0.5 - centreX;
            const double dy = y + 0.5 - centreY;
            if (dx * dx + dy * dy <= radius * radius)
                set(x, y, colour);
        }
    }
}

void PixelCanvas::outline(const QColor& ink) {
    const PixelCanvas before = *this;
    for (int y = 0; y < image_.height(); ++y) {
        for (int x = 0; x < image_.width(); ++x) {
            if (before.isSet(x, y))
                continue;
            if (before.isSet(x - 1, y) || before.isSet(x + 1, y) || before.isSet(x, y - 1) ||
                before.isSet(x, y + 1))
                set(x, y, ink);
        }
    }
}

void PixelCanvas::paste(const PixelCanvas& part) {
    QPainter painter(&image_);
    painter.drawImage(0, 0, part.image_);
}

void PixelCanvas::dropShadow(const QColor& shade) {
    const PixelCanvas before = *this;
    for (int y = 0; y < image_.height(); ++y)
        for (int x = 0; x < image_.width(); ++x)
            if (!before.isSet(x, y) && before.isSet(x - 1, y - 1))
                set(x, y, shade);
}

} // namespace tivla
