#pragma once

#include "records/gamerecord.h"
#include "records/openingbook.h"
#include "records/playernametable.h"

#include <string>
#include <string_view>

// One record as a single line of text, for the network: name, player names, result, date, moves
// and comment, with every CR and LF turned into ESC so that the line holds no line end.

// The player names are those of the record's indices in names. Names longer than 255 bytes and
// comments longer than 255 bytes are cut at a character boundary.
std::string recordToLine(const GameRecord& record, const PlayerNameTable& names);

// Fills every field the line carries (all but folder and deleted at) and names the opening; player
// names go through names.findOrAdd. Lengths are trusted but never read past the end: a field cut
// short by the end of the line reads as empty or 0. Inside the comment ESC ESC becomes CR LF and a
// lone ESC LF.
void recordFromLine(
    std::string_view line, GameRecord& record, PlayerNameTable& names, const OpeningBook& book);
