// The server's protocol on loopback sockets, seen from clients.
#include "serverfixture.h"

#include "server/accountstore.h"

#include "net/bytestring.h"
#include "net/framing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <vector>

namespace {

using namespace std::chrono_literals;

class SharingServerTest : public ServerFixture { };

std::int64_t number(const ByteString& item)
{
    return std::stoll(item.str());
}

TEST_F(SharingServerTest, LoginAnswersLoginOkAndTheUserListWithItself)
{
    start();
    TestClient alice;
    ASSERT_TRUE(alice.connect(m_port));
    ASSERT_TRUE(alice.send(list({ "LOGIN", "alice", "pw-alice", "0" })));
    const auto ok = alice.next();
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->item(0), "LOGINOK");
    ASSERT_EQ(ok->count(), 5);
    EXPECT_FALSE(ok->item(1).empty());
    for (int i = 2; i <= 4; ++i)
        EXPECT_GT(number(ok->item(i)), 0) << i;
    const auto users = alice.next();
    ASSERT_TRUE(users);
    EXPECT_EQ(*users, list({ "ALLUSER", "alice,," + std::to_string(m_clock.unixNow()) }));
}

struct Refusal {
    const char* label;
    StringList login;
    int code;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.label;
}

class LoginRefusalTest : public SharingServerTest, public testing::WithParamInterface<Refusal> { };

TEST_P(LoginRefusalTest, RefusesWithItsCodeAndAllowsAnotherTry)
{
    start();
    TestClient client;
    ASSERT_TRUE(client.connect(m_port));
    ASSERT_TRUE(client.send(GetParam().login));
    const auto answer = client.next();
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, list({ "LOGINNG", std::to_string(GetParam().code) }));
    // The connection stays usable until the login timeout.
    ASSERT_TRUE(client.send(list({ "LOGIN", "bob", "pw-bob", "0" })));
    const auto ok = client.next();
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->item(0), "LOGINOK");
}

