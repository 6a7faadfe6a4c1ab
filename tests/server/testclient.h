#pragma once

#include "net/messagereader.h"
#include "net/stringlist.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// A blocking loopback client for the server tests: messages go out through the protocol's
// framing and come back through its message reader.
class TestClient {
public:
    TestClient() = default;
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    // receiveBuffer > 0 shrinks the socket's receive buffer (to make a slow reader).
    bool connect(std::uint16_t port, int receiveBuffer = 0);
    void close();
    bool send(const StringList& message);
    bool sendRaw(std::string_view bytes);
    // The next message, or nothing when none arrives in time or the connection ends.
    std::optional<StringList> next(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // True when the server closes the connection in time; messages before the end are dropped.
    bool waitClosed(std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    // Reads once; false on end of stream, error or timeout.
    bool readSome(std::chrono::milliseconds timeout);

    int m_fd = -1;
    bool m_ended = false;
    MessageReader m_reader;
};

void PrintTo(const StringList& list, std::ostream* os);
StringList list(std::initializer_list<std::string_view> items);
