#include "library/recordsearchindex.h"

#include "library/recordsearchmatcher.h"

RecordSearchIndex::Key RecordSearchIndex::keyOf(const GameRecord& r)
{
    return { r.playedAt, r.blackPlayer, r.whitePlayer, r.winner, r.folder >= 0,
        RecordSearchMatcher::head(r.moves) };
}

void RecordSearchIndex::rebuild(const RecordCollection& collection)
{
    m_keys.clear();
    m_keys.reserve(collection.records.size());
    for (const GameRecord& r : collection.records)
        m_keys.push_back(keyOf(r));
}

void RecordSearchIndex::update(const RecordCollection& collection, int slot)
{
    if (slot < 0 || slot >= int(collection.records.size()))
        return;
    while (size() <= slot)
        m_keys.push_back(keyOf(collection.records[m_keys.size()]));
    m_keys[size_t(slot)] = keyOf(collection.records[size_t(slot)]);
}

std::vector<int> RecordSearchIndex::search(
    const RecordCollection& collection, const SearchCriteria& criteria) const
{
    if (m_keys.size() != collection.records.size())
        return searchRecords(collection, criteria);
    const RecordSearchMatcher matcher(criteria);
    std::vector<int> found;
    for (size_t i = 0; i < m_keys.size(); ++i) {
        const Key& k = m_keys[i];
        if (k.live && matcher.matchesFields(k.black, k.white, k.winner, k.playedAt, k.head)
            && matcher.matches(collection.records[i]))
            found.push_back(int(i));
    }
    return found;
}
