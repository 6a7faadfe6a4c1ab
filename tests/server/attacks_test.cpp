// The server under attack from strangers and from logged-in users: connection slots, memory,
// password checks and guessing, floods, a busy database, many source addresses, and bytes that
// could forge lines. Clients come from several loopback addresses (127.x.y.z).
#include "serverfixture.h"

#include "server/accountstore.h"
#include "server/messageinput.h"

#include "net/framing.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <sstream>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class AttackTest : public ServerFixture {
protected:
    // The time one PROFILE question takes to be answered.
    std::chrono::milliseconds roundTrip(TestClient& client, const std::string& about)
    {
        const auto start = Clock::now();
        EXPECT_TRUE(client.send(list({ "PROFILE", about })));
        const auto answer = client.next();
        EXPECT_TRUE(answer && answer->item(0) == "PROFILE");
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    }
    std::string installation(const std::string& source)
    {
        TestClient client;
        EXPECT_TRUE(client.connect(m_port, 0, source));
        EXPECT_TRUE(client.send(list({ "VERSION", "0" })));
        const auto answer = client.next();
        return answer && answer->count() == 3 ? answer->item(2).str() : std::string("none");
    }
};

TEST_F(AttackTest, ConnectionsArePerAddressOnBothPorts)
{
    m_options.maxConnectionsPerAddress = 3;
    start();
    TestClient presence[3];
    for (TestClient& p : presence) {
        ASSERT_TRUE(p.connect(m_presencePort));
        ASSERT_TRUE(p.send(list({ "LOGIN", "12345" })));
    }
    expectNothingMore(presence[2]);
    // A fourth from the same address, on either port, is closed at once.
    TestClient fourth;
    ASSERT_TRUE(fourth.connect(m_port));
    EXPECT_TRUE(fourth.waitClosed(2s));
    // Another address is not affected.
    TestClient alice;
    ASSERT_TRUE(alice.connect(m_port, 0, "127.0.0.2"));
    ASSERT_TRUE(alice.send(list({ "LOGIN", "alice", "pw-alice", "0" })));
    EXPECT_EQ(alice.next()->item(0), "LOGINOK");
    // A place freed is a place to take.
    presence[0].close();
    expectNothingMore(presence[1]);
    TestClient again;
    ASSERT_TRUE(login(again, "bob"));
}

TEST_F(AttackTest, DeniedAddressesAreClosedOnThePresencePort)
{
    m_options.denied = { "127.0.0.3/32" };
    start();
    TestClient denied, allowed;
    ASSERT_TRUE(denied.connect(m_presencePort, 0, "127.0.0.3"));
    EXPECT_TRUE(denied.waitClosed(2s));
    ASSERT_TRUE(allowed.connect(m_presencePort, 0, "127.0.0.4"));
    ASSERT_TRUE(allowed.send(list({ "LOGIN", "7" })));
    expectNothingMore(allowed);
}

TEST_F(AttackTest, SilentPresenceConnectionsAreClosedAfterTwiceTheKeepAliveInterval)
{
    start();
    TestClient silent, alive;
    for (TestClient* p : { &silent, &alive }) {
        ASSERT_TRUE(p->connect(m_presencePort));
        ASSERT_TRUE(p->send(list({ "LOGIN", "99" })));
    }
    expectNothingMore(alive);
    m_clock.advance(15min);
    ASSERT_TRUE(alive.send(list({ "HC" })));
    expectNothingMore(alive);
    m_clock.advance(6min);
    EXPECT_TRUE(silent.waitClosed(3s));
    expectNothingMore(alive);
}

TEST_F(AttackTest, TinyLinesCostWhatTheServerHoldsForThem)
{
    m_options.maxMessageMb = 1;
    start();
    TestClient client;
    ASSERT_TRUE(client.connect(m_presencePort));
    // 50 kB on the wire, but over a megabyte held as 25,000 buffered lines.
    std::string tiny;
    for (int i = 0; i < 25000; ++i)
        tiny += "+\n";
    ASSERT_TRUE(client.sendRaw(tiny));
    EXPECT_TRUE(client.waitClosed(3s));
}

TEST_F(AttackTest, OverTheBufferBoundTheHeaviestConnectionIsDropped)
{
    m_options.maxBufferedMb = 1;
    start();
    const std::string line = "+" + std::string(60000, 'x') + "\n";
    const auto unfinished = [&](int lines) {
        std::string bytes = "+VERSION\n";
        for (int i = 0; i < lines; ++i)
            bytes += line;
        return bytes;
    };
    TestClient light1, light2, heavy;
    ASSERT_TRUE(light1.connect(m_port));
    ASSERT_TRUE(light2.connect(m_port, 0, "127.0.0.2"));
    ASSERT_TRUE(heavy.connect(m_port, 0, "127.0.0.3"));
    ASSERT_TRUE(light1.sendRaw(unfinished(5)));
    ASSERT_TRUE(light2.sendRaw(unfinished(5)));
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(heavy.sendRaw(unfinished(10)));
    EXPECT_TRUE(heavy.waitClosed(3s));
    // The lighter ones keep their place and finish their messages.
    for (TestClient* c : { &light1, &light2 }) {
        ASSERT_TRUE(c->sendRaw("-0\n"));
        const auto answer = c->next();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->item(0), "VERSION");
    }
}

