#pragma once

#include "capture/picture.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// What a table window shows: the board, the two name boxes, who sits where, and the result
// report when it is up.
struct TableScene {
    int layout = 0; // 0 the large board, 1 the small one
    std::array<uint8_t, 64> cells {}; // 0 empty, 1 black, 2 white
    int marked = -1; // the cell of the last move, drawn in the lighter green; -1 none
    std::string upperName; // letters and digits of the name font
    std::string lowerName;
    bool blackUpper = true; // the seat probe is black when Black sits in the upper box
    bool report = false; // the grey result report over the middle of the window
};

// Draws table windows as the client does, in the colours, places and font that the table reading
// expects: the picture the table simulator shows and the tests read.
namespace tablepicture {

// Within the scan's 192 ± 6 for the report, and more than 16 off the white of a disc, so that
// cells under the report read as no colour rather than as white discs.
inline constexpr Rgb kReportGrey { 198, 198, 198 };

int width(int layout);
int height(int layout);
Picture draw(const TableScene& scene);
// Writes a name in the glyph font, top left at (left, top); characters the font lacks leave a
// gap of five columns. Stops at the right edge of the name box.
void drawName(Picture& picture, int left, int top, std::string_view name);
// Where the result report sits, as the table scan finds and clicks it: a box centred on the
// window. A click inside it takes it away.
void reportRect(int layout, int& x, int& y, int& w, int& h);

} // namespace tablepicture
