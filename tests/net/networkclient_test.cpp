// Password scrambling, the updater's command line, the keep-alive rules and the chat texts.
#include "fakesocketport.h"

#include "net/chattext.h"
#include "net/networksession.h"
#include "net/notices.h"
#include "net/passwordscramble.h"
#include "net/updatecommand.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

TEST(PasswordScrambleTest, StoresComplementsAsLowerCaseHexAndReadsThemBack)
{
    struct Case {
        std::string password;
        std::string stored;
    };
    const std::vector<Case> cases {
        { "", "" }, { "a", "9e" }, { "pw", "8f88" }, { std::string("\x00\xff", 2), "ff00" },
        { "\x83\x70", "7c8f" }, // a double-byte character stays two bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scramblePassword(c.password), c.stored) << c.stored;
        EXPECT_EQ(unscramblePassword(c.stored), c.password) << c.stored;
    }
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(scramblePassword(all).size(), 512u);
    EXPECT_EQ(unscramblePassword(scramblePassword(all)), all);
    // Upper-case digits read too; other characters count as 0; a lone last digit is dropped.
    EXPECT_EQ(unscramblePassword("9E"), "a");
    EXPECT_EQ(unscramblePassword("zz"), "\xff");
    EXPECT_EQ(unscramblePassword("9e9"), "a");
}

TEST(UpdateCommandTest, NamesUpdaterHostVersionAndProgram)
{
    EXPECT_EQ(updateCommandLine("/opt/pv/", "srv.example", 30, "/opt/pv/pavione"),
        "/opt/pv/autopatch.exe srv.example patch/030 /opt/pv/pavione");
    EXPECT_EQ(updateCommandLine("d/", "h", 7, "d/p"), "d/autopatch.exe h patch/007 d/p");
    EXPECT_EQ(updateCommandLine("d/", "h", 1234, "d/p"), "d/autopatch.exe h patch/1234 d/p");
}

TEST(TickIntervalTest, ComparesUnsignedDifferencesAcrossTheWrap)
{
    struct Case {
        uint32_t now;
        uint32_t since;
        bool passed;
    };
    const std::vector<Case> cases {
        { 180000, 0, false },
        { 180001, 0, true },
        { 100, 0xFFFFFFFFu - 179899, false }, // 180000 ms across the wrap
        { 100, 0xFFFFFFFFu - 179900, true }, // 180001 ms
        { 5, 5, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(tickIntervalPassed(c.now, c.since, 180000), c.passed) << c.now << " " << c.since;
}

TEST(ChatTextTest, FormatsMessagesDelaysAndIdleTimes)
{
    EXPECT_EQ(chatMessageText("ab", StringList { "x", "y" }), "ab\x81\x46 x\r\n     y\r\n");
    EXPECT_EQ(chatMessageText("ab", StringList {}), "");
    EXPECT_EQ(chatLineText("me", "hi"), "me\x81\x46 hi\r\n");
    // PONG with delay 250 received 1234 ms after the PING.
    const std::string delay = pingDelayText(11234, 10000, 250);
    EXPECT_NE(delay.find(" 0.98 "), std::string::npos) << delay;
    EXPECT_NE(delay.find(" 0.25 "), std::string::npos) << delay;
    EXPECT_NE(pingDelayText(10100, 10000, 250).find(" 0.00 "), std::string::npos);
    EXPECT_EQ(idleTimeText(42).substr(0, 3), "42 ");
}

// A session over fake sockets with a clock the test moves.
class SessionTest : public testing::Test, public NetworkSessionHost {
protected:
    SessionTest()
        : session(
            { "host", 9292, 9293 },
            [this] {
                sockets.push_back(std::make_shared<FakeSocketState>());
                return std::make_unique<FakeSocketPort>(sockets.back());
            },
            [this] { return now; }, *this)
    { }

    int32_t notify(const Notice& notice) override
    {
        notices.push_back(notice.id);
        return 0;
    }
    void mainDisconnected() override { ++disconnects; }
    void versionChecked(int32_t latest, std::optional<int32_t> installation) override
    {
        latestVersion = latest;
        newInstallation = installation;
    }
    void connect(FakeSocketState& socket)
    {
        socket.handler->connectCompleted(0);
        while (session.processNextEvent()) { }
    }

    uint32_t now = 1000;
    std::vector<std::shared_ptr<FakeSocketState>> sockets;
    std::vector<int32_t> notices;
    int disconnects = 0;
    int32_t latestVersion = -1;
    std::optional<int32_t> newInstallation;
    NetworkSession session;
};

TEST_F(SessionTest, MainConnectionLogsInAndSendsNopOnlyAfterThreeMinutesOfSilence)
{
    ASSERT_TRUE(session.connectMain("a", "b"));
    EXPECT_FALSE(session.connectMain("c", "d")); // one main connection at a time
    ASSERT_EQ(sockets.size(), 1u);
    EXPECT_EQ(sockets[0]->port, 9292);
    connect(*sockets[0]);
    session.networkTick();
    EXPECT_EQ(sockets[0]->sent, "+LOGIN\n+a\n+b\n-0\n");
    sockets[0]->sent.clear();
    now += 180000;
    session.networkTick();
    EXPECT_EQ(sockets[0]->sent, "");
    now += 1;
    session.networkTick(); // queued now, flushed on the next tick
    session.networkTick();
    EXPECT_EQ(sockets[0]->sent, "-NOP\n");
    // The peer closing after the login disconnects and reports the lost connection.
    sockets[0]->reads.push_back({ "", 0 });
    sockets[0]->handler->peerClosed();
    while (session.processNextEvent()) { }
    EXPECT_FALSE(session.isConnected());
    EXPECT_EQ(disconnects, 1);
    EXPECT_EQ(notices, std::vector<int32_t> { IdConnectionLost });
}

TEST_F(SessionTest, VersionCheckOpensPresenceWhichKeepsAliveAndRetries)
{
    session.setInstallationNumber(7);
    session.startVersionCheck();
    connect(*sockets[0]);
    session.networkTick();
    EXPECT_EQ(sockets[0]->sent, "+VERSION\n-7\n");
    sockets[0]->arrive("+VERSION\n+31\n-12\n");
    while (session.processNextEvent()) { }
    EXPECT_EQ(latestVersion, 31);
    EXPECT_EQ(newInstallation, 12);
    EXPECT_EQ(session.versionConnection(), nullptr);
    ASSERT_EQ(sockets.size(), 2u);
    EXPECT_EQ(sockets[1]->port, 9293);
    connect(*sockets[1]);
    session.networkTick();
    EXPECT_EQ(sockets[1]->sent, "+LOGIN\n-12\n");
    sockets[1]->sent.clear();
    now += 600001;
    session.networkTick();
    session.networkTick();
    EXPECT_EQ(sockets[1]->sent, "-HC\n");
    // Dropped: no new attempt at once, one after more than two minutes.
    sockets[1]->handler->connectCompleted(0);
    sockets[1]->reads.push_back({ "", 0 });
    sockets[1]->handler->peerClosed();
    while (session.processNextEvent()) { }
    EXPECT_EQ(session.presenceConnection(), nullptr);
    session.networkTick();
    EXPECT_EQ(sockets.size(), 2u);
    now += 120001;
    session.networkTick();
    EXPECT_EQ(sockets.size(), 3u);
}

} // namespace