INSTANTIATE_TEST_SUITE_P(Codes, LoginRefusalTest,
    testing::Values(Refusal { "unknown user", list({ "LOGIN", "zoe", "pw-zoe", "0" }), 5 },
        Refusal { "invalid name", list({ "LOGIN", "a b,c", "x", "0" }), 5 },
        Refusal { "wrong password", list({ "LOGIN", "alice", "pw-bob", "0" }), 6 },
        Refusal { "empty password", list({ "LOGIN", "alice", "", "0" }), 6 },
        Refusal { "no password item", list({ "LOGIN", "alice" }), 7 }),
    [](const testing::TestParamInfo<Refusal>& info) {
        std::string name = info.param.label;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST_F(SharingServerTest, DeniedAddressGetsCode8AndIsClosed)
{
    m_options.denied = { "10.0.0.0/8", "127.0.0.0/24" };
    start();
    TestClient client;
    ASSERT_TRUE(client.connect(m_port));
    ASSERT_TRUE(client.send(list({ "LOGIN", "alice", "pw-alice", "0" })));
    EXPECT_EQ(client.next(), list({ "LOGINNG", "8" }));
    EXPECT_TRUE(client.waitClosed());
}

TEST_F(SharingServerTest, UsersBeyondTheLimitGetCode10ButAReplacementIsAllowed)
{
    m_options.maxUsers = 2;
    start();
    TestClient alice, bob, carol, alice2;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    ASSERT_TRUE(carol.connect(m_port));
    ASSERT_TRUE(carol.send(list({ "LOGIN", "carol", "pw-carol", "0" })));
    EXPECT_EQ(carol.next(), list({ "LOGINNG", "10" }));
    ASSERT_TRUE(login(alice2, "alice"));
}

TEST_F(SharingServerTest, NoLoginWithinTheTimeoutGetsCode9AndIsClosed)
{
    m_options.loginTimeoutSeconds = 30;
    start();
    TestClient idle, early;
    ASSERT_TRUE(idle.connect(m_port));
    ASSERT_TRUE(early.connect(m_port));
    ASSERT_TRUE(login(early, "alice"));
    m_clock.advance(29s);
    expectNothingMore(idle); // not yet
    m_clock.advance(1s);
    EXPECT_EQ(idle.next(), list({ "LOGINNG", "9" }));
    EXPECT_TRUE(idle.waitClosed());
    expectNothingMore(early); // a logged-in user is not timed out
}

TEST_F(SharingServerTest, SecondLoginReplacesTheOlderSession)
{
    start();
    TestClient older, bob, newer;
    ASSERT_TRUE(login(older, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    EXPECT_EQ(older.next()->item(0), "LOGIN"); // bob arrived
    ASSERT_TRUE(newer.connect(m_port));
    ASSERT_TRUE(newer.send(list({ "LOGIN", "alice", "pw-alice", "0" })));
    EXPECT_EQ(newer.next()->item(0), "LOGINOK");
    const auto users = newer.next();
    ASSERT_TRUE(users);
    const std::string time = std::to_string(m_clock.unixNow());
    EXPECT_EQ(*users, list({ "ALLUSER", "bob,," + time, "alice,," + time }));

    EXPECT_EQ(older.next(), list({ "LOGOUT", "alice" }));
    EXPECT_TRUE(older.waitClosed());
    EXPECT_EQ(bob.next(), list({ "LOGOUT", "alice" }));
    EXPECT_EQ(bob.next(), list({ "LOGIN", "alice", time }));
    expectNothingMore(bob);
}

TEST_F(SharingServerTest, UserListEntriesAlwaysSplitIntoThreeFields)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    // A comma, a backslash, and the CP932 character 表 whose second byte is a backslash.
    const std::string comment = "a,b\\c\x95\x5C,";
    ASSERT_TRUE(alice.send(list({ "MODCOMMENT", comment })));
    EXPECT_EQ(alice.next(), list({ "MODCOMMENT", "alice", comment }));
    StringList users;
    ASSERT_TRUE(login(bob, "bob", &users));
    ASSERT_EQ(users.count(), 3);
    // Read back as the desktop program does: cut at every comma, then unescape the comment.
    StringList fields;
    ASSERT_EQ(fields.split(users.item(1).view(), ','), 3) << users.item(1).str();
    EXPECT_EQ(fields.item(0), "alice");
    ByteString shown = fields.item(1);
    shown.unescape();
    EXPECT_EQ(shown,
        std::string("a\x81\x43"
                    "b\\c\x95\x5C\x81\x43"));
    EXPECT_EQ(fields.item(2), std::to_string(m_clock.unixNow()));
}

TEST_F(SharingServerTest, ArrivalsDeparturesAndCommentsReachEveryone)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    const std::string time = std::to_string(m_clock.unixNow());
    EXPECT_EQ(alice.next(), list({ "LOGIN", "bob", time }));

    ASSERT_TRUE(bob.send(list({ "MODCOMMENT", "my games" })));
    EXPECT_EQ(alice.next(), list({ "MODCOMMENT", "bob", "my games" }));
    EXPECT_EQ(bob.next(), list({ "MODCOMMENT", "bob", "my games" }));

    bob.close();
    EXPECT_EQ(alice.next(), list({ "LOGOUT", "bob" }));
    expectNothingMore(alice);
}

TEST_F(SharingServerTest, LongCommentsAreCutAtACharacterBoundary)
{
    start();
    TestClient alice;
    ASSERT_TRUE(login(alice, "alice"));
    // 255 one-byte characters, then a two-byte one that would end past 256 bytes.
    const std::string comment = std::string(255, 'x') + "\x95\x5C" + "tail";
    ASSERT_TRUE(alice.send(list({ "MODCOMMENT", comment })));
    EXPECT_EQ(alice.next(), list({ "MODCOMMENT", "alice", std::string(255, 'x') }));
}

TEST_F(SharingServerTest, BroadcastGoesToEveryoneButTheSender)
{
    start();
    TestClient alice, bob, carol;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    ASSERT_TRUE(login(carol, "carol"));
    // The arrivals.
    alice.next();
    alice.next();
    bob.next();
    ASSERT_TRUE(bob.send(list({ "BCAST", "hello", "second line" })));
    EXPECT_EQ(alice.next(), list({ "BCAST", "bob", "hello", "second line" }));
    EXPECT_EQ(carol.next(), list({ "BCAST", "bob", "hello", "second line" }));
    expectNothingMore(bob);

    ASSERT_TRUE(bob.send(list({ "BCAST", std::string(20000, 'x') })));
    EXPECT_EQ(bob.next(), list({ "BCASTNG", "1" }));
    expectNothingMore(alice);
}

TEST_F(SharingServerTest, TellReachesTheUserAndIsConfirmedOrRefused)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    ASSERT_TRUE(bob.send(list({ "TELL", "alice", "hi", "there" })));
    EXPECT_EQ(alice.next(), list({ "TELL", "bob", "hi", "there" }));
    EXPECT_EQ(bob.next(), list({ "TELLOK" }));

    ASSERT_TRUE(bob.send(list({ "TELL", "carol", "anyone?" })));
    const auto refused = bob.next();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->item(0), "TELLNG");
    EXPECT_EQ(refused->item(1), "1");
    EXPECT_FALSE(refused->item(2).empty());
    expectNothingMore(alice);
}

