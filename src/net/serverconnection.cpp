#include "net/serverconnection.h"

#include "net/framing.h"

#include <algorithm>

std::unique_ptr<ServerConnection> ServerConnection::open(std::unique_ptr<SocketPort> port,
    ConnectionEventQueue& events, const std::string& host, uint16_t portNumber,
    size_t maxMessageLength)
{
    if (!port)
        return nullptr;
    std::unique_ptr<ServerConnection> connection(
        new ServerConnection(std::move(port), events, maxMessageLength));
    connection->m_port->setHandler(connection.get());
    if (!connection->m_port->create())
        return nullptr;
    connection->m_socketOpen = true;
    const int32_t result = connection->m_port->connect(host, portNumber);
    if (result != socketWouldBlock)
        connection->connectCompleted(result);
    return connection;
}

ServerConnection::ServerConnection(
    std::unique_ptr<SocketPort> port, ConnectionEventQueue& events, size_t maxMessageLength)
    : m_limits(0, maxMessageLength)
    , m_port(std::move(port))
    , m_events(events)
{ }

ServerConnection::~ServerConnection()
{
    closeSocket();
    m_port->setHandler(nullptr);
    m_events.discard(this);
}

bool ServerConnection::queue(const StringList& message)
{
    return frameMessage(message, m_send);
}

void ServerConnection::flush()
{
    if (!m_connected || m_send.empty())
        return;
    const SocketIo sent = m_port->send(m_send.data(), m_send.length());
    if (sent.error == 0) {
        m_send.consume(std::clamp(sent.bytes, 0, m_send.length()));
        return;
    }
    if (sent.error != socketWouldBlock)
        fail(ConnectionEventKind::SendError, sent.error);
}

int32_t ServerConnection::nextMessage(StringList& out)
{
    switch (m_reader.next(out)) {
    case MessageReader::Result::Message:
        return 1;
    case MessageReader::Result::ProtocolError:
        fail(ConnectionEventKind::ProtocolError, 0);
        return 0;
    case MessageReader::Result::NoMessage:
        break;
    }
    return 0;
}

void ServerConnection::connectCompleted(int32_t error)
{
    if (!m_socketOpen)
        return;
    if (error == 0) {
        m_connected = true;
        post(ConnectionEventKind::Connected);
        return;
    }
    m_finished = true;
    closeSocket();
    post(ConnectionEventKind::ConnectFailed, error);
}

void ServerConnection::dataAvailable()
{
    if (m_socketOpen)
        receiveOnce();
}

void ServerConnection::peerClosed()
{
    // Bytes that arrived before the close are still delivered, then the end of the stream.
    while (m_socketOpen && receiveOnce() > 0) { }
    if (m_socketOpen)
        endOfStream();
}

int32_t ServerConnection::receiveOnce()
{
    char chunk[receiveChunk];
    const SocketIo received = m_port->receive(chunk, receiveChunk);
    if (received.error != 0) {
        if (received.error != socketWouldBlock)
            fail(ConnectionEventKind::ReceiveError, received.error);
        return -1;
    }
    if (received.bytes <= 0) {
        endOfStream();
        return 0;
    }
    const int32_t length = std::min(received.bytes, receiveChunk);
    const std::string_view bytes(chunk, static_cast<size_t>(length));
    // A server sending more than a line or message may hold breaks the protocol, as the server
    // would judge a client doing the same.
    if (m_limits.feed(bytes) != MessageLimits::Status::Ok || !m_reader.feed(bytes)) {
        fail(ConnectionEventKind::ProtocolError, 0);
        return -1;
    }
    if (m_reader.completeMessages() > 0)
        post(ConnectionEventKind::Received);
    return length;
}

void ServerConnection::endOfStream()
{
    if (m_connected) {
        m_connected = false;
        post(ConnectionEventKind::Closed);
    }
    m_finished = true;
    closeSocket();
}

void ServerConnection::fail(ConnectionEventKind kind, int32_t error)
{
    m_finished = true;
    m_connected = false;
    closeSocket();
    post(kind, error);
}

void ServerConnection::closeSocket()
{
    if (!m_socketOpen)
        return;
    m_socketOpen = false;
    m_port->close();
}

void ServerConnection::post(ConnectionEventKind kind, int32_t error)
{
    m_events.post(ConnectionEvent { kind, this, error });
}
