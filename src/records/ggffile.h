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

// One game as a line of the format (names written as UTF-8), with passes where a side has no
// move.
std::string writeGame(const ArchiveGame& game);

} // namespace ggf
