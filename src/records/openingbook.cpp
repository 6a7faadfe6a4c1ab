#include "records/openingbook.h"

#include "board/notation.h"
#include "records/textlimits.h"

#include <fstream>
#include <iterator>

int OpeningBook::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return 0;
    const std::string text { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    return read(text);
}

int OpeningBook::read(std::string_view text)
{
    constexpr size_t kLineBytes = 1023;
    const int before = size();
    while (!text.empty()) {
        const std::string_view line = takeLine(text, kLineBytes);
        const size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            continue;
        std::string_view name = line.substr(comma + 1);
        name = name.substr(0, name.find_first_of("\r\n"));
        if (size() < kMaxEntries)
            add(name, textToMoves(line.substr(0, comma)));
    }
    return size() - before;
}

int OpeningBook::child(int node, uint8_t square) const
{
    for (const auto& [s, next] : m_nodes[size_t(node)].children) {
        if (s == square)
            return next;
    }
    return -1;
}

void OpeningBook::add(std::string_view name, const MoveList& moves)
{
    const int index = size();
    m_entries.push_back({ std::string(name), moves });
    int node = 0;
    for (uint8_t square : moves) {
        int next = child(node, square);
        if (next < 0) {
            next = int(m_nodes.size());
            m_nodes[size_t(node)].children.emplace_back(square, next);
            m_nodes.emplace_back();
        }
        node = next;
    }
    if (m_nodes[size_t(node)].first < 0)
        m_nodes[size_t(node)].first = index;
}

int OpeningBook::lookup(const MoveList& moves) const
{
    int node = 0;
    int best = m_nodes[0].first;
    for (uint8_t square : moves) {
        const int next = child(node, square);
        if (next < 0)
            break;
        node = next;
        const int first = m_nodes[size_t(node)].first;
        if (first >= 0 && (best < 0 || first < best))
            best = first;
    }
    return best;
}

const std::string& OpeningBook::name(int index) const
{
    static const std::string none;
    return index >= 0 && index < size() ? m_entries[size_t(index)].name : none;
}

MoveList OpeningBook::moves(int index) const
{
    return index >= 0 && index < size() ? m_entries[size_t(index)].moves : MoveList {};
}
