#include "capture/disccolourtable.h"

#include <array>
#include <cstdlib>

namespace disccolourtable {

namespace {

constexpr std::array<DiscColour, 4> table { {
    { { 66, 130, 66 }, 0 },
    { { 99, 162, 99 }, 0 },
    { { 99, 97, 99 }, 1 },
    { { 181, 182, 181 }, 2 },
} };

bool near(int a, int b)
{
    return std::abs(a - b) <= kTolerance;
}

} // namespace

std::span<const DiscColour> entries()
{
    return table;
}

int classify(Rgb colour)
{
    for (const DiscColour& entry : table)
        if (near(colour.red, entry.colour.red) && near(colour.green, entry.colour.green)
            && near(colour.blue, entry.colour.blue))
            return entry.code;
    return -1;
}

} // namespace disccolourtable
