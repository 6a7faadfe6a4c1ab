#include "records/wthorfile.h"

#include "board/bitposition.h"
#include "board/squares.h"
#include "text/cp932.h"

#include <algorithm>
#include <array>
#include <bit>
#include <ctime>
#include <optional>
#include <unordered_map>

namespace wthor {
namespace {

uint16_t read16(std::string_view b, size_t at)
{
    return static_cast<uint16_t>(
        static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t read32(std::string_view b, size_t at)
{
    return read16(b, at) | static_cast<uint32_t>(read16(b, at + 2)) << 16;
}

void put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void put32(std::string& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string cutAtNul(std::string_view field)
{
    field = field.substr(0, std::min(field.find('\0'), field.size()));
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    return std::string(field);
}

const std::string& nameOrEmpty(const std::vector<std::string>& names, unsigned index)
{
    static const std::string none;
    return index < names.size() ? names[index] : none;
}

} // namespace

bool readHeader(std::string_view bytes, Header& h)
{
    if (bytes.size() < kHeaderBytes)
        return false;
    const auto byte = [&](size_t at) { return static_cast<uint8_t>(bytes[at]); };
    h.createdYear = byte(0) * 100 + byte(1);
    h.createdMonth = byte(2);
    h.createdDay = byte(3);
    h.games = read32(bytes, 4);
    h.names = read16(bytes, 8);
    h.year = read16(bytes, 10);
    h.boardSize = byte(12);
    h.gameType = byte(13);
    h.depth = byte(14);
    return true;
}

std::string writeHeader(const Header& h)
{
    std::string out;
    out += static_cast<char>(h.createdYear / 100);
    out += static_cast<char>(h.createdYear % 100);
    out += static_cast<char>(h.createdMonth);
    out += static_cast<char>(h.createdDay);
    put32(out, h.games);
    put16(out, h.names);
    put16(out, h.year);
    out += static_cast<char>(h.boardSize);
    out += static_cast<char>(h.gameType);
    out += static_cast<char>(h.depth);
    out += '\0';
    return out;
}

bool looksLikeGameFile(std::string_view bytes)
{
    Header h;
    if (!readHeader(bytes, h) || h.names != 0 || h.createdMonth > 12 || h.createdDay > 31)
        return false;
    if (h.boardSize != 0 && h.boardSize != 8 && h.boardSize != 10)
        return false;
    const size_t body = bytes.size() - kHeaderBytes;
    // Whole games, or as many as the header says even when the file was cut short.
    return body % kGameBytes == 0 || (h.games > 0 && body / kGameBytes < h.games);
}

bool looksLikeNameFile(std::string_view bytes, size_t entryBytes)
{
    Header h;
    return readHeader(bytes, h) && h.games == 0 && h.names > 0
        && bytes.size() == kHeaderBytes + entryBytes * h.names;
}

std::vector<std::string> readNames(std::string_view bytes, size_t entryBytes)
{
    std::vector<std::string> names;
    Header h;
    if (!readHeader(bytes, h))
        return names;
    const size_t held = (bytes.size() - kHeaderBytes) / entryBytes;
    const size_t count = h.names ? std::min<size_t>(h.names, held) : held;
    names.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string latin1
            = cutAtNul(bytes.substr(kHeaderBytes + i * entryBytes, entryBytes));
        names.push_back(cp932::fromLatin1Transliterated(latin1));
    }
    return names;
}

int squareOfByte(uint8_t byte)
{
    const int rank = byte / 10;
    const int file = byte % 10;
    if (rank < 1 || rank > 8 || file < 1 || file > 8)
        return 0;
    return board::squareAt(rank - 1, file - 1);
}

uint8_t byteOfSquare(int square)
{
    if (!board::isSquare8x8(square))
        return 0;
    return static_cast<uint8_t>(10 * (board::rowOf(square) + 1) + board::columnOf(square) + 1);
}

std::optional<size_t> checkGameFile(std::string_view bytes, ArchiveReport& report)
{
    Header h;
    if (!looksLikeGameFile(bytes)) {
        report.note("not a game file of the tournament archive");
        return std::nullopt;
    }
    readHeader(bytes, h);
    const size_t held = (bytes.size() - kHeaderBytes) / kGameBytes;
    if (h.boardSize == 10) {
        report.skipped += static_cast<int>(held);
        report.note("10 × 10 games are not kept");
        return std::nullopt;
    }
    if (held != h.games)
        report.note("the header counts " + std::to_string(h.games) + " games, the file holds "
            + std::to_string(held));
    if ((bytes.size() - kHeaderBytes) % kGameBytes != 0)
        report.note("the file ends inside a game");
    return held;
}

bool readGameRange(std::string_view bytes, size_t first, size_t count,
    const std::vector<std::string>& players, const std::vector<std::string>& tournaments,
    ArchiveReport& report, const ArchiveGameSink& sink)
{
    Header h;
    readHeader(bytes, h);
    const int32_t playedAt = startOfYear(h.year);
    ArchiveGame game;
    for (size_t i = first; i < first + count; ++i) {
        const std::string_view g = bytes.substr(kHeaderBytes + i * kGameBytes, kGameBytes);
        game.groupNumber = read16(g, 0);
        game.blackNumber = read16(g, 2);
        game.whiteNumber = read16(g, 4);
        game.group = nameOrEmpty(tournaments, unsigned(game.groupNumber));
        game.black = nameOrEmpty(players, unsigned(game.blackNumber));
        game.white = nameOrEmpty(players, unsigned(game.whiteNumber));
        setResultFromBlackScore(game, static_cast<uint8_t>(g[6]));
        game.playedAt = playedAt;
        game.cut = false;
        game.sourceEnd = kHeaderBytes + (i + 1) * kGameBytes;
        BitPosition position = BitPosition::start();
        std::array<char, MoveList::kMaxMoves> played;
        size_t moves = 0;
        for (size_t m = 8; m < kGameBytes && g[m] != 0; ++m) {
            const int square = squareOfByte(static_cast<uint8_t>(g[m]));
            if (!position.play(square)) {
                game.cut = true;
                break;
            }
            played[moves++] = static_cast<char>(square);
        }
        game.moves = MoveList::fromBytes(std::string_view(played.data(), moves));
        if (game.cut) {
            ++report.cut;
            report.note("game " + std::to_string(i + 1) + ": moves stop being legal at move "
                + std::to_string(game.moves.size() + 1));
        }
        ++report.filed;
        if (!sink(game))
            return false;
    }
    return true;
}

bool readGames(std::string_view bytes, const std::vector<std::string>& players,
    const std::vector<std::string>& tournaments, ArchiveReport& report, const ArchiveGameSink& sink)
{
    const std::optional<size_t> held = checkGameFile(bytes, report);
    return held && readGameRange(bytes, 0, *held, players, tournaments, report, sink);
}

namespace {

// Black's disc count with the empties given to the winner, as the format keeps results. Games
// that did not end normally are counted on their last position, the empties going to the winner,
// kept on the winner's side of 32.
int blackScoreOf(const ArchiveGame& game)
{
    int black = game.blackDiscs;
    int white = game.whiteDiscs;
    if (game.endType != 0) {
        BitPosition end;
        replayLegalPrefix(game.moves, end);
        black = std::popcount(end.black);
        white = std::popcount(end.white);
    }
    const int empties = std::max(0, 64 - black - white);
    if (game.winner == 1)
        black += empties;
    else if (game.winner == 0)
        black += empties / 2;
    black = std::clamp(black, 0, 64);
    if (game.winner == 1)
        return std::max(black, 33);
    if (game.winner == 2)
        return std::min(black, 31);
    return game.endType == 0 ? black : 32;
}

// Numbers names in order of first appearance.
struct NameNumbers {
    std::unordered_map<std::string, uint16_t> numbers;
    std::string entries;
    uint16_t count = 0;
    size_t entryBytes;
    bool full = false; // more names than 16-bit numbers can tell apart

    uint16_t of(const std::string& cp932Name)
    {
        if (count == UINT16_MAX && !numbers.contains(cp932Name)) {
            full = true;
            return 0;
        }
        auto [it, added] = numbers.try_emplace(cp932Name, count);
        if (added) {
            std::string latin1 = cp932::toLatin1(cp932Name).substr(0, entryBytes - 1);
            latin1.resize(entryBytes, '\0');
            entries += latin1;
            ++count;
        }
        return it->second;
    }
};

} // namespace

Files write(const std::vector<ArchiveGame>& games, int year)
{
    const std::time_t now = std::time(nullptr);
    std::tm today {};
    localtime_r(&now, &today);
    Header h;
    h.createdYear = today.tm_year + 1900;
    h.createdMonth = today.tm_mon + 1;
    h.createdDay = today.tm_mday;
    h.year = static_cast<uint16_t>(std::clamp(year, 0, 65535));
    h.boardSize = 8;

    NameNumbers players { {}, {}, 0, kPlayerBytes };
    NameNumbers tournaments { {}, {}, 0, kTournamentBytes };
    std::string body;
    body.reserve(games.size() * kGameBytes);
    for (const ArchiveGame& game : games) {
        put16(body, tournaments.of(game.group.empty() ? std::string("Pavione") : game.group));
        put16(body, players.of(game.black));
        put16(body, players.of(game.white));
        const int score = blackScoreOf(game);
        body += static_cast<char>(score);
        body += static_cast<char>(score);
        int m = 0;
        for (int square : game.moves) {
            body += static_cast<char>(byteOfSquare(square));
            ++m;
        }
        body.append(static_cast<size_t>(MoveList::kMaxMoves - m), '\0');
    }
    Files files;
    files.tooManyNames = players.full || tournaments.full;
    h.games = static_cast<uint32_t>(games.size());
    h.names = 0;
    files.games = writeHeader(h) + body;
    h.games = 0;
    h.names = players.count;
    files.players = writeHeader(h) + players.entries;
    h.names = tournaments.count;
    files.tournaments = writeHeader(h) + tournaments.entries;
    return files;
}

} // namespace wthor
