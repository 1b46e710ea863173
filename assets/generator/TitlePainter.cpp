// Draws the title screen's picture: the heading, a glider on a grid and the rules of the game.
#include "TitlePainter.h"

#include "AssetColours.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextLayout>

#include <cstring>
#include <vector>

namespace tivla {

namespace {

constexpr int kWidth = 768;
constexpr int kHeight = 573;
// Only this much of the picture shows through the title screen's window.
constexpr int kVisibleWidth = 767;
constexpr int kVisibleHeight = 553;

constexpr int kHeadingBlock = 9;
constexpr int kHeadingTop = 30;

constexpr int kGridLeft = 46;
constexpr int kGridTop = 168;
constexpr int kGridCells = 9;
constexpr int kGridCell = 25;

constexpr int kTextLeft = 318;
constexpr int kTextRight = 740;
constexpr int kTextTop = 156;

QFont tahoma(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Draws a word-wrapped paragraph with a little more air between its lines than the font's
// own spacing, and returns the top of whatever follows it.
int paintParagraph(QPainter& painter, const QRect& room, const QString& text,
                   Qt::Alignment alignment = Qt::AlignLeft) {
    constexpr qreal kLineSpacing = 1.25;
    QTextLayout layout(text, painter.font());
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const qreal lineStep = QFontMetricsF(painter.font()).height() * kLineSpacing;
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        line.setPosition(QPointF(0, y));
        y += lineStep;
    }
    layout.endLayout();
    // A faint shadow keeps the white letters clear of the orange.
    const QPen pen = painter.pen();
    painter.setPen(colours::kTextShadow);
    layout.draw(&painter, room.topLeft() + QPointF(1, 1));
    painter.setPen(pen);
    layout.draw(&painter, room.topLeft());
    return room.top() + qRound(y);
}

int paintParagraph(QPainter& painter, int left, int top, const QString& text) {
    return paintParagraph(painter, QRect(left, top, kTextRight - left, kVisibleHeight - top), text);
}

// The heading's letters, drawn cell by cell with strokes two cells thick on a common baseline;
// the small letters leave the capital's top three rows empty.
constexpr int kLetterRows = 10;
// clang-format off
constexpr const char* kHeadingLetters[][kLetterRows] = {
    {"##########",
     "##########",
     "....##....",
     "....##....",
     "....##....",
     "....##....",
     "....##....",
     "....##....",
     "....##....",
     "....##...."},
    {"........",
     "........",
     "........",
     "##....##",
     "##...###",
     "##..####",
     "##.##.##",
     "####..##",
     "###...##",
     "##....##"},
    {".......",
     ".......",
     ".......",
     "######.",
     "##...##",
     "##...##",
     "######.",
     "##...##",
     "##...##",
     "######."},
    {".......",
     ".......",
     ".......",
     "..#####",
     "..##.##",
     "..##.##",
     "..##.##",
     "..##.##",
     ".##..##",
     "##...##"},
    {".......",
     ".......",
     ".......",
     ".#####.",
     ".....##",
     ".######",
     "##...##",
     "##...##",
     "##..###",
     ".###.##"},
};
// clang-format on

// "Тивла" built of live cells, the same squares the board shows.
void paintHeading(QPainter& painter) {
    constexpr int kLetterGap = 2;
    int columns = -kLetterGap;
    for (const auto& letter : kHeadingLetters)
        columns += int(std::strlen(letter[0])) + kLetterGap;

    std::vector<QRect> cells;
    const int left = (kVisibleWidth - columns * kHeadingBlock) / 2;
    int column = 0;
    for (const auto& letter : kHeadingLetters) {
        for (int row = 0; row < kLetterRows; ++row) {
            for (int x = 0; letter[row][x] != '\0'; ++x) {
                if (letter[row][x] == '#')
                    cells.emplace_back(left + (column + x) * kHeadingBlock,
                                       kHeadingTop + row * kHeadingBlock, kHeadingBlock,
                                       kHeadingBlock);
            }
        }
        column += int(std::strlen(letter[0])) + kLetterGap;
    }
    // Shadows first, then every cell's dark rim, then its yellow face, so neighbouring cells
    // share one rim line the way board cells share a grid line.
    for (const QRect& cell : cells)
        painter.fillRect(cell.translated(4, 4), colours::kShadow);
    for (const QRect& cell : cells)
        painter.fillRect(cell, colours::kInk);
    for (const QRect& cell : cells)
        painter.fillRect(cell.adjusted(1, 1, -1, -1), colours::kAlive);
}

void paintGlider(QPainter& painter) {
    const int size = kGridCells * kGridCell;
    painter.setPen(colours::kSilver);
    for (int line = 0; line <= kGridCells; ++line) {
        painter.drawLine(kGridLeft + line * kGridCell, kGridTop, kGridLeft + line * kGridCell,
                         kGridTop + size);
        painter.drawLine(kGridLeft, kGridTop + line * kGridCell, kGridLeft + size,
                         kGridTop + line * kGridCell);
    }
    for (const QPoint cell :
         {QPoint(3, 2), QPoint(4, 3), QPoint(2, 4), QPoint(3, 4), QPoint(4, 4)}) {
        const QRect square(kGridLeft + cell.x() * kGridCell + 1,
                           kGridTop + cell.y() * kGridCell + 1, kGridCell - 1, kGridCell - 1);
        painter.fillRect(square, colours::kAlive);
    }

    // Its course: a glider moves one cell along the diagonal every four generations.
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(colours::kCream, 3);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const QPointF from(kGridLeft + 5.6 * kGridCell, kGridTop + 5.6 * kGridCell);
    const QPointF to(kGridLeft + 7.9 * kGridCell, kGridTop + 7.9 * kGridCell);
    painter.drawLine(from, to);
    QPainterPath head;
    head.moveTo(to + QPointF(4, 4));
    head.lineTo(to + QPointF(-11, 2));
    head.lineTo(to + QPointF(2, -11));
    head.closeSubpath();
    painter.fillPath(head, colours::kCream);

    painter.setFont(tahoma(13));
    paintParagraph(painter, QRect(kGridLeft - 10, kGridTop + size + 10, size + 20, 60),
                   QStringLiteral("Глайдер: каждые четыре поколения он сдвигается на одну клетку "
                                  "по диагонали"),
                   Qt::AlignHCenter);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void paintRules(QPainter& painter) {
    painter.setPen(Qt::white);
    QFont heading(QStringLiteral("PT Serif"));
    heading.setPixelSize(26);
    heading.setBold(true);
    painter.setFont(heading);
    int top = paintParagraph(painter, kTextLeft, kTextTop, QStringLiteral("Игра «Жизнь»"));

    painter.setFont(tahoma(15));
    top = paintParagraph(painter, kTextLeft, top + 2,
                         QStringLiteral("Её придумал математик Джон Конвей в 1970 году. Поле "
                                        "поделено на клетки; каждая клетка жива или мертва, и у "
                                        "каждой восемь соседей. Все клетки сменяют поколение "
                                        "разом, по трём правилам:"));

    const QString rules[] = {
        QStringLiteral("Живая клетка, у которой два или три живых соседа, выживает."),
        QStringLiteral("Живая клетка, у которой живых соседей меньше двух или больше трёх, "
                       "умирает — от одиночества или от тесноты."),
        QStringLiteral("В мёртвой клетке, у которой ровно три живых соседа, рождается жизнь."),
    };
    constexpr int kBullet = 10;
    constexpr int kIndent = 22;
    top += 6;
    for (const QString& rule : rules) {
        const int lineMiddle = top + QFontMetrics(painter.font()).height() / 2;
        const QRect bullet(kTextLeft + 3, lineMiddle - kBullet / 2 + 1, kBullet, kBullet);
        painter.fillRect(bullet.translated(2, 2), colours::kShadow);
        painter.fillRect(bullet, colours::kInk);
        painter.fillRect(bullet.adjusted(1, 1, -1, -1), colours::kAlive);
        top = paintParagraph(painter, kTextLeft + kIndent, top, rule) + 5;
    }

    paintParagraph(painter, kTextLeft, top + 4,
                   QStringLiteral("Нарисуйте на поле свои фигуры, запустите его и смотрите, что "
                                  "из них вырастет."));
}

void paintHint(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRect box(kVisibleWidth / 2 - 170, 496, 340, 38);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours::kDeepOrange);
    painter.drawRoundedRect(box, 8, 8);
    painter.setPen(colours::kCream);
    painter.setFont(tahoma(18, true));
    painter.drawText(box, Qt::AlignCenter, QStringLiteral("Щёлкните, чтобы начать"));
    painter.setRenderHint(QPainter::Antialiasing, false);
}

// A frame just inside the window's edge, since the borderless window has no edge of its own.
void paintFrame(QPainter& painter) {
    constexpr int kInset = 8;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colours::kDeepOrange, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(
        QRectF(kInset, kInset, kVisibleWidth - 2 * kInset, kVisibleHeight - 2 * kInset), 12, 12);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace

QImage TitlePainter::paint() {
    QImage picture(kWidth, kHeight, QImage::Format_RGB888);
    picture.fill(colours::kOrange);
    QPainter painter(&picture);
    paintFrame(painter);
    paintHeading(painter);
    paintGlider(painter);
    paintRules(painter);
    paintHint(painter);
    return picture;
}

} // namespace tivla
