#include "ui/board_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>

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
    paintShapes(painter, event->region());
}

void BoardView::paintShapes(QPainter& painter, const QRegion& region) {
    for (const QRect& rect : region) {
        painter.fillRect(rect, Qt::white);
    }
    const QRect area = region.boundingRect();
    // Every circle that reaches into the exposed region is painted again, so
    // the pixel that two neighbours share always shows the same one. Empty
    // cells are white on white: skipping them lets a coloured neighbour keep
    // the shared pixel instead of losing its outline there.
    const int firstRow = std::max(1, (area.top() - Diameter) / Pitch + 1);
    const int lastRow = std::min<int>(Board::Rows, (area.bottom() + 1) / Pitch + 1);
    const int firstCol = std::max(1, (area.left() - Diameter) / Pitch + 1);
    const int lastCol = std::min<int>(Board::Columns, (area.right() + 1) / Pitch + 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const auto r = static_cast<std::int16_t>(row);
            const auto c = static_cast<std::int16_t>(col);
            const QRect square = shapeRect(Board::shapeNumber(r, c));
            if (!region.intersects(withMargin(square))) {
                continue;
            }
            const Cell& cell = board_.Cells(r, c);
            if (cell.BackColor == White && cell.BorderColor == White) {
                continue;
            }
            painter.drawImage(square.topLeft(), circle(cell.BackColor, cell.BorderColor));
        }
    }
}

const QImage& BoardView::circle(Color fill, Color border) {
    const qreal ratio = devicePixelRatioF();
    if (ratio != circlesRatio_) {
        circles_.clear();
        circlesRatio_ = ratio;
    }
    const std::pair key{fill, border};
    auto found = circles_.find(key);
    if (found == circles_.end()) {
        const int side = qCeil(Diameter * ratio);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(toQColor(border), 1.0));
        painter.setBrush(toQColor(fill));
        // A one-pixel pen centred on a 24 x 24 ellipse fills the 25 x 25 square.
        painter.drawEllipse(QRectF(0.5, 0.5, Diameter - 1, Diameter - 1));
        painter.end();
        found = circles_.emplace(key, std::move(image)).first;
    }
    return found->second;
}

}  // namespace korvel
