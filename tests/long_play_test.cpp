// Long games: the invariants hold after every event of random play, and a game
// that runs past 32767 moves keeps going with its stamps renumbered.
#include <algorithm>

#include "tests/cycle_path.h"
#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

using LongPlay = GameTest;

TEST_F(LongPlay, InvariantsHoldThroughRandomTicksKeysAndNewGames) {
    load();
    std::mt19937 rng(2024);
    int gamesOver = 0;
    for (int event = 0; event < 30000; ++event) {
        const unsigned roll = rng() % 100;
        if (roll < 70) {
            if (fake.interval != 0) {  // a stopped timer delivers no ticks
                tick();
            }
        } else if (roll < 97) {
            const std::int16_t key = roll < 94 ? static_cast<std::int16_t>(37 + rng() % 4)
                                               : static_cast<std::int16_t>(rng());
            game.Form_KeyDown(key, static_cast<std::int16_t>(rng() % 8));
        } else {
            game.mnuNewGame_Click();
        }
        if (fake.interval == 0 && !fake.boxes.empty()) {
            ++gamesOver;
            fake.boxes.clear();
        }
        const std::string broken = checkInvariants(game);
        ASSERT_EQ(broken, "") << "after event " << event;
    }
    EXPECT_GT(gamesOver, 10);
}

TEST_F(LongPlay, MoveCountIsRenumberedInsteadOfOverflowing) {
    load();
    int renumberings = 0;
    int emptyBoards = 0;
    int bestScore = 0;
    for (int move = 0; move < 45000; ++move) {
        press(cycleKey(vars().HeadRow, vars().HeadCol));
        const std::int16_t before = vars().MoveCount;
        tick();
        if (!fake.boxes.empty()) {
            // Following the cycle, the worm only dies once it fills the board.
            ASSERT_EQ(vars().MoveCount - vars().TailStamp + 1, Board::CellCount) << move;
            bestScore = std::max<int>(bestScore, vars().Score);
            fake.boxes.clear();
            game.mnuNewGame_Click();
            continue;
        }
        renumberings += vars().MoveCount < before ? 1 : 0;
        emptyBoards += countCells(Red) == 0 ? 1 : 0;
        if (move % 7 == 0 || vars().MoveCount < 5 || vars().MoveCount > 32760) {
            ASSERT_EQ(checkInvariants(game), "") << "after move " << move;
        }
    }
    EXPECT_EQ(renumberings, 1);
    EXPECT_EQ(bestScore, Board::CellCount - 3);
    EXPECT_GT(emptyBoards, 0);  // all candidate cells taken: no food, no hang

    game.mnuNewGame_Click();
    EXPECT_EQ(vars().Score, 0);
    EXPECT_EQ(countCells(Red), 1);
    press(Game::KeyRight);
    tick(10);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(countCells(Silver), 3);
    EXPECT_EQ(checkInvariants(game), "");
}

TEST_F(LongPlay, RenumberingRightAfterNewGameKeepsTheStartCellErasable) {
    load();
    vars().MoveCount = 32767;
    game.mnuNewGame_Click();
    press(Game::KeyRight);
    for (int i = 0; i < 6; ++i) {
        tick();
        ASSERT_EQ(checkInvariants(game), "") << "after move " << i;
    }
    EXPECT_EQ(countCells(Silver), 3);
    EXPECT_LT(vars().MoveCount, 100);
    EXPECT_EQ(cell(9, 7).Tag, TagValue::number(0));
}

TEST_F(LongPlay, RenumberingNeverErasesAFreedCellUnderTheHead) {
    load();
    vars().MoveCount = 32700;
    vars().TailStamp = 32698;
    // Circle inside a 2 x 2 square: the head keeps entering cells freed by the
    // tail, whose tags hold the number 0.
    const std::int16_t loop[] = {Game::KeyRight, Game::KeyUp, Game::KeyLeft, Game::KeyDown};
    for (int i = 0; i < 400; ++i) {
        press(loop[i % 4]);
        tick();
        ASSERT_TRUE(fake.boxes.empty());
        ASSERT_EQ(cell(vars().HeadRow, vars().HeadCol).BackColor, Silver) << "move " << i;
        ASSERT_EQ(checkInvariants(game), "") << "move " << i;
    }
}

}  // namespace
}  // namespace korvel::testing
