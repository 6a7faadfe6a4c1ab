#pragma once

#include "board/movelist.h"
#include "library/recordsearch.h"
#include "records/gamerecord.h"

#include <cstdint>
#include <cstring>

// Search criteria made ready for a scan: the dates read into bounds, the opening turned into its
// canonical form. Every test is a comparison or two on fields near the start of a record, since
// a search touches every record of the collection, after every preview move when incremental.
class RecordSearchMatcher {
public:
    explicit RecordSearchMatcher(const SearchCriteria& criteria);

    bool matches(const GameRecord& r) const
    {
        return r.folder >= 0
            && matchesFields(r.blackPlayer, r.whitePlayer, r.winner, r.playedAt, head(r.moves))
            && matchesTail(r.moves);
    }

    // Everything but the moves after the eighth, on copies of the fields.
    bool matchesFields(int black, int white, int winner, int32_t playedAt, uint64_t head) const
    {
        if ((head & m_headMask) != m_head)
            return false;
        const bool blackMiss = m_black > 0 && black != m_black;
        const bool whiteMiss = m_white > 0 && white != m_white;
        if (m_bothPlayers ? blackMiss || whiteMiss : blackMiss && whiteMiss)
            return false;
        return (m_anyWinner || winner == m_winner) && playedAt >= m_lower && playedAt <= m_upper;
    }
    bool matchesTail(const MoveList& moves) const
    {
        return m_compared <= 8
            || std::memcmp(moves.data() + 8, m_target.data() + 8, m_compared - 8) == 0;
    }

    // How many leading bytes of the canonical opening a record must share, and that opening.
    size_t comparedMoves() const { return m_compared; }
    const MoveList& opening() const { return m_target; }

    // The first eight move bytes as one word. Both sides of a comparison are read the same way,
    // so byte i stays byte i whatever the machine's byte order.
    static uint64_t head(const MoveList& moves)
    {
        uint64_t word;
        std::memcpy(&word, moves.data(), sizeof word);
        return word;
    }

private:
    int m_black; // 0: any
    int m_white; // 0: any
    bool m_bothPlayers;
    bool m_anyWinner;
    int m_winner; // the one winner value kept, unless m_anyWinner
    int32_t m_lower;
    int32_t m_upper;
    MoveList m_target; // canonical form of the opening
    size_t m_compared; // leading bytes of m_target a record must share
    uint64_t m_head; // the first up to eight of them
    uint64_t m_headMask;
};
