#pragma once

#include "board/movelist.h"
#include "board/othellogame.h"

#include <array>
#include <cstdint>

// The record editor's numbered board: the user enters a game by writing move numbers on squares.
// A number that stands on two or more squares is no move, so the replay stops before it.
class MoveNumberGrid {
public:
    // Grid values besides 0 (empty) and the move numbers 1..60.
    static constexpr int kInitialWhite = 126;
    static constexpr int kInitialBlack = 127;

    MoveNumberGrid() { clear(); }

    // Empties the grid but for the four starting discs, and clears list, counters and replayed.
    void clear();
    // Numbers the squares of moves (those on the 8 × 8 board) 1, 2, … and rebuilds.
    void load(const MoveList& moves);
    // Takes number n (1..60) off every square that carries it.
    void removeNumber(int n);
    // Recomputes the move list and the counters from the grid.
    void rebuild();
    // Replays the numbered moves onto a fresh 8 × 8 game, stopping at the first missing number;
    // returns the side to move next.
    int replayOnto(OthelloGame& game);

    // The value on a square of the 8 × 8 board (row and column 0..7); 0 outside it.
    int at(int row, int column) const;
    // Writes a value (0..255) on a square; ignored outside the board.
    void set(int row, int column, int value);
    // What the user types on the sheet: a move number 1..60, or 0 to empty the square. False,
    // and nothing changes, for any other number and on the four starting squares. The counters
    // are not rebuilt.
    bool write(int row, int column, int number);
    // Square index of move n (1..60), 0 when the number is missing or stands on several squares.
    int move(int n) const;
    // How many squares carry number n (1..60).
    int counter(int n) const;
    // Number of moves the last replay applied.
    int replayed() const { return m_replayed; }

private:
    std::array<uint8_t, 64> m_grid {};
    std::array<uint8_t, MoveList::kMaxMoves> m_moveList {};
    std::array<uint8_t, MoveList::kMaxMoves> m_counters {};
    int m_replayed = 0;
};
