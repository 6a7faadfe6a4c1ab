#include "board/bitposition.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

using namespace board;
using bitboard::Bits;

namespace {

// The bit index (row × 8 + column) of each framed square of the 8 × 8 board, −1 for the others:
// one load instead of checking the square and dividing it into row and column.
constexpr std::array<int8_t, kCellCount> kBitIndex = [] {
    std::array<int8_t, kCellCount> index {};
    for (int square = 0; square < kCellCount; ++square)
        index[size_t(square)]
            = int8_t(isSquare8x8(square) ? rowOf(square) * 8 + columnOf(square) : -1);
    return index;
}();

} // namespace

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
    if (square < 0 || square >= kCellCount || kBitIndex[size_t(square)] < 0)
        return false;
    const int at = kBitIndex[size_t(square)];
    const Bits disc = Bits(1) << at;
    if (disc & occupied())
        return false;
    // A move that flips for the side to move is legal, and that side does not pass; only a
    // square where it flips nothing asks whether it must pass and the other side moves there.
    int mover = toMove;
    Bits mine = mover == kBlack ? black : white;
    Bits theirs = mover == kBlack ? white : black;
    Bits flipped = bitboard::flips(at, mine, theirs);
    if (!flipped) {
        if (legalMovesFor(mover))
            return false;
        mover = mover == kBlack ? kWhite : kBlack;
        std::swap(mine, theirs);
        flipped = bitboard::flips(at, mine, theirs);
        if (!flipped)
            return false;
    }
    mine |= flipped | disc;
    theirs &= ~flipped;
    black = mover == kBlack ? mine : theirs;
    white = mover == kBlack ? theirs : mine;
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
