// The renumbering of stamps before MoveCount would pass 32767, at the moments
// where it is easiest to get wrong; the soak test crosses it many times more.
#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

using Renumbering = GameTest;

TEST_F(Renumbering, RightAfterNewGameKeepsTheStartCellErasable) {
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

TEST_F(Renumbering, NeverErasesAFreedCellUnderTheHead) {
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
