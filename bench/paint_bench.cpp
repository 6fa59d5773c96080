// What one tick costs the game window's board to paint: the repaint of the
// cells that the move changed, timed and measured from outside the view.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPaintEvent>
#include <QTest>

#include "tests/cycle_path.h"
#include "tests/fake_platform.h"
#include "ui/board_view.h"

namespace korvel {
namespace {

// Counts a widget's paint events and the pixels they cover.
struct PaintWatch : QObject {
    std::int64_t events = 0;
    std::int64_t pixels = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++events;
            for (const QRect& rect : static_cast<QPaintEvent*>(event)->region()) {
                pixels += std::int64_t{rect.width()} * rect.height();
            }
        }
        return false;
    }
};

// The worm follows the closed path through the board, growing on its food
// until it fills the board and a new game begins.
void BM_PaintTick(benchmark::State& state) {
    testing::FakePlatform platform;
    Game game(platform);
    game.Form_Load();
    BoardView view(game.board());
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) {
        state.SkipWithError("the board view was never exposed");
        return;
    }
    PaintWatch watch;
    view.installEventFilter(&watch);
    for (auto _ : state) {
        const GameVars& v = game.vars();
        game.Form_KeyDown(testing::cycleKey(v.HeadRow, v.HeadCol), 0);
        game.Timer1_Timer();
        if (platform.interval == 0) {
            game.mnuNewGame_Click();
        }
        view.updateShapes(game.board().takeChangedShapes());
        QCoreApplication::processEvents();
    }
    using benchmark::Counter;
    state.counters["paints"] = Counter(static_cast<double>(watch.events), Counter::kAvgIterations);
    state.counters["pixels"] = Counter(static_cast<double>(watch.pixels), Counter::kAvgIterations);
}
BENCHMARK(BM_PaintTick);

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
