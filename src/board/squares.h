#pragma once

#include <array>
#include <cstdint>

// Squares are indices into a framed array of 133 cells: 12 + 11 × row + column, with row and
// column counted from 0 at the top left (row 0 is rank 1, column 0 is file A). The stride of 11
// leaves a frame column between rows for every board up to 10 × 10, and frame rows 0–11 and
// 122–132 hold the blocked value, so a walk from a playing square in any direction stops inside
// the array without a bounds check. Every playing square is non-zero, which lets a move list be
// a zero-terminated byte string.
namespace board {

inline constexpr int kCellCount = 133;
inline constexpr int kStride = 11;
inline constexpr int kFirstSquare = 12;

// Cell values; 1 and 2 double as the colours of the two sides.
inline constexpr int kEmpty = 0;
inline constexpr int kBlack = 1;
inline constexpr int kWhite = 2;
inline constexpr int kBlocked = 3;

// The order in which every walk visits the directions: up-left, up, up-right, left, right,
// down-left, down, down-right. Flip lists follow it.
inline constexpr std::array<int, 8> kDirections { -12, -11, -10, -1, 1, 10, 11, 12 };

// A single move flips at most N − 2 discs in each of the 8 directions on a board of side N ≤ 10.
inline constexpr int kMaxFlips = 64;

constexpr int squareAt(int row, int column)
{
    return kFirstSquare + kStride * row + column;
}
constexpr int rowOf(int square)
{
    return (square - kFirstSquare) / kStride;
}
constexpr int columnOf(int square)
{
    return (square - kFirstSquare) % kStride;
}

// True for the 64 squares of the 8 × 8 board, the only board records use.
constexpr bool isSquare8x8(int square)
{
    return square >= kFirstSquare && square < kCellCount && columnOf(square) < 8
        && rowOf(square) < 8;
}

// The opponent of black is white and of white black; any other value has none (0).
constexpr int opponent(int colour)
{
    return colour == kBlack ? kWhite : colour == kWhite ? kBlack : kEmpty;
}

constexpr bool isColour(int colour)
{
    return colour == kBlack || colour == kWhite;
}

} // namespace board
