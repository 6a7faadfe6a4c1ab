#include "capture/tablelayout.h"

#include <array>

namespace tablelayout {

namespace {

constexpr std::array<TableLayout, 2> layouts { {
    { 45, 167, 102, 569, 79, 569, 431, 526, 107 },
    { 30, 160, 95, 449, 79, 449, 311, 406, 107 },
} };

} // namespace

const TableLayout& layout(int index)
{
    return layouts[index == 0 ? 0 : 1];
}

int choose(Rgb choicePixel)
{
    return choicePixel.red < 8 && choicePixel.green < 8 && choicePixel.blue < 8 ? 0 : 1;
}

} // namespace tablelayout
