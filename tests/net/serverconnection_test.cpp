#include "fakesocketport.h"
#include "itemsof.h"
#include "net/framing.h"
#include "net/messagelimits.h"
#include "net/serverconnection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = ConnectionEventKind;

class ServerConnectionTest : public testing::Test {
protected:
    std::unique_ptr<ServerConnection> open(
        int32_t connectResult = 0, size_t maxMessageLength = kMaxMessageLength)
    {
        socket->connectResult = connectResult;
        return ServerConnection::open(std::make_unique<FakeSocketPort>(socket), events,
            "server.example", 9292, maxMessageLength);
    }

    // The kinds of the queued events, oldest first, emptying the queue.
    std::vector<Kind> takeKinds()
    {
        std::vector<Kind> kinds;
        while (std::optional<ConnectionEvent> event = events.take())
            kinds.push_back(event->kind);
        return kinds;
    }

    std::shared_ptr<FakeSocketState> socket = std::make_shared<FakeSocketState>();
    ConnectionEventQueue events;
};

} // namespace

TEST_F(ServerConnectionTest, ConnectCompletingAtOnceIsReportedThroughTheQueue)
{
    auto connection = open(0);
    ASSERT_TRUE(connection);
    EXPECT_EQ(socket->host, "server.example");
    EXPECT_EQ(socket->port, 9292);
    const std::optional<ConnectionEvent> event = events.take();
    ASSERT_TRUE(event);
    EXPECT_EQ(*event, (ConnectionEvent { Kind::Connected, connection.get(), 0 }));
    EXPECT_TRUE(connection->isConnected());
    EXPECT_FALSE(connection->isFinished());
}

TEST_F(ServerConnectionTest, ConnectCompletingLater)
{
    auto connection = open(socketWouldBlock);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(connection->isConnected());
    socket->handler->connectCompleted(0);
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::Connected });
    EXPECT_TRUE(connection->isConnected());
}

TEST_F(ServerConnectionTest, ConnectFailing)
{
    {
        auto connection = open(10061);
        const std::optional<ConnectionEvent> event = events.take();
        ASSERT_TRUE(event);
        EXPECT_EQ(*event, (ConnectionEvent { Kind::ConnectFailed, connection.get(), 10061 }));
        EXPECT_TRUE(connection->isFinished());
        EXPECT_FALSE(connection->isConnected());
        EXPECT_EQ(socket->closeCalls, 1);
    }
    socket = std::make_shared<FakeSocketState>();
    auto connection = open(socketWouldBlock);
    socket->handler->connectCompleted(10060);
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::ConnectFailed });
    EXPECT_TRUE(connection->isFinished());
}

TEST_F(ServerConnectionTest, NoSocketMeansNoConnection)
{
    socket->createSucceeds = false;
    EXPECT_EQ(open(0), nullptr);
    EXPECT_FALSE(socket->alive);
    EXPECT_TRUE(events.empty());
}

TEST_F(ServerConnectionTest, QueueBatchesAndFlushSendsOnce)
{
    auto connection = open(0);
    connection->queue(StringList { "LOGIN", "a", "b", "0" });
    connection->queue(StringList { "NOP" });
    EXPECT_EQ(socket->sendCalls, 0);
    connection->flush();
    EXPECT_EQ(socket->sendCalls, 1);
    EXPECT_EQ(socket->sent, "+LOGIN\n+a\n+b\n-0\n-NOP\n");
    EXPECT_TRUE(connection->sendBuffer().empty());
    connection->flush(); // nothing left: no call
    EXPECT_EQ(socket->sendCalls, 1);
}

TEST_F(ServerConnectionTest, FlushKeepsWhatTheSocketDidNotTake)
{
    auto connection = open(0);
    socket->sendResults = { { 3, 0 }, { 0, socketWouldBlock }, { 100, 0 } };
    connection->queue(StringList { "BCAST", "hello" });
    connection->flush();
    EXPECT_EQ(connection->sendBuffer().view(), "AST\n-hello\n");
    connection->flush();
    EXPECT_EQ(connection->sendBuffer().view(), "AST\n-hello\n");
    EXPECT_FALSE(connection->isFinished());
    connection->flush();
    EXPECT_EQ(socket->sent, "+BCAST\n-hello\n");
    EXPECT_TRUE(connection->sendBuffer().empty());
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::Connected });
}

TEST_F(ServerConnectionTest, FlushWaitsForTheConnect)
{
    auto connection = open(socketWouldBlock);
    connection->queue(StringList { "VERSION", "7" });
    connection->flush();
    EXPECT_EQ(socket->sendCalls, 0);
    socket->handler->connectCompleted(0);
    connection->flush();
    EXPECT_EQ(socket->sent, "+VERSION\n-7\n");
}

