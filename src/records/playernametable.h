#pragma once

#include <string>
#include <string_view>
#include <vector>

// The player names of one collection, addressed by index. Entry 0 always holds "不明" and stands
// for a missing player. Names are exact byte strings (case and width matter) of at most 255
// bytes; a longer name is cut to 255 bytes at a character boundary, as the files can carry no
// more. Records hold player indices in 16 bits, so the table stops growing at 32768 entries and
// a name that no longer fits is the unknown player.
class PlayerNameTable {
public:
    static constexpr int kMaxEntries = 32768;

    PlayerNameTable() { clear(); }

    // Index of the first entry equal to name, or −1.
    int find(std::string_view name) const;
    // Appends name without looking for an equal entry and returns its index (0 when full).
    int add(std::string_view name);
    // find, else add; an empty name is entry 0.
    int findOrAdd(std::string_view name);
    // The name of an entry; empty for an index outside the table.
    const std::string& name(int index) const;
    // Leaves only entry 0.
    void clear();

    int size() const { return static_cast<int>(m_names.size()); }

private:
    std::vector<std::string> m_names;
};
