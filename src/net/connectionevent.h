#pragma once

#include <cstdint>

class ServerConnection;

// What a connection tells its owner, queued in order (see ConnectionEventQueue).
enum class ConnectionEventKind {
    Connected, // the connect finished without error
    ConnectFailed, // the connect finished with an error
    Closed, // the peer closed the connection
    Received, // after a read, at least one complete message is buffered
    ReceiveError, // a read failed; error holds the code
    SendError, // a send failed; error holds the code
    ProtocolError, // a received line began with neither "+" nor "-"
};

struct ConnectionEvent {
    ConnectionEventKind kind;
    ServerConnection* connection;
    int32_t error = 0;

    friend bool operator==(const ConnectionEvent&, const ConnectionEvent&) = default;
};
