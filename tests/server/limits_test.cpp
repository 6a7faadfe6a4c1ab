// What one connection may make the server hold, and what happens beyond it.
#include "serverfixture.h"

#include "server/messageinput.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class ServerLimitsTest : public ServerFixture { };

TEST_F(ServerLimitsTest, LineOfTheLimitPassesOneByteMoreCloses)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    // The line is the framing byte and the item; the line feed does not count.
    const std::string item(MessageInput::maxLineLength - 1, 'x');
    ASSERT_TRUE(bob.send(list({ "XTELL", "alice", "DIR", item })));
    EXPECT_EQ(alice.next(), list({ "XTELL", "bob", "DIR", item }));

    ASSERT_TRUE(bob.send(list({ "XTELL", "alice", "DIR", item + "x" })));
    EXPECT_TRUE(bob.waitClosed());
    EXPECT_EQ(alice.next(), list({ "LOGOUT", "bob" }));
}

TEST_F(ServerLimitsTest, BroadcastsAndPrivateMessagesBeyondTheRateAreRefused)
{
    m_options.maxMessageRate = 5; // bursts of 10
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    // Broadcasts and private messages share one allowance.
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(bob.send(list({ "BCAST", "b" + std::to_string(i) })));
        EXPECT_EQ(alice.next(), list({ "BCAST", "bob", "b" + std::to_string(i) }));
    }
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(bob.send(list({ "TELL", "alice", "t" + std::to_string(i) })));
        EXPECT_EQ(alice.next(), list({ "TELL", "bob", "t" + std::to_string(i) }));
        EXPECT_EQ(bob.next(), list({ "TELLOK" }));
    }
    ASSERT_TRUE(bob.send(list({ "BCAST", "too fast" })));
    EXPECT_EQ(bob.next(), list({ "BCASTNG", "2" }));
    ASSERT_TRUE(bob.send(list({ "TELL", "alice", "too fast" })));
    const auto refused = bob.next();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->item(0), "TELLNG");
    EXPECT_EQ(refused->item(1), "2");
    expectNothingMore(alice);
    // Another user has an allowance of its own.
    ASSERT_TRUE(alice.send(list({ "BCAST", "mine" })));
    EXPECT_EQ(bob.next(), list({ "BCAST", "alice", "mine" }));

    // After 200 ms one more message is allowed, and only one.
    m_clock.advance(200ms);
    ASSERT_TRUE(bob.send(list({ "BCAST", "again" })));
    ASSERT_TRUE(bob.send(list({ "BCAST", "once more" })));
    EXPECT_EQ(alice.next(), list({ "BCAST", "bob", "again" }));
    EXPECT_EQ(bob.next(), list({ "BCASTNG", "2" }));
    expectNothingMore(alice);
}

TEST_F(ServerLimitsTest, UnterminatedLongLineClosesBeforeItEnds)
{
    start();
    TestClient client;
    ASSERT_TRUE(client.connect(m_port));
    ASSERT_TRUE(client.sendRaw("+" + std::string(MessageInput::maxLineLength + 10, 'y')));
    EXPECT_TRUE(client.waitClosed());
}

TEST_F(ServerLimitsTest, MessageOverOneMebibyteCloses)
{
    m_options.maxMessageMb = 1;
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    // A shared-folder answer just under the limit is relayed whole.
    StringList dir = list({ "XTELL", "alice", "DIR", "\\games\\" });
    for (int i = 0; i < 15; ++i)
        dir.append(std::string(60000, 'r'));
    ASSERT_TRUE(bob.send(dir));
    const auto relayed = alice.next();
    ASSERT_TRUE(relayed);
    EXPECT_EQ(relayed->count(), dir.count());
    // Three more lines take it past 1 MiB.
    for (int i = 0; i < 3; ++i)
        dir.append(std::string(60000, 'r'));
    ASSERT_TRUE(bob.send(dir));
    EXPECT_TRUE(bob.waitClosed());
    EXPECT_EQ(alice.next(), list({ "LOGOUT", "bob" }));
}

TEST_F(ServerLimitsTest, ListingOfAHundredThousandRecordsIsRelayedWhole)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    // About what a share of 100,000 records takes: 14 MB on the wire, 19 MB with bookkeeping.
    StringList dir = list({ "XTELL", "alice", "DIR", "\\games\\" });
    for (int i = 0; i < 100000; ++i)
        dir.append(std::string(140, 'r'));
    ASSERT_TRUE(bob.send(dir));
    const auto relayed = alice.next(10s);
    ASSERT_TRUE(relayed);
    EXPECT_EQ(relayed->count(), dir.count());
}

TEST_F(ServerLimitsTest, LineWithoutFramingByteCloses)
{
    start();
    TestClient client;
    ASSERT_TRUE(client.connect(m_port));
    ASSERT_TRUE(client.sendRaw("LOGIN\n-alice\n"));
    EXPECT_TRUE(client.waitClosed());
}

TEST_F(ServerLimitsTest, ConnectionsBeyondTheLimitAreRefused)
{
    m_options.maxConnections = 2;
    start();
    TestClient first, second, third;
    ASSERT_TRUE(first.connect(m_port));
    ASSERT_TRUE(second.connect(m_presencePort));
    expectNothingMore(first);
    ASSERT_TRUE(third.connect(m_port));
    EXPECT_TRUE(third.waitClosed());
    // A place freed is a place to take.
    first.close();
    expectNothingMore(second);
    TestClient fourth;
    ASSERT_TRUE(login(fourth, "alice"));
}

} // namespace
