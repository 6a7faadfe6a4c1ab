#include "board/randomgame.h"

#include "board/bitboard.h"

#include <algorithm>
#include <bit>

using namespace board;
using bitboard::Bits;

MoveList randomGame(std::mt19937& rng, int maxMoves)
{
    // Bitboards rather than the board's walks: generated collections hold a million games.
    Bits mine = bitboard::bit(squareAt(3, 4)) | bitboard::bit(squareAt(4, 3)); // black to move
    Bits theirs = bitboard::bit(squareAt(3, 3)) | bitboard::bit(squareAt(4, 4));
    MoveList moves;
    const int limit = std::min(maxMoves, MoveList::kMaxMoves);
    for (int count = 0; count < limit;) {
        Bits legal = bitboard::legalMoves(mine, theirs, ~(mine | theirs));
        if (!legal) {
            if (!bitboard::legalMoves(theirs, mine, ~(mine | theirs)))
                break;
            std::swap(mine, theirs); // a pass
            continue;
        }
        // The legal squares in square order, one taken modulo their number rather than through a
        // distribution, whose results differ between standard libraries.
        for (unsigned skip = rng() % unsigned(std::popcount(legal)); skip > 0; --skip)
            legal &= legal - 1;
        const int at = std::countr_zero(legal);
        const Bits flipped = bitboard::flips(at, mine, theirs);
        mine |= flipped | Bits(1) << at;
        theirs &= ~flipped;
        moves.append(squareAt(at / 8, at % 8));
        ++count;
        std::swap(mine, theirs);
    }
    return moves;
}
