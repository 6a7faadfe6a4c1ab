#pragma once

#include "board/movelist.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CollectionTree;

// One move played from an explored position, with how the games that played it ended.
struct ExplorerMove {
    int square = 0; // row × 8 + column (a1 = 0, h1 = 7, a8 = 56), in the query's orientation
    uint32_t games = 0;
    uint32_t blackWins = 0;
    uint32_t whiteWins = 0;
    uint32_t others = 0; // draws and games without a result
    // Black's final disc count averaged over the games that ended normally; none when no game did.
    std::optional<double> avgBlackDiscs;
};

// What the games of a collection played from a position. A game counts when, as it was played,
// it passes through the position or through one of its images under the board's eight
// symmetries; its next move is turned into the position's orientation by the first of identity,
// the a1–h8 diagonal mirror, the a8–h1 diagonal mirror, the half turn, the quarter turn taking a1
// to h1, the quarter turn taking a1 to a8, the left–right mirror and the top–bottom mirror that
// takes the game's position onto the asked one. A position is its discs and the side that moves
// next (after any forced pass); a game passes through positions only as long as its moves are
// legal, and a next move counts only when it is legal.
//
// The explorer keeps the live records' slots sorted by their moves as played, with each game's
// result and its last moves beside it (16 bytes per record), and walks that order
// as a tree of shared move prefixes, cutting off every prefix that places a disc on a square the
// position (in each of its images) leaves empty; a game whose last moves do not fit the
// position's empty squares is passed over without being read. It reads the tree it was made from
// and makes its index again at the first query after the tree's records changed.
//
// Making the index takes seconds on a million records, so it comes in three steps that a window
// can spread over two threads: snapshot() copies what the index needs from the tree, on the
// thread that owns the tree; makeIndex() turns that copy into the index on any thread, reading no
// tree; install() puts the index in use, on the owning thread again. An index installed is
// current only while the tree's records are as they were at its snapshot.
class OpeningExplorer {
private:
    // One live record in the index, in the order of the moves as played.
    struct Entry {
        // The squares (bits row × 8 + column) of the last kTailMoves legal moves and those still
        // empty after the last legal move.
        uint64_t tail;
        // Bits 0–23 the slot, 24–29 the moves shared with the entry before, 30–35 how many moves
        // from the start are legal, 36–37 the winner, 38 ended normally, 39–45 black's discs,
        // 46–63 the last three legal moves (row × 8 + column), the last one lowest.
        uint64_t fields;
        int slot() const { return int(fields & 0xFFFFFF); }
        int sharedPrefix() const { return int(fields >> 24 & 63); }
        int legalMoves() const { return int(fields >> 30 & 63); }
        int winner() const { return int(fields >> 36 & 3); }
        bool normalEnd() const { return fields >> 38 & 1; }
        int blackDiscs() const { return int(fields >> 39 & 127); }
        // The square of the move that many before the end (0 the last), for at most 3.
        int lastMove(int fromEnd) const { return int(fields >> (46 + 6 * fromEnd) & 63); }
    };

public:
    // The live records as the index needs them, with the tree's record changes when read.
    class Snapshot {
    public:
        int gameCount() const { return int(m_games.size()); }

    private:
        friend class OpeningExplorer;
        struct Game {
            MoveList moves; // as stored; makeIndex turns them into the moves as played
            int8_t orientation;
            int8_t winner;
            int8_t normalEnd;
            int8_t blackDiscs;
        };
        std::vector<Game> m_games;
        std::vector<int32_t> m_slots;
        uint64_t m_recordChanges = 0;
    };
    // A finished index, waiting to be installed.
    class Index {
        friend class OpeningExplorer;
        std::vector<Entry> m_entries;
        uint64_t m_recordChanges = 0;
    };

    explicit OpeningExplorer(const CollectionTree& tree);

    // Reads the tree's live records again.
    void rebuild();
    // The next explore() rebuilds first.
    void invalidate() { m_stale = true; }

    // rebuild() is these three in a row.
    Snapshot snapshot() const;
    static Index makeIndex(Snapshot snapshot);
    // The index stays current only if the tree's records did not change since its snapshot.
    void install(Index index);
    // Whether the index answers for the tree's records as they are now.
    bool current() const { return !stale(); }

    // The moves played from the position reached by these moves (row × 8 + column each) from the
    // start, most games first and, among equal counts, by the move's name (column, then row).
    // Empty when the moves are not a legal game from the start.
    std::vector<ExplorerMove> explore(const std::vector<int>& squaresFromStart) const;
    // The same without making the index: none while it is not current.
    std::optional<std::vector<ExplorerMove>> exploreIfCurrent(
        const std::vector<int>& squaresFromStart) const;

    // Records indexed at the last rebuild, and the bytes the index holds for them.
    int gameCount() const;
    std::size_t indexBytes() const;

    // The last moves of a game tell, without reading the game, that it cannot reach a deep
    // position: the moves after the position must land on its empty squares.
    static constexpr int kTailMoves = 30;

private:
    // Slots from this number on are not indexed.
    static constexpr int kMaxSlots = 1 << 24;
    void build() const;
    void use(Index index) const;
    std::vector<ExplorerMove> walk(const std::vector<int>& squaresFromStart) const;

    const CollectionTree& m_tree;
    mutable std::vector<Entry> m_entries;
    mutable bool m_stale = true;
    mutable uint64_t m_builtAt = 0; // the tree's record changes when the index was made

    bool stale() const;
};
