// A million ticks of play by a simple bot: every invariant holds after every
// tick, MoveCount is renumbered each time it reaches 32767 and only then, and
// games end at walls, on the body and with a full board.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>

#include "tests/cycle_path.h"
#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

constexpr int Ticks = 1'000'000;
constexpr std::int16_t Limit = 32767;

struct Move {
    std::int16_t key;
    std::int16_t heading;
    int dRow;
    int dCol;
};
constexpr std::array<Move, 4> Moves = {{{Game::KeyLeft, heading::Left, 0, -1},
                                        {Game::KeyUp, heading::Up, -1, 0},
                                        {Game::KeyRight, heading::Right, 0, 1},
                                        {Game::KeyDown, heading::Down, 1, 0}}};

// Heads for the food by the shortest way that neither leaves the board nor
// enters the body; now and then takes another safe way. With no safe way left
// it presses any arrow and loses.
std::int16_t greedyKey(const Game& game, std::mt19937& rng) {
    const GameVars& v = game.vars();
    const Board& board = game.board();
    std::array<std::int16_t, 4> safe{};
    int safeCount = 0;
    std::int16_t best = 0;
    int bestDistance = 1000;
    for (const Move& m : Moves) {
        const int row = v.HeadRow + m.dRow;
        const int col = v.HeadCol + m.dCol;
        if (m.heading == heading::opposite(v.Direction) || row < 1 || row > Board::Rows ||
            col < 1 || col > Board::Columns ||
            board.Cells(static_cast<std::int16_t>(row), static_cast<std::int16_t>(col)).BackColor ==
                Silver) {
            continue;
        }
        safe[static_cast<std::size_t>(safeCount++)] = m.key;
        const int distance = std::abs(row - v.FoodRow) + std::abs(col - v.FoodCol);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = m.key;
        }
    }
    if (safeCount == 0) {
        return Moves[rng() % 4].key;
    }
    if (rng() % 100 < 5) {
        return safe[rng() % static_cast<unsigned>(safeCount)];
    }
    return best;
}

using Soak = GameTest;

TEST_F(Soak, AMillionTicksKeepEveryInvariant) {
    std::mt19937 rng(7);
    load();
    bool followCycle = false;  // one game in each 100,000 ticks fills the board
    long moves = 0;
    int renumberings = 0;
    int walls = 0;
    int bodies = 0;
    int fullBoards = 0;
    int boardsWithoutFood = 0;
    std::int16_t lastTailStamp = vars().TailStamp;
    for (int tick = 0; tick < Ticks; ++tick) {
        if (tick % 100'000 == 0) {
            followCycle = true;
        }
        if (fake.interval == 0 || rng() % 50'000 == 0) {
            game.mnuNewGame_Click();
            ASSERT_EQ(checkInvariants(game), "") << "after New Game at tick " << tick;
        }
        ASSERT_EQ(fake.interval, Game::TickInterval);

        const unsigned roll = rng() % 1000;
        if (followCycle) {
            press(cycleKey(vars().HeadRow, vars().HeadCol));
        } else if (roll < 2) {  // two quick presses that turn the worm back on itself
            press(Moves[rng() % 4].key);
            press(Moves[rng() % 4].key);
        } else if (roll < 4) {
            game.Form_KeyDown(static_cast<std::int16_t>(rng()), static_cast<std::int16_t>(rng()));
        } else {
            press(greedyKey(game, rng));
        }

        const std::int16_t before = vars().MoveCount;
        game.Timer1_Timer();
        fake.log.clear();
        if (!fake.boxes.empty()) {
            ASSERT_EQ(fake.interval, 0);
            const std::string& text = fake.boxes.front().text;
            walls += text.starts_with("Тупик") ? 1 : 0;
            bodies += text.starts_with("Врезались в себя") ? 1 : 0;
            fullBoards += vars().Score == Board::CellCount - 3 ? 1 : 0;
            fake.boxes.clear();
            followCycle = false;
        } else {
            ++moves;
            if (vars().MoveCount < before) {
                ASSERT_EQ(before, Limit) << "renumbered early, at tick " << tick;
                ++renumberings;
            } else {
                ASSERT_EQ(vars().MoveCount, before + 1) << "tick " << tick;
                ASSERT_GE(vars().TailStamp, lastTailStamp) << "tick " << tick;
            }
            boardsWithoutFood += countCells(Red) == 0 ? 1 : 0;
        }
        lastTailStamp = vars().TailStamp;
        const std::string broken = checkInvariants(game);
        ASSERT_EQ(broken, "") << "after tick " << tick;
    }
    // From the first renumbering on, each comes after 32,767 - (Score + 4) moves.
    EXPECT_GE(renumberings, (moves - Limit) / Limit);
    EXPECT_LE(renumberings, 1 + (moves - Limit) / (Limit - Board::CellCount));
    EXPECT_GE(renumberings, 25);
    EXPECT_GT(walls, 100);
    EXPECT_GT(bodies, 100);
    EXPECT_GE(fullBoards, 1);
    EXPECT_GT(boardsWithoutFood, 0);
}

}  // namespace
}  // namespace korvel::testing
