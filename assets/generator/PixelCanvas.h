// A small transparent image drawn pixel by pixel, for glyphs that must stay crisp at 16 to 32
// pixels.
#pragma once

#include <QColor>
#include <QImage>
#include <QPolygonF>

#include <initializer_list>

namespace tivla {

class PixelCanvas {
public:
    PixelCanvas(int width, int height);

    void set(int x, int y, const QColor& colour);
    bool isSet(int x, int y) const;
    void fillRect(int x, int y, int width, int height, const QColor& colour);
    // Fills the polygon without antialiasing, so its edges step by whole pixels.
    void fillPolygon(const QPolygonF& polygon, const QColor& colour);
    // Fills every pixel whose centre lies within the circle.
    void fillDisc(double centreX, double centreY, double radius, const QColor& colour);
    // Rows of characters, one per pixel: '.' or ' ' leaves a pixel alone, any other character
    // takes the colour that paletteColour gives it.
    template <typename Palette>
    void drawPattern(int x, int y, std::initializer_list<const char*> rows, Palette paletteColour);

    // Rings the drawing with a one-pixel line wherever a transparent pixel touches a drawn one
    // side by side. Diagonal neighbours alone do not count, which keeps slanted edges one pixel
    // thin and leaves the corners of rectangles open, slightly rounded.
    void outline(const QColor& ink);
    // Draws another canvas of the same size over this one, for glyphs built of outlined parts.
    void paste(const PixelCanvas& part);
    // Lays a soft shadow one pixel down and to the right of the drawing.
    void dropShadow(const QColor& shade);

    const QImage& image() const { return image_; }

private:
    QImage image_;
};

template <typename Palette>
void PixelCanvas::drawPattern(int x, int y, std::initializer_list<const char*> rows,
                              Palette paletteColour) {
    int row = y;
    for (const char* line : rows) {
        for (int column = 0; line[column] != '\0'; ++column) {
            const char c = line[column];
            if (c != '.' && c != ' ')
                set(x + column, row, paletteColour(c));
        }
        ++row;
    }
}

} // namespace tivla
