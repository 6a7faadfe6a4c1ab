#pragma once

#include "viewer/sharedcolours.h"

class MoveNumberGrid;

// The colour of move number n (1..99) on the move-number sheet, first rule that applies: red
// when it stands on two or more squares, black when the replay reaches it, blue otherwise (a
// gap before it, a duplicate earlier on, or a move neither side may play).
SharedColour sheetNumberColour(const MoveNumberGrid& grid, int n);
