// Cost of the game's two hot paths: one tick on a board with a long worm, and
// the food search on a nearly full board.
#include <benchmark/benchmark.h>

#include <random>

#include "rules/game.h"
#include "rules/random_source.h"

namespace korvel {
namespace {

class BenchPlatform : public Platform {
public:
    void messageBox(std::string_view, int, std::optional<std::string_view>) override {}
    void setTimerInterval(std::int16_t) override {}
    void reseedRandom() override { random.reseed(); }
    double drawRandom() override { return random.draw(); }
    void takeFocus() override {}
    void endProgram() override {}
    RandomSource random;
};

// Steers along a closed path through every cell, so the worm never dies.
std::int16_t cycleKey(std::int16_t row, std::int16_t col) {
    if (col == 1) {
        return row == 1 ? Game::KeyRight : Game::KeyUp;
    }
    if (row % 2 == 1) {
        return col < Board::Columns ? Game::KeyRight : Game::KeyDown;
    }
    return (col > 2 || row == Board::Rows) ? Game::KeyLeft : Game::KeyDown;
}

void BM_TickLongWorm(benchmark::State& state) {
    BenchPlatform platform;
    Game game(platform);
    game.Form_Load();
    // Grow the worm to state.range(0) cells by holding its tail back.
    const auto length = static_cast<std::int16_t>(state.range(0));
    game.vars().Score = static_cast<std::int16_t>(length - 3);
    game.vars().TailStamp = static_cast<std::int16_t>(game.vars().MoveCount - length + 1);
    for (int i = 0; i < 2 * length; ++i) {
        game.Form_KeyDown(cycleKey(game.vars().HeadRow, game.vars().HeadCol), 0);
        game.Timer1_Timer();
    }
    for (auto _ : state) {
        game.Form_KeyDown(cycleKey(game.vars().HeadRow, game.vars().HeadCol), 0);
        game.Timer1_Timer();
        benchmark::DoNotOptimize(game.vars().HeadRow);
    }
    state.counters["worm"] = game.vars().MoveCount - game.vars().TailStamp + 1;
}
BENCHMARK(BM_TickLongWorm)->Arg(3)->Arg(100)->Arg(200);

void BM_RndCellNearlyFull(benchmark::State& state) {
    BenchPlatform platform;
    Game game(platform);
    game.Form_Load();
    // All candidates but `free` hold stamps; the move step's food check runs
    // the search once per tick because the food is removed before each tick.
    const auto free = static_cast<int>(state.range(0));
    Board& board = game.board();
    int left = free;
    for (std::int16_t r = 1; r < Board::Rows; ++r) {
        for (std::int16_t c = 1; c < Board::Columns; ++c) {
            const bool keep = left > 0 && (r * 7 + c * 3) % 11 == 0;
            left -= keep ? 1 : 0;
            board.setBackColor(r, c, White);
            board.setTag(r, c, keep ? TagValue::text("") : TagValue::number(30000));
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        game.vars().HeadRow = game.vars().PrevRow = 10;
        game.vars().HeadCol = game.vars().PrevCol = 1;
        game.vars().Direction = heading::Right;
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            board.setBackColor(10, c, White);
            board.setTag(10, c, TagValue::text(""));
        }
        state.ResumeTiming();
        game.Timer1_Timer();
        state.PauseTiming();
        board.setBackColor(game.vars().FoodRow, game.vars().FoodCol, White);
        board.setTag(game.vars().FoodRow, game.vars().FoodCol, TagValue::text(""));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RndCellNearlyFull)->Arg(1)->Arg(5)->Arg(20);

}  // namespace
}  // namespace korvel

BENCHMARK_MAIN();