TEST_F(SharingServerTest, XtellIsRelayedWithTheSenderInItemOne)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    ASSERT_TRUE(bob.send(list({ "XTELL", "alice", "GETDIR", "\\" })));
    EXPECT_EQ(alice.next(), list({ "XTELL", "bob", "GETDIR", "\\" }));
    ASSERT_TRUE(alice.send(list({ "XTELL", "bob", "DIR", "\\", "1,games,mine", "1,old," })));
    EXPECT_EQ(bob.next(), list({ "XTELL", "alice", "DIR", "\\", "1,games,mine", "1,old," }));

    // To nobody: dropped without an answer.
    ASSERT_TRUE(bob.send(list({ "XTELL", "carol", "GETDIR", "\\" })));
    expectNothingMore(bob);
}

TEST_F(SharingServerTest, ProfileReportsIdleSecondsSinceTheLastRealMessage)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    const std::string loginTime = std::to_string(m_clock.unixNow());
    ASSERT_TRUE(alice.send(list({ "MODCOMMENT", "hi" })));
    alice.next();
    ASSERT_TRUE(login(bob, "bob"));
    EXPECT_EQ(alice.next()->item(0), "LOGIN");
    m_clock.advance(7s);
    ASSERT_TRUE(bob.send(list({ "PROFILE", "alice" })));
    EXPECT_EQ(bob.next(), list({ "PROFILE", "alice", "hi", loginTime, "7" }));

    // Keep-alives are not activity; a chat line is.
    ASSERT_TRUE(alice.send(list({ "NOP" })));
    expectNothingMore(alice);
    m_clock.advance(3s);
    ASSERT_TRUE(bob.send(list({ "PROFILE", "alice" })));
    EXPECT_EQ(bob.next()->item(4), "10");
    ASSERT_TRUE(alice.send(list({ "BCAST", "back" })));
    EXPECT_EQ(bob.next()->item(0), "BCAST");
    m_clock.advance(2s);
    ASSERT_TRUE(bob.send(list({ "PROFILE", "alice" })));
    EXPECT_EQ(bob.next()->item(4), "2");

    ASSERT_TRUE(bob.send(list({ "PROFILE", "carol" })));
    EXPECT_EQ(bob.next()->item(0), "PROFILENG");
}

