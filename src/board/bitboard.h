#pragma once

#include "board/squares.h"

#include <cstdint>
#include <utility>

// The 8 × 8 board as 64-bit sets, bit row × 8 + column, for searches that visit many positions.
namespace bitboard {

using Bits = uint64_t;

constexpr Bits bit(int square)
{
    return Bits(1) << (board::rowOf(square) * 8 + board::columnOf(square));
}

// Moves every member one step in direction D (an index into board::kDirections), dropping those
// that would leave the board. Direction 7 − D is the opposite of D.
template <int D> constexpr Bits shift(Bits b)
{
    constexpr Bits notFileA = 0xFEFEFEFEFEFEFEFEull;
    constexpr Bits notFileH = 0x7F7F7F7F7F7F7F7Full;
    if constexpr (D == 0)
        return (b >> 9) & notFileH;
    else if constexpr (D == 1)
        return b >> 8;
    else if constexpr (D == 2)
        return (b >> 7) & notFileA;
    else if constexpr (D == 3)
        return (b >> 1) & notFileH;
    else if constexpr (D == 4)
        return (b << 1) & notFileA;
    else if constexpr (D == 5)
        return (b << 7) & notFileH;
    else if constexpr (D == 6)
        return b << 8;
    else
        return (b << 9) & notFileA;
}

// Calls f.template operator()<D>() for the eight directions, unrolled.
template <typename F> constexpr void forEachDirection(F&& f)
{
    [&]<int... D>(std::integer_sequence<int, D...>)
    {
        (f.template operator()<D>(), ...);
    }
    (std::make_integer_sequence<int, 8>());
}

} // namespace bitboard
