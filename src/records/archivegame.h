#pragma once

#include "board/movelist.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One game read from an outside archive, before it becomes a record. Names are CP932.
struct ArchiveGame {
    std::string black;
    std::string white;
    MoveList moves; // as played, every move legal
    int8_t winner = 0; // GameRecord::Winner
    int8_t endType = 3; // GameRecord::EndType; unfinished when the result is unknown
    int8_t blackDiscs = 0; // with endType normal only
    int8_t whiteDiscs = 0;
    int32_t playedAt = 0;
    std::string group; // a folder below the file's folder (a tournament); empty for none
    // The archive's own numbers of the players and the group, when it numbers its names (−1
    // otherwise): within one file a number always comes with the same name, so whoever files
    // the games may look a name up once per number.
    int blackNumber = -1;
    int whiteNumber = -1;
    int groupNumber = -1;
    std::string name;
    bool cut = false; // the archive held moves after the last legal one
    size_t sourceEnd = 0; // bytes of the file read up to the end of this game, for progress
};

// What reading one file gave: games filed, of which cut, and games skipped, with the reasons.
struct ArchiveReport {
    int filed = 0;
    int cut = 0;
    int skipped = 0;
    std::vector<std::string> reasons; // UTF-8, one line each, at most a few dozen kept
    void note(std::string reason);
};

// Receives each game read; false stops the reading (a cancelled import).
using ArchiveGameSink = std::function<bool(ArchiveGame&)>;

// The result as black's disc count with the empties going to the winner, as tournament archives
// keep it: winner by the count, a normal end, white having the rest of 64. Counts above 64 give
// an unknown result.
void setResultFromBlackScore(ArchiveGame& game, int blackScore);

// Seconds since 1970 of local midnight on the 1st of January of year; 0 outside 1970..2037.
int32_t startOfYear(int year);
