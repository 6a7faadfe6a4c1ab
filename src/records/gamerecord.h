#pragma once

#include "board/movelist.h"

#include <cstdint>
#include <string>

class OpeningBook;
class OthelloGame;

// One game in a collection. Players are indices into the collection's PlayerNameTable; the moves
// are stored normalised (starting with F5) together with the orientation code that gives back the
// game as played: transform(moves, orientation). Strings are CP932 bytes.
//
// A default-made record is a blank one: no name, unknown players, unfinished, no moves, no
// opening, and no folder yet (whoever inserts it sets the folder).
struct GameRecord {
    // How a game ended; the disc counts mean something only for normalEnd.
    enum EndType : int8_t { normalEnd = 0, resigned = 1, onTime = 2, unfinished = 3, foul = 4 };
    // The winner: 0 none (a draw or no result), else the winning colour.
    enum Winner : int8_t { noWinner = 0, blackWins = 1, whiteWins = 2 };

    int16_t folder = -1; // index in the folder table; −1 for a free slot
    int16_t blackPlayer = 0;
    int16_t whitePlayer = 0;
    int8_t blackDiscs = 0;
    int8_t whiteDiscs = 0;
    std::string name;
    int8_t orientation = 0;
    int8_t winner = noWinner;
    int8_t endType = unfinished;
    int16_t opening = -1; // index in the opening book, derived from the moves; −1 none
    int32_t playedAt = 0; // seconds since 1970-01-01 UTC
    int32_t deletedAt = 0; // when put in the trash; 0 when never
    MoveList moves;
    std::string comment; // lines separated by CR LF
};
// A collection holds a million of them: the fields are ordered so that none is padded.
static_assert(sizeof(GameRecord) <= 152 || sizeof(std::string) != 32);

// The current time in the records' unit.
int32_t currentTime();

GameRecord newBlankRecord();
// A blank record with this name, played now.
GameRecord newNamedRecord(std::string name);
// Every field but the folder, which the caller sets.
GameRecord copyRecord(const GameRecord& source);
// A record named name, played now, holding the game's recorded moves normalised.
GameRecord recordFromGame(const OthelloGame& game, std::string name, const OpeningBook& book);
// Stores the game's moves as played in their canonical orientation, with the code that undoes it,
// and names the opening.
void normaliseMoves(GameRecord& record, const MoveList& played, const OpeningBook& book);
// Resets game to the 8 × 8 board and replays the record's moves as they were played.
void gameOfRecord(const GameRecord& record, OthelloGame& game);
// The game as played: the stored moves turned back by the orientation code.
MoveList playedMoves(const GameRecord& record);
// The result as every list shows it, for example "黒 36-28" or "白 投了勝".
std::string resultText(const GameRecord& record);
void setDeletedNow(GameRecord& record);
