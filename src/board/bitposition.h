#pragma once

#include "board/bitboard.h"
#include "board/movelist.h"

// A position of the 8 × 8 game as two bit sets and the side to move, for reading and checking
// many games quickly. Passes follow the rules strictly: a side passes only when it has no legal
// move, so a game that replays here replays the same way on OthelloBoard.
struct BitPosition {
    bitboard::Bits black = 0;
    bitboard::Bits white = 0;
    int toMove = 1; // board::kBlack or board::kWhite

    static BitPosition start();

    bitboard::Bits occupied() const { return black | white; }
    bitboard::Bits legalMovesFor(int colour) const;
    bool gameOver() const;
    // Plays a square (a framed index) for the side to move, passing first when that side has no
    // move; false and no change when the move is illegal or the square is off the 8 × 8 board.
    bool play(int square);
    // Hands the move to the other side when the side to move has none; false when neither can move.
    bool passIfStuck();
    bool operator==(const BitPosition&) const = default;
};

// Plays moves from the start and returns how many were legal; position holds the position after
// them.
int replayLegalPrefix(const MoveList& moves, BitPosition& position);
