#pragma once

#include "board/bitposition.h"
#include "records/archivegame.h"

#include <cstdlib>

// What every reader promises of a game it hands on: legal moves, a known winner and end type,
// disc counts within the board, and a report that adds up.
inline bool checkArchiveGame(const ArchiveGame& game)
{
    BitPosition position;
    if (replayLegalPrefix(game.moves, position) != game.moves.size())
        std::abort();
    if (game.winner < 0 || game.winner > 2 || game.endType < 0 || game.endType > 4)
        std::abort();
    if (game.blackDiscs < 0 || game.whiteDiscs < 0 || game.blackDiscs + game.whiteDiscs > 64)
        std::abort();
    return true;
}

inline void checkArchiveReport(const ArchiveReport& report, int games)
{
    if (report.filed != games || report.cut > report.filed || report.skipped < 0
        || report.reasons.size() > 20)
        std::abort();
}
