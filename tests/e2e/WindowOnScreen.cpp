// See WindowOnScreen.h.
#include "WindowOnScreen.h"

#include "ControlPlaces.h"
#include "ScreenPixels.h"

namespace tivla::e2e {

GridOnScreen::GridOnScreen(QPoint origin, int cellSize, int lineWidth, int scale)
    : origin_(origin), cellSize_(cellSize), lineWidth_(lineWidth), scale_(scale) {}

QRect GridOnScreen::cellRect(int col, int row) const {
    const int pitch = cellSize_ + lineWidth_;
    return {origin_.x() + col * pitch * scale_, origin_.y() + row * pitch * scale_,
            cellSize_ * scale_, cellSize_ * scale_};
}

QPoint GridOnScreen::cellCentre(int col, int row) const {
    return cellRect(col, row).center();
}

GridOnScreen::Look GridOnScreen::look(const QImage& screen, int col, int row) const {
    const QRect inside = cellRect(col, row).adjusted(scale_, scale_, -scale_, -scale_);
    if (isUniform(screen, inside, kAliveYellow)) {
        return Look::Alive;
    }
    if (isUniform(screen, inside, kBoardOrange)) {
        return Look::Dead;
    }
    return Look::Other;
}

int GridOnScreen::countAlive(const QImage& screen, int boardSize) const {
    int alive = 0;
    for (int row = 0; row < boardSize; ++row) {
        for (int col = 0; col < boardSize; ++col) {
            alive += look(screen, col, row) == Look::Alive ? 1 : 0;
        }
    }
    return alive;
}

bool GridOnScreen::shows(const QImage& screen, const std::set<Cell>& alive,
                         const QRect& block) const {
    for (int row = block.top(); row <= block.bottom(); ++row) {
        for (int col = block.left(); col <= block.right(); ++col) {
            const Look expected = alive.count({col, row}) != 0 ? Look::Alive : Look::Dead;
            if (look(screen, col, row) != expected) {
                return false;
            }
        }
    }
    return true;
}

QRect GridOnScreen::controlRect(int boardSize) const {
    const int side = (cellSize_ + 1) * boardSize * scale_;
    return {origin_, QSize(side, side)};
}

WindowOnScreen::WindowOnScreen(QPoint logicalOrigin, int scale)
    : origin_(logicalOrigin), scale_(scale) {}

QPoint WindowOnScreen::at(QPoint windowPos) const {
    return (origin_ + windowPos) * scale_ + QPoint(scale_ / 2, scale_ / 2);
}

QRect WindowOnScreen::rect(const QRect& windowRect) const {
    return {(origin_ + windowRect.topLeft()) * scale_, windowRect.size() * scale_};
}

GridOnScreen WindowOnScreen::grid(int cellSize, int lineWidth) const {
    return {(origin_ + places::kGrid) * scale_, cellSize, lineWidth, scale_};
}

QPoint WindowOnScreen::centredOrigin(QSize screenSize, QSize windowSize) {
    return {(screenSize.width() - windowSize.width()) / 2,
            (screenSize.height() - windowSize.height()) / 2};
}

} // namespace tivla::e2e
