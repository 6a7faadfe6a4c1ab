#pragma once

#include "board/movenumbergrid.h"
#include "board/othellogame.h"
#include "board/squares.h"

// What the record editor's pages work on together: the move-number sheet, the game replayed from
// it (the one OK saves), and the colour a click on the board page plays (1 black, 2 white).
struct EditedGame {
    MoveNumberGrid grid;
    OthelloGame game;
    int sideToMove = board::kBlack;

    // Replays the sheet onto the game and takes the side to move from it.
    void replaySheet()
    {
        grid.rebuild();
        sideToMove = grid.replayOnto(game);
    }
};
