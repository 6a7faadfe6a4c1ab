#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A connection's number within one server run: 1, 2, 3, ... in the order of acceptance; never
// reused, so a late event for a closed connection cannot reach a newer one.
using ConnectionId = std::uint64_t;

enum class PortKind {
    Main, // logins, version checks and everything a logged-in user does
    Presence, // installation presence: LOGIN with the installation number, then HC now and then
};

// What the network layer reports to the protocol handling. Events arrive one at a time on the
// server's single event loop, never from inside a call into ConnectionControl.
class ConnectionEvents {
public:
    virtual ~ConnectionEvents() = default;
    virtual void connectionOpened(ConnectionId id, PortKind port, const std::string& address) = 0;
    virtual void bytesReceived(ConnectionId id, std::string_view bytes) = 0;
    // The connection is gone (peer close, error, or a close the handling asked for).
    virtual void connectionClosed(ConnectionId id) = 0;
    // The connection's pending output fell to what ConnectionControl::watchOutput asked for.
    virtual void outputDrained(ConnectionId id) = 0;
};
