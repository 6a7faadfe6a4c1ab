// Logins whose password check is slow, against the login timeout: the server's message handling
// with a held-back checker and a recording network side, no sockets.
#include "testclient.h"

#include "server/accountstore.h"
#include "server/sharingserver.h"

#include "net/framing.h"
#include "net/messagereader.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using namespace std::chrono_literals;

class StepClock final : public ServerClock {
public:
    std::chrono::milliseconds steadyNow() const override { return now; }
    std::int64_t unixNow() const override { return 1700000000 + now.count() / 1000; }
    std::chrono::milliseconds now { 1000 };
};

// Holds every check until the test hands down the verdict.
class HeldChecker final : public LoginChecker {
public:
    void check(
        const std::string&, const std::string&, std::function<void(LoginVerdict)> done) override
    {
        pending.push_back(std::move(done));
    }
    std::vector<std::function<void(LoginVerdict)>> pending;
};

class RecordingControl final : public ConnectionControl {
public:
    void send(ConnectionId id, std::string_view bytes) override
    {
        MessageReader reader;
        reader.feed(bytes);
        StringList m;
        while (reader.next(m) == MessageReader::Result::Message)
            received[id].push_back(m);
    }
    void close(ConnectionId id) override { closed.insert(id); }
    void pauseReading(ConnectionId id, bool paused) override { this->paused[id] = paused; }
    void abort(ConnectionId id) override { closed.insert(id); }
    size_t pendingOutput(ConnectionId) const override { return 0; }
    size_t pendingOutputTotal() const override { return 0; }
    void watchOutput(ConnectionId, size_t) override { }

    std::map<ConnectionId, std::vector<StringList>> received;
    std::set<ConnectionId> closed;
    std::map<ConnectionId, bool> paused;
};

class LoginTimingTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_store.open(":memory:"));
        SharingServer::Settings settings;
        settings.loginTimeout = 30s;
        m_server = std::make_unique<SharingServer>(
            std::move(settings), m_runner, m_checker, m_control, m_clock, m_log);
        m_server->connectionOpened(1, PortKind::Main, "127.0.0.1");
        m_server->bytesReceived(1,
            frameMessage(list({ "LOGIN", "alice", "pw", "0" }))
                + frameMessage(list({ "MODCOMMENT", "queued behind the login" })));
        ASSERT_EQ(m_checker.pending.size(), 1u);
        EXPECT_TRUE(m_control.paused[1]);
        m_clock.now += 31s;
        m_server->expireLogins();
    }

    AccountStore m_store;
    asio::io_context m_io;
    StoreRunner m_runner { m_store, m_io, false };
    HeldChecker m_checker;
    RecordingControl m_control;
    StepClock m_clock;
    ServerLog m_log { nullptr };
    std::unique_ptr<SharingServer> m_server;
};

TEST_F(LoginTimingTest, LoginSentInTimeIsNotTimedOutWhileItIsChecked)
{
    EXPECT_TRUE(m_control.received[1].empty());
    EXPECT_FALSE(m_control.closed.count(1));
    m_checker.pending[0](LoginVerdict::Accepted);
    ASSERT_EQ(m_control.received[1].size(), 3u);
    EXPECT_EQ(m_control.received[1][0].item(0), "LOGINOK");
    EXPECT_EQ(m_control.received[1][1].item(0), "ALLUSER");
    // The message that waited behind the login is handled after it.
    EXPECT_EQ(m_control.received[1][2], list({ "MODCOMMENT", "alice", "queued behind the login" }));
    EXPECT_FALSE(m_control.paused[1]);
    EXPECT_FALSE(m_control.closed.count(1));
    EXPECT_EQ(m_server->onlineCount(), 1u);
}

TEST_F(LoginTimingTest, LateRefusalIsSentAndThenTheConnectionCloses)
{
    m_checker.pending[0](LoginVerdict::WrongPassword);
    ASSERT_EQ(m_control.received[1].size(), 1u);
    EXPECT_EQ(m_control.received[1][0], list({ "LOGINNG", "6" }));
    EXPECT_TRUE(m_control.closed.count(1));
    EXPECT_EQ(m_server->onlineCount(), 0u);
}

TEST_F(LoginTimingTest, VerdictForAConnectionThatLeftIsDropped)
{
    m_server->connectionClosed(1);
    m_checker.pending[0](LoginVerdict::Accepted);
    EXPECT_TRUE(m_control.received[1].empty());
    EXPECT_EQ(m_server->onlineCount(), 0u);
    EXPECT_EQ(m_server->connectionCount(), 0u);
}

} // namespace
