// Where food goes: only rows 1..9 and columns 1..23, only on cells tagged ""
// or 0, uniformly among them, and nowhere (without hanging) when none is free.
#include <map>

#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

using Food = GameTest;

// Fills every candidate cell with a stamp-like tag except those listed.
void occupyCandidatesExcept(Board& board, const std::vector<Board::Position>& free) {
    for (std::int16_t r = 1; r < Board::Rows; ++r) {
        for (std::int16_t c = 1; c < Board::Columns; ++c) {
            board.setTag(r, c, TagValue::number(9999));
        }
    }
    for (const auto& p : free) {
        board.setTag(p.row, p.col, TagValue::text(""));
    }
}

TEST_F(Food, NeverInTheBottomRowOrRightColumnButReachesRow9AndColumn23) {
    load();
    std::map<int, int> rows;
    std::map<int, int> cols;
    for (int i = 0; i < 4000; ++i) {
        game.mnuNewGame_Click();  // unscripted: drawn from the fake's generator
        rows[vars().FoodRow]++;
        cols[vars().FoodCol]++;
        EXPECT_EQ(cell(vars().FoodRow, vars().FoodCol).BackColor, Red);
    }
    EXPECT_EQ(rows.begin()->first, 1);
    EXPECT_EQ(rows.rbegin()->first, 9);
    EXPECT_EQ(cols.begin()->first, 1);
    EXPECT_EQ(cols.rbegin()->first, 23);
}

TEST_F(Food, ExtremeDrawsStayInsideTheRegion) {
    load();
    fake.script = {0.0, 0.0};
    newGame();
    EXPECT_EQ(vars().FoodRow, 1);
    EXPECT_EQ(vars().FoodCol, 1);
    fake.script = {0.9999999999, 0.9999999999};
    newGame();
    EXPECT_EQ(vars().FoodRow, 9);
    EXPECT_EQ(vars().FoodCol, 23);
}

TEST_F(Food, DrawsOutsideTheUnitIntervalAreRejected) {
    fake.script = {1.0, 0.5};
    EXPECT_THROW(game.Form_Load(), std::domain_error);
}

TEST_F(Food, OccupiedCandidatesAreSkippedWithAFreshSeedEachAttempt) {
    load();
    game.board().setBackColor(2, 2, White);  // no food left: the next move places it
    game.board().setTag(3, 3, TagValue::number(12));
    game.board().setTag(4, 4, TagValue::text("Red"));
    fake.reseeds = 0;
    fake.queueCell(3, 3);
    fake.queueCell(4, 4);
    fake.queueCell(5, 5);
    tick();
    EXPECT_EQ(fake.reseeds, 3);
    EXPECT_EQ(vars().FoodRow, 5);
    EXPECT_EQ(vars().FoodCol, 5);
    EXPECT_EQ(cell(5, 5).BackColor, Red);
    EXPECT_TRUE(cell(5, 5).Tag.equalsText("Red"));
    EXPECT_EQ(countCells(Red), 1);
}

TEST_F(Food, CellsFreedByTheTailAreEligibleAndKeepTheirBorder) {
    load();
    occupyCandidatesExcept(game.board(), {});
    game.board().setTag(6, 6, TagValue::number(0));
    game.board().setBackColor(2, 2, White);
    fake.queueCell(6, 6);
    tick();  // no food left on the board: the food check places it
    EXPECT_EQ(vars().FoodRow, 6);
    EXPECT_EQ(cell(6, 6).BackColor, Red);
    EXPECT_EQ(cell(6, 6).BorderColor, White);
}

TEST_F(Food, UniformAmongEligibleCells) {
    load();
    game.board().setBackColor(2, 2, White);
    const std::vector<Board::Position> free = {{1, 1}, {5, 12}, {9, 23}, {2, 17}};
    std::map<std::pair<int, int>, int> hits;
    constexpr int Trials = 8000;
    for (int i = 0; i < Trials; ++i) {
        // A short worm along the bottom row, which never holds food, and no
        // food on the board: each move's food check places one.
        occupyCandidatesExcept(game.board(), free);
        for (std::int16_t c = 1; c <= Board::Columns; ++c) {
            game.board().setBackColor(10, c, White);
            game.board().setTag(10, c, TagValue::text(""));
        }
        vars().HeadRow = vars().PrevRow = 10;
        vars().HeadCol = vars().PrevCol = 1;
        vars().Direction = heading::Right;
        tick();
        hits[{vars().FoodRow, vars().FoodCol}]++;
        game.board().setBackColor(vars().FoodRow, vars().FoodCol, White);
    }
    ASSERT_EQ(hits.size(), free.size());
    // Each of four cells expects 2000 hits; 4.5 standard deviations is about 175.
    for (const auto& [pos, n] : hits) {
        EXPECT_NEAR(n, Trials / 4, 175) << pos.first << "," << pos.second;
    }
}

TEST_F(Food, AFullBoardGetsNoFoodInsteadOfHanging) {
    load();
    occupyCandidatesExcept(game.board(), {});
    game.board().setBackColor(2, 2, White);
    const int draws = fake.draws;
    tick();
    EXPECT_EQ(fake.draws, draws);
    EXPECT_EQ(countCells(Red), 0);
    EXPECT_TRUE(fake.boxes.empty());
    // As soon as a candidate is free again, the next move's food check uses it.
    game.board().setTag(4, 4, TagValue::number(0));
    fake.queueCell(4, 4);
    tick();
    EXPECT_EQ(cell(4, 4).BackColor, Red);
}

}  // namespace
}  // namespace korvel::testing
