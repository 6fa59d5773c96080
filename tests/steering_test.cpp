// The arrow keys and the refusal of the direct opposite of the stored heading.
#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

using Steering = GameTest;

TEST_F(Steering, TableOfHeadingsAndRefusals) {
    // expected[stored heading - 1][arrow key - 37]
    constexpr std::int16_t expected[4][4] = {
        {1, 2, 1, 4},  // heading left: Right refused
        {1, 2, 3, 2},  // heading up: Down refused
        {3, 2, 3, 4},  // heading right: Left refused
        {1, 4, 3, 4},  // heading down: Up refused
    };
    load();
    for (std::int16_t stored = 1; stored <= 4; ++stored) {
        for (std::int16_t key = Game::KeyLeft; key <= Game::KeyDown; ++key) {
            vars().Direction = stored;
            press(key);
            EXPECT_EQ(vars().Direction, expected[stored - 1][key - Game::KeyLeft])
                << "heading " << stored << ", key " << key;
        }
    }
}

TEST_F(Steering, ShiftStateMakesNoDifference) {
    load();
    for (std::int16_t shift : {1, 2, 4, 7, -1}) {
        vars().Direction = heading::Up;
        game.Form_KeyDown(Game::KeyLeft, shift);
        EXPECT_EQ(vars().Direction, heading::Left);
        game.Form_KeyDown(Game::KeyRight, shift);
        EXPECT_EQ(vars().Direction, heading::Left);
    }
}

TEST_F(Steering, OtherKeysChangeNothing) {
    load();
    for (int key = -32768; key <= 32767; ++key) {
        if (key >= Game::KeyLeft && key <= Game::KeyDown) {
            continue;
        }
        game.Form_KeyDown(static_cast<std::int16_t>(key), 0);
        ASSERT_EQ(vars().Direction, heading::Up) << key;
    }
}

TEST_F(Steering, EachPressIsTestedAgainstTheOneBefore) {
    load();
    press(Game::KeyLeft);
    press(Game::KeyRight);
    press(Game::KeyDown);
    EXPECT_EQ(vars().Direction, heading::Down);
}

TEST_F(Steering, BeforeTheFirstMoveTwoPressesSimplyStartDownward) {
    load();
    press(Game::KeyDown);
    EXPECT_EQ(vars().Direction, heading::Up);  // refused right after load
    press(Game::KeyLeft);
    press(Game::KeyDown);
    tick();
    EXPECT_EQ(vars().HeadRow, 10);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Steering, KeysStillSteerAfterAGameOverButNewGameResetsTheHeading) {
    load();
    vars().HeadRow = 1;
    tick();
    ASSERT_EQ(fake.interval, 0);
    press(Game::KeyLeft);
    EXPECT_EQ(vars().Direction, heading::Left);
    newGame();
    EXPECT_EQ(vars().Direction, heading::Up);
}

}  // namespace
}  // namespace korvel::testing
