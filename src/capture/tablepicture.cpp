#include "capture/tablepicture.h"

#include "capture/disccolourtable.h"
#include "capture/namefont.h"
#include "capture/tablelayout.h"

#include <tuple>

namespace tablepicture {

namespace {

constexpr Rgb kBackground { 206, 214, 230 };
constexpr Rgb kFrame { 0, 0, 0 };
constexpr Rgb kGrid { 24, 70, 24 };
constexpr Rgb kBoxPaper { 255, 255, 255 };
constexpr Rgb kInk { 0, 0, 0 };
constexpr Rgb kEmptySeatMark { 255, 255, 255 };

Rgb reference(int entry)
{
    return disccolourtable::entries()[static_cast<size_t>(entry)].colour;
}

} // namespace

int width(int layout)
{
    return layout == 0 ? 680 : 560;
}

int height(int layout)
{
    return layout == 0 ? 470 : 340;
}

void reportRect(int layout, int& x, int& y, int& w, int& h)
{
    w = 240;
    h = 100;
    x = (width(layout) - w) / 2;
    y = (height(layout) - h) / 2;
}

void drawName(Picture& picture, int left, int top, std::string_view name)
{
    int column = 0;
    for (const char c : name) {
        const Glyph* glyph = namefont::find(c);
        const int advance = glyph ? glyph->width : 5;
        if (column + advance > namefont::kBoxWidth)
            break;
        if (glyph)
            for (int row = 0; row < namefont::kBoxHeight; ++row)
                for (int x = 0; x < glyph->width; ++x)
                    if (glyph->dark(x, row))
                        picture.set(left + column + x, top + row, kInk);
        column += advance;
    }
}

Picture draw(const TableScene& scene)
{
    const int layoutIndex = scene.layout == 0 ? 0 : 1;
    const TableLayout& layout = tablelayout::layout(layoutIndex);
    Picture picture(width(layoutIndex), height(layoutIndex), kBackground);

    // The board: cells centred on their reading points (which sit 5 pixels off the centre), with
    // a frame and grid lines between them.
    const int pitch = layout.pitch;
    const int left = layout.firstCellX - pitch / 2;
    const int top = layout.firstCellY - pitch / 2;
    picture.fillRect(left - 4, top - 4, 8 * pitch + 8, 8 * pitch + 8, kFrame);
    if (layoutIndex == 0)
        // The large layout has a dark panel right of the board, which is how it is told apart.
        picture.fillRect(tablelayout::kChoiceX - 6, top, 14, 8 * pitch, kFrame);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int index = row * 8 + column;
            const int x = left + column * pitch;
            const int y = top + row * pitch;
            picture.fillRect(x, y, pitch, pitch, kGrid);
            picture.fillRect(
                x + 1, y + 1, pitch - 2, pitch - 2, reference(index == scene.marked ? 1 : 0));
            const int code = scene.cells[static_cast<size_t>(index)];
            if (code == 1 || code == 2)
                picture.fillCircle(
                    x + pitch / 2, y + pitch / 2, pitch * 2 / 5, reference(code + 1));
        }
    }

    for (const auto& [x, y, name] :
        { std::tuple { layout.upperNameX, layout.upperNameY, std::string_view(scene.upperName) },
            std::tuple {
                layout.lowerNameX, layout.lowerNameY, std::string_view(scene.lowerName) } }) {
        picture.fillRect(x, y, namefont::kBoxWidth, namefont::kBoxHeight, kBoxPaper);
        drawName(picture, x, y, name);
    }
    picture.fillRect(layout.probeX - 4, layout.probeY - 4, 9, 9,
        scene.blackUpper ? Rgb { 0, 0, 0 } : kEmptySeatMark);

    if (scene.report) {
        int x, y, w, h;
        reportRect(layoutIndex, x, y, w, h);
        picture.fillRect(x - 1, y - 1, w + 2, h + 2, kFrame);
        picture.fillRect(x, y, w, h, kReportGrey);
    }
    return picture;
}

} // namespace tablepicture
