#include "board/movenumbergrid.h"

#include "board/sheetcursor.h"
#include "board/squares.h"

using namespace board;

namespace {

bool isNumber(int n)
{
    return n >= 1 && n <= MoveList::kMaxMoves;
}

} // namespace

void MoveNumberGrid::clear()
{
    m_grid.fill(0);
    m_grid[3 * 8 + 3] = kInitialWhite; // D4
    m_grid[4 * 8 + 4] = kInitialWhite; // E5
    m_grid[3 * 8 + 4] = kInitialBlack; // E4
    m_grid[4 * 8 + 3] = kInitialBlack; // D5
    m_moveList.fill(0);
    m_counters.fill(0);
    m_replayed = 0;
}

void MoveNumberGrid::load(const MoveList& moves)
{
    clear();
    int number = 1;
    for (int square : moves) {
        if (isSquare8x8(square))
            m_grid[rowOf(square) * 8 + columnOf(square)] = static_cast<uint8_t>(number);
        ++number;
    }
    rebuild();
}

void MoveNumberGrid::removeNumber(int n)
{
    if (!isNumber(n))
        return;
    for (uint8_t& value : m_grid) {
        if (value == n)
            value = 0;
    }
    m_moveList[n - 1] = 0;
    m_counters[n - 1] = 0;
}

void MoveNumberGrid::rebuild()
{
    m_moveList.fill(0);
    m_counters.fill(0);
    for (int i = 0; i < 64; ++i) {
        const int n = m_grid[i];
        if (!isNumber(n))
            continue;
        ++m_counters[n - 1];
        m_moveList[n - 1] = m_counters[n - 1] == 1 ? squareAt(i / 8, i % 8) : 0;
    }
}

int MoveNumberGrid::replayOnto(OthelloGame& game)
{
    game.reset();
    game.selectVariant(OthelloBoard::kVariantStandard);
    rebuild();
    MoveList moves;
    for (uint8_t square : m_moveList) {
        if (square == 0)
            break;
        moves.append(square);
    }
    m_replayed = game.replay(moves);
    return game.sideToMove();
}

int MoveNumberGrid::at(int row, int column) const
{
    return row >= 0 && row < 8 && column >= 0 && column < 8 ? m_grid[row * 8 + column] : 0;
}

void MoveNumberGrid::set(int row, int column, int value)
{
    if (row >= 0 && row < 8 && column >= 0 && column < 8 && value >= 0 && value <= 255)
        m_grid[row * 8 + column] = static_cast<uint8_t>(value);
}

bool MoveNumberGrid::write(int row, int column, int number)
{
    if (row < 0 || row > 7 || column < 0 || column > 7 || SheetCursor::isCentre(column, row))
        return false;
    if (number != 0 && !isNumber(number))
        return false;
    m_grid[row * 8 + column] = static_cast<uint8_t>(number);
    return true;
}

int MoveNumberGrid::move(int n) const
{
    return isNumber(n) ? m_moveList[n - 1] : 0;
}

int MoveNumberGrid::counter(int n) const
{
    return isNumber(n) ? m_counters[n - 1] : 0;
}
