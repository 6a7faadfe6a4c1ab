#include "library/recorddetails.h"

#include "library/collectiontree.h"
#include "net/wirenumber.h"
#include "records/gamerecord.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <limits>

namespace {

std::string decimal(int64_t value)
{
    return std::to_string(value);
}

int clampToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

} // namespace

RecordDetails RecordDetails::of(const CollectionTree& collection, const GameRecord& record)
{
    RecordDetails form;
    form.blackName = collection.playerNames().name(record.blackPlayer);
    form.whiteName = collection.playerNames().name(record.whitePlayer);
    form.endType = record.endType;
    form.winner = record.winner;
    form.blackDiscs = decimal(record.blackDiscs);
    form.whiteDiscs = decimal(record.whiteDiscs);
    const std::time_t when = record.playedAt;
    std::tm local {};
    if (localtime_r(&when, &local)) {
        form.year = decimal(int64_t { local.tm_year } + 1900);
        form.month = decimal(local.tm_mon + 1);
        form.day = decimal(local.tm_mday);
        form.hour = decimal(local.tm_hour);
        form.minute = decimal(local.tm_min);
        form.second = decimal(local.tm_sec);
    }
    form.comment = record.comment;
    return form;
}

void RecordDetails::applyTo(CollectionTree& collection, GameRecord& record) const
{
    record.comment = comment;
    PlayerNameTable& names = collection.playerNames();
    record.blackPlayer = static_cast<int16_t>(blackName.empty() ? 0 : names.findOrAdd(blackName));
    record.whitePlayer = static_cast<int16_t>(whiteName.empty() ? 0 : names.findOrAdd(whiteName));
    record.blackDiscs = discCountOf(blackDiscs);
    record.whiteDiscs = discCountOf(whiteDiscs);
    if (endType >= 0 && endType <= INT8_MAX)
        record.endType = static_cast<int8_t>(endType);
    record.winner = static_cast<int8_t>(winner == GameRecord::blackWins ? GameRecord::blackWins
            : winner == GameRecord::whiteWins                           ? GameRecord::whiteWins
                                                                        : GameRecord::noWinner);
    record.playedAt = localMoment(readNumber(year), readNumber(month), readNumber(day),
        readNumber(hour), readNumber(minute), readNumber(second));
}

int8_t discCountOf(std::string_view text)
{
    const auto low = static_cast<int8_t>(static_cast<uint8_t>(readNumber(text) & 0xFF));
    return low < 0 || low > 64 ? 0 : low;
}

int32_t localMoment(
    int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute, int64_t second)
{
    std::tm local {};
    // Typed numbers can be anything a 64-bit value holds: bound them before taking the offsets.
    const auto bounded
        = [](int64_t value) { return std::clamp<int64_t>(value, -1'000'000'000, 1'000'000'000); };
    local.tm_year = clampToInt(bounded(year) - 1900);
    local.tm_mon = clampToInt(bounded(month) - 1);
    local.tm_mday = clampToInt(day);
    local.tm_hour = clampToInt(hour);
    local.tm_min = clampToInt(minute);
    local.tm_sec = clampToInt(second);
    local.tm_isdst = -1;
    const std::time_t moment = std::mktime(&local);
    if (moment < std::numeric_limits<int32_t>::min()
        || moment > std::numeric_limits<int32_t>::max())
        return -1;
    return static_cast<int32_t>(moment);
}
