#pragma once

#include "capture/pixelsource.h"

// Where a table window of the Yahoo! Games client shows its board, its two name boxes and its seat
// probe, in client pixels. The client draws one of two layouts, told apart by one pixel.
struct TableLayout {
    int pitch; // distance between neighbouring cells
    int firstCellX; // the cells' reading points: column 0, row 0
    int firstCellY;
    int upperNameX; // top left of the upper name box
    int upperNameY;
    int lowerNameX;
    int lowerNameY;
    int probeX; // the seat probe: dark when Black sits in the upper box
    int probeY;

    // Row i of the cells is read at firstCellY + i × pitch, moved 5 pixels up for the upper four
    // rows and 5 down for the lower four.
    int cellX(int column) const { return firstCellX + column * pitch; }
    int cellY(int row) const { return firstCellY + row * pitch + (row < 4 ? -5 : 5); }
};

namespace tablelayout {

inline constexpr int kChoiceX = 512;
inline constexpr int kChoiceY = 200;

// Layout 0 (the large board) or 1.
const TableLayout& layout(int index);
// Layout 0 when the pixel at (kChoiceX, kChoiceY) is black (each value below 8), else 1.
int choose(Rgb choicePixel);

} // namespace tablelayout
