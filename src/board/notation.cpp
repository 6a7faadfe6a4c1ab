#include "board/notation.h"

#include "board/squares.h"

using namespace board;

std::string movesToText(const MoveList& moves)
{
    std::string text;
    text.reserve(2 * size_t(moves.size()));
    for (int square : moves) {
        text += static_cast<char>('A' + (square - kFirstSquare) % kStride);
        text += static_cast<char>('1' + (square - kFirstSquare) / kStride);
    }
    return text;
}

MoveList textToMoves(std::string_view text)
{
    MoveList moves;
    for (size_t i = 0; i + 1 < text.size() && !moves.full(); i += 2) {
        const char letter = text[i];
        const char digit = text[i + 1];
        int column;
        if (letter >= 'A' && letter <= 'H')
            column = letter - 'A';
        else if (letter >= 'a' && letter <= 'h')
            column = letter - 'a';
        else
            break;
        if (digit < '1' || digit > '8')
            break;
        moves.append(squareAt(digit - '1', column));
    }
    return moves;
}
