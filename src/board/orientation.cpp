#include "board/orientation.h"

#include "board/notation.h"
#include "board/squares.h"

#include <algorithm>
#include <array>
#include <string_view>

using namespace board;

namespace {

struct OpeningRule {
    std::string_view moves; // the first moves, in text notation
    int code;
};

// Tried in order for the first move of a list; the first rule whose moves begin the list wins, so
// each first move's catch-all comes last.
constexpr std::array<OpeningRule, 12> kRules { {
    { "F5F6E6D6", 6 },
    { "F5D6C4D3C3", 8 },
    { "F5", 0 },
    { "D3C3C4C5", 7 },
    { "D3C5E6F5F6", 9 },
    { "D3", 1 },
    { "E6F6F5F4", 4 },
    { "E6F4D3C4C3", 10 },
    { "E6", 2 },
    { "C4C3D3E3", 5 },
    { "C4E3F5E6F6", 11 },
    { "C4", 3 },
} };

bool startsWith(const MoveList& moves, const MoveList& prefix)
{
    return moves.bytes().starts_with(prefix.bytes());
}

int mapSquare(int square, int code)
{
    if (!isSquare8x8(square))
        return square;
    const int i = rowOf(square);
    const int j = columnOf(square);
    switch (code & 3) {
    case 1:
        return squareAt(7 - j, 7 - i);
    case 2:
        return squareAt(j, i);
    case 3:
        return squareAt(7 - i, 7 - j);
    default:
        return square;
    }
}

void exchange(MoveList& moves, int a, int b)
{
    if (moves.size() <= std::max(a, b))
        return;
    const int first = moves[a];
    moves.set(a, moves[b]);
    moves.set(b, first);
}

} // namespace

int classifyOpening(const MoveList& moves)
{
    // The rules' moves as lists, read once.
    static const std::array<MoveList, kRules.size()> prefixes = [] {
        std::array<MoveList, kRules.size()> lists;
        for (size_t i = 0; i < kRules.size(); ++i)
            lists[i] = textToMoves(kRules[i].moves);
        return lists;
    }();
    for (size_t i = 0; i < kRules.size(); ++i) {
        if (startsWith(moves, prefixes[i]))
            return kRules[i].code;
    }
    return 0;
}

MoveList transform(const MoveList& moves, int code)
{
    std::array<char, MoveList::kMaxMoves> mapped {};
    size_t count = 0;
    for (int square : moves)
        mapped[count++] = static_cast<char>(mapSquare(square, code));
    MoveList result = MoveList::fromBytes(std::string_view(mapped.data(), count));
    if (code & 4)
        exchange(result, 0, 2);
    if (code & 8)
        exchange(result, 2, 4);
    return result;
}
