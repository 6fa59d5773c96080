// One tick: walls, the painting of head and neck, the tail erase by stamp,
// eating and growing, running into the body, and the game-over notice.
#include <algorithm>

#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

const std::string Wall = "Тупик";
const std::string Self = "Врезались в себя";

std::string notice(const std::string& reason, int score) {
    return reason + "\n\rYou have " + std::to_string(score) + " Points";
}

using Walls = GameTest;

TEST_F(Walls, EachEdgeEndsTheGameWithoutMovingOrPainting) {
    struct Case {
        std::int16_t direction, row, col;
    };
    for (const Case& c : {Case{heading::Left, 5, 1}, Case{heading::Up, 1, 5},
                          Case{heading::Right, 5, 24}, Case{heading::Down, 10, 5}}) {
        FakePlatform platform;
        Game g(platform);
        platform.queueCell(2, 2);
        g.Form_Load();
        g.vars().Direction = c.direction;
        g.vars().HeadRow = g.vars().PrevRow = c.row;
        g.vars().HeadCol = g.vars().PrevCol = c.col;
        const GameVars before = g.vars();
        (void)g.board().takeChangedShapes();
        g.Timer1_Timer();
        ASSERT_EQ(platform.boxes.size(), 1U) << "direction " << c.direction;
        EXPECT_EQ(platform.boxes[0].text, notice(Wall, 0));
        EXPECT_EQ(platform.boxes[0].buttons, 0);
        EXPECT_EQ(platform.boxes[0].title, std::optional<std::string>(""));
        EXPECT_EQ(g.vars().HeadRow, before.HeadRow);
        EXPECT_EQ(g.vars().HeadCol, before.HeadCol);
        EXPECT_EQ(g.vars().MoveCount, before.MoveCount);
        EXPECT_TRUE(g.board().takeChangedShapes().empty());
        EXPECT_EQ(platform.intervals, std::vector<std::int16_t>{0});
    }
}

TEST_F(Walls, AHeadNextToTheEdgeStillMovesOntoIt) {
    load();
    tick(8);
    EXPECT_EQ(vars().HeadRow, 1);
    EXPECT_TRUE(fake.boxes.empty());
    tick();
    EXPECT_EQ(fake.boxes.size(), 1U);
}

TEST_F(Walls, TheTimerStopsOnlyAfterTheNoticeIsClosed) {
    load();
    vars().HeadRow = 1;
    std::int16_t intervalWhileOpen = -1;
    fake.onMessageBox = [&] { intervalWhileOpen = fake.interval; };
    tick();
    EXPECT_EQ(intervalWhileOpen, 90);
    EXPECT_EQ(fake.interval, 0);
    EXPECT_EQ(fake.log.back(), "interval 0");
}

using Moves = GameTest;

TEST_F(Moves, FirstTickPaintsTheStartCellAsBodyAndTheHeadAboveIt) {
    load();
    tick();
    EXPECT_EQ(cell(8, 7).BackColor, Silver);
    EXPECT_EQ(cell(8, 7).BorderColor, Red);
    EXPECT_TRUE(cell(8, 7).Tag.equalsText(""));  // the head's tag stays stale
    EXPECT_EQ(cell(9, 7).BackColor, Silver);
    EXPECT_EQ(cell(9, 7).BorderColor, NearBlack);
    EXPECT_TRUE(cell(9, 7).Tag.equalsNumber(1));
    EXPECT_EQ(vars().MoveCount, 1);
    EXPECT_EQ(vars().TailStamp, -1);
    EXPECT_EQ(vars().PrevRow, 8);
    EXPECT_EQ(checkInvariants(game), "");
}

TEST_F(Moves, TheWormReachesThreeCellsAndTheThirdMoveErasesTheStartCell) {
    load();
    press(Game::KeyRight);
    tick(2);
    EXPECT_EQ(countCells(Silver), 3);
    EXPECT_EQ(cell(9, 7).BackColor, Silver);
    tick();
    EXPECT_EQ(countCells(Silver), 3);
    EXPECT_EQ(cell(9, 7).BackColor, White);
    EXPECT_EQ(cell(9, 7).BorderColor, White);
    EXPECT_EQ(cell(9, 7).Tag, TagValue::number(0));
    EXPECT_TRUE(cell(9, 8).Tag.equalsNumber(2));
    EXPECT_TRUE(cell(9, 9).Tag.equalsNumber(3));
    EXPECT_EQ(cell(9, 10).BorderColor, Red);
}

TEST_F(Moves, AMoveRepaintsOnlyHeadNeckAndTail) {
    load();
    press(Game::KeyRight);
    tick(3);
    (void)game.board().takeChangedShapes();
    tick();  // head to (9, 11), neck (9, 10), tail (9, 8) erased
    std::vector<int> changed = game.board().takeChangedShapes();
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (std::vector<int>{Board::shapeNumber(9, 8), Board::shapeNumber(9, 10),
                                         Board::shapeNumber(9, 11)}));
}

using Eating = GameTest;

TEST_F(Eating, GrowsTheWormByOneCellAndScores) {
    load(7, 7);
    fake.queueCell(1, 20);
    tick(2);  // eats on the second move
    EXPECT_EQ(vars().Score, 1);
    EXPECT_EQ(vars().MoveCount - vars().TailStamp, 3);
    EXPECT_EQ(cell(1, 20).BackColor, Red);
    tick(3);
    EXPECT_EQ(countCells(Silver), 4);
    EXPECT_EQ(checkInvariants(game), "");
}

