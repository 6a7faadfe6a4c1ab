#pragma once

#include "records/archivegame.h"

#include <string>
#include <string_view>
#include <vector>

// The game server archive format: games as "(;GM[Othello]PB[…]PW[…]TY[8]RE[+2.000]BO[…]B[d3//1.2]
// W[c5]…;)", any text between games ignored. Only 8 × 8 games from the usual starting position
// (TY[8]) are read; moves carry "/eval/time" parts, PA passes. RE gives black's margin, with
// ":r" for a resignation and ":t" for a loss on time.
namespace ggf {

// True when the text starts (after blanks) with an Othello game.
// How many games the text starts (a quick count for making room, not a check of the games).
int countGameStarts(std::string_view text);

bool looksLikeGgf(std::string_view text);

// Reads every game; names are read as UTF-8 (ISO 8859-1 when not valid UTF-8). nameBase and a
// running number name the games. False when the sink stopped the reading.
bool readGames(std::string_view text, const std::string& nameBase, ArchiveReport& report,
    const ArchiveGameSink& sink);

// A stretch of a file that can be read apart from the rest, at the same time as other parts: the
// games whose start lies in [from, to), numbered from firstNumber as a reading of the whole file
// would number them.
struct Part {
    size_t from = 0;
    size_t to = std::string_view::npos;
    int firstNumber = 1;
    int gameStarts = 0; // "(;" in the part's text, as splitIntoParts counted them
};
struct PartEnd {
    int gamesStarted = 0;
    // The part's last game closed inside it (or it held none): reading on from its end starts
    // between games, as a reading of the whole file would.
    bool betweenGames = true;
    bool stopped = false; // the sink stopped the reading
};
// Reads one part as readGames reads the whole text. The part was read as the whole file would be
// read when it ends between games and started as many games as its text holds game starts (a
// start inside a property's value is not one).
PartEnd readPart(std::string_view text, const Part& part, const std::string& nameBase,
    ArchiveReport& report, const ArchiveGameSink& sink);
// The text cut before a game start after every gamesPerPart game starts; none without a game.
std::vector<Part> splitIntoParts(std::string_view text, int gamesPerPart);

// One game as a line of the format (names written as UTF-8), with passes where a side has no
// move.
std::string writeGame(const ArchiveGame& game);

} // namespace ggf
