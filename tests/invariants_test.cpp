// The invariant check that the long-play, soak and fuzz runs rely on: it passes
// a real game and reports every kind of broken state, so those runs cannot pass
// by checking nothing.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/game_fixture.h"

namespace korvel::testing {
namespace {

using InvariantCheck = GameTest;

void paint(Game& game, std::int16_t row, std::int16_t col, Color fill, Color border, TagValue tag) {
    game.board().setBackColor(row, col, fill);
    game.board().setBorderColor(row, col, border);
    game.board().setTag(row, col, std::move(tag));
}

TEST_F(InvariantCheck, ReportsEachKindOfBrokenState) {
    // Head (9, 11), body (9, 10) (9, 9) (9, 8) with stamps 4, 3, 2, the tail's
    // cell (9, 7) freed, one food eaten and the next one at (2, 2).
    load(9, 9);
    fake.queueCell(2, 2);
    press(Game::KeyRight);
    tick(4);
    ASSERT_EQ(checkInvariants(game), "");
    ASSERT_EQ(vars().Score, 1);

    const std::vector<std::pair<const char*, std::function<void(Game&)>>> breakages = {
        // What the check must report, and how the state is broken.
        {"MoveCount - TailStamp", [](Game& g) { g.vars().MoveCount++; }},
        {"head off the board", [](Game& g) { g.vars().HeadRow = 11; }},
        {"heading 0", [](Game& g) { g.vars().Direction = 0; }},
        {"occurs twice", [](Game& g) { paint(g, 5, 5, Silver, NearBlack, TagValue::number(3)); }},
        {"outside TailStamp+1..MoveCount",
         [](Game& g) { g.board().setTag(9, 8, TagValue::number(g.vars().TailStamp)); }},
        {"without gaps", [](Game& g) { paint(g, 9, 9, White, White, TagValue::number(0)); }},
        {"stamped cell is not painted as body",
         [](Game& g) { g.board().setBackColor(9, 9, White); }},
        {"body border without a stamp", [](Game& g) { g.board().setBorderColor(1, 1, NearBlack); }},
        {"painted as head is not the head",
         [](Game& g) {
             g.board().setBackColor(1, 1, Silver);
             g.board().setBorderColor(1, 1, Red);
         }},
        {"newest stamp is not next to the head",
         [](Game& g) {
             paint(g, 9, 11, White, White, TagValue::number(0));
             paint(g, 9, 13, Silver, Red, TagValue::text(""));
             g.vars().PrevCol = g.vars().HeadCol = 13;
         }},
        {"consecutive stamps on cells that do not touch",
         [](Game& g) {
             paint(g, 9, 8, White, White, TagValue::number(0));
             paint(g, 7, 8, Silver, NearBlack, TagValue::number(2));
         }},
        {"2 food cells",
         [](Game& g) {
             g.board().setBackColor(5, 5, Red);
             g.board().setTag(5, 5, TagValue::text("Red"));
         }},
        {"food outside rows 1..9",
         [](Game& g) {
             paint(g, 2, 2, White, White, TagValue::text(""));
             paint(g, 10, 3, Red, White, TagValue::text("Red"));
         }},
        {"0 food cells",
         [](Game& g) {
             g.board().setBackColor(2, 2, White);
             g.board().setTag(2, 2, TagValue::text(""));
         }},
        {"white cell whose tag is not empty",
         [](Game& g) { g.board().setTag(5, 5, TagValue::text("Red")); }},
        {"white cell whose tag is not empty",
         [](Game& g) { g.board().setTag(5, 5, TagValue::number(-4)); }},
    };
    for (const auto& [report, breakIt] : breakages) {
        Game broken = game;
        breakIt(broken);
        const std::string found = checkInvariants(broken);
        EXPECT_NE(found.find(report), std::string::npos)
            << "expected " << report << ", got " << found;
    }
}

}  // namespace
}  // namespace korvel::testing