TEST_F(AttackTest, BurstOfWrongPasswordsDoesNotDelayAnotherAddress)
{
    m_options.maxConnectionsPerAddress = 0;
    {
        AccountStore store;
        ASSERT_TRUE(store.open(m_dbPath));
        ASSERT_EQ(
            store.addUser("eve", "real-secret", HashStrength::Standard), AccountStore::Status::Ok);
    }
    start();
    constexpr int attackers = 300;
    std::vector<TestClient> burst(attackers);
    const std::string wrong = frameMessage(list({ "LOGIN", "eve", "guess", "0" }));
    for (TestClient& c : burst)
        ASSERT_TRUE(c.connect(m_port));
    for (TestClient& c : burst)
        ASSERT_TRUE(c.sendRaw(wrong));
    const auto start = Clock::now();
    TestClient alice;
    ASSERT_TRUE(alice.connect(m_port, 0, "127.0.0.2"));
    ASSERT_TRUE(alice.send(list({ "LOGIN", "alice", "pw-alice", "0" })));
    const auto ok = alice.next(30s);
    EXPECT_LT(Clock::now() - start, 1s);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->item(0), "LOGINOK");
    // Beyond the few checks one address may have in flight, refusals come at once. A check takes
    // a few milliseconds, so on a slow machine some finish while the burst is still arriving and
    // let a few more be made; the rest are refused all the same.
    int busy = 0;
    for (TestClient& c : burst) {
        const auto answer = c.next(10s);
        busy += answer && *answer == list({ "LOGINNG", "7" });
    }
    EXPECT_GE(busy, attackers * 9 / 10);
}

TEST_F(AttackTest, FailedLoginsMakeTheAccountAndTheAddressWaitAndAreLoggedOnce)
{
    char* text = nullptr;
    size_t length = 0;
    std::FILE* logFile = open_memstream(&text, &length);
    ASSERT_TRUE(logFile);
    m_log = ServerLog(logFile);
    start();
    const auto attempt = [&](const char* name, const char* password, const char* source) {
        TestClient c;
        EXPECT_TRUE(c.connect(m_port, 0, source));
        EXPECT_TRUE(c.send(list({ "LOGIN", name, password, "0" })));
        const auto answer = c.next();
        if (!answer)
            return std::string("none");
        return answer->item(0) == "LOGINNG" ? "LOGINNG " + answer->item(1).str()
                                            : answer->item(0).str();
    };
    // Three free guesses at alice's password; the fourth failure starts a wait, in which even the
    // right password is refused.
    for (const char* source : { "127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.6" })
        EXPECT_EQ(attempt("alice", "guess", source), "LOGINNG 6");
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(attempt("alice", "pw-alice", "127.0.0.5"), "LOGINNG 7");
    m_clock.advance(1s);
    EXPECT_EQ(attempt("alice", "pw-alice", "127.0.0.5"), "LOGINOK");
    // One address guessing at many accounts waits too, and other addresses do not.
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(
            attempt(("nobody" + std::to_string(i)).c_str(), "guess", "127.0.1.1"), "LOGINNG 5");
    EXPECT_EQ(attempt("bob", "pw-bob", "127.0.1.1"), "LOGINNG 7");
    EXPECT_EQ(attempt("bob", "pw-bob", "127.0.1.2"), "LOGINOK");
    stop();
    std::fclose(logFile);
    const std::string log(text, length);
    std::free(text);
    // The fifty refusals during alice's wait gave one line.
    size_t waits = 0;
    for (size_t at = log.find("logins refused for the account 'alice'"); at != std::string::npos;
         at = log.find("logins refused for the account 'alice'", at + 1))
        ++waits;
    EXPECT_EQ(waits, 1u) << log;
}

TEST_F(AttackTest, FloodsByALoggedInUserAreHeldBack)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    // Descriptions: the first goes on at once, of the rest only the latest, a second later.
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(alice.send(list({ "MODCOMMENT", "c" + std::to_string(i) })));
    EXPECT_EQ(bob.next(), list({ "MODCOMMENT", "alice", "c0" }));
    expectNothingMore(bob);
    m_clock.advance(1s);
    EXPECT_EQ(bob.next(), list({ "MODCOMMENT", "alice", "c49" }));
    expectNothingMore(bob);
    EXPECT_EQ(alice.next(), list({ "MODCOMMENT", "alice", "c0" }));
    EXPECT_EQ(alice.next(), list({ "MODCOMMENT", "alice", "c49" }));
    // A private message is held to chat size like a broadcast.
    ASSERT_TRUE(alice.send(list({ "TELL", "bob", std::string(16 * 1024, 't') })));
    const auto refused = alice.next();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->item(0), "TELLNG");
    EXPECT_EQ(refused->item(1), "1");
    // Pings: a burst of five, then PINGNG.
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(alice.send(list({ "PING", "bob", std::to_string(i) })));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bob.next()->item(0), "PING") << i;
    expectNothingMore(bob);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(alice.next(), list({ "PINGNG", "bob" })) << i;
}

