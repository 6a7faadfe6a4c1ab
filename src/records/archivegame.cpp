#include "records/archivegame.h"

#include <ctime>

void ArchiveReport::note(std::string reason)
{
    // A damaged file can give a reason per game; the first ones tell the story.
    constexpr size_t kMaxReasons = 20;
    if (reasons.size() < kMaxReasons)
        reasons.push_back(std::move(reason));
}

void setResultFromBlackScore(ArchiveGame& game, int blackScore)
{
    if (blackScore < 0 || blackScore > 64) {
        game.winner = 0;
        game.endType = 3;
        game.blackDiscs = game.whiteDiscs = 0;
        return;
    }
    game.endType = 0;
    game.blackDiscs = static_cast<int8_t>(blackScore);
    game.whiteDiscs = static_cast<int8_t>(64 - blackScore);
    game.winner = blackScore > 32 ? 1 : blackScore < 32 ? 2 : 0;
}

int32_t startOfYear(int year)
{
    if (year < 1970 || year > 2037)
        return 0;
    std::tm t {};
    t.tm_year = year - 1900;
    t.tm_mday = 1;
    t.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&t);
    return seconds < 0 ? 0 : static_cast<int32_t>(seconds);
}
