#pragma once

#include "board/squares.h"

#include <array>
#include <bit>
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

// The squares beyond each square in each direction, to the edge of the board.
inline constexpr std::array<std::array<Bits, 8>, 64> kRays = [] {
    std::array<std::array<Bits, 8>, 64> rays {};
    for (int i = 0; i < 64; ++i) {
        forEachDirection([&]<int D>() {
            for (Bits x = shift<D>(Bits(1) << i); x; x = shift<D>(x))
                rays[i][D] |= x;
        });
    }
    return rays;
}();

// The discs that a disc on bit index at flips for the side owning mine; 0 when the move is
// illegal. Along each ray the first square that is not the opponent's must be the mover's; the
// squares before it flip. Directions 0–3 run towards lower bits, 4–7 towards higher ones. Every
// direction is worked out without a branch: replays of many games spend most of their time here,
// and whether a direction flips is too random for the branch predictor.
constexpr Bits flips(int at, Bits mine, Bits theirs)
{
    const std::array<Bits, 8>& rays = kRays[at];
    Bits all = 0;
    forEachDirection([&]<int D>() {
        const Bits ray = rays[D];
        const Bits stops = ray & ~theirs;
        if constexpr (D < 4) {
            // The nearest stop is the highest one. With no stop bit 0 stands in: it is then off
            // the ray or the opponent's, so masking with mine and the ray drops it.
            const Bits first = Bits(1) << (63 - std::countl_zero(stops | 1));
            const Bits outflank = first & mine & ray;
            // The ray's squares above the outflanking disc; none when there is none.
            all |= ray & (0 - (outflank << 1));
        } else {
            const Bits outflank = stops & (0 - stops) & mine;
            // The ray's squares below the outflanking disc; none when there is none.
            all |= ray & (outflank - Bits(outflank != 0));
        }
    });
    return all;
}

// The squares of empty where the side owning mine may play: those that close a line of theirs.
constexpr Bits legalMoves(Bits mine, Bits theirs, Bits empty)
{
    Bits moves = 0;
    forEachDirection([&]<int D>() {
        Bits x = shift<D>(mine) & theirs;
        for (int i = 0; i < 5; ++i)
            x |= shift<D>(x) & theirs;
        moves |= shift<D>(x) & empty;
    });
    return moves;
}

} // namespace bitboard
