// Start values after the window's load and after New Game, and the order in
// which New Game restarts the timer, places food and resets the counters.
#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

using StartValues = GameTest;

TEST_F(StartValues, AllVariablesAreZeroBeforeLoad) {
    const GameVars& v = game.vars();
    for (std::int16_t x : {v.Direction, v.HeadRow, v.HeadCol, v.PrevRow, v.PrevCol, v.MoveCount,
                           v.TailStamp, v.FoodRow, v.FoodCol, v.Score}) {
        EXPECT_EQ(x, 0);
    }
}

TEST_F(StartValues, LoadPutsTheHeadAtRow9Column7HeadingUpWithOneFood) {
    load(4, 11);
    EXPECT_EQ(vars().HeadRow, 9);
    EXPECT_EQ(vars().HeadCol, 7);
    EXPECT_EQ(vars().PrevRow, 9);
    EXPECT_EQ(vars().PrevCol, 7);
    EXPECT_EQ(vars().Direction, heading::Up);
    EXPECT_EQ(vars().MoveCount, 0);
    EXPECT_EQ(vars().TailStamp, -2);
    EXPECT_EQ(vars().Score, 0);
    EXPECT_EQ(vars().FoodRow, 4);
    EXPECT_EQ(vars().FoodCol, 11);
    EXPECT_EQ(cell(4, 11).BackColor, Red);
    EXPECT_TRUE(cell(4, 11).Tag.equalsText("Red"));
    EXPECT_EQ(cell(4, 11).BorderColor, White);
    EXPECT_EQ(countCells(White), 239);
    EXPECT_EQ(cell(9, 7).BackColor, White);  // the worm is not drawn yet
    EXPECT_TRUE(fake.intervals.empty());     // load leaves the running timer alone
    EXPECT_EQ(checkInvariants(game), "");
}

TEST_F(StartValues, FoodMayLandOnTheStartCell) {
    load(9, 7);
    EXPECT_EQ(cell(9, 7).BackColor, Red);
    tick();  // the first move paints the start cell as body and places food anew
    EXPECT_EQ(cell(9, 7).BackColor, Silver);
    EXPECT_EQ(countCells(Red), 1);
    EXPECT_EQ(checkInvariants(game), "");
}

TEST_F(StartValues, NewGameRightAfterLoadGivesTheSameState) {
    load(4, 11);
    newGame(4, 11);
    EXPECT_EQ(vars().HeadRow, 9);
    EXPECT_EQ(vars().HeadCol, 7);
    EXPECT_EQ(vars().MoveCount, 0);
    EXPECT_EQ(vars().TailStamp, -2);
    EXPECT_EQ(cell(4, 11).BackColor, Red);
    EXPECT_EQ(countCells(White), 239);
}

TEST_F(StartValues, NewGameMidGameClearsEveryCellAndKeepsMoveCount) {
    load(8, 7);
    fake.queueCell(1, 20);
    tick();  // eats at once
    press(Game::KeyRight);
    tick(4);  // a worm of four cells, freed cells tagged 0 behind it
    ASSERT_EQ(vars().Score, 1);
    ASSERT_EQ(vars().MoveCount, 5);
    newGame(1, 1);
    EXPECT_EQ(vars().MoveCount, 5);
    EXPECT_EQ(vars().TailStamp, 3);
    EXPECT_EQ(vars().Score, 0);
    EXPECT_EQ(vars().Direction, heading::Up);
    EXPECT_EQ(vars().HeadRow, 9);
    EXPECT_EQ(vars().HeadCol, 7);
    for (std::int16_t r = 1; r <= Board::Rows; ++r) {
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            if (r == 1 && c == 1) {
                continue;
            }
            EXPECT_EQ(game.board().Cells(r, c).BackColor, White);
            EXPECT_EQ(game.board().Cells(r, c).BorderColor, White);
            EXPECT_EQ(game.board().Cells(r, c).Tag, TagValue::text(""));
        }
    }
    EXPECT_EQ(cell(1, 1).BackColor, Red);
    tick();  // the first stamp of the new game continues the count
    EXPECT_TRUE(cell(9, 7).Tag.equalsNumber(6));
    EXPECT_EQ(checkInvariants(game), "");
}

TEST_F(StartValues, NewGameRestartsTheTimerBeforeFoodAndResetsCountersAfter) {
    load();
    press(Game::KeyRight);
    tick(3);
    vars().Score = 7;  // as if food had been eaten
    vars().TailStamp = static_cast<std::int16_t>(vars().MoveCount - 9);
    fake.log.clear();
    GameVars atFood;
    std::int16_t intervalAtFood = -1;
    fake.onReseed = [&] {
        atFood = game.vars();
        intervalAtFood = fake.interval;
    };
    fake.interval = 0;
    newGame();
    EXPECT_EQ(fake.log.front(), "interval 90");
    EXPECT_EQ(intervalAtFood, 90);
    EXPECT_EQ(atFood.Score, 7);
    EXPECT_EQ(atFood.TailStamp, vars().MoveCount - 9);
    EXPECT_EQ(atFood.Direction, heading::Up);
    EXPECT_EQ(atFood.HeadRow, 9);
    EXPECT_EQ(vars().Score, 0);
    EXPECT_EQ(vars().TailStamp, vars().MoveCount - 2);
}

TEST_F(StartValues, NewGameAfterAGameOverRestartsTheTicks) {
    load();
    tick(9);  // up to row 1
    tick();   // the wall
    ASSERT_EQ(fake.interval, 0);
    newGame();
    EXPECT_EQ(fake.interval, 90);
    tick();
    EXPECT_EQ(vars().HeadRow, 8);
    EXPECT_EQ(checkInvariants(game), "");
}

}  // namespace
}  // namespace korvel::testing
