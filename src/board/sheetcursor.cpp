#include "board/sheetcursor.h"

namespace {

int wrap(int value)
{
    return (value % 8 + 8) % 8;
}

} // namespace

bool SheetCursor::isCentre(int column, int row)
{
    return (column == 3 || column == 4) && (row == 3 || row == 4);
}

bool SheetCursor::moveTo(int column, int row)
{
    if (column < 0 || column > 7 || row < 0 || row > 7 || isCentre(column, row))
        return false;
    m_column = column;
    m_row = row;
    return true;
}

void SheetCursor::nextInRow()
{
    if (++m_column == 8) {
        m_column = 0;
        m_row = (m_row + 1) % 8;
    }
    if (isCentre(m_column, m_row))
        m_column = 5;
}

void SheetCursor::nextInColumn()
{
    m_row = (m_row + 1) % 8;
    if (isCentre(m_column, m_row))
        m_row = 5;
}

void SheetCursor::step(int dColumn, int dRow)
{
    if (dColumn == 0 && dRow == 0)
        return;
    do {
        m_column = wrap(m_column + dColumn);
        m_row = wrap(m_row + dRow);
    } while (isCentre(m_column, m_row));
}
