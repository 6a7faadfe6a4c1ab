#pragma once

#include "board/movelist.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Opening names by move prefix, read once from "opening.txt": each line is the opening's moves
// in text notation, in the canonical orientation (starting with F5), a comma and the name. A
// record's opening is the first line, in file order, whose moves begin the record's moves, so
// the file lists every line before any shorter line that begins it. Names are CP932 bytes.
class OpeningBook {
public:
    // Records keep the index in 16 bits; lines beyond that many are not read.
    static constexpr int kMaxEntries = 32767;

    // Appends an entry for every line holding a comma and returns how many; 0 when the file
    // cannot be read.
    int load(const std::string& path);
    // The same from the file's text. Lines end at LF (a CR before it is dropped from the name) and
    // are read in pieces of at most 1023 bytes.
    int read(std::string_view text);

    // Index of the first entry whose moves begin moves; −1 when none does.
    int lookup(const MoveList& moves) const;
    // The entry's name; empty for −1 or any index outside the book.
    const std::string& name(int index) const;
    // The entry's moves; empty for an index outside the book.
    MoveList moves(int index) const;
    int size() const { return static_cast<int>(m_entries.size()); }

private:
    struct Entry {
        std::string name;
        MoveList moves;
    };
    // The entries' moves as a tree, so that a lookup walks the record's moves once instead of
    // comparing every entry. Each node keeps the smallest index among the entries ending there,
    // and the first match is the smallest index along the walk.
    struct Node {
        int first = -1;
        std::vector<std::pair<uint8_t, int>> children; // square, node
    };

    void add(std::string_view name, const MoveList& moves);
    // The node below node for square, or −1.
    int child(int node, uint8_t square) const;

    std::vector<Entry> m_entries;
    std::vector<Node> m_nodes { Node {} };
};
