#pragma once

#include "board/othellogame.h"
#include "capture/tablesnapshot.h"
#include "library/libraryoperations.h"

#include <ctime>
#include <string>

// The game a capture follows at one table: the moves inferred from successive snapshots of the
// table's board, with the side to move. A game picked up in the middle holds the position it was
// first seen in and misses its earlier moves; such a game is shown but never filed.
class FollowedGame {
public:
    enum class Step { noChange, movesInferred, restart };

    FollowedGame();

    // Compares the snapshot with the held board. More discs on the table: the moves on the newly
    // occupied squares (1 to 12) are searched for and played; a single new disc decides the side
    // that played it, which absorbs a pass. Fewer discs (a new game), or moves that cannot be
    // found: restart. The same number of discs: nothing changes.
    Step follow(const TableSnapshot& snapshot);
    // Starts again from the snapshot: its moves are recovered from the starting position when it
    // is at most 12 discs on, otherwise its cells are taken as they are. The snapshot's names
    // become the game's.
    void restart(const TableSnapshot& snapshot);

    const OthelloGame& game() const { return m_game; }
    int sideToMove() const { return m_sideToMove; }
    const std::string& blackName() const { return m_blackName; }
    const std::string& whiteName() const { return m_whiteName; }
    // Neither side has a legal move.
    bool over() const { return m_game.gameOver(); }
    // Moves played before the game was picked up: discs beyond the starting four that no known
    // move accounts for.
    int missingMoves() const;
    // True when the known moves, replayed from the starting position, give the held board: the
    // game can be filed.
    bool complete() const;

    // "- " for each missing move, then the known moves as column letter and row digit; a CR LF
    // after the 60th character when more follows.
    std::string moveText() const;
    // The known moves as played, without separators.
    std::string copyText() const;
    // The game as the capture files it, named and played at now (local time for the name):
    // normalised moves with their orientation code, and the result when the game is over (no
    // winner, no discs and the unfinished end type when it is not).
    CapturedGame record(std::time_t now) const;

private:
    OthelloGame m_game;
    int m_sideToMove;
    std::string m_blackName;
    std::string m_whiteName;
};