TEST_F(AttackTest, SlowReaderHoldsBackItsSenderInsteadOfBeingDropped)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(bob.connect(m_port, 16384));
    ASSERT_TRUE(bob.send(list({ "LOGIN", "bob", "pw-bob", "0" })));
    alice.next();
    // Shared-folder answers of almost 1 MiB each, far more in all than the output cap.
    StringList dir = list({ "XTELL", "bob", "DIR", "\\games\\" });
    for (int i = 0; i < 15; ++i)
        dir.append(std::string(60000, 'r'));
    constexpr int answers = 20;
    std::thread sender([&] {
        for (int i = 0; i < answers; ++i)
            ASSERT_TRUE(alice.send(dir));
    });
    std::this_thread::sleep_for(300ms); // bob is not reading yet
    EXPECT_EQ(bob.next()->item(0), "LOGINOK");
    EXPECT_EQ(bob.next()->item(0), "ALLUSER");
    int received = 0;
    for (int i = 0; i < answers; ++i) {
        const auto m = bob.next(10s);
        received += m && m->item(0) == "XTELL" && m->count() == dir.count();
    }
    sender.join();
    EXPECT_EQ(received, answers);
    expectNothingMore(alice);
}

TEST_F(AttackTest, ReceiverThatNeverReadsIsDroppedAndItsSenderGoesOn)
{
    start();
    TestClient alice, slow;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(slow.connect(m_port, 4096));
    ASSERT_TRUE(slow.send(list({ "LOGIN", "bob", "pw-bob", "0" })));
    EXPECT_EQ(alice.next(), list({ "LOGIN", "bob", std::to_string(m_clock.unixNow()) }));
    const StringList chunk = list({ "XTELL", "bob", "DIR", "\\", std::string(60000, 'z') });
    std::atomic<bool> sent { false };
    std::thread sender([&] {
        for (int i = 0; i < 200; ++i)
            EXPECT_TRUE(alice.send(chunk));
        sent = true;
    });
    // Alice is held back once bob lags; bob is dropped 30 s (on the server's clock) after that.
    for (int i = 0; i < 50 && !sent; ++i) {
        std::this_thread::sleep_for(200ms);
        m_clock.advance(31s);
    }
    sender.join();
    EXPECT_EQ(alice.next(10s), list({ "LOGOUT", "bob" }));
    expectNothingMore(alice);
}

TEST_F(AttackTest, DatabaseLockHeldElsewhereDoesNotStallTheLoop)
{
    start();
    TestClient alice;
    ASSERT_TRUE(login(alice, "alice"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_dbPath.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    // A new installation number needs the write lock: its VERSION waits, nobody else does.
    TestClient fresh;
    ASSERT_TRUE(fresh.connect(m_port));
    ASSERT_TRUE(fresh.send(list({ "VERSION", "0" })));
    std::chrono::milliseconds worst { 0 };
    const auto until = Clock::now() + 1s;
    while (Clock::now() < until)
        worst = std::max(worst, roundTrip(alice, "alice"));
    EXPECT_LT(worst, 200ms);
    EXPECT_FALSE(fresh.next(10ms));
    ASSERT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const auto answer = fresh.next();
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->count(), 3);
    EXPECT_GT(std::stoll(answer->item(2).str()), 0);
}

TEST_F(AttackTest, NewInstallationNumbersAreLimitedPerNetworkToo)
{
    start();
    int handedOut = 0;
    // Four addresses of one /24, eight requests each: the network's 30 run out first.
    for (int host = 1; host <= 4; ++host) {
        for (int i = 0; i < 8; ++i) {
            const std::string number = installation("127.0.9." + std::to_string(host));
            handedOut += number != "0";
        }
    }
    EXPECT_EQ(handedOut, 30);
    EXPECT_NE(installation("127.0.10.1"), "0");
}

TEST_F(AttackTest, CarriageReturnsAndNulBytesAreNotRelayed)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    const std::string forged = std::string("hi\r-LOGOUT\r+carol\0!", 19);
    const std::string cleaned = "hi -LOGOUT +carol!";
    struct Case {
        StringList sent;
        StringList received;
    };
    const Case cases[] = {
        { list({ "TELL", "bob", forged }), list({ "TELL", "alice", cleaned }) },
        { list({ "BCAST", forged }), list({ "BCAST", "alice", cleaned }) },
        { list({ "XTELL", "bob", "DIR", forged }), list({ "XTELL", "alice", "DIR", cleaned }) },
        { list({ "MODCOMMENT", forged }), list({ "MODCOMMENT", "alice", cleaned }) },
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(alice.send(c.sent));
        EXPECT_EQ(bob.next(), c.received);
        m_clock.advance(1s);
    }
}

} // namespace
