#pragma once

#include "capture/pixelsource.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

// One character of the client's name font: 12 rows of up to 8 columns, the most significant bit
// of each row byte being the leftmost column. Columns at or beyond the width are clear.
struct Glyph {
    char character;
    int width; // 3 to 8
    std::array<uint8_t, 12> rows;

    bool dark(int column, int row) const { return (rows[row] << column & 0x80) != 0; }
};

// The small bitmap font the client writes player names in, and the reading of a name box. The
// font has no glyph for J, W or X, so names containing them are not read exactly.
namespace namefont {

inline constexpr int kBoxWidth = 81;
inline constexpr int kBoxHeight = 12;
// Reading stops at this column; a glyph that starts before it may still reach up to the box edge.
inline constexpr int kReadLimit = 76;

// The 60 glyphs in the order they are tried.
std::span<const Glyph> glyphs();
// The glyph of a character, or null.
const Glyph* find(char character);

// A pixel of a name box is dark when each of its values is below 8.
constexpr bool isDark(Rgb pixel)
{
    return pixel.red < 8 && pixel.green < 8 && pixel.blue < 8;
}

// Reads the name in a box of kBoxWidth × kBoxHeight pixels, row by row: at each column the first
// glyph whose pixels all equal the box's dark and light pixels there is taken and the column moves
// past it; where none matches, it moves on by one. An empty box gives an empty name.
std::string read(std::span<const Rgb> box);

} // namespace namefont
