#pragma once

#include "records/archivegame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The tournament archive format: a 16-byte header, then fixed-size entries, integers little-endian.
// Game files (.wtb) hold 68-byte games: tournament, black and white player numbers (16 bits each),
// black's final disc count with the empties given to the winner, the theoretical score, and 60
// move bytes written as 10 × rank + file (a1 = 11, f5 = 56), 0 after the last move. The player
// file (.JOU) holds 20-byte names and the tournament file (.TRN) 26-byte names, ISO 8859-1,
// zero-padded; game files refer to them by number.
namespace wthor {

inline constexpr size_t kHeaderBytes = 16;
inline constexpr size_t kGameBytes = 68;
inline constexpr size_t kPlayerBytes = 20;
inline constexpr size_t kTournamentBytes = 26;

struct Header {
    int createdYear = 0; // century × 100 + year in century
    int createdMonth = 0;
    int createdDay = 0;
    uint32_t games = 0; // entries of a game file
    uint16_t names = 0; // entries of a player or tournament file
    uint16_t year = 0; // of the games
    uint8_t boardSize = 8; // 0 or 8 for 8 × 8
    uint8_t gameType = 0;
    uint8_t depth = 0; // of the theoretical score
};

// False when bytes are shorter than a header.
bool readHeader(std::string_view bytes, Header& header);
std::string writeHeader(const Header& header);

// True when the bytes look like a game file: a header for 8 × 8 or 10 × 10 games, no name
// entries, and a size that holds whole games.
bool looksLikeGameFile(std::string_view bytes);
// True when they look like a player or tournament file with entries of entryBytes.
bool looksLikeNameFile(std::string_view bytes, size_t entryBytes);

// The names of a player or tournament file as CP932 (letters CP932 lacks turned into plain ones),
// in file order; as many as the file really holds.
std::vector<std::string> readNames(std::string_view bytes, size_t entryBytes);

// The framed square of a move byte; 0 for a byte that names no square.
int squareOfByte(uint8_t byte);
uint8_t byteOfSquare(int square);

// Notes what is wrong with a game file as a whole and gives the games it holds; none when the
// bytes are not a game file of 8 × 8 games (10 × 10 games are counted as skipped).
std::optional<size_t> checkGameFile(std::string_view bytes, ArchiveReport& report);
// Reads games first..first + count − 1 of a game file that checkGameFile accepted, as readGames
// does. Ranges of one file may be read at the same time.
bool readGameRange(std::string_view bytes, size_t first, size_t count,
    const std::vector<std::string>& players, const std::vector<std::string>& tournaments,
    ArchiveReport& report, const ArchiveGameSink& sink);

// Reads every game of a game file, naming players and tournaments from the tables (an unknown
// number gives an empty name) and grouping games by tournament. Moves stop at the first illegal
// one (the game is kept and counted as cut). False, with the reason noted, when bytes are not a
// game file of 8 × 8 games; false also when the sink stops the reading.
bool readGames(std::string_view bytes, const std::vector<std::string>& players,
    const std::vector<std::string>& tournaments, ArchiveReport& report,
    const ArchiveGameSink& sink);

// Games written as the three files of the format. Players and tournaments are numbered in order
// of first appearance; a game's tournament is its group (or "Pavione" when empty).
struct Files {
    std::string games;
    std::string players;
    std::string tournaments;
    bool tooManyNames = false; // over 65,535 players or tournaments: the files are not usable
};
Files write(const std::vector<ArchiveGame>& games, int year);

} // namespace wthor
