#include "board/boarddiagram.h"

#include "board/othellogame.h"
#include "board/squares.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

// The board picture's layout: 27-unit squares from (12, 12) in a 240-unit square.
constexpr int origin = 12;
constexpr int square = 27;
constexpr int side = 240;
constexpr int playingSpan = 8 * square;
constexpr std::array<int, 2> starPoints { 64, 172 };

// The picture's colours: margins, board, the light and dark grid lines, discs and the mark.
constexpr const char* marginColour = "#000000";
constexpr const char* boardColour = "#428442";
constexpr const char* lightLine = "#63ad63";
constexpr const char* darkLine = "#004200";
constexpr const char* blackDisc = "#343434";
constexpr const char* whiteDisc = "#cccccc";
constexpr const char* markColour = "#ff0000";

// A disc's round shape is 20 units across, its centre 14 units right of and 13 below the square's
// corner, as on the program's drawn discs.
constexpr int discCentreX = 14;
constexpr int discCentreY = 13;
constexpr int discRadius = 10;

// Appends one printf-formatted element; every element written here is short.
[[gnu::format(printf, 2, 3)]] void append(std::string& out, const char* format, ...)
{
    char buffer[400];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0)
        out.append(buffer, std::min<size_t>(size_t(n), sizeof buffer - 1));
}

void rect(std::string& out, int x, int y, int width, int height, const char* fill)
{
    append(out, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n", x, y, width,
        height, fill);
}

} // namespace

BoardDiagram BoardDiagram::of(const OthelloGame& game, bool showNumbers)
{
    BoardDiagram diagram;
    diagram.showNumbers = showNumbers;
    if (game.size() != 8)
        return diagram;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int cell = game.cell(board::squareAt(row, column));
            diagram.cells[row * 8 + column]
                = static_cast<uint8_t>(board::isColour(cell) ? cell : board::kEmpty);
        }
    }
    for (int i = 0; i < game.cursor(); ++i) {
        const MoveEntry* entry = game.entry(i);
        if (entry == nullptr || !board::isSquare8x8(entry->square))
            continue;
        const int at = board::rowOf(entry->square) * 8 + board::columnOf(entry->square);
        diagram.numbers[at] = static_cast<uint8_t>(i + 1);
        diagram.lastMove = at;
    }
    return diagram;
}

std::string diagramSvg(const BoardDiagram& diagram)
{
    std::string out;
    out.reserve(12000);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    append(out,
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
        "viewBox=\"0 0 %d %d\">\n",
        side, side, side, side);
    rect(out, 0, 0, side, side, marginColour);
    rect(out, origin, origin, playingSpan, playingSpan, boardColour);

    out += "<g font-family=\"sans-serif\" font-size=\"11\" fill=\"#ffffff\" "
           "text-anchor=\"middle\">\n";
    for (int i = 0; i < 8; ++i) {
        append(out, "<text x=\"%d.5\" y=\"10\">%c</text>\n", origin + square * i + 13, 'a' + i);
        append(out, "<text x=\"6\" y=\"%d\">%d</text>\n", origin + square * i + 18, i + 1);
    }
    out += "</g>\n";

    // Each square has a light top and left edge and a dark bottom and right edge.
    for (int i = 0; i < 8; ++i) {
        rect(out, origin + square * i, origin, 1, playingSpan, lightLine);
        rect(out, origin, origin + square * i, playingSpan, 1, lightLine);
    }
    for (int i = 0; i < 8; ++i) {
        rect(out, origin + square * (i + 1) - 1, origin, 1, playingSpan, darkLine);
        rect(out, origin, origin + square * (i + 1) - 1, playingSpan, 1, darkLine);
    }
    for (int x : starPoints) {
        for (int y : starPoints)
            rect(out, x, y, 3, 3, darkLine);
    }

    for (int at = 0; at < 64; ++at) {
        const int cell = diagram.cells[at];
        if (!board::isColour(cell))
            continue;
        const bool black = cell == board::kBlack;
        const int x = origin + square * (at % 8);
        const int y = origin + square * (at / 8);
        append(out, "<circle class=\"%s\" cx=\"%d\" cy=\"%d\" r=\"%d\" fill=\"%s\"/>\n",
            black ? "black" : "white", x + discCentreX, y + discCentreY, discRadius,
            black ? blackDisc : whiteDisc);
        if (diagram.showNumbers && diagram.numbers[at] != 0) {
            // The number stands out against its disc: white on black, black on white.
            append(out,
                "<text class=\"number\" x=\"%d\" y=\"%d\" font-family=\"sans-serif\" "
                "font-size=\"12\" font-weight=\"bold\" text-anchor=\"middle\" "
                "dominant-baseline=\"central\" fill=\"%s\">%d</text>\n",
                x + discCentreX, y + discCentreY, black ? "#ffffff" : "#000000",
                static_cast<int>(diagram.numbers[at]));
        }
    }

    if (!diagram.showNumbers && diagram.lastMove >= 0 && diagram.lastMove < 64) {
        // An 11-unit red cross, one unit wide, in the middle of the square.
        const int x = origin + square * (diagram.lastMove % 8) + 8;
        const int y = origin + square * (diagram.lastMove / 8) + 8;
        out += "<g class=\"mark\">\n";
        rect(out, x, y + 5, 11, 1, markColour);
        rect(out, x + 5, y, 1, 11, markColour);
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}
