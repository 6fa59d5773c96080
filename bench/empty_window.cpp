// Qt's own floor for process_bench.sh: a program that shows an empty message
// box and, once it is closed, an empty window of the game window's size, and
// does nothing else. With --tick the window repaints three 27 x 27 squares
// every 90 ms, as a game tick does for the head, the neck and the tail.
#include <QApplication>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>

namespace {

class TickingWindow : public QWidget {
public:
    TickingWindow() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            step_ = (step_ + 1) % 24;
            for (int row : {2, 3, 7}) {
                update(step_ * 24 - 1, row * 24 - 1, 27, 27);
            }
        });
        timer_.start(90);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::gray);
        for (int row : {2, 3, 7}) {
            painter.drawEllipse(QRectF(step_ * 24 + 0.5, row * 24 + 0.5, 24, 24));
        }
    }

private:
    QTimer timer_;
    int step_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    const bool tick = argc > 1 && std::strcmp(argv[1], "--tick") == 0;
    QApplication app(argc, argv);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Empty"), QStringLiteral("Empty"),
                    QMessageBox::Ok);
    box.exec();
    const std::unique_ptr<QWidget> window =
        tick ? std::make_unique<TickingWindow>() : std::make_unique<QWidget>();
    window->setWindowTitle(QStringLiteral("Empty window"));
    window->resize(577, 265);
    window->show();
    return QApplication::exec();
}
