#pragma once

#include "board/othellogame.h"

#include <cstdint>

// Number of positions reached from the game's position by depth plies of legal play, colour to
// move first; a forced pass is a ply, a finished game a leaf. Played with play and record / undo,
// so it checks the move generator and the history together.
uint64_t perft(OthelloGame& game, int colour, int depth);
