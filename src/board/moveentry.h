#pragma once

#include "board/squares.h"

#include <array>
#include <cstdint>
#include <span>

// One step of a game's history: a disc placed by colour on square, and the discs it flipped in
// flip order. The flips are held inline, so recording a move allocates nothing.
struct MoveEntry {
    int colour = 0;
    int square = 0;
    int flipCount = 0;
    std::array<uint8_t, board::kMaxFlips> flips {};

    std::span<const uint8_t> flipped() const { return { flips.data(), size_t(flipCount) }; }
};
