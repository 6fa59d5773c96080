#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <map>
#include <utility>
#include <vector>

#include "model/board.h"

namespace korvel {

// The 240 circles Shape1..Shape240 of the game window, painted from the
// board's cell records. Cell (r, c) is Shape (r - 1) * 24 + c, a circle
// inscribed in a 25 x 25 square at ((c - 1) * 24, (r - 1) * 24): neighbours
// overlap by one pixel, and the board is 577 x 241 on a 577 x 242 white area.
class BoardView : public QWidget {
    Q_OBJECT
public:
    static constexpr int Pitch = 24;
    static constexpr int Diameter = 25;
    static constexpr QSize AreaSize{577, 242};

    explicit BoardView(const Board& board, QWidget* parent = nullptr);

    // The square that circle `Shape`K is inscribed in.
    [[nodiscard]] static QRect shapeRect(int shape);
    // Colours are stored as 0x00BBGGRR, red in the low byte.
    [[nodiscard]] static QColor toQColor(Color color);

    // Schedules the repaint of these shapes only.
    void updateShapes(const std::vector<int>& shapes);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintShapes(QPainter& painter, const QRegion& region);
    // The circle of one fill and border colour, drawn once with anti-aliasing;
    // the board shows only a handful of different ones, and copying a small
    // image costs far less than drawing a curve.
    const QImage& circle(Color fill, Color border);

    const Board& board_;
    std::map<std::pair<Color, Color>, QImage> circles_;
    qreal circlesRatio_ = 0;
};

}  // namespace korvel
