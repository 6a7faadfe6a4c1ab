#include "library/recordsearch.h"

#include "library/recordsearchmatcher.h"

#include <algorithm>
#include <array>
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
    const RecordSearchMatcher matcher(criteria);
    std::vector<int> found;
    for (size_t i = 0; i < collection.records.size(); ++i) {
        if (matcher.matches(collection.records[i]))
            found.push_back(int(i));
    }
    return found;
}
