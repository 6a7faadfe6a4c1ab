#include "net/framing.h"
#include "net/outgoingmessages.h"
#include "net/serverconnection.h"
#include "platform/qtsocketport.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

using Kind = ConnectionEventKind;

// Collects the connection's events while the Qt event loop runs.
class EventLog {
public:
    explicit EventLog(ConnectionEventQueue& queue)
        : m_queue(queue)
    { }
    // Runs the event loop until an event of this kind has arrived (or 5 seconds passed).
    bool waitFor(Kind kind)
    {
        const bool arrived = QTest::qWaitFor(
            [&] {
                while (std::optional<ConnectionEvent> event = m_queue.take())
                    kinds.push_back(event->kind);
                return std::count(kinds.begin(), kinds.end(), kind) > m_seen[kind];
            },
            5000);
        if (arrived)
            ++m_seen[kind];
        return arrived;
    }
    std::vector<Kind> kinds;

private:
    ConnectionEventQueue& m_queue;
    std::map<Kind, long> m_seen; // events of each kind already waited for
};

} // namespace

TEST(QtSocketPort, TalksToALoopbackServer)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    ConnectionEventQueue events;
    EventLog log(events);
    auto connection = ServerConnection::open(
        std::make_unique<QtSocketPort>(), events, "127.0.0.1", server.serverPort());
    ASSERT_TRUE(connection);
    ASSERT_TRUE(log.waitFor(Kind::Connected));
    EXPECT_TRUE(connection->isConnected());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, 5000));
    QTcpSocket* peer = server.nextPendingConnection();
    ASSERT_NE(peer, nullptr);

    // Sending: nothing leaves before the flush, then the exact bytes.
    connection->queue(loginMessage("a", "b"));
    QTest::qWait(20);
    EXPECT_EQ(peer->bytesAvailable(), 0);
    connection->flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= 16; }, 5000));
    EXPECT_EQ(peer->readAll(), QByteArray("+LOGIN\n+a\n+b\n-0\n"));

    // Receiving: several messages, one larger than several chunks, CR LF line ends.
    const std::string big(20000, 'r');
    peer->write("+BCAST\r\n+alice\n-hi\n-NOP\n");
    peer->write(frameMessage(StringList { "XTELL", "bob", "DIR", big }).c_str());
    ASSERT_TRUE(log.waitFor(Kind::Received));
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection->completeMessages() == 3; }, 5000));
    StringList message;
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(message, (StringList { "BCAST", "alice", "hi" }));
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(message, StringList { "NOP" });
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(message.item(3), big);

    // The peer's close comes after what it sent last.
    peer->write("-LOGOUT\n");
    peer->disconnectFromHost();
    ASSERT_TRUE(log.waitFor(Kind::Closed));
    EXPECT_TRUE(connection->isFinished());
    EXPECT_FALSE(connection->isConnected());
    ASSERT_EQ(connection->nextMessage(message), 1);
    EXPECT_EQ(message, StringList { "LOGOUT" });
    const auto closed = std::find(log.kinds.begin(), log.kinds.end(), Kind::Closed);
    EXPECT_EQ(std::find(closed, log.kinds.end(), Kind::Received), log.kinds.end());
}

TEST(QtSocketPort, ClosingByTheClientDeliversWhatWasSent)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    ConnectionEventQueue events;
    EventLog log(events);
    auto connection = ServerConnection::open(
        std::make_unique<QtSocketPort>(), events, "127.0.0.1", server.serverPort());
    ASSERT_TRUE(log.waitFor(Kind::Connected));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, 5000));
    QTcpSocket* peer = server.nextPendingConnection();
    connection->queue(nopMessage());
    connection->flush();
    connection.reset();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(peer->readAll(), QByteArray("-NOP\n"));
    EXPECT_TRUE(events.empty());
}

TEST(QtSocketPort, RefusedConnectFails)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const quint16 port = server.serverPort();
    server.close();
    ConnectionEventQueue events;
    EventLog log(events);
    auto connection
        = ServerConnection::open(std::make_unique<QtSocketPort>(), events, "127.0.0.1", port);
    ASSERT_TRUE(connection);
    ASSERT_TRUE(log.waitFor(Kind::ConnectFailed));
    EXPECT_TRUE(connection->isFinished());
    EXPECT_FALSE(connection->isConnected());
}
