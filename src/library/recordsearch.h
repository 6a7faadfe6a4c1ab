#pragma once

#include "board/movelist.h"
#include "records/recordcollection.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The record search: players, winner, a range of dates and an opening, over one collection's
// record table.

// A date as typed into the three boxes of the search form; each box is read by its leading
// decimal digits, so anything else reads as 0 and falls back to a default.
struct SearchDate {
    std::string year;
    std::string month;
    std::string day;
};

struct SearchCriteria {
    // Which results pass; positions of the winner list.
    enum WinnerFilter { allResults = 0, blackWon = 1, whiteWon = 2, noWinner = 3 };

    int black = 0; // player index the black side must have; 0 for every player
    int white = 0; // the same for white
    // Both chosen sides must match (AND); otherwise one of them is enough (OR). A side left at 0
    // always matches, so in OR mode a single chosen name excludes nothing.
    bool bothPlayers = false;
    int winner = allResults; // values other than the four filters keep every result
    SearchDate from; // empty or outside 1970..2037: no lower bound
    SearchDate to; // empty or outside 1970..2037: no upper bound
    // The opening as played, in any orientation; records must begin with the first movesCompared
    // moves of its canonical form. 0 compares nothing.
    MoveList moves;
    int movesCompared = 0;
};

// The value of the leading decimal digits of text; 0 when it starts with none, INT32_MAX when they
// say more than that.
int readLeadingNumber(std::string_view text);

// The first second of the from-date in local time: month 1 and day 1 stand in for values outside
// 1..12 and 1..31, and a day past the month's end runs into the next month. 0 when the year is
// outside 1970..2037.
int32_t lowerDateBound(const SearchDate& from);
// The last second (23:59:59 local time) of the to-date: month 12 stands in for a value outside
// 1..12 and the month's last day for a day outside 1..31, with February's 29th in every year
// divisible by 4. INT32_MAX when the year is outside 1970..2037.
int32_t upperDateBound(const SearchDate& to);

// Indices of the collection's records that meet the criteria, in table order; free slots never
// match.
std::vector<int> searchRecords(const RecordCollection& collection, const SearchCriteria& criteria);
