#include "library/memoryprofilestore.h"
#include "library/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Settings, FirstStartGivesTheDefaults)
{
    const MemoryProfileStore empty;
    const Settings s = readSettings(empty);
    EXPECT_EQ(s.delforce, 0);
    EXPECT_EQ(s.delconfirm, 1);
    EXPECT_EQ(s.yahoobell, 1);
    EXPECT_EQ(s.yahoosave, 1);
    EXPECT_EQ(s.yahooclose, 0);
    EXPECT_EQ(s.yahooauto, 0);
    EXPECT_EQ(s.compcmt, "");
    EXPECT_EQ(s.chatbell, 1);
    EXPECT_EQ(s.installed, 0);
    EXPECT_EQ(s.serialCode, 0);
    EXPECT_EQ(s.server, "localhost");
}

TEST(Settings, ReadsEachKeyIntoItsOwnField)
{
    MemoryProfileStore store;
    const std::vector<std::pair<std::string_view, int>> numbers {
        { "delforce", 11 },
        { "delconfirm", 12 },
        { "yahoobell", 13 },
        { "yahoosave", 14 },
        { "yahooclose", 15 },
        { "yahooauto", 16 },
        { "chatbell", 17 },
        { "installed", 1234567890 },
        { "serialCode", 4711 },
    };
    for (const auto& [key, value] : numbers)
        store.setInt(key, value);
    store.setString("compcmt", "\x83\x65\x83\x58\x83\x67"); // テスト in CP932
    store.setString("server", "sharing.example");

    const Settings s = readSettings(store);
    EXPECT_EQ(s.delforce, 11);
    EXPECT_EQ(s.delconfirm, 12);
    EXPECT_EQ(s.yahoobell, 13);
    EXPECT_EQ(s.yahoosave, 14);
    EXPECT_EQ(s.yahooclose, 15);
    EXPECT_EQ(s.yahooauto, 16);
    EXPECT_EQ(s.chatbell, 17);
    EXPECT_EQ(s.installed, 1234567890);
    EXPECT_EQ(s.serialCode, 4711);
    EXPECT_EQ(s.compcmt, "\x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(s.server, "sharing.example");
}

TEST(Settings, AStringWhereANumberBelongsReadsAsTheDefault)
{
    MemoryProfileStore store;
    store.setString("delconfirm", "yes");
    EXPECT_EQ(readSettings(store).delconfirm, 1);
}

TEST(Settings, ExitWritesInOrderAndNeverInstalled)
{
    MemoryProfileStore store;
    store.setInt("installed", 1000);
    store.clearWrites();

    Settings s;
    s.delforce = 7; // any non-zero value is written as 1
    s.delconfirm = 0;
    s.compcmt = "my pc";
    s.chatbell = 0;
    s.yahoobell = 2;
    s.yahoosave = 0;
    s.yahooclose = 1;
    s.yahooauto = 1;
    s.installed = 2000;
    s.serialCode = 99;
    writeSettings(s, store);

    const std::vector<std::string> order { "delforce", "delconfirm", "compcmt", "chatbell",
        "yahoobell", "yahoosave", "yahooclose", "yahooauto", "serialCode", "server" };
    EXPECT_EQ(store.writes(), order);
    EXPECT_EQ(store.getInt("installed", -1), 1000);
    EXPECT_EQ(store.getInt("delforce", -1), 1);
    EXPECT_EQ(store.getInt("delconfirm", -1), 0);
    EXPECT_EQ(store.getString("compcmt", "?"), "my pc");
    EXPECT_EQ(store.getInt("yahoobell", -1), 2);
    EXPECT_EQ(store.getInt("serialCode", -1), 99);
}

TEST(Settings, WrittenSettingsReadBackTheSame)
{
    Settings s;
    s.delforce = 1;
    s.compcmt = "";
    s.serialCode = -5;
    MemoryProfileStore store;
    writeSettings(s, store);
    const Settings back = readSettings(store);
    EXPECT_EQ(back.delforce, 1);
    EXPECT_EQ(back.compcmt, "");
    EXPECT_TRUE(store.contains("compcmt"));
    EXPECT_EQ(back.serialCode, -5);
}
