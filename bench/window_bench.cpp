// How evenly the real game window ticks, what a tick costs, and how much of the
// board each tick repaints. The window runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM says otherwise, with a bot that presses the arrow keys to
// follow a closed path through all 240 cells, so the worm never meets a wall
// or itself. A notice that opens anyway is answered at once and followed by
// New Game; the intervals around it are left out of the figures.
//
// With --floor, each run is followed by as many ticks of a bare precise QTimer
// and of a kernel timer (timerfd) that keeps its own schedule: what these
// deviate is the machine's and the event loop's share, not the game's.
//
// Usage: korvel_window_bench [--ticks N] [--runs R] [--floor]
//        (defaults: 300 ticks, 5 runs)
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <sys/timerfd.h>
#include <unistd.h>

#include "ui/board_view.h"
#include "ui/game_window.h"
#include "ui/qt_platform.h"

namespace korvel {
namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The arrow key that keeps the head on the closed path: right along the odd
// rows, left along the even rows back to column 2, and up column 1.
Qt::Key pathKey(int row, int col) {
    if (col == 1) {
        return row == 1 ? Qt::Key_Right : Qt::Key_Up;
    }
    if (row % 2 == 1) {
        return col < Board::Columns ? Qt::Key_Right : Qt::Key_Down;
    }
    return (col > 2 || row == Board::Rows) ? Qt::Key_Left : Qt::Key_Down;
}

std::int16_t headingOf(Qt::Key key) {
    switch (key) {
        case Qt::Key_Left:
            return heading::Left;
        case Qt::Key_Up:
            return heading::Up;
        case Qt::Key_Right:
            return heading::Right;
        default:
            return heading::Down;
    }
}

double percentile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) {
        sum += v;
    }
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

struct TickRecord {
    Clock::time_point start;
    double handlerUs = 0;
    int game = 0;  // New Game starts another rhythm
    BoardView::PaintStats paintedBefore;
};

struct RunFigures {
    double meanPeriod, p50Period, p99Deviation, maxDeviation, driftMs;
    double handlerMeanUs, handlerP99Us;
    double pixelsPerTick, maxPixelsPerTick, paintEventsPerTick;
    double paintMeanUs, paintSdUs, paintMaxUs;
    int intervals, notices;
    double qtimerP99 = 0, kernelTimerP99 = 0;  // with --floor
};

// Starts of Timer1's ticks, seen before the game's own handler runs.
class TickProbe : public QObject {
public:
    std::vector<TickRecord>* ticks = nullptr;
    int* game = nullptr;
    const BoardView* view = nullptr;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            ticks->push_back({Clock::now(), 0, *game, view->paintStats()});
        }
        return false;
    }
};

// Answers every message box as soon as it shows.
class BoxAnswerer : public QObject {
public:
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box != nullptr && event->type() == QEvent::Show) {
            ++shown;
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        }
        return false;
    }
};

struct Run {
    std::vector<TickRecord> ticks;
    BoardView::PaintStats paintedAtEnd;
    int notices = 0;
};

// Plays one game window until tickCount + 2 ticks have run.
Run play(int tickCount) {
    QtPlatform platform;
    frmGame window(platform);
    QTimer& timer = *window.findChild<QTimer*>(QStringLiteral("Timer1"));
    QAction& newGame = *window.findChild<QAction*>(QStringLiteral("mnuNewGame"));
    std::vector<TickRecord> ticks;
    ticks.reserve(static_cast<std::size_t>(tickCount) + 2);
    int game = 0;

    TickProbe probe;
    probe.ticks = &ticks;
    probe.game = &game;
    probe.view = window.boardView();
    timer.installEventFilter(&probe);
    BoxAnswerer answerer;
    qApp->installEventFilter(&answerer);

    QEventLoop done;
    // Connected after the window's own handler, so this runs when the tick is over.
    QObject::connect(&timer, &QTimer::timeout, &window, [&] {
        if (ticks.empty()) {
            return;
        }
        TickRecord& tick = ticks.back();
        tick.handlerUs = msBetween(tick.start, Clock::now()) * 1000;
        if (!timer.isActive()) {  // a notice ended the game
            ++game;
            QTimer::singleShot(0, &newGame, &QAction::trigger);
            return;
        }
        const GameVars& v = window.game().vars();
        const Qt::Key key = pathKey(v.HeadRow, v.HeadCol);
        if (headingOf(key) != v.Direction) {
            qt_handleKeyEvent(window.windowHandle(), QEvent::KeyPress, key, Qt::NoModifier);
            qt_handleKeyEvent(window.windowHandle(), QEvent::KeyRelease, key, Qt::NoModifier);
        }
        if (static_cast<int>(ticks.size()) > tickCount + 1) {
            done.quit();
        }
    });
    window.show();
    done.exec();
    return {std::move(ticks), window.boardView()->paintStats(), answerer.shown};
}

