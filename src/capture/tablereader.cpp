#include "capture/tablereader.h"

#include "capture/disccolourtable.h"
#include "capture/namefont.h"
#include "capture/tablelayout.h"
#include "capture/tabletitle.h"

#include <array>
#include <utility>

namespace tablereader {

namespace {

// A pixel that cannot be read counts as white, as the client's platform answers for a point
// outside the window: it matches no disc colour and is never dark.
Rgb pixelOrWhite(PixelSource& source, int x, int y)
{
    Rgb pixel;
    return source.pixel(x, y, pixel) ? pixel : Rgb { 255, 255, 255 };
}

// The cells of one row, read as one strip from column 0 to column 7.
bool readRow(PixelSource& source, const TableLayout& layout, int row, std::span<uint8_t, 8> codes)
{
    constexpr int kMaxStrip = 7 * 45 + 1;
    std::array<Rgb, kMaxStrip> strip;
    const int width = 7 * layout.pitch + 1;
    if (!source.read(layout.cellX(0), layout.cellY(row), width, 1, strip))
        return false;
    for (int column = 0; column < 8; ++column) {
        const int code
            = disccolourtable::classify(strip[static_cast<size_t>(column * layout.pitch)]);
        if (code < 0)
            return false;
        codes[static_cast<size_t>(column)] = static_cast<uint8_t>(code);
    }
    return true;
}

} // namespace

int readTable(PixelSource& source, std::string_view title, TableSnapshot& snapshot)
{
    tabletitle::parse(title, snapshot);
    snapshot.blackName.clear();
    snapshot.whiteName.clear();
    snapshot.blackCount = 0;
    snapshot.whiteCount = 0;
    const TableLayout& layout = tablelayout::layout(
        tablelayout::choose(pixelOrWhite(source, tablelayout::kChoiceX, tablelayout::kChoiceY)));

    for (int row = 0; row < 8; ++row) {
        const std::span<uint8_t, 8> codes(snapshot.cells.data() + row * 8, 8);
        if (!readRow(source, layout, row, codes)) {
            snapshot.blackCount = -1;
            snapshot.whiteCount = -1;
            return -1;
        }
        for (const uint8_t code : codes) {
            snapshot.blackCount += code == 1;
            snapshot.whiteCount += code == 2;
        }
    }

    snapshot.blackName = readName(source, layout.upperNameX, layout.upperNameY);
    snapshot.whiteName = readName(source, layout.lowerNameX, layout.lowerNameY);
    const Rgb probe = pixelOrWhite(source, layout.probeX, layout.probeY);
    if (!(probe.red <= 2 && probe.green <= 2 && probe.blue <= 2))
        std::swap(snapshot.blackName, snapshot.whiteName);
    return 0;
}

std::string readName(PixelSource& source, int left, int top)
{
    std::array<Rgb, namefont::kBoxWidth * namefont::kBoxHeight> box;
    if (!source.read(left, top, namefont::kBoxWidth, namefont::kBoxHeight, box))
        return {};
    return namefont::read(box);
}

} // namespace tablereader
