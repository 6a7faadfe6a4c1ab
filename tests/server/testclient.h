#pragma once

#include "net/connectioneventqueue.h"
#include "net/serverconnection.h"
#include "net/stringlist.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

class PosixSocketPort;

// A loopback client for the server tests: the protocol core's ServerConnection over a POSIX
// socket, driven by poll with time limits so that a missing answer fails instead of hanging.
class TestClient {
public:
    TestClient() = default;
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    // receiveBuffer > 0 shrinks the socket's receive buffer (to make a slow reader); a source
    // address (127.x.y.z) makes the client come from another address.
    bool connect(std::uint16_t port, int receiveBuffer = 0, const std::string& source = {});
    void close();
    // Queues the message and flushes until the socket has taken all of it.
    bool send(const StringList& message);
    // Bytes straight onto the socket, framing or not (for malformed input).
    bool sendRaw(std::string_view bytes);
    // The next message, or nothing when none arrives in time or the connection ends.
    std::optional<StringList> next(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // True when the server closes the connection in time; messages before the end are dropped.
    bool waitClosed(std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    // Waits for the socket and lets the connection read once; false on timeout or when closed.
    bool readOnce(std::chrono::milliseconds timeout);

    ConnectionEventQueue m_events;
    std::unique_ptr<ServerConnection> m_connection;
    PosixSocketPort* m_port = nullptr; // owned by the connection
};

void PrintTo(const StringList& list, std::ostream* os);
StringList list(std::initializer_list<std::string_view> items);