TEST_F(SharingServerTest, PingIsRelayedAndThePongCarriesThePeerDelay)
{
    start();
    TestClient alice, bob;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    alice.next();
    ASSERT_TRUE(bob.send(list({ "PING", "alice", "123456" })));
    const auto ping = alice.next();
    ASSERT_TRUE(ping);
    ASSERT_EQ(ping->count(), 4);
    EXPECT_EQ(ping->item(0), "PING");
    EXPECT_EQ(ping->item(1), "bob");
    EXPECT_EQ(ping->item(2), "123456");
    m_clock.advance(250ms);

    // A PONG that does not carry the PING back exactly is dropped.
    ASSERT_TRUE(alice.send(list({ "PONG", "bob", "123456", "999999" })));
    ASSERT_TRUE(alice.send(list({ "PONG", "bob", "123457", ping->item(3).view() })));
    expectNothingMore(alice);
    expectNothingMore(bob);

    ASSERT_TRUE(alice.send(list({ "PONG", "bob", "123456", ping->item(3).view() })));
    EXPECT_EQ(bob.next(), list({ "PONG", "alice", "250", "123456" }));
    // Answered once only.
    ASSERT_TRUE(alice.send(list({ "PONG", "bob", "123456", ping->item(3).view() })));
    expectNothingMore(alice);
    expectNothingMore(bob);

    ASSERT_TRUE(bob.send(list({ "PING", "carol", "1" })));
    EXPECT_EQ(bob.next()->item(0), "PINGNG");
}

TEST_F(SharingServerTest, VersionHandsOutAndKeepsInstallationNumbers)
{
    m_options.latestVersion = 31;
    start();
    TestClient first;
    ASSERT_TRUE(first.connect(m_port));
    ASSERT_TRUE(first.send(list({ "VERSION", "0" })));
    const auto fresh = first.next();
    ASSERT_TRUE(fresh);
    ASSERT_EQ(fresh->count(), 3);
    EXPECT_EQ(fresh->item(1), "31");
    const std::string number = fresh->item(2).str();
    EXPECT_GT(std::stoll(number), 0);

    // Known on a later connection (either port); unknown numbers get a new one.
    for (std::uint16_t port : { m_port, m_presencePort }) {
        TestClient again;
        ASSERT_TRUE(again.connect(port));
        ASSERT_TRUE(again.send(list({ "VERSION", number })));
        EXPECT_EQ(again.next(), list({ "VERSION", "31", number }));
    }
    TestClient stranger;
    ASSERT_TRUE(stranger.connect(m_port));
    ASSERT_TRUE(stranger.send(list({ "VERSION", "987654" })));
    const auto other = stranger.next();
    ASSERT_TRUE(other);
    EXPECT_NE(other->item(2), number);
    EXPECT_NE(other->item(2), "987654");
    // Asking again on the same connection does not use up another number.
    ASSERT_TRUE(stranger.send(list({ "VERSION", "0" })));
    EXPECT_EQ(stranger.next()->item(2), other->item(2));
}

TEST_F(SharingServerTest, NewInstallationNumbersAreLimitedPerAddress)
{
    start();
    const auto ask = [this](const std::string& claimed) {
        TestClient client;
        EXPECT_TRUE(client.connect(m_port));
        EXPECT_TRUE(client.send(list({ "VERSION", claimed })));
        const auto answer = client.next();
        return answer && answer->count() == 3 ? answer->item(2).str() : std::string("none");
    };
    std::vector<std::string> numbers;
    for (int i = 0; i < 10; ++i) {
        numbers.push_back(ask("0"));
        EXPECT_GT(std::stoll(numbers.back()), 0) << i;
    }
    // Beyond the limit: the number 0, for a fresh copy and for one claiming an unknown number.
    EXPECT_EQ(ask("0"), "0");
    EXPECT_EQ(ask("424242"), "0");
    // A known number is still confirmed.
    EXPECT_EQ(ask(numbers.front()), numbers.front());
    // An hour after the first ones, numbers are handed out again.
    m_clock.advance(std::chrono::hours(1));
    const std::string later = ask("0");
    stop();

    // The refused requests wrote nothing: the numbers follow on without a gap.
    EXPECT_EQ(std::stoll(later), std::stoll(numbers.back()) + 1);
    AccountStore store;
    ASSERT_TRUE(store.open(m_dbPath));
    EXPECT_EQ(store.newInstallation(m_clock.unixNow()), std::stoll(later) + 1);
}

