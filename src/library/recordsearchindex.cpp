#include "library/recordsearchindex.h"

#include "library/recordsearchmatcher.h"

#include <algorithm>
#include <cstring>

namespace {

// Past this many updated slots (or a sixty-fourth of the table) the order by moves is made again
// at the next search by opening, rather than checking them all each time.
constexpr size_t kMaxChanged = 4096;

} // namespace

RecordSearchIndex::Key RecordSearchIndex::keyOf(const GameRecord& r)
{
    return { r.playedAt, r.blackPlayer, r.whitePlayer, r.winner, r.folder >= 0,
        RecordSearchMatcher::head(r.moves) };
}

uint64_t RecordSearchIndex::orderOf(const uint8_t* moves)
{
    uint64_t order = 0;
    for (int i = 0; i < 8; ++i)
        order = order << 8 | moves[i];
    return order;
}

void RecordSearchIndex::rebuild(const RecordCollection& collection)
{
    m_keys.clear();
    m_keys.reserve(collection.records.size());
    for (const GameRecord& r : collection.records)
        m_keys.push_back(keyOf(r));
    m_byMoves.clear();
    m_changed.clear();
    m_sorted = false;
}

void RecordSearchIndex::update(const RecordCollection& collection, int slot)
{
    if (slot < 0 || slot >= int(collection.records.size()))
        return;
    while (size() <= slot) {
        if (m_sorted)
            m_changed.push_back(size());
        m_keys.push_back(keyOf(collection.records[m_keys.size()]));
    }
    m_keys[size_t(slot)] = keyOf(collection.records[size_t(slot)]);
    if (!m_sorted)
        return;
    m_changed.push_back(slot);
    if (m_changed.size() > std::max(kMaxChanged, m_keys.size() / 64)) {
        m_sorted = false;
        m_byMoves.clear();
        m_changed.clear();
    }
}

void RecordSearchIndex::sortByMoves() const
{
    // The records' moves are read through the index's copy of their first eight bytes, which is
    // what the order needs.
    m_byMoves.clear();
    m_changed.clear();
    m_byMoves.reserve(m_keys.size());
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i].live) {
            uint8_t head[8];
            std::memcpy(head, &m_keys[i].head, sizeof head);
            m_byMoves.push_back({ orderOf(head), int32_t(i) });
        }
    }
    std::sort(m_byMoves.begin(), m_byMoves.end(),
        [](const Ordered& a, const Ordered& b) { return a.moves < b.moves; });
    m_sorted = true;
}

bool RecordSearchIndex::openingCandidates(
    const MoveList& opening, size_t compared, std::vector<int>& out) const
{
    if (compared == 0)
        return false;
    if (!m_sorted)
        sortByMoves();
    // Every record that begins with the opening's first bytes orders between the opening padded
    // with zeros and the opening padded with 0xFF bytes.
    const size_t fixed = std::min<size_t>(compared, 8);
    const uint64_t free = fixed == 8 ? 0 : ~uint64_t(0) >> (8 * fixed);
    const uint64_t low = orderOf(opening.data()) & ~free;
    const uint64_t high = low | free;
    const auto first = std::lower_bound(m_byMoves.begin(), m_byMoves.end(), low,
        [](const Ordered& o, uint64_t v) { return o.moves < v; });
    const auto last = std::upper_bound(
        first, m_byMoves.end(), high, [](uint64_t v, const Ordered& o) { return v < o.moves; });
    // Each candidate is a jump to its record: a wide range is read quicker in table order.
    const size_t count = size_t(last - first) + m_changed.size();
    if (count > m_keys.size() / 32 + 16)
        return false;
    out.clear();
    out.reserve(count);
    for (auto it = first; it != last; ++it)
        out.push_back(it->slot);
    out.insert(out.end(), m_changed.begin(), m_changed.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return true;
}

std::vector<int> RecordSearchIndex::search(
    const RecordCollection& collection, const SearchCriteria& criteria) const
{
    if (m_keys.size() != collection.records.size())
        return searchRecords(collection, criteria);
    const RecordSearchMatcher matcher(criteria);
    std::vector<int> found;
    const auto check = [&](size_t i) {
        const Key& k = m_keys[i];
        if (k.live && matcher.matchesFields(k.black, k.white, k.winner, k.playedAt, k.head)
            && matcher.matches(collection.records[i]))
            found.push_back(int(i));
    };
    std::vector<int> candidates;
    if (openingCandidates(matcher.opening(), matcher.comparedMoves(), candidates)) {
        for (const int slot : candidates)
            check(size_t(slot));
        return found;
    }
    for (size_t i = 0; i < m_keys.size(); ++i)
        check(i);
    return found;
}
