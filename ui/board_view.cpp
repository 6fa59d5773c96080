#include "ui/board_view.h"

#include <QPaintEvent>
#include <QPainter>

namespace korvel {
namespace {

// Anti-aliasing may touch the pixel next to a square; repaint it too.
QRect withMargin(const QRect& rect) {
    return rect.adjusted(-1, -1, 1, 1);
}

}  // namespace

BoardView::BoardView(const Board& board, QWidget* parent) : QWidget(parent), board_(board) {
    setObjectName(QStringLiteral("board"));
    setFixedSize(AreaSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

QRect BoardView::shapeRect(int shape) {
    const Board::Position cell = Board::cellOfShape(shape);
    return {(cell.col - 1) * Pitch, (cell.row - 1) * Pitch, Diameter, Diameter};
}

QColor BoardView::toQColor(Color color) {
    return {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF};
}

void BoardView::updateShapes(const std::vector<int>& shapes) {
    for (int shape : shapes) {
        update(withMargin(shapeRect(shape)));
    }
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    // Every circle that reaches into the exposed region is painted again, so
    // the pixel that two neighbours share always shows the same one. Empty
    // cells are white on white: skipping them lets a coloured neighbour keep
    // the shared pixel instead of losing its outline there.
    for (int shape = 1; shape <= Board::CellCount; ++shape) {
        const QRect square = shapeRect(shape);
        if (!event->region().intersects(withMargin(square))) {
            continue;
        }
        const Board::Position pos = Board::cellOfShape(shape);
        const Cell& cell = board_.Cells(pos.row, pos.col);
        if (cell.BackColor == White && cell.BorderColor == White) {
            continue;
        }
        painter.setPen(QPen(toQColor(cell.BorderColor), 1.0));
        painter.setBrush(toQColor(cell.BackColor));
        // A one-pixel pen centred on a 24 x 24 ellipse fills the 25 x 25 square.
        painter.drawEllipse(QRectF(square).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

}  // namespace korvel
