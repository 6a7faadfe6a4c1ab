#include "board/perft.h"

using namespace board;

uint64_t perft(OthelloGame& game, int colour, int depth)
{
    if (depth <= 0)
        return 1;
    uint64_t nodes = 0;
    bool moved = false;
    for (int square = kFirstSquare; square < kCellCount; ++square) {
        if (!game.playAndRecord(square, colour))
            continue;
        moved = true;
        nodes += perft(game, opponent(colour), depth - 1);
        game.undo();
    }
    if (moved)
        return nodes;
    if (game.hasNoMove(opponent(colour)))
        return 1;
    return perft(game, opponent(colour), depth - 1);
}
