#pragma once

#include <cstdint>
#include <string>

// The "try again later" status of a socket call: not an error. Every other non-zero code is a
// failure, in the port's own numbering.
inline constexpr int32_t socketWouldBlock = 10035;

// The outcome of one send or receive: error 0 and the bytes moved (for a receive, 0 bytes means
// the peer shut the connection down in order), or an error code (socketWouldBlock included).
struct SocketIo {
    int32_t bytes = 0;
    int32_t error = 0;
};

// What a socket reports, on the thread that owns it.
class SocketHandler {
public:
    // The connect started by SocketPort::connect finished: error 0 on success.
    virtual void connectCompleted(int32_t error) = 0;
    // Bytes (or an end of stream, or an error) wait to be received.
    virtual void dataAvailable() = 0;
    // The peer closed the connection; bytes that arrived before may still wait to be received.
    virtual void peerClosed() = 0;

protected:
    ~SocketHandler() = default;
};

// A non-blocking stream socket, the one thing ServerConnection needs from the platform. The
// desktop program's port wraps a QTcpSocket on the GUI thread; tests use a scripted fake. After
// close() the port reports nothing more.
class SocketPort {
public:
    virtual ~SocketPort() = default;

    // Where the port reports; set before create.
    virtual void setHandler(SocketHandler* handler) = 0;
    // Makes the stream socket; false when the platform has none to give.
    virtual bool create() = 0;
    // Starts connecting: 0 when connected at once, socketWouldBlock when the completion is
    // reported later through connectCompleted, any other value is an error at once.
    virtual int32_t connect(const std::string& host, uint16_t port) = 0;
    // Hands bytes to the socket: how many it took, or an error (socketWouldBlock when it can take
    // none now).
    virtual SocketIo send(const char* bytes, int32_t length) = 0;
    // Reads at most capacity bytes.
    virtual SocketIo receive(char* buffer, int32_t capacity) = 0;
    virtual void close() = 0;
};
