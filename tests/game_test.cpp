// What random play cannot check: start, New Game, steering, the notice, random draws.
#include <set>
#include <stdexcept>

#include "rules/random_source.h"
#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

using Start = GameTest;

TEST_F(Start, TheWormSetsOffUpwardFromRow9Column7) {
    fake.queueCell(2, 2);
    game.Form_Load();
    tick(3);  // the third move frees the start cell
    EXPECT_EQ(shown(6, 4, 8), (Picture{"......H.", "......3.", "......2.", "......0."}));
}

TEST_F(Start, NewGameClearsTheBoardRestartsTheTimerAndCountsMovesOn) {
    draw({"0123H", ".*..."});
    vars().MoveCount = 3;
    vars().Score = 1;
    fake.interval = 0;  // the last game is over
    std::int16_t scoreAtFood = -1;
    fake.onReseed = [&] { scoreAtFood = vars().Score; };
    fake.queueCell(3, 3);
    game.mnuNewGame_Click();
    EXPECT_EQ(fake.interval, Game::TickInterval);
    EXPECT_EQ(scoreAtFood, 1);  // the food is placed before the score is reset
    EXPECT_EQ(vars().Score, 0);
    EXPECT_EQ(shown(1, 3, 5), (Picture{".....", ".....", "..*.."}));
    tick(2);
    EXPECT_EQ(shown(7, 3, 8), (Picture{"......H.", "......5.", "......4."}));
}

using Steering = GameTest;

TEST_F(Steering, ArrowKeysSetTheHeadingUnlessItIsTheOpposite) {
    // The heading after key codes 36..41 (the arrows are 37..40), by stored heading.
    const std::string after[] = {"112141", "212322", "332343", "414344"};
    for (std::int16_t stored = heading::Left; stored <= heading::Down; ++stored) {
        for (std::int16_t key = 36; key <= 41; ++key) {
            vars().Direction = stored;
            press(key);
            EXPECT_EQ(vars().Direction, after[stored - 1][key - 36] - '0')
                << "heading " << stored << ", key " << key;
        }
    }
}

using GameOver = GameTest;

TEST_F(GameOver, TheNoticeGivesReasonAndScoreAndTheTimerStopsOnceItIsClosed) {
    draw({"H."});  // heading up from row 1: the wall
    vars().HeadRow = vars().HeadCol = vars().PrevRow = vars().PrevCol = 1;
    vars().Direction = heading::Up;
    tick();
    draw({"H1", "32"});  // heading right: the tail, though this move would have freed it
    vars().Direction = heading::Right;
    vars().Score = 1;
    fake.interval = Game::TickInterval;
    tick();
    ASSERT_EQ(fake.boxes.size(), 2U);
    EXPECT_EQ(fake.boxes[0].text, "Тупик\n\rYou have 0 Points");
    EXPECT_EQ(fake.boxes[0].title, "");
    EXPECT_EQ(fake.boxes[1].text, "Врезались в себя\n\rYou have 1 Points");
    EXPECT_EQ(fake.boxes[1].title, std::nullopt);
    EXPECT_EQ(fake.boxes[1].interval, Game::TickInterval);
    EXPECT_EQ(fake.interval, 0);
    EXPECT_EQ(shown(1, 2, 2), (Picture{"H1", "32"}));  // nothing moved
}

using Food = GameTest;

TEST_F(Food, DrawsOutsideTheUnitIntervalAreRefused) {
    for (const double bad : {1.0, -0.01}) {
        fake.script = {bad, 0.5};
        EXPECT_THROW(game.Form_Load(), std::domain_error) << bad;
    }
}

TEST_F(Food, TheRandomSourceGivesNewDrawsAfterEachReseedWithinOneClockReading) {
    RandomSource source([] { return std::int64_t{1234567}; });
    std::set<double> seen;
    for (int i = 0; i < 1000; ++i) {
        source.reseed();
        const double r = source.draw();
        EXPECT_TRUE(r >= 0.0 && r < 1.0) << r;
        EXPECT_TRUE(seen.insert(r).second) << "repeat after re-seed " << i;
    }
}

}  // namespace
}  // namespace korvel::testing
