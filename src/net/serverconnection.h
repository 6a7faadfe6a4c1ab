#pragma once

#include "net/bytebuffer.h"
#include "net/connectioneventqueue.h"
#include "net/messagelimits.h"
#include "net/messagereader.h"
#include "net/socketport.h"
#include "net/stringlist.h"

#include <cstdint>
#include <memory>
#include <string>

// One connection to the sharing server: send buffering, receive buffering and the line framing
// of messages over a SocketPort. It reports to its owner only through the owner's event queue,
// so no owner code runs inside a socket callback.
//
// Sends are batched: queue() only frames into the send buffer, and flush() (called by the
// owner's timer) hands the whole buffer to the socket once. After a close or an error the
// connection is finished: it sends nothing more, but keeps its buffered messages until deleted.
class ServerConnection final : private SocketHandler {
public:
    static constexpr int32_t receiveChunk = 4096;

    // Makes the socket and starts connecting to host:port. A connect that completes or fails at
    // once is reported like a later one, through the queue. Null when the port cannot make a
    // socket. The queue must outlive the connection. A received message longer than
    // maxMessageLength ends the connection with ProtocolError.
    static std::unique_ptr<ServerConnection> open(std::unique_ptr<SocketPort> port,
        ConnectionEventQueue& events, const std::string& host, uint16_t portNumber,
        size_t maxMessageLength = kMaxMessageLength);
    // Closes the socket if it is still open and drops this connection's queued events.
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // Frames the message into the send buffer; no socket call. False when the buffer cannot grow.
    bool queue(const StringList& message);
    // Hands the whole send buffer to the socket once, if connected; the bytes it takes leave the
    // buffer. Would-block is tried again at the next flush; any other failure ends the connection
    // with SendError.
    void flush();
    // Moves the next complete message into out and returns 1, or returns 0 when there is none.
    // A malformed line met on the way ends the connection with ProtocolError.
    int32_t nextMessage(StringList& out);

    bool isConnected() const { return m_connected; }
    bool isFinished() const { return m_finished; }
    const ByteBuffer& sendBuffer() const { return m_send; }
    // Received bytes not yet cut into lines.
    const ByteBuffer& receiveBuffer() const { return m_reader.tail(); }
    int32_t bufferedLines() const { return m_reader.bufferedLines(); }
    int32_t completeMessages() const { return m_reader.completeMessages(); }

private:
    ServerConnection(
        std::unique_ptr<SocketPort> port, ConnectionEventQueue& events, size_t maxMessageLength);

    void connectCompleted(int32_t error) override;
    void dataAvailable() override;
    void peerClosed() override;

    // One read of at most receiveChunk bytes: the bytes read, 0 at the end of the stream, -1
    // when nothing was read.
    int32_t receiveOnce();
    void endOfStream();
    void fail(ConnectionEventKind kind, int32_t error);
    void closeSocket();
    void post(ConnectionEventKind kind, int32_t error = 0);

    ByteBuffer m_send;
    MessageLimits m_limits;
    MessageReader m_reader;
    bool m_connected = false;
    bool m_finished = false;
    bool m_socketOpen = false;
    std::unique_ptr<SocketPort> m_port;
    ConnectionEventQueue& m_events;
};