RunFigures summarise(const Run& run) {
    const std::vector<TickRecord>& ticks = run.ticks;
    const BoardView::PaintStats& end = run.paintedAtEnd;
    std::vector<double> periods;
    std::vector<double> deviations;
    std::vector<double> handler;
    std::vector<double> pixels;
    // The first tick waits for the window to show; the rhythm starts after it.
    std::size_t first = 1;
    std::size_t last = first;
    for (std::size_t i = first + 1; i < ticks.size(); ++i) {
        if (ticks[i].game != ticks[i - 1].game) {
            continue;
        }
        const double period = msBetween(ticks[i - 1].start, ticks[i].start);
        periods.push_back(period);
        deviations.push_back(std::abs(period - Game::TickInterval));
        pixels.push_back(
            static_cast<double>(ticks[i].paintedBefore.pixels - ticks[i - 1].paintedBefore.pixels));
        if (ticks[i].game == ticks[first].game) {
            last = i;
        }
    }
    for (std::size_t i = first; i < ticks.size(); ++i) {
        handler.push_back(ticks[i].handlerUs);
    }
    const BoardView::PaintStats& start = ticks[first].paintedBefore;
    const auto events = static_cast<double>(end.events - start.events);
    const double paintNs = static_cast<double>(end.nanoseconds - start.nanoseconds);
    const double paintMeanNs = events > 0 ? paintNs / events : 0;
    const double squares = end.squaredNanoseconds - start.squaredNanoseconds;
    const double paintSdNs =
        events > 1 ? std::sqrt(std::max(0.0, squares / events - paintMeanNs * paintMeanNs)) : 0;

    RunFigures figures{};
    figures.intervals = static_cast<int>(periods.size());
    figures.notices = run.notices;
    figures.meanPeriod = mean(periods);
    figures.p50Period = percentile(periods, 0.5);
    figures.p99Deviation = percentile(deviations, 0.99);
    figures.maxDeviation = percentile(deviations, 1.0);
    figures.driftMs = msBetween(ticks[first].start, ticks[last].start) -
                      Game::TickInterval * static_cast<double>(last - first);
    figures.handlerMeanUs = mean(handler);
    figures.handlerP99Us = percentile(handler, 0.99);
    figures.pixelsPerTick = mean(pixels);
    figures.maxPixelsPerTick = percentile(pixels, 1.0);
    figures.paintEventsPerTick =
        events / static_cast<double>(std::max<std::size_t>(1, periods.size()));
    figures.paintMeanUs = paintMeanNs / 1000;
    figures.paintSdUs = paintSdNs / 1000;
    figures.paintMaxUs = static_cast<double>(end.maxNanoseconds) / 1000;
    return figures;
}

// The p99 deviation from 90 ms of a timer that does nothing else.
double bareTimerP99(int tickCount, bool kernel) {
    std::vector<Clock::time_point> at;
    QEventLoop done;
    const auto tick = [&] {
        at.push_back(Clock::now());
        if (static_cast<int>(at.size()) > tickCount + 1) {
            done.quit();
        }
    };
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, tick);
    const int fd = kernel ? timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC) : -1;
    std::unique_ptr<QSocketNotifier> notifier;
    if (fd >= 0) {
        const timespec period{0, Game::TickInterval * 1'000'000L};
        const itimerspec schedule{period, period};
        timerfd_settime(fd, 0, &schedule, nullptr);
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
            std::uint64_t expired = 0;
            if (read(fd, &expired, sizeof expired) > 0) {
                tick();
            }
        });
    } else {
        timer.start(Game::TickInterval);
    }
    done.exec();
    if (fd >= 0) {
        notifier.reset();
        close(fd);
    }
    std::vector<double> deviations;
    for (std::size_t i = 2; i < at.size(); ++i) {
        deviations.push_back(std::abs(msBetween(at[i - 1], at[i]) - Game::TickInterval));
    }
    return percentile(deviations, 0.99);
}

