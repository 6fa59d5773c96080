#pragma once

#include <string>

#include "rules/game.h"

namespace korvel::testing {

// Checks what must hold between handlers: MoveCount - TailStamp = Score + 2;
// the stamps on the board are distinct, lie in TailStamp+1..MoveCount and mark
// exactly the silver cells with a near-black border; one food cell at most,
// none only when no candidate cell is free; the head on the board. Returns an
// empty string when all hold, else what failed.
std::string checkInvariants(const Game& game);

}  // namespace korvel::testing
