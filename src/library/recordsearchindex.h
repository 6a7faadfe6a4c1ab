#pragma once

#include "library/recordsearch.h"
#include "records/recordcollection.h"

#include <cstdint>
#include <vector>

// The searched fields of a collection's record slots, 24 bytes each, so that a search after every
// preview move reads 24 MB for a million records rather than the 160 MB of the records
// themselves. A search by opening goes instead to the live slots sorted by their first eight
// moves, where a move prefix is one range found by binary search; that order is made at the
// first such search, and slots updated after it are looked at one by one until there are so many
// that it is made again. Whoever changes the collection's records keeps the index in step:
// update() for a slot that was filled, changed or freed, rebuild() after a load. Every hit is
// checked again against its record, so an index that fell behind can miss a record but never
// list a wrong one, and one whose size no longer matches the table is not used at all.
class RecordSearchIndex {
public:
    RecordSearchIndex() = default;
    explicit RecordSearchIndex(const RecordCollection& collection) { rebuild(collection); }

    void rebuild(const RecordCollection& collection);
    // Reads slot again; a slot past the end grows the index by every slot up to it.
    void update(const RecordCollection& collection, int slot);
    int size() const { return int(m_keys.size()); }

    // What searchRecords(collection, criteria) gives, through the index.
    std::vector<int> search(
        const RecordCollection& collection, const SearchCriteria& criteria) const;

private:
    struct Key {
        int32_t playedAt;
        int16_t black;
        int16_t white;
        int8_t winner;
        bool live;
        uint64_t head; // the first eight move bytes
    };
    // A live slot in the order of its moves: the first eight move bytes as a big-endian number,
    // so that numbers compare as the byte strings do.
    struct Ordered {
        uint64_t moves;
        int32_t slot;
    };
    static Key keyOf(const GameRecord& record);
    static uint64_t orderOf(const uint8_t* moves);
    void sortByMoves() const;
    // The slots that may begin with the opening, or false when a scan would be quicker.
    bool openingCandidates(const MoveList& opening, size_t compared, std::vector<int>& out) const;

    std::vector<Key> m_keys;
    mutable std::vector<Ordered> m_byMoves;
    mutable bool m_sorted = false;
    // Slots updated since m_byMoves was made; they may appear more than once.
    mutable std::vector<int> m_changed;
};
