#pragma once

// The cursor of the move-number sheet: one square of the 8 × 8 board, never one of the four
// starting squares D4, E4, D5, E5, which carry discs instead of numbers. Columns and rows are
// 0..7 from the top left (A1).
class SheetCursor {
public:
    static bool isCentre(int column, int row);

    int column() const { return m_column; }
    int row() const { return m_row; }

    // Puts the cursor on a square; false (and no move) outside the board or on the centre.
    bool moveTo(int column, int row);
    // Tab: the next square in reading order, H8 wrapping to A1; D4 and D5 are passed over to F4
    // and F5.
    void nextInRow();
    // Enter, and after a number was typed: one row down, row 7 wrapping to row 0; D4 and E4 are
    // passed over to D6 and E6.
    void nextInColumn();
    // An arrow key: one square in that direction with wrap-around on each axis, repeated while the
    // cursor stands on the centre. Each of dColumn and dRow is −1, 0 or 1.
    void step(int dColumn, int dRow);

private:
    int m_column = 0;
    int m_row = 0;
};
