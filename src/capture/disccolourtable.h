#pragma once

#include "capture/pixelsource.h"

#include <span>

// The colours the client paints its cells with, and what each means.
struct DiscColour {
    Rgb colour;
    int code; // 0 empty, 1 black, 2 white
};

namespace disccolourtable {

// A sampled colour matches an entry when each of its values lies within this of the entry's.
inline constexpr int kTolerance = 16;

// The reference colours in the order they are tried: two greens of an empty cell (plain and
// marked), then black and white.
std::span<const DiscColour> entries();
// The code of the first entry the colour matches, or -1.
int classify(Rgb colour);

} // namespace disccolourtable
