#pragma once

#include "board/moveentry.h"
#include "board/movelist.h"
#include "board/othelloboard.h"

#include <array>
#include <span>

// A board with its history of placed discs: an undo stack with a redo tail. Passes are not
// recorded. A new or reset game has every cell blocked; select a variant before playing.
//
// Entries are returned as pointers into the history (nullptr for none); one stays valid until its
// slot is overwritten by a new move, dropped by truncate or cleared by reset.
class OthelloGame : public OthelloBoard {
public:
    // More than any board allows (60 moves on 8 × 8, 96 on 10 × 10), so the history never fills.
    static constexpr int kHistorySlots = 100;

    void reset();

    // Plays the move and stores it at the cursor, dropping the redo tail; nullptr when illegal.
    const MoveEntry* playAndRecord(int square, int colour);
    const MoveEntry* undo();
    const MoveEntry* redo();
    // The last applied entry (the one before the cursor).
    const MoveEntry* current() const;
    // Drops entries n .. length − 1. Applied moves are never dropped: n is kept within
    // cursor .. length.
    void truncate(int n);

    // Every recorded entry, applied or in the redo tail, as a move list.
    MoveList moves() const;
    // Plays a move list from the current position with implicit passes and returns how many
    // moves were applied; it stops at the first move that neither side may play.
    int replay(const MoveList& moves);
    // The side to move: the opponent of the last mover (black at the start), or the last mover
    // again when that opponent has no legal move.
    int sideToMove() const;

    // Searches for the moves on candidate squares that turn the current position into target in
    // depth moves, each side passing at most once in a row; on success they are played and
    // recorded. On the last move a target showing the new disc before its flips is accepted.
    bool reach(std::span<const int> candidates, int colour, const OthelloBoard& target, int depth,
        bool passed = false);

    int cursor() const { return m_cursor; }
    int length() const { return m_length; }
    // Entry index of the history (0 .. length − 1), or nullptr.
    const MoveEntry* entry(int index) const;

private:
    class ReachSearch;

    std::array<MoveEntry, kHistorySlots> m_history {};
    int m_cursor = 0;
    int m_length = 0;
};
