#pragma once

#include "board/movelist.h"

#include <string>
#include <string_view>

// Text notation: a file letter and a rank digit per move, as in F5D6C3, A1 being the top left.

// Written in upper case. A square outside the 8 × 8 board gives whatever letter and digit its
// row and column make, as the stored bytes say.
std::string movesToText(const MoveList& moves);
// Reads letter-digit pairs in either case, stopping at the first character that is not a valid
// file letter (A–H), at a letter not followed by a valid rank digit (1–8), or after 60 moves.
MoveList textToMoves(std::string_view text);