TEST_F(ServerConnectionTest, SendErrorEndsTheConnection)
{
    auto connection = open(0);
    socket->sendResults = { { 0, 10054 } };
    connection->queue(StringList { "NOP" });
    connection->flush();
    EXPECT_TRUE(connection->isFinished());
    EXPECT_FALSE(connection->isConnected());
    EXPECT_EQ(socket->closeCalls, 1);
    events.take();
    const std::optional<ConnectionEvent> event = events.take();
    ASSERT_TRUE(event);
    EXPECT_EQ(*event, (ConnectionEvent { Kind::SendError, connection.get(), 10054 }));
    connection->flush(); // finished: sends nothing more
    EXPECT_EQ(socket->sendCalls, 1);
}

TEST_F(ServerConnectionTest, ReceivedIsPostedOncePerReadThatLeavesAMessage)
{
    auto connection = open(0);
    takeKinds();
    socket->arrive("+LOGIN\n+bob\n-100\n-NOP\n");
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::Received });
    EXPECT_EQ(connection->completeMessages(), 2);
    socket->arrive("+BCAST\n+x");
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::Received }); // two still buffered
    StringList message;
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(itemsOf(message), (std::vector<std::string> { "LOGIN", "bob", "100" }));
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(itemsOf(message), (std::vector<std::string> { "NOP" }));
    EXPECT_EQ(connection->nextMessage(message), 0);
    socket->arrive("\n");
    EXPECT_EQ(takeKinds(), std::vector<Kind> {}); // a line, but no complete message
    socket->arrive("-y\r\n");
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::Received });
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(itemsOf(message), (std::vector<std::string> { "BCAST", "x", "y" }));
}

TEST_F(ServerConnectionTest, ReadsAtMostOneChunkPerNotification)
{
    auto connection = open(0);
    takeKinds();
    const std::string wire = frameMessage(StringList { "XTELL", std::string(9000, 'r') });
    socket->reads.push_back({ wire, 0 });
    socket->handler->dataAvailable();
    EXPECT_EQ(socket->receiveCalls, 1);
    EXPECT_EQ(connection->bufferedLines(), 1); // "+XTELL"
    EXPECT_EQ(connection->receiveBuffer().length(), 4096 - 7);
    socket->handler->dataAvailable();
    socket->handler->dataAvailable();
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::Received });
    StringList message;
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(message.item(1).length(), 9000);
    // A drained connection keeps at most one block per direction.
    EXPECT_LE(connection->receiveBuffer().capacity(), 2048);
}

TEST_F(ServerConnectionTest, OrderlyShutdownByThePeer)
{
    auto connection = open(0);
    takeKinds();
    socket->arrive("-BYE\n");
    socket->arrive(""); // a read of 0 bytes
    EXPECT_EQ(takeKinds(), (std::vector<Kind> { Kind::Received, Kind::Closed }));
    EXPECT_TRUE(connection->isFinished());
    EXPECT_FALSE(connection->isConnected());
    EXPECT_EQ(socket->closeCalls, 1);
    // Messages that arrived before the close are still there to take.
    StringList message;
    EXPECT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(message.item(0), "BYE");
}

TEST_F(ServerConnectionTest, ShutdownBeforeTheConnectPostsNothing)
{
    auto connection = open(socketWouldBlock);
    socket->arrive("");
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(connection->isFinished());
}

TEST_F(ServerConnectionTest, PeerCloseDeliversWhatArrivedFirst)
{
    auto connection = open(0);
    takeKinds();
    socket->reads.push_back({ "-A\n" + std::string(5000, 'x') + "\n-B\n", 0 });
    socket->handler->peerClosed();
    EXPECT_EQ(takeKinds(), (std::vector<Kind> { Kind::Received, Kind::Received, Kind::Closed }));
    StringList message;
    EXPECT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(message.item(0), "A");
    // The long line has no framing byte: the error shows once "-B" completes a message.
    EXPECT_EQ(connection->nextMessage(message), 0);
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::ProtocolError });
}

TEST_F(ServerConnectionTest, ReceiveErrors)
{
    auto connection = open(0);
    takeKinds();
    socket->reads.push_back({ "", socketWouldBlock });
    socket->handler->dataAvailable();
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(connection->isConnected());
    socket->reads.push_back({ "", 10054 });
    socket->handler->dataAvailable();
    const std::optional<ConnectionEvent> event = events.take();
    ASSERT_TRUE(event);
    EXPECT_EQ(*event, (ConnectionEvent { Kind::ReceiveError, connection.get(), 10054 }));
    EXPECT_TRUE(connection->isFinished());
    EXPECT_FALSE(connection->isConnected());
    EXPECT_EQ(socket->closeCalls, 1);
    EXPECT_EQ(socket->handler, nullptr); // a closed port reports nothing more
}

