#pragma once

#include "board/squares.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// An Othello position in the framed 133-cell array (see squares.h) with its disc counts, which
// every change keeps up to date rather than recounting. A new board has every cell blocked and no
// position until a variant is selected.
//
// Bad input changes nothing: a square outside 0..132, a colour other than black or white, or a
// cell value outside 0..3 is refused, so the frame stays intact and every walk stays in bounds.
class OthelloBoard {
public:
    // Variant codes: 0 is 6 × 6, 2 is 10 × 10 without corners ("Octo"), 3 is 10 × 10
    // ("Perfect"); every other code is the 8 × 8 board ("Standard") that the program uses.
    static constexpr int kVariant6x6 = 0;
    static constexpr int kVariantStandard = 1;
    static constexpr int kVariantOcto = 2;
    static constexpr int kVariantPerfect = 3;

    OthelloBoard();

    // Sets up the starting position on a board of side size, clamped into 4..10; with corners
    // removed, each corner and its two orthogonal neighbours are blocked.
    void initialise(int size, bool cornersRemoved);
    void selectVariant(int code);

    // Stores value (0..3) on a square of the playing area and adjusts the disc counts.
    void setCell(int square, int value);
    // The value of a cell; blocked for any index outside the array.
    int cell(int square) const;

    bool canPlay(int square, int colour) const;
    // Plays a move and returns the number of discs flipped; 0 (and no change) when illegal.
    int play(int square, int colour);
    bool hasNoMove(int colour) const;
    bool gameOver() const;

    // Selects the 8 × 8 board and sets its 64 squares, row-major, from cells; any value other
    // than black, white or blocked is taken as empty.
    void load8x8Cells(std::span<const uint8_t, 64> cells);

    bool fewerDiscsThan(const OthelloBoard& other) const;
    bool moreDiscsThan(const OthelloBoard& other) const;
    // Equal disc totals and equal cells over the 8 × 8 area.
    bool samePosition(const OthelloBoard& other) const;
    // Squares, row by row, holding a disc in snapshot and empty here; empty when some square
    // holds a disc here but none in snapshot (the snapshot cannot follow from this board).
    std::vector<int> newlyOccupiedSquares(const OthelloBoard& snapshot) const;

    // The squares flipped by the last successful play, nearest first within each direction.
    std::span<const uint8_t> flips() const { return { m_flips.data(), size_t(m_flipCount) }; }
    int flipCount() const { return m_flipCount; }
    int size() const { return m_size; }
    int blackCount() const { return m_blackCount; }
    int whiteCount() const { return m_whiteCount; }
    int discCount() const { return m_blackCount + m_whiteCount; }

protected:
    // Blocks every cell and zeroes the counts; the board then has no position.
    void blockAll();
    bool isPlayingArea(int square) const;

private:
    // Number of discs of colour bracketed from square in direction; 0 when none.
    int bracketed(int square, int direction, int colour) const;

    std::array<uint8_t, board::kCellCount> m_cells;
    std::array<uint8_t, board::kMaxFlips> m_flips {};
    int m_flipCount = 0;
    int m_size = 8;
    int m_blackCount = 0;
    int m_whiteCount = 0;
};
