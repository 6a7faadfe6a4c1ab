#include "platform/sjis.h"
#include "records/gamerecord.h"
#include "viewer/resultlabels.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultLabels, CountsAndWordFollowTheEndType)
{
    struct Case {
        int endType;
        int winner;
        const char* blackDiscs;
        const char* whiteDiscs;
        const char* blackWord;
        const char* whiteWord;
    };
    const Case cases[] = {
        { GameRecord::normalEnd, GameRecord::blackWins, "40", "24", "勝ち", "" },
        { GameRecord::normalEnd, GameRecord::whiteWins, "40", "24", "", "勝ち" },
        { GameRecord::normalEnd, GameRecord::noWinner, "40", "24", "", "" },
        { GameRecord::onTime, GameRecord::whiteWins, "-", "-", "", "針落勝" },
        { GameRecord::onTime, GameRecord::blackWins, "-", "-", "針落勝", "" },
        { GameRecord::foul, GameRecord::blackWins, "-", "-", "反則勝", "" },
        { GameRecord::foul, GameRecord::noWinner, "-", "-", "", "" },
        { GameRecord::resigned, GameRecord::blackWins, "-", "-", "", "" },
        { GameRecord::unfinished, GameRecord::whiteWins, "-", "-", "", "" },
        { 9, GameRecord::blackWins, "-", "-", "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.endType << "/" << c.winner);
        GameRecord record;
        record.endType = static_cast<int8_t>(c.endType);
        record.winner = static_cast<int8_t>(c.winner);
        record.blackDiscs = 40;
        record.whiteDiscs = 24;
        const ResultLabels labels = resultLabels(record);
        EXPECT_EQ(fromSjis(labels.blackDiscs), QString::fromUtf8(c.blackDiscs));
        EXPECT_EQ(fromSjis(labels.whiteDiscs), QString::fromUtf8(c.whiteDiscs));
        EXPECT_EQ(fromSjis(labels.blackWord), QString::fromUtf8(c.blackWord));
        EXPECT_EQ(fromSjis(labels.whiteWord), QString::fromUtf8(c.whiteWord));
    }
}

} // namespace