TEST_F(ServerConnectionTest, ProtocolErrorEndsTheConnection)
{
    auto connection = open(0);
    takeKinds();
    socket->arrive("-A\n\n-B\n-C\n");
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::Received });
    StringList message;
    EXPECT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(connection->nextMessage(message), 0);
    EXPECT_EQ(takeKinds(), std::vector<Kind> { Kind::ProtocolError });
    EXPECT_TRUE(connection->isFinished());
    EXPECT_FALSE(connection->isConnected());
    EXPECT_EQ(socket->closeCalls, 1);
    // The rest is dropped, and the error is reported once.
    EXPECT_EQ(connection->nextMessage(message), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(ServerConnectionTest, LinesAndMessagesBeyondTheLimitsAreProtocolErrors)
{
    const std::string fullLine(kMaxLineLength, 'x'); // the longest line, without its line feed
    const auto repeated = [](const std::string& line, size_t times) {
        std::string bytes;
        for (size_t i = 0; i < times; ++i)
            bytes += line;
        return bytes;
    };
    // Lines of 64 KiB + 1 bytes with their line feeds: 16 of them pass 1 MiB.
    const std::string continued = "+" + fullLine.substr(1) + "\n";
    struct Case {
        const char* what;
        std::string bytes;
        Kind last;
    };
    const Case cases[] = {
        { "longest line", "-" + fullLine.substr(1) + "\n", Kind::Received },
        { "line one byte too long", "-" + fullLine + "\n", Kind::ProtocolError },
        { "unfinished line too long", "+" + fullLine, Kind::ProtocolError },
        { "largest message", repeated(continued, 15) + "-" + std::string(65519, 'y') + "\n",
            Kind::Received },
        { "message too long", repeated(continued, 15) + "-" + std::string(65520, 'y') + "\n",
            Kind::ProtocolError },
        { "many lines without an end", repeated(continued, 17), Kind::ProtocolError },
    };
    for (const Case& c : cases) {
        socket = std::make_shared<FakeSocketState>();
        auto connection = open(0, 1024 * 1024);
        takeKinds();
        // Arriving as a socket hands it over, one read at a time.
        for (size_t at = 0; at < c.bytes.size() && !connection->isFinished();
             at += ServerConnection::receiveChunk)
            socket->arrive(c.bytes.substr(at, ServerConnection::receiveChunk));
        const std::vector<Kind> kinds = takeKinds();
        ASSERT_FALSE(kinds.empty()) << c.what;
        EXPECT_EQ(kinds.back(), c.last) << c.what;
        EXPECT_EQ(connection->isFinished(), c.last == Kind::ProtocolError) << c.what;
        StringList message;
        EXPECT_EQ(connection->nextMessage(message), c.last == Kind::Received ? 1 : 0) << c.what;
    }
}

TEST_F(ServerConnectionTest, DeletingClosesTheSocketAndDropsItsEvents)
{
    auto connection = open(0);
    auto other = ServerConnection::open(
        std::make_unique<FakeSocketPort>(std::make_shared<FakeSocketState>()), events, "h", 9293);
    socket->arrive("-NOP\n");
    connection.reset();
    EXPECT_EQ(socket->closeCalls, 1);
    EXPECT_FALSE(socket->alive);
    // Only the other connection's event (its own connect, which blocked) is left: none.
    EXPECT_TRUE(events.empty());
    other.reset();
}

TEST_F(ServerConnectionTest, DeletingAClosedConnectionDoesNotCloseAgain)
{
    auto connection = open(0);
    socket->arrive("");
    EXPECT_EQ(socket->closeCalls, 1);
    connection.reset();
    EXPECT_EQ(socket->closeCalls, 1);
}

TEST(ConnectionEventQueue, WakesOncePerEventAndKeepsOrder)
{
    ConnectionEventQueue queue;
    int wakes = 0;
    queue.setWakeUp([&wakes] { ++wakes; });
    auto* a = reinterpret_cast<ServerConnection*>(0x10);
    auto* b = reinterpret_cast<ServerConnection*>(0x20);
    queue.post({ ConnectionEventKind::Connected, a });
    queue.post({ ConnectionEventKind::Connected, b });
    queue.post({ ConnectionEventKind::Received, a });
    queue.post({ ConnectionEventKind::Closed, b });
    EXPECT_EQ(wakes, 4);
    queue.discard(a);
    EXPECT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue.take(), (ConnectionEvent { ConnectionEventKind::Connected, b }));
    EXPECT_EQ(queue.take(), (ConnectionEvent { ConnectionEventKind::Closed, b }));
    EXPECT_EQ(queue.take(), std::nullopt);
}
