#include "library/foldernameindex.h"

#include "records/largepages.h"

#include <cassert>
#include <functional>

uint32_t FolderNameIndex::hashOf(int folder, std::string_view name)
{
    // Multiplying spreads the folder over the high half, which the table's positions come from.
    const uint64_t h
        = (std::hash<std::string_view> {}(name) ^ uint64_t(uint32_t(folder))) * 0x9E3779B97F4A7C15u;
    return uint32_t(h >> 32);
}

int FolderNameIndex::folderOf(uint32_t item) const
{
    return item & kFolderItem ? m_data.folders[item & ~kFolderItem].parent
                              : m_data.records[item].folder;
}

std::string_view FolderNameIndex::nameOf(uint32_t item) const
{
    return item & kFolderItem ? m_data.folders[item & ~kFolderItem].name
                              : m_data.records[item].name;
}

void FolderNameIndex::rebuild()
{
    m_table = {};
    m_count = 0;
    m_made = false;
}

int FolderNameIndex::size() const
{
    make();
    return int(m_count);
}

void FolderNameIndex::make() const
{
    if (m_made)
        return;
    m_made = true;
    size_t count = 0;
    for (size_t f = 1; f < m_data.folders.size(); ++f)
        count += m_data.folders[f].parent >= 0;
    for (const GameRecord& r : m_data.records)
        count += r.folder >= 0;
    reserve(count);
    for (size_t f = 1; f < m_data.folders.size(); ++f) {
        if (m_data.folders[f].parent >= 0)
            insert(kFolderItem | uint32_t(f));
    }
    for (size_t slot = 0; slot < m_data.records.size(); ++slot) {
        if (m_data.records[slot].folder >= 0)
            insert(uint32_t(slot));
    }
}

void FolderNameIndex::clear()
{
    m_table = {};
    m_count = 0;
    m_made = true;
}

void FolderNameIndex::addFolder(int folder)
{
    if (!m_made)
        return;
    reserve(m_count + 1);
    insert(kFolderItem | uint32_t(folder));
}

void FolderNameIndex::removeFolder(int folder)
{
    erase(kFolderItem | uint32_t(folder));
}

void FolderNameIndex::addRecord(int slot)
{
    if (!m_made)
        return;
    reserve(m_count + 1);
    insert(uint32_t(slot));
}

void FolderNameIndex::reserveMore(size_t extra)
{
    if (m_made)
        reserve(m_count + extra);
}

void FolderNameIndex::removeRecord(int slot)
{
    erase(uint32_t(slot));
}

bool FolderNameIndex::contains(int folder, std::string_view name) const
{
    make();
    if (m_table.empty())
        return false;
    const size_t mask = m_table.size() - 1;
    const uint32_t hash = hashOf(folder, name);
    for (size_t i = hash & mask; m_table[i].item != kNone; i = (i + 1) & mask) {
        const Entry& e = m_table[i];
        if (e.hash == hash && folderOf(e.item) == folder && nameOf(e.item) == name)
            return true;
    }
    return false;
}

void FolderNameIndex::insert(uint32_t item) const
{
    const size_t mask = m_table.size() - 1;
    const uint32_t hash = hashOf(folderOf(item), nameOf(item));
    size_t i = hash & mask;
    while (m_table[i].item != kNone)
        i = (i + 1) & mask;
    m_table[i] = { hash, item };
    ++m_count;
}

void FolderNameIndex::erase(uint32_t item)
{
    if (!m_made || m_table.empty())
        return;
    const size_t mask = m_table.size() - 1;
    size_t i = hashOf(folderOf(item), nameOf(item)) & mask;
    while (m_table[i].item != item) {
        if (m_table[i].item == kNone) {
            assert(!"an item left the index that was never in it");
            return;
        }
        i = (i + 1) & mask;
    }
    // Moves later entries of the run back into the hole when their home position allows it, so
    // that no search stops early at an empty entry.
    for (size_t j = (i + 1) & mask; m_table[j].item != kNone; j = (j + 1) & mask) {
        const size_t home = m_table[j].hash & mask;
        const bool between = i <= j ? i < home && home <= j : i < home || home <= j;
        if (!between) {
            m_table[i] = m_table[j];
            i = j;
        }
    }
    m_table[i] = Entry {};
    --m_count;
}

void FolderNameIndex::reserve(size_t count) const
{
    if (2 * count <= m_table.size())
        return;
    size_t size = 16;
    while (size < 2 * count)
        size *= 2;
    std::vector<Entry> old;
    old.reserve(size);
    adviseLargePages(old.data(), size * sizeof(Entry));
    old.resize(size);
    old.swap(m_table);
    const size_t mask = size - 1;
    for (const Entry& e : old) {
        if (e.item == kNone)
            continue;
        size_t i = e.hash & mask;
        while (m_table[i].item != kNone)
            i = (i + 1) & mask;
        m_table[i] = e;
    }
}
