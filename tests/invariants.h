#pragma once

#include <string>

#include "rules/game.h"

namespace korvel::testing {

// Checks what must hold between handlers: MoveCount - TailStamp = Score + 2
// with a score of 0 or more; a heading of 1 to 4; the head on the board; the
// stamps distinct, in TailStamp+1..MoveCount, chained cell by cell up to the
// neck next to the head, and carried by exactly the cells painted as body;
// every other cell the head, empty or food; one food cell, in rows 1..9 and
// columns 1..23, and none only when no such cell is free. Returns an empty
// string when all hold, else what failed. Cheap enough to run after every
// event of a long game.
std::string checkInvariants(const Game& game);

}  // namespace korvel::testing
