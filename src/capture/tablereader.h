#pragma once

#include "capture/pixelsource.h"
#include "capture/tablesnapshot.h"

#include <string>
#include <string_view>

// Reading a table window into a snapshot: the 64 cells by their colours, the disc counts, and the
// two names, the upper box being Black's unless the seat probe says the seats are the other way.
namespace tablereader {

// Parses the title into the snapshot, then fills cells, counts and names. 0 on success; -1 when a
// cell shows no known colour or cannot be read, with both counts -1 and both names empty.
int readTable(PixelSource& source, std::string_view title, TableSnapshot& snapshot);
// The name in the box whose top left is (left, top); empty when the box cannot be read.
std::string readName(PixelSource& source, int left, int top);

} // namespace tablereader
