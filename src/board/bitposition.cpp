#include "board/bitposition.h"

#include <utility>

using namespace board;
using bitboard::Bits;

BitPosition BitPosition::start()
{
    BitPosition p;
    p.black = bitboard::bit(squareAt(3, 4)) | bitboard::bit(squareAt(4, 3));
    p.white = bitboard::bit(squareAt(3, 3)) | bitboard::bit(squareAt(4, 4));
    p.toMove = kBlack;
    return p;
}

Bits BitPosition::legalMovesFor(int colour) const
{
    const Bits empty = ~(black | white);
    return colour == kBlack ? bitboard::legalMoves(black, white, empty)
                            : bitboard::legalMoves(white, black, empty);
}

bool BitPosition::gameOver() const
{
    return !legalMovesFor(kBlack) && !legalMovesFor(kWhite);
}

bool BitPosition::passIfStuck()
{
    if (legalMovesFor(toMove))
        return true;
    const int other = toMove == kBlack ? kWhite : kBlack;
    if (!legalMovesFor(other))
        return false;
    toMove = other;
    return true;
}

bool BitPosition::play(int square)
{
    if (!isSquare8x8(square))
        return false;
    const int at = rowOf(square) * 8 + columnOf(square);
    const Bits disc = Bits(1) << at;
    if (disc & occupied())
        return false;
    // A move that flips for the side to move is legal, and that side does not pass; only a
    // square where it flips nothing asks whether it must pass and the other side moves there.
    int mover = toMove;
    Bits flipped
        = mover == kBlack ? bitboard::flips(at, black, white) : bitboard::flips(at, white, black);
    if (!flipped) {
        if (legalMovesFor(mover))
            return false;
        mover = mover == kBlack ? kWhite : kBlack;
        flipped = mover == kBlack ? bitboard::flips(at, black, white)
                                  : bitboard::flips(at, white, black);
        if (!flipped)
            return false;
    }
    Bits& mine = mover == kBlack ? black : white;
    Bits& theirs = mover == kBlack ? white : black;
    mine |= flipped | disc;
    theirs &= ~flipped;
    toMove = mover == kBlack ? kWhite : kBlack;
    return true;
}

int replayLegalPrefix(const MoveList& moves, BitPosition& position)
{
    position = BitPosition::start();
    int applied = 0;
    for (int square : moves) {
        if (!position.play(square))
            break;
        ++applied;
    }
    return applied;
}
