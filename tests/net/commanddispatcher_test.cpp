#include "fakesocketport.h"
#include "net/commanddispatcher.h"
#include "net/commandtable.h"
#include "net/serverconnection.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

TEST(CommandTable, ThirtySevenWordsSortedWithDistinctIds)
{
    const auto table = commandTable();
    ASSERT_EQ(table.size(), 37u);
    std::set<int32_t> ids;
    for (size_t i = 0; i < table.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(table[i - 1].word, table[i].word);
        }
        ids.insert(table[i].id);
        EXPECT_EQ(lookupCommand(table[i].word), table[i].id);
    }
    EXPECT_EQ(ids.size(), 37u);
}

TEST(CommandTable, Lookup)
{
    struct Case {
        std::string word;
        int32_t id;
    } cases[] = {
        { "MODCOMMENT", 0 },
        { "ALLUSER", 5 },
        { "ERROR", 24 },
        { "LOGIN", 44 },
        { "LOGINOK", 46 },
        { "UNSETVAROK", 78 },
        { "XTELL", 81 },
        { "login", -1 },
        { "Login", -1 },
        { "LOGIN ", -1 },
        { "LOGI", -1 },
        { "", -1 },
        { "NOP", -1 },
        { "VERSION", -1 },
        { std::string("LOGIN\0", 6), -1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(lookupCommand(c.word), c.id) << c.word;
}

namespace {

class DispatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        connection = ServerConnection::open(
            std::make_unique<FakeSocketPort>(socket), events, "server.example", 9292);
        for (const CommandEntry& entry : commandTable()) {
            dispatcher.setHandler(entry.id, [this](const StringList& message) {
                handled.push_back(message.item(0).str() + ":" + message.item(1).str());
            });
        }
    }

    ServerConnection* current() const { return connection.get(); }

    std::shared_ptr<FakeSocketState> socket = std::make_shared<FakeSocketState>();
    ConnectionEventQueue events;
    std::unique_ptr<ServerConnection> connection;
    CommandDispatcher dispatcher;
    std::vector<std::string> handled;
};

} // namespace

TEST_F(DispatchTest, HandlesEveryMessageInOrderAndDropsUnknownWords)
{
    dispatcher.setHandler(IdKill, nullptr);
    socket->arrive("+TELL\n-a\n-login\n+KILL\n-b\n-NOP\n+BCAST\n+c\n-x\n-LOGOUT\n");
    EXPECT_EQ(dispatcher.dispatch([this] { return current(); }), 6);
    EXPECT_EQ(handled, (std::vector<std::string> { "TELL:a", "BCAST:c", "LOGOUT:" }));
    EXPECT_EQ(connection->completeMessages(), 0);
}

TEST_F(DispatchTest, StopBatchLeavesTheRestBuffered)
{
    dispatcher.setHandler(IdLoginNg, [this](const StringList&) {
        handled.push_back("LOGINNG");
        dispatcher.stopBatch();
    });
    socket->arrive("+LOGINNG\n-5\n-ALLUSER\n-TELLOK\n");
    EXPECT_EQ(dispatcher.dispatch([this] { return current(); }), 1);
    EXPECT_EQ(handled, std::vector<std::string> { "LOGINNG" });
    EXPECT_EQ(connection->completeMessages(), 2);
    // The flag is cleared before each handler, so the next batch runs.
    EXPECT_EQ(dispatcher.dispatch([this] { return current(); }), 2);
    EXPECT_EQ(handled.size(), 3u);
}

TEST_F(DispatchTest, HandlerThatClosesTheConnectionEndsTheBatch)
{
    dispatcher.setHandler(IdLogout, [this](const StringList&) {
        handled.push_back("LOGOUT");
        connection.reset();
    });
    socket->arrive("-TELLOK\n-LOGOUT\n-TELLOK\n-TELLOK\n");
    EXPECT_EQ(dispatcher.dispatch([this] { return current(); }), 2);
    EXPECT_EQ(handled, (std::vector<std::string> { "TELLOK:", "LOGOUT" }));
    EXPECT_FALSE(socket->alive);
    EXPECT_TRUE(events.empty()); // the deleted connection's events went with it
}

TEST_F(DispatchTest, ProtocolErrorEndsTheBatch)
{
    socket->arrive("-TELLOK\nbad\n-TELLOK\n");
    while (events.take()) { }
    EXPECT_EQ(dispatcher.dispatch([this] { return current(); }), 1);
    EXPECT_EQ(handled.size(), 1u);
    const std::optional<ConnectionEvent> event = events.take();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, ConnectionEventKind::ProtocolError);
}

TEST_F(DispatchTest, NoConnectionNoMessages)
{
    EXPECT_EQ(dispatcher.dispatch([] { return nullptr; }), 0);
    EXPECT_EQ(dispatcher.dispatch([this] { return current(); }), 0);
}

TEST(CommandDispatcher, RefusesIdsOutsideTheTable)
{
    CommandDispatcher dispatcher;
    EXPECT_FALSE(dispatcher.setHandler(-1, [](const StringList&) {}));
    EXPECT_FALSE(dispatcher.setHandler(messageIdLimit, [](const StringList&) {}));
    EXPECT_FALSE(dispatcher.hasHandler(IdTell));
    EXPECT_FALSE(dispatcher.handle(StringList { "TELL" }));
    EXPECT_FALSE(dispatcher.handle(StringList {}));
}

TEST_F(DispatchTest, ATakingHandlerGetsTheMessageItselfAndEitherKindReplacesTheOther)
{
    std::vector<StringList> taken;
    dispatcher.setTakingHandler(
        IdXTell, [&taken](StringList&& message) { taken.push_back(std::move(message)); });
    EXPECT_TRUE(dispatcher.hasHandler(IdXTell));
    socket->arrive("+XTELL\n+bob\n+DIR\n+\\\n-1,a,b\n-XTELL\n");
    EXPECT_EQ(dispatcher.dispatch([this] { return current(); }), 2);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0], (StringList { "XTELL", "bob", "DIR", "\\", "1,a,b" }));
    EXPECT_EQ(taken[1], StringList { "XTELL" });
    // Handed a message it does not own, it takes a copy.
    const StringList kept { "XTELL", "carol" };
    EXPECT_TRUE(dispatcher.handle(kept));
    EXPECT_EQ(taken.back(), kept);
    EXPECT_EQ(kept.count(), 2);

    dispatcher.setHandler(IdXTell, [this](const StringList&) { handled.push_back("plain"); });
    EXPECT_TRUE(dispatcher.handle(StringList { "XTELL" }));
    EXPECT_EQ(taken.size(), 3u);
    EXPECT_EQ(handled, std::vector<std::string> { "plain" });
    dispatcher.setTakingHandler(IdXTell, nullptr);
    EXPECT_FALSE(dispatcher.hasHandler(IdXTell));
}