void printRun(int run, const RunFigures& f) {
    std::printf(
        "run %d: %d intervals, %d notices\n"
        "  tick period    mean %.3f ms  p50 %.3f ms  |dev from 90| p99 %.3f ms  max %.3f ms"
        "  drift %+.3f ms\n"
        "  tick handler   mean %.1f us  p99 %.1f us\n"
        "  repainted      %.0f px per tick (max %.0f, board 577x242 = 139634)  %.2f paint "
        "events per tick\n"
        "  paint event    mean %.1f us  sd %.1f us  max %.1f us\n",
        run, f.intervals, f.notices, f.meanPeriod, f.p50Period, f.p99Deviation, f.maxDeviation,
        f.driftMs, f.handlerMeanUs, f.handlerP99Us, f.pixelsPerTick, f.maxPixelsPerTick,
        f.paintEventsPerTick, f.paintMeanUs, f.paintSdUs, f.paintMaxUs);
    if (f.qtimerP99 > 0) {
        std::printf("  floor          |dev| p99: bare QTimer %.3f ms, kernel timer %.3f ms\n",
                    f.qtimerP99, f.kernelTimerP99);
    }
}

// Median [min, max] of one figure over the runs.
void printSpread(const char* name, const std::vector<RunFigures>& runs, double RunFigures::*field,
                 const char* unit) {
    std::vector<double> values;
    for (const RunFigures& run : runs) {
        values.push_back(run.*field);
    }
    std::printf("  %-26s %10.3f [%.3f, %.3f] %s\n", name, percentile(values, 0.5),
                percentile(values, 0.0), percentile(values, 1.0), unit);
}

}  // namespace
}  // namespace korvel

int main(int argc, char* argv[]) {
    int ticks = 300;
    int runs = 5;
    bool floor = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--floor") == 0) {
            floor = true;
        } else if (std::strcmp(argv[i], "--ticks") == 0 && i + 1 < argc) {
            ticks = std::max(3, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    using korvel::RunFigures;
    std::vector<RunFigures> figures;
    for (int run = 1; run <= runs; ++run) {
        figures.push_back(korvel::summarise(korvel::play(ticks)));
        if (floor) {
            figures.back().qtimerP99 = korvel::bareTimerP99(ticks, false);
            figures.back().kernelTimerP99 = korvel::bareTimerP99(ticks, true);
        }
        korvel::printRun(run, figures.back());
        std::fflush(stdout);
    }
    std::printf("median [min, max] over %d runs of %d ticks (%s platform):\n", runs, ticks,
                qPrintable(QGuiApplication::platformName()));
    korvel::printSpread("tick period mean", figures, &RunFigures::meanPeriod, "ms");
    korvel::printSpread("tick period p50", figures, &RunFigures::p50Period, "ms");
    korvel::printSpread("|deviation| p99", figures, &RunFigures::p99Deviation, "ms");
    korvel::printSpread("|deviation| max", figures, &RunFigures::maxDeviation, "ms");
    if (floor) {
        korvel::printSpread("bare QTimer |dev| p99", figures, &RunFigures::qtimerP99, "ms");
        korvel::printSpread("kernel timer |dev| p99", figures, &RunFigures::kernelTimerP99, "ms");
    }
    korvel::printSpread("drift over the run", figures, &RunFigures::driftMs, "ms");
    korvel::printSpread("tick handler mean", figures, &RunFigures::handlerMeanUs, "us");
    korvel::printSpread("tick handler p99", figures, &RunFigures::handlerP99Us, "us");
    korvel::printSpread("repainted per tick", figures, &RunFigures::pixelsPerTick, "px");
    korvel::printSpread("repainted per tick, max", figures, &RunFigures::maxPixelsPerTick, "px");
    korvel::printSpread("paint events per tick", figures, &RunFigures::paintEventsPerTick, "");
    korvel::printSpread("paint event mean", figures, &RunFigures::paintMeanUs, "us");
    korvel::printSpread("paint event sd", figures, &RunFigures::paintSdUs, "us");
    korvel::printSpread("paint event max", figures, &RunFigures::paintMaxUs, "us");
    return 0;
}
