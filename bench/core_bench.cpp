// Cost of the game's two hot paths: an ordinary tick with a worm of a given
// length, and a tick whose food check has to search a nearly full board.
#include <benchmark/benchmark.h>

#include <chrono>

#include "rules/game.h"
#include "rules/random_source.h"
#include "tests/cycle_path.h"

namespace korvel {
namespace {

class BenchPlatform : public Platform {
public:
    void messageBox(std::string_view, int, std::optional<std::string_view>) override { ++boxes; }
    void setTimerInterval(std::int16_t) override {}
    void reseedRandom() override { random.reseed(); }
    double drawRandom() override { return random.draw(); }
    void takeFocus() override {}
    void endProgram() override {}

    RandomSource random;
    int boxes = 0;
};

void steer(Game& game, std::int16_t width) {
    game.Form_KeyDown(testing::cycleKey(game.vars().HeadRow, game.vars().HeadCol, width), 0);
}

// The worm grows to `length` cells over the next moves without eating, as if it
// had eaten length - 3 times: the tail erase is held back until then.
void holdTailBack(Game& game, int length) {
    GameVars& v = game.vars();
    v.Score = static_cast<std::int16_t>(length - 3);
    v.TailStamp = static_cast<std::int16_t>(v.MoveCount - v.Score - 2);
}

void removeFood(Game& game) {
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            if (game.board().Cells(r, c).BackColor == Red) {
                game.board().setBackColor(r, c, White);
                game.board().setTag(r, c, TagValue::text(""));
            }
        }
    }
}

int countCells(const Game& game, bool (*counts)(const Cell&)) {
    int n = 0;
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            n += counts(game.board().Cells(r, c)) ? 1 : 0;
        }
    }
    return n;
}

int wormLength(const Game& game) {
    return countCells(game, [](const Cell& cell) { return cell.BackColor == Silver; });
}

// Food may go to cells of rows 1..9 and columns 1..23 tagged "" or 0.
int eligibleCells(const Game& game) {
    int n = 0;
    for (std::int16_t r = 1; r < Board::Rows; ++r) {
        for (std::int16_t c = 1; c < Board::Columns; ++c) {
            const TagValue& tag = game.board().Cells(r, c).Tag;
            n += tag.equalsNumber(0) || tag.equalsText("") ? 1 : 0;
        }
    }
    return n;
}

// An ordinary tick: the head moves, both passes over the board run, nothing is
// eaten. The worm circles columns 1..22 while its food waits in column 23, so
// its length stays fixed for the whole run.
void BM_Tick(benchmark::State& state) {
    constexpr std::int16_t width = 22;
    const auto length = static_cast<int>(state.range(0));
    BenchPlatform platform;
    Game game(platform);
    game.Form_Load();
    removeFood(game);
    game.vars().FoodRow = 5;
    game.vars().FoodCol = 23;
    game.board().setBackColor(5, 23, Red);
    game.board().setTag(5, 23, TagValue::text("Red"));
    holdTailBack(game, length);
    for (int i = 0; i < 2 * Board::CellCount; ++i) {
        steer(game, width);
        game.Timer1_Timer();
    }
    if (wormLength(game) != length || platform.boxes != 0) {
        state.SkipWithError("the worm did not reach its length");
        return;
    }
    for (auto _ : state) {
        steer(game, width);
        game.Timer1_Timer();
        benchmark::DoNotOptimize(game.vars().HeadRow);
    }
    if (wormLength(game) != length || platform.boxes != 0) {
        state.SkipWithError("the worm ate or died while measured");
    }
    state.counters["worm"] = length;
}
BENCHMARK(BM_Tick)->Arg(3)->Arg(110)->Arg(219);

// A tick that finds no food left, so its food check calls the food search. The
// worm of `length` cells lies along the path through all 240 cells with its head
// just entered (10, 24): the cells ahead of it are row 10, which never gets
// food, and then as many free cells as the worm leaves. Each iteration restores
// that board and times the one tick alone.
void BM_TickSearchingFood(benchmark::State& state) {
    constexpr std::int16_t width = Board::Columns;
    const auto length = static_cast<int>(state.range(0));
    BenchPlatform platform;
    Game game(platform);
    game.Form_Load();
    holdTailBack(game, length);
    // Food is taken away after every move, so the worm never eats and grows.
    for (int move = 0;; ++move) {
        steer(game, width);
        game.Timer1_Timer();
        removeFood(game);
        if (move > Board::CellCount && game.vars().HeadRow == 10 && game.vars().HeadCol == 24) {
            break;
        }
    }
    steer(game, width);
    if (wormLength(game) != length || platform.boxes != 0) {
        state.SkipWithError("the worm did not reach its length");
        return;
    }
    const Board board = game.board();
    const GameVars vars = game.vars();

    game.Timer1_Timer();
    const int food = countCells(game, [](const Cell& cell) { return cell.BackColor == Red; });
    if (food != 1 || platform.boxes != 0) {
        state.SkipWithError("the tick did not place food");
        return;
    }
    // The search chose one of the cells still eligible now, or the food cell.
    state.counters["eligible"] = eligibleCells(game) + 1;

    for (auto _ : state) {
        game.board() = board;
        game.vars() = vars;
        const auto start = std::chrono::steady_clock::now();
        game.Timer1_Timer();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_TickSearchingFood)->Arg(217)->Arg(213)->Arg(198)->Arg(3)->UseManualTime();

}  // namespace
}  // namespace korvel

BENCHMARK_MAIN();
