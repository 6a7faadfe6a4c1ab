#include "board/randomgame.h"

#include "board/othelloboard.h"

#include <vector>

using namespace board;

MoveList randomGame(std::mt19937& rng, int maxMoves)
{
    OthelloBoard position;
    position.selectVariant(OthelloBoard::kVariantStandard);
    MoveList moves;
    int colour = kBlack;
    std::vector<int> legal;
    while (moves.size() < maxMoves && !moves.full()) {
        legal.clear();
        for (int square = kFirstSquare; square < kCellCount; ++square) {
            if (position.canPlay(square, colour))
                legal.push_back(square);
        }
        if (legal.empty()) {
            if (position.hasNoMove(opponent(colour)))
                break;
            colour = opponent(colour);
            continue;
        }
        // Taken modulo rather than through a distribution, whose results differ between
        // standard libraries.
        const int square = legal[rng() % legal.size()];
        position.play(square, colour);
        moves.append(square);
        colour = opponent(colour);
    }
    return moves;
}
