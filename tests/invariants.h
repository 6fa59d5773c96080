#pragma once

#include <string>

#include "rules/game.h"

namespace korvel::testing {

// What must hold between any two events: MoveCount - TailStamp = Score + 2;
// every stamped cell painted as body, and while there is one, the head painted
// at PrevRow, PrevCol; one food cell, in rows 1..9 and columns 1..23, or none
// only when no cell there is tagged "" or 0. Returns an empty string when all
// holds, else what failed. Small on purpose: it is the soak test's oracle, and
// each check in it is there for a fault that play would otherwise hide.
std::string checkInvariants(const Game& game);

}  // namespace korvel::testing
