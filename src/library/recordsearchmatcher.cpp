#include "library/recordsearchmatcher.h"

#include "board/orientation.h"

#include <algorithm>

RecordSearchMatcher::RecordSearchMatcher(const SearchCriteria& c)
    : m_black(c.black)
    , m_white(c.white)
    , m_bothPlayers(c.bothPlayers)
    , m_lower(lowerDateBound(c.from))
    , m_upper(upperDateBound(c.to))
    , m_target(transform(c.moves, classifyOpening(c.moves)))
{
    switch (c.winner) {
    case SearchCriteria::blackWon:
        m_winner = GameRecord::blackWins;
        break;
    case SearchCriteria::whiteWon:
        m_winner = GameRecord::whiteWins;
        break;
    case SearchCriteria::noWinner:
        m_winner = GameRecord::noWinner;
        break;
    default:
        m_winner = -1;
        break;
    }
    m_anyWinner = m_winner < 0;
    // Never past the target's own moves: its first zero must stop a shorter record, and a longer
    // count would let records match on the target's trailing zeros.
    m_compared = size_t(std::clamp(c.movesCompared, 0, m_target.size()));
    uint8_t mask[8] {};
    std::memset(mask, 0xff, std::min<size_t>(m_compared, 8));
    std::memcpy(&m_headMask, mask, sizeof m_headMask);
    m_head = head(m_target) & m_headMask;
}
