// See IconPainter.h.
#include "IconPainter.h"

#include "AssetColours.h"
#include "PixelCanvas.h"

#include <QPoint>

#include <algorithm>
#include <cmath>

namespace tivla {

namespace {

// The glider as it first appears on a board, in cells of a 3 x 3 block.
constexpr QPoint kGlider[] = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
constexpr int kSamples = 4;

// Whether the point lies in the square [inset, size - inset] with corners of radius.
bool inRoundedSquare(double x, double y, double size, double inset, double radius) {
    const double low = inset + radius;
    const double high = size - inset - radius;
    const double dx = std::max({low - x, 0.0, x - high});
    const double dy = std::max({low - y, 0.0, y - high});
    if (x < inset || y < inset || x > size - inset || y > size - inset)
        return false;
    return dx * dx + dy * dy <= radius * radius;
}

QColor mixed(const QColor& a, const QColor& b, double towardB, double alpha) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * towardB,
                            a.greenF() + (b.greenF() - a.greenF()) * towardB,
                            a.blueF() + (b.blueF() - a.blueF()) * towardB, alpha);
}

// A tile with an edge of edge pixels and rounded corners, smoothed by sampling each pixel.
void paintRoundedTile(PixelCanvas& canvas, int size, int edge) {
    const double radius = size / 16.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int outer = 0;
            int inner = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples;
                    const double py = y + (sy + 0.5) / kSamples;
                    outer += inRoundedSquare(px, py, size, 0, radius);
                    inner += inRoundedSquare(px, py, size, edge, radius - edge);
                }
            }
            if (outer > 0)
                canvas.set(x, y,
                           mixed(colours::kDeepOrange, colours::kOrange, double(inner) / outer,
                                 double(outer) / (kSamples * kSamples)));
        }
    }
}

} // namespace

QImage IconPainter::paint(int size) {
    const int line = std::max(1, size / 32);
    const int cell = size / 4;
    const int grid = 3 * cell + line;
    const int left = (size - grid + 1) / 2;
    PixelCanvas canvas(size, size);
    if (size <= 32) {
        // A one-pixel edge with open corners, which reads as slightly rounded.
        canvas.fillRect(1, 1, size - 2, size - 2, colours::kOrange);
        canvas.outline(colours::kDeepOrange);
    } else {
        paintRoundedTile(canvas, size, line);
    }
    for (int k = 0; k <= 3; ++k) {
        canvas.fillRect(left + k * cell, left, line, grid, colours::kSilver);
        canvas.fillRect(left, left + k * cell, grid, line, colours::kSilver);
    }
    for (const QPoint alive : kGlider) {
        const int x = left + alive.x() * cell;
        const int y = left + alive.y() * cell;
        canvas.fillRect(x, y, cell + line, cell + line, colours::kInk);
        canvas.fillRect(x + line, y + line, cell - line, cell - line, colours::kAlive);
    }
    return canvas.image();
}

QByteArray IconPainter::svg() {
    const auto colour = [](const QColor& c) { return c.name().toLatin1(); };
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                     "viewBox=\"0 0 32 32\">\n"
                     "  <title>Тивла</title>\n";
    svg += "  <rect x=\"0.5\" y=\"0.5\" width=\"31\" height=\"31\" rx=\"2\" fill=\"" +
           colour(colours::kOrange) + "\" stroke=\"" + colour(colours::kDeepOrange) + "\"/>\n";
    const QByteArray silver = colour(colours::kSilver);
    for (int k = 0; k <= 3; ++k) {
        const QByteArray at = QByteArray::number(4 + 8 * k);
        svg += "  <rect x=\"" + at + "\" y=\"4\" width=\"1\" height=\"25\" fill=\"" + silver +
               "\"/>\n";
        svg += "  <rect x=\"4\" y=\"" + at + "\" width=\"25\" height=\"1\" fill=\"" + silver +
               "\"/>\n";
    }
    for (const QPoint alive : kGlider) {
        const QByteArray x = QByteArray::number(4 + 8 * alive.x());
        const QByteArray y = QByteArray::number(4 + 8 * alive.y());
        const QByteArray xIn = QByteArray::number(5 + 8 * alive.x());
        const QByteArray yIn = QByteArray::number(5 + 8 * alive.y());
        svg += "  <rect x=\"" + x + "\" y=\"" + y + "\" width=\"9\" height=\"9\" fill=\"" +
               colour(colours::kInk) + "\"/>\n";
        svg += "  <rect x=\"" + xIn + "\" y=\"" + yIn + "\" width=\"7\" height=\"7\" fill=\"" +
               colour(colours::kAlive) + "\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace tivla
