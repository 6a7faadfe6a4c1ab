#pragma once

#include "records/recordcollection.h"

#include <cstdint>
#include <string_view>
#include <vector>

// The names in use in the folders of one collection: every live child folder and record, found by
// a hash of the folder it is in and its name, so that testing a name never scans a folder. The
// table holds only item numbers with their hashes, 8 bytes an entry; folders and names are read
// from the collection itself. So an item is added once it has its folder and name, and removed
// before either changes. The table is made at the first question rather than at each load, as a
// collection is mostly loaded, shown and saved without a name being tested; until then adding and
// removing cost nothing.
class FolderNameIndex {
public:
    explicit FolderNameIndex(const RecordCollection& data)
        : m_data(data)
    { }
    FolderNameIndex(const FolderNameIndex&) = delete;
    FolderNameIndex& operator=(const FolderNameIndex&) = delete;

    // Forgets the table: the next question indexes every live folder (under its parent) and every
    // live record afresh.
    void rebuild();
    void clear();
    void addFolder(int folder);
    void removeFolder(int folder);
    void addRecord(int slot);
    void removeRecord(int slot);
    // Makes room for that many more items at once, so that a large batch of additions does not
    // grow the table step by step.
    void reserveMore(size_t extra);
    // True when a child folder or a record of folder has exactly that name.
    bool contains(int folder, std::string_view name) const;
    // Live items; made by the first question.
    int size() const;

private:
    static constexpr uint32_t kFolderItem = 0x80000000u;
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    struct Entry {
        uint32_t hash;
        uint32_t item = kNone; // a record slot, or kFolderItem | a folder index
    };

    static uint32_t hashOf(int folder, std::string_view name);
    int folderOf(uint32_t item) const;
    std::string_view nameOf(uint32_t item) const;
    void insert(uint32_t item) const;
    void erase(uint32_t item);
    // Makes room for count entries with the table at most half full.
    void reserve(size_t count) const;
    void make() const;

    const RecordCollection& m_data;
    mutable std::vector<Entry> m_table; // linear probing; the size is a power of two
    mutable size_t m_count = 0;
    mutable bool m_made = false;
};
