#include "library/recordsearch.h"

#include "board/orientation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <limits>

namespace {

constexpr int32_t kNoUpperBound = std::numeric_limits<int32_t>::max();

bool yearInRange(int year)
{
    // Signed 32-bit seconds cannot reach past January 2038.
    return year >= 1970 && year < 2038;
}

int lastDayOfMonth(int year, int month)
{
    static constexpr std::array<int, 12> days { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && year % 4 == 0 ? 29 : days[size_t(month - 1)];
}

// Local time; the calendar conversion decides daylight saving and carries a day past the month's
// end into the next month.
int32_t localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return static_cast<int32_t>(std::mktime(&t));
}

// The criteria made ready for the scan.
struct Query {
    int black;
    int white;
    bool bothPlayers;
    int winner;
    int32_t lower;
    int32_t upper;
    MoveList target;
    size_t compared;
};

Query prepare(const SearchCriteria& c)
{
    Query q;
    q.black = c.black;
    q.white = c.white;
    q.bothPlayers = c.bothPlayers;
    q.winner = c.winner;
    q.lower = lowerDateBound(c.from);
    q.upper = upperDateBound(c.to);
    q.target = transform(c.moves, classifyOpening(c.moves));
    // Never past the target's own moves: its first zero must stop a shorter record, and a
    // longer count would let records match on the target's trailing zeros.
    q.compared = size_t(std::clamp(c.movesCompared, 0, q.target.size()));
    return q;
}

bool playersMatch(const GameRecord& r, const Query& q)
{
    const bool blackMiss = q.black > 0 && r.blackPlayer != q.black;
    const bool whiteMiss = q.white > 0 && r.whitePlayer != q.white;
    return q.bothPlayers ? !blackMiss && !whiteMiss : !(blackMiss && whiteMiss);
}

bool winnerMatches(const GameRecord& r, int filter)
{
    switch (filter) {
    case SearchCriteria::blackWon:
        return r.winner == GameRecord::blackWins;
    case SearchCriteria::whiteWon:
        return r.winner == GameRecord::whiteWins;
    case SearchCriteria::noWinner:
        return r.winner == GameRecord::noWinner;
    default:
        return true;
    }
}

bool matches(const GameRecord& r, const Query& q)
{
    return r.folder >= 0 && playersMatch(r, q) && winnerMatches(r, q.winner)
        && r.playedAt >= q.lower && r.playedAt <= q.upper
        && std::memcmp(r.moves.data(), q.target.data(), q.compared) == 0;
}

} // namespace

int readLeadingNumber(std::string_view text)
{
    int64_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            break;
        value = std::min<int64_t>(value * 10 + (ch - '0'), std::numeric_limits<int32_t>::max());
    }
    return int(value);
}

int32_t lowerDateBound(const SearchDate& from)
{
    const int year = readLeadingNumber(from.year);
    if (!yearInRange(year))
        return 0;
    int month = readLeadingNumber(from.month);
    if (month < 1 || month > 12)
        month = 1;
    int day = readLeadingNumber(from.day);
    if (day < 1 || day > 31)
        day = 1;
    return localTime(year, month, day, 0, 0, 0);
}

int32_t upperDateBound(const SearchDate& to)
{
    const int year = readLeadingNumber(to.year);
    if (!yearInRange(year))
        return kNoUpperBound;
    int month = readLeadingNumber(to.month);
    if (month < 1 || month > 12)
        month = 12;
    int day = readLeadingNumber(to.day);
    if (day < 1 || day > 31)
        day = lastDayOfMonth(year, month);
    return localTime(year, month, day, 23, 59, 59);
}

std::vector<int> searchRecords(const RecordCollection& collection, const SearchCriteria& criteria)
{
    const Query q = prepare(criteria);
    std::vector<int> found;
    const size_t count = collection.records.size();
    for (size_t i = 0; i < count; ++i) {
        if (matches(collection.records[i], q))
            found.push_back(int(i));
    }
    return found;
}