TEST_F(Eating, TheHeadKeepsTheFoodTagUntilItMovesOn) {
    load(8, 7);
    fake.queueCell(1, 20);
    tick();
    EXPECT_EQ(cell(8, 7).BackColor, Silver);
    EXPECT_EQ(cell(8, 7).BorderColor, Red);
    EXPECT_TRUE(cell(8, 7).Tag.equalsText("Red"));
    tick();
    EXPECT_TRUE(cell(8, 7).Tag.equalsNumber(2));
    EXPECT_EQ(cell(8, 7).BorderColor, NearBlack);
}

TEST_F(Eating, NewFoodIsPlacedBeforeHeadAndNeckArePainted) {
    load();
    tick();  // head (8, 7), neck (9, 7)
    game.board().setBackColor(2, 2, White);
    game.board().setTag(2, 2, TagValue::text(""));
    game.board().setBackColor(7, 7, Red);
    game.board().setTag(7, 7, TagValue::text("Red"));
    Cell headAtFood;
    Cell neckAtFood;
    fake.onReseed = [&] {
        headAtFood = game.board().Cells(7, 7);
        neckAtFood = game.board().Cells(8, 7);
    };
    fake.queueCell(1, 20);
    tick();
    EXPECT_EQ(headAtFood.BackColor, Red);
    EXPECT_EQ(neckAtFood.BorderColor, Red);  // still painted as the head
    EXPECT_EQ(vars().Score, 1);
}

TEST_F(Eating, FoodPlacedOnTheNeckIsPaintedOverAndPlacedAgain) {
    load(7, 7);
    tick();                // head (8, 7), its tag still ""
    fake.queueCell(8, 7);  // while eating at (7, 7), the neck is eligible
    fake.queueCell(3, 3);  // the food check then finds no food
    tick();
    EXPECT_EQ(cell(8, 7).BackColor, Silver);
    EXPECT_EQ(cell(8, 7).BorderColor, NearBlack);
    EXPECT_EQ(cell(3, 3).BackColor, Red);
    EXPECT_EQ(countCells(Red), 1);
    EXPECT_EQ(checkInvariants(game), "");
}

TEST_F(Eating, FoodPlacedUnderTheHeadShowsRedUntilTheNextMove) {
    load(9, 7);            // the start cell holds the food
    fake.queueCell(8, 7);  // the food check picks the head's cell
    tick();
    EXPECT_EQ(cell(8, 7).BackColor, Red);
    EXPECT_EQ(cell(8, 7).BorderColor, Red);
    EXPECT_EQ(vars().Score, 0);
    fake.queueCell(2, 2);
    tick();  // painted over as the neck, never eaten
    EXPECT_EQ(cell(8, 7).BackColor, Silver);
    EXPECT_EQ(vars().Score, 0);
    EXPECT_EQ(cell(2, 2).BackColor, Red);
    EXPECT_EQ(checkInvariants(game), "");
}

using Collisions = GameTest;

TEST_F(Collisions, RunningIntoTheBodyEndsTheGameAndChangesNothing) {
    load(1, 20);
    // Grow to five cells by scripting food along the way, then turn into the body.
    vars().Score = 3;
    vars().TailStamp = static_cast<std::int16_t>(vars().TailStamp - 3);
    press(Game::KeyRight);
    tick(3);
    press(Game::KeyUp);
    tick();
    press(Game::KeyLeft);
    tick();
    press(Game::KeyDown);
    const GameVars before = game.vars();
    tick();  // into (9, 9), a body segment
    ASSERT_EQ(fake.boxes.size(), 1U);
    EXPECT_EQ(fake.boxes[0].text, notice(Self, 3));
    EXPECT_EQ(fake.boxes[0].title, std::nullopt);
    EXPECT_EQ(vars().HeadRow, 9);
    EXPECT_EQ(vars().HeadCol, 9);
    EXPECT_EQ(vars().MoveCount, before.MoveCount);
    EXPECT_EQ(vars().PrevRow, before.PrevRow);
    EXPECT_EQ(cell(9, 9).BorderColor, NearBlack);
    EXPECT_EQ(fake.interval, 0);
}

TEST_F(Collisions, TheTailCountsAlthoughThisMoveWouldHaveFreedIt) {
    load(1, 20);
    vars().Score = 1;
    vars().TailStamp = static_cast<std::int16_t>(vars().TailStamp - 1);
    // A worm of four cells in a square: its head runs into its tail.
    press(Game::KeyRight);
    tick();
    press(Game::KeyUp);
    tick();
    press(Game::KeyLeft);
    tick();
    ASSERT_EQ(countCells(Silver), 4);
    press(Game::KeyDown);
    tick();  // (9, 7) is the tail
    ASSERT_EQ(fake.boxes.size(), 1U);
    EXPECT_EQ(fake.boxes[0].text, notice(Self, 1));
}

TEST_F(Collisions, TwoPressesWithinOneTickTurnTheWormBackIntoItsNeck) {
    load(1, 20);
    press(Game::KeyRight);
    tick(2);
    press(Game::KeyUp);
    press(Game::KeyLeft);
    tick();
    ASSERT_EQ(fake.boxes.size(), 1U);
    EXPECT_EQ(fake.boxes[0].text, notice(Self, 0));
}

}  // namespace
}  // namespace korvel::testing
