#include "records/playernametable.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayerNameTable, EntryZeroIsUnknown)
{
    PlayerNameTable names;
    EXPECT_EQ(names.size(), 1);
    EXPECT_EQ(cp932::toUtf8(names.name(0)), "不明");
    EXPECT_EQ(names.find(cp932::fromUtf8("不明")), 0);
    EXPECT_EQ(names.name(1), "");
    EXPECT_EQ(names.name(-1), "");
}

TEST(PlayerNameTable, FindAddAndFindOrAdd)
{
    PlayerNameTable names;
    EXPECT_EQ(names.find("Tanaka"), -1);
    EXPECT_EQ(names.add("Tanaka"), 1);
    EXPECT_EQ(names.add("Tanaka"), 2); // add does not look
    EXPECT_EQ(names.find("Tanaka"), 1);
    EXPECT_EQ(names.findOrAdd("Tanaka"), 1);
    // Case and width make different names.
    EXPECT_EQ(names.findOrAdd("tanaka"), 3);
    EXPECT_EQ(names.findOrAdd(cp932::fromUtf8("Ｔａｎａｋａ")), 4);
    EXPECT_EQ(names.findOrAdd(""), 0);
    EXPECT_EQ(names.size(), 5);
    names.clear();
    EXPECT_EQ(names.size(), 1);
    EXPECT_EQ(names.find("Tanaka"), -1);
}

TEST(PlayerNameTable, LongNamesAreCutAtACharacterBoundary)
{
    PlayerNameTable names;
    // 127 double-byte characters and one more: 256 bytes, cut to 254 rather than splitting one.
    std::string longName;
    for (int i = 0; i < 128; ++i)
        longName += cp932::fromUtf8("名");
    const int index = names.add(longName);
    EXPECT_EQ(names.name(index).size(), 254u);
    EXPECT_EQ(names.find(longName), index);
    EXPECT_EQ(names.findOrAdd(longName), index);
    EXPECT_EQ(names.add(std::string(300, 'a')), index + 1);
    EXPECT_EQ(names.name(index + 1), std::string(255, 'a'));
}

} // namespace
