// Long random play keeps every invariant, through full boards and stamp renumberings.
#include <random>

#include "tests/cycle_path.h"
#include "tests/game_fixture.h"
#include "tests/invariants.h"

namespace korvel::testing {
namespace {

using Soak = GameTest;

TEST_F(Soak, RandomPlayKeepsEveryInvariant) {
    std::mt19937 rng(7);
    game.Form_Load();
    int renumberings = 0;
    int fullBoards = 0;
    bool followPath = false;
    ASSERT_EQ(checkInvariants(game), "");
    for (int event = 0; event < 1'000'000; ++event) {
        const std::int16_t moves = vars().MoveCount;
        const unsigned roll = rng() % 100;
        if (fake.interval == 0 || (roll == 0 && !followPath)) {  // New Game, now and then
            // A worm on the closed path may only die when it fills the board.
            if (followPath) {
                ASSERT_EQ(vars().Score, Board::CellCount - 3) << "event " << event;
                ++fullBoards;
            }
            followPath = rng() % 1000 == 0;
            game.mnuNewGame_Click();
        } else if (roll < 30 && !followPath) {  // mostly arrows, now and then any key code
            const auto key = roll < 2 ? rng() : Game::KeyLeft + rng() % 4;
            game.Form_KeyDown(static_cast<std::int16_t>(key), static_cast<std::int16_t>(rng()));
        } else {
            if (followPath) {
                press(cycleKey(vars().HeadRow, vars().HeadCol));
            }
            tick();
            renumberings += vars().MoveCount < moves ? 1 : 0;
        }
        ASSERT_EQ(checkInvariants(game), "") << "after event " << event;
    }
    EXPECT_GE(renumberings, 10);
    EXPECT_GE(fullBoards, 10);
}

}  // namespace
}  // namespace korvel::testing
