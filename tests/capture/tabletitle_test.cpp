#include "capture/tabletitle.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace {

std::string sjis(std::string_view utf8)
{
    return cp932::fromUtf8(utf8);
}

struct TitleCase {
    const char* utf8;
    bool parses;
    const char* room;
    int table;
    const char* host;
};

TEST(TableTitle, ParsesAsTheClientWritesIt)
{
    const TitleCase cases[] = {
        { "ゲーム：Othello - ルーム：Lobby_1 - テーブル：12 - ホスト：taro", true, "Lobby_1", 12,
            "taro" },
        { "ゲーム：Othello - ルーム：部屋 - テーブル：3 - ホスト：花子", true, "部屋", 3, "花子" },
        // The format's blanks take any white space, none included; room and host stop at a
        // space and the rest of the title is ignored.
        { "ゲーム：Othello-ルーム：r - テーブル：7 - ホスト：h", true, "r", 7, "h" },
        // Without a blank after it the room runs on to the end of the title.
        { "ゲーム：Othello - ルーム：r-テーブル：7-ホスト：h", false, "", 0, "" },
        { "ゲーム：Othello  -\tルーム：r - テーブル： -5 - ホスト：h and more", true, "r", -5,
            "h" },
        { "ゲーム：Othello - ルーム：r\tx - テーブル：+8 - ホスト：h", true, "r\tx", 8, "h" },
        // A field missing, or the number too large: nothing is kept.
        { "ゲーム：Othello", false, "", 0, "" },
        { "ゲーム：Othello - ルーム：r - テーブル：7 - ホスト：", false, "", 0, "" },
        { "ゲーム：Othello - ルーム： - テーブル：7 - ホスト：h", false, "", 0, "" },
        { "ゲーム：Othello - ルーム：r - テーブル：x - ホスト：h", false, "", 0, "" },
        { "ゲーム：Othello - ルーム：r - テーブル：99999999999 - ホスト：h", false, "", 0, "" },
        { "ゲーム：Othello - ルーム：r - テーブル：2147483647 - ホスト：h", true, "r", 2147483647,
            "h" },
        { "ゲーム：Othello - ルーム：r - テーブル：-2147483648 - ホスト：h", true, "r",
            -2147483647 - 1, "h" },
        { "ゲーム：Reversi - ルーム：r - テーブル：1 - ホスト：h", false, "", 0, "" },
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.utf8);
        TableSnapshot s;
        s.room = "old";
        s.host = "old";
        s.table = 99;
        EXPECT_EQ(tabletitle::parse(sjis(c.utf8), s), c.parses);
        EXPECT_EQ(s.room, sjis(c.room));
        EXPECT_EQ(s.table, c.table);
        EXPECT_EQ(s.host, sjis(c.host));
    }
}

TEST(TableTitle, TestsTheFifteenBytePrefix)
{
    EXPECT_EQ(sjis("ゲーム：Othello").size(), 15u);
    EXPECT_TRUE(tabletitle::isTableTitle(sjis("ゲーム：Othello")));
    EXPECT_TRUE(tabletitle::isTableTitle(sjis("ゲーム：Othello anything")));
    EXPECT_FALSE(tabletitle::isTableTitle(sjis("ゲーム：Othell")));
    EXPECT_FALSE(tabletitle::isTableTitle("Othello"));
    EXPECT_FALSE(tabletitle::isTableTitle(""));
    // The same words in UTF-8 are other bytes.
    EXPECT_FALSE(tabletitle::isTableTitle("ゲーム：Othello - ルーム：r"));
}

TEST(TableTitle, CutsLongNamesAtACharacterBoundary)
{
    std::string longRoom(200, 'r');
    std::string longHost;
    for (int i = 0; i < 100; ++i)
        longHost += sjis("花");
    // One single byte first, so that byte 127 would fall in the middle of a character.
    longHost = "x" + longHost;
    TableSnapshot s;
    ASSERT_TRUE(tabletitle::parse(tabletitle::make(longRoom, 4, longHost), s));
    EXPECT_EQ(s.room, std::string(127, 'r'));
    EXPECT_EQ(s.host.size(), 127u);
    EXPECT_EQ(s.host, longHost.substr(0, 127));
    ASSERT_TRUE(tabletitle::parse(tabletitle::make("r", 4, "xx" + longHost.substr(1)), s));
    EXPECT_EQ(s.host.size(), 126u) << "a character that does not fit is dropped whole";
}

TEST(TableTitle, MakeWritesWhatParseReads)
{
    const std::string title = tabletitle::make(sjis("部屋"), 42, "host");
    EXPECT_EQ(cp932::toUtf8(title), "ゲーム：Othello - ルーム：部屋 - テーブル：42 - ホスト：host");
    TableSnapshot s;
    ASSERT_TRUE(tabletitle::parse(title, s));
    EXPECT_EQ(s.table, 42);
}

} // namespace
