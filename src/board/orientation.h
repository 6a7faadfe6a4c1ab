#pragma once

#include "board/movelist.h"

// Orientation codes 0..11 bring a game into the canonical form in which it starts with F5. The
// low two bits pick a symmetry of the board (0 none, 1 the anti-diagonal, 2 the diagonal, 3 the
// half turn); bit value 4 exchanges moves 1 and 3, bit value 8 moves 3 and 5, which turns the two
// well-known transpositions F5 F6 E6 F4 and F5 D6 C3 D3 C4 into one order each. Each code 0..11 is
// its own inverse.

// The code that normalises a game with these first moves; 0 for an empty list or one that starts
// elsewhere than D3, C4, F5 or E6.
int classifyOpening(const MoveList& moves);
// Maps every move by the code. Squares outside the 8 × 8 board are left as they are, so the
// transform stays its own inverse for any bytes.
MoveList transform(const MoveList& moves, int code);