TEST_F(SharingServerTest, BeforeLoginOnlyLoginVersionAndNopCount)
{
    start();
    TestClient alice, early;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(early.connect(m_port));
    for (const char* word : { "BCAST", "TELL", "XTELL", "MODCOMMENT", "PING", "PROFILE", "NOP" })
        ASSERT_TRUE(early.send(list({ word, "alice", "x", "y" })));
    expectNothingMore(early);
    expectNothingMore(alice);
}

TEST_F(SharingServerTest, MessagesBehindALoginWaitForItsVerdict)
{
    start();
    TestClient alice;
    ASSERT_TRUE(alice.connect(m_port));
    // All in one write: the comment must not be taken as a message before the login.
    std::string burst;
    for (const StringList& m : { list({ "LOGIN", "alice", "pw-alice", "0" }),
             list({ "MODCOMMENT", "first" }), list({ "PROFILE", "alice" }) })
        burst += frameMessage(m);
    ASSERT_TRUE(alice.sendRaw(burst));
    EXPECT_EQ(alice.next()->item(0), "LOGINOK");
    EXPECT_EQ(alice.next()->item(0), "ALLUSER");
    EXPECT_EQ(alice.next(), list({ "MODCOMMENT", "alice", "first" }));
    EXPECT_EQ(alice.next()->item(2), "first");
}

TEST_F(SharingServerTest, PresencePortTakesLoginAndKeepAlivesSilently)
{
    start();
    TestClient presence;
    ASSERT_TRUE(presence.connect(m_presencePort));
    ASSERT_TRUE(presence.send(list({ "LOGIN", "17" })));
    ASSERT_TRUE(presence.send(list({ "HC" })));
    ASSERT_TRUE(presence.send(list({ "SOMETHING", "else" })));
    expectNothingMore(presence);
    m_clock.advance(600s);
    ASSERT_TRUE(presence.send(list({ "HC" })));
    expectNothingMore(presence);

    TestClient silent;
    ASSERT_TRUE(silent.connect(m_presencePort));
    expectNothingMore(silent); // the server has seen it arrive
    m_clock.advance(31s);
    EXPECT_TRUE(silent.waitClosed());
}

} // namespace

namespace {

TEST_F(SharingServerTest, LogsConnectsLoginsLogoutsAndRefusals)
{
    char* text = nullptr;
    size_t length = 0;
    std::FILE* logFile = open_memstream(&text, &length);
    ASSERT_TRUE(logFile);
    m_log = ServerLog(logFile);
    start();
    {
        TestClient alice, intruder;
        ASSERT_TRUE(login(alice, "alice"));
        ASSERT_TRUE(intruder.connect(m_port));
        ASSERT_TRUE(intruder.send(list({ "LOGIN", "bob\rforged line", "nope", "0" })));
        EXPECT_EQ(intruder.next(), list({ "LOGINNG", "5" }));
        alice.close();
        expectNothingMore(intruder);
    }
    stop();
    std::fclose(logFile);
    const std::string log(text, length);
    std::free(text);
    EXPECT_NE(log.find("connect #1 from 127.0.0.1"), std::string::npos) << log;
    EXPECT_NE(log.find("login alice #1"), std::string::npos) << log;
    EXPECT_NE(
        log.find("login refused (5, unknown user) for 'bob\\x0dforged line' #2"), std::string::npos)
        << log;
    EXPECT_NE(log.find("logout alice #1 (disconnected)"), std::string::npos) << log;
    // Every line is one stamped event; a carriage return from the network cannot fake one.
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        EXPECT_NE(line.find("Z pavione-server: "), std::string::npos) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    }
}

} // namespace
