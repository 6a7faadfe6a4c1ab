#include "library/kaexport.h"

#include "board/squares.h"
#include "text/texts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

constexpr std::string_view kEol = "\r\n";

bool isLiveFolder(const RecordCollection& c, int folder)
{
    if (folder < 0 || folder >= int(c.folders.size()))
        return false;
    return folder == 0 || c.folders[size_t(folder)].parent >= 0;
}

// A player index the table does not hold is as good as no player.
const std::string& playerName(const RecordCollection& c, int index)
{
    return index > 0 && index < c.names.size() ? c.names.name(index) : texts::unknownPlayer.bytes();
}

// The folder's records by name, bytewise unsigned with a prefix first; records of equal names
// keep the order in which the folder holds them.
std::vector<const GameRecord*> recordsByName(const RecordCollection& c, int folder)
{
    const std::vector<int>& slots = c.folders[size_t(folder)].records;
    std::vector<const GameRecord*> records;
    records.reserve(slots.size());
    for (int slot : slots) {
        // A folder's list may still hold a slot freed in a batch of removals.
        if (slot >= 0 && slot < int(c.records.size()) && c.records[size_t(slot)].folder == folder)
            records.push_back(&c.records[size_t(slot)]);
    }
    // std::string_view compares through char_traits<char>, which orders bytes as unsigned char.
    std::stable_sort(records.begin(), records.end(), [](const GameRecord* a, const GameRecord* b) {
        return std::string_view(a->name) < std::string_view(b->name);
    });
    return records;
}

std::vector<std::string> playerList(
    const RecordCollection& c, const std::vector<const GameRecord*>& records)
{
    std::vector<std::string> players;
    std::unordered_set<std::string_view> seen; // views of the table's names, which outlive it
    auto note = [&](const std::string& name) {
        if (seen.insert(name).second)
            players.push_back(name);
    };
    for (const GameRecord* r : records) {
        note(playerName(c, r->blackPlayer));
        note(playerName(c, r->whitePlayer));
    }
    return players;
}

void appendLine(std::string& out, std::string_view text)
{
    out += text;
    out += kEol;
}

// One space, then three characters per square for files A to H: "  -" never played, "  x" and
// "  o" the starting discs, else the number of the move played there, right-aligned.
void appendDiagram(std::string& out, const GameRecord& r)
{
    using Cell = std::array<char, 3>;
    std::array<std::array<Cell, 8>, 8> cells;
    for (auto& row : cells)
        row.fill({ ' ', ' ', '-' });
    cells[3][4] = cells[4][3] = { ' ', ' ', 'x' };
    cells[3][3] = cells[4][4] = { ' ', ' ', 'o' };

    const MoveList played = playedMoves(r);
    for (int i = 0; i < played.size(); ++i) {
        const int square = played[i];
        // Bytes off the board cannot be drawn; the numbering of the others stays as played.
        if (!board::isSquare8x8(square))
            continue;
        const int number = i + 1; // at most 60
        cells[size_t(board::rowOf(square))][size_t(board::columnOf(square))]
            = { ' ', number >= 10 ? char('0' + number / 10) : ' ', char('0' + number % 10) };
    }
    for (const auto& row : cells) {
        out += ' ';
        for (const Cell& cell : row)
            out.append(cell.data(), cell.size());
        out += kEol;
    }
}

const char* winnerWord(int winner)
{
    switch (winner) {
    case GameRecord::blackWins:
        return "black";
    case GameRecord::whiteWins:
        return "white";
    default:
        return "draw";
    }
}

std::string quoted(const std::string& text)
{
    return '"' + text + '"';
}

void appendGame(std::string& out, const RecordCollection& c, const GameRecord& r)
{
    appendLine(out, "\\begin");
    appendDiagram(out, r);
    out += kEol;
    appendLine(out, "  \\tour  \"tour\"");
    appendLine(out,
        "  \\player " + quoted(playerName(c, r.blackPlayer)) + ' '
            + quoted(playerName(c, r.whitePlayer)));
    appendLine(out,
        "  \\score  " + std::to_string(int(r.blackDiscs)) + ' '
            + std::to_string(int(r.whiteDiscs)));
    appendLine(out, std::string("  \\winner ") + winnerWord(r.winner));
    appendLine(out, "\\end");
    out += kEol;
}

} // namespace

std::string kaExportText(const RecordCollection& collection, int folder)
{
    if (!isLiveFolder(collection, folder))
        return {};
    const std::vector<const GameRecord*> records = recordsByName(collection, folder);
    const std::string count = std::to_string(records.size());

    std::string out;
    out.reserve(512 + records.size() * 400);
    appendLine(out, "KA-1.0");
    out += kEol;
    out += kEol;
    appendLine(out, count);
    out += kEol;

    appendLine(out, "\\player");
    for (const std::string& name : playerList(collection, records)) {
        const std::string q = quoted(name);
        appendLine(out, "  \\name  " + q + ' ' + q + ' ' + q);
    }
    appendLine(out, "\\end");
    out += kEol;

    appendLine(out, "\\tournament");
    appendLine(out, "  \\name  \"NAME\" \"tour\" \"NAME\"");
    appendLine(out, "  \\date  2004 5 1");
    appendLine(out, "  \\games " + count);
    appendLine(out, "\\end");
    out += kEol;

    for (const GameRecord* r : records)
        appendGame(out, collection, *r);
    return out;
}

int exportFolder(const RecordCollection& collection, int folder, const std::string& path)
{
    if (!isLiveFolder(collection, folder))
        return -1;
    const std::string text = kaExportText(collection, folder);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return -1;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 0 : -1;
}
