#include "viewer/boardgeometry.h"

std::optional<BoardSquare> BoardGeometry::hitTest(int x, int y)
{
    // The subtraction is the picture's own origin (12), not the origin as shown (15), and the
    // division truncates toward zero: points up to 12 pixels before the board still count as
    // column or row 0.
    const int column = (x - originX) / square;
    const int row = (y - originY) / square;
    if (column < 0 || column >= boardSide || row < 0 || row >= boardSide)
        return std::nullopt;
    return BoardSquare { column, row };
}
