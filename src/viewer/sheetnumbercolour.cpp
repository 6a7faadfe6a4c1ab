#include "viewer/sheetnumbercolour.h"

#include "board/movelist.h"
#include "board/movenumbergrid.h"

SharedColour sheetNumberColour(const MoveNumberGrid& grid, int n)
{
    // The grid counts only the numbers a game can hold; a larger one can never be a move.
    const int counter = n >= 1 && n <= MoveList::kMaxMoves ? grid.counter(n) : 0;
    if (counter >= 2)
        return SharedColour::NumberRed;
    if (n <= grid.replayed())
        return SharedColour::NumberBlack;
    return SharedColour::NumberBlue;
}
