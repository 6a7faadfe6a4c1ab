#pragma once

#include "server/connectionevents.h"

#include <cstddef>
#include <string_view>

// What the protocol handling asks of the network layer. None of these calls reports back
// synchronously: a resulting close arrives later as ConnectionEvents::connectionClosed.
class ConnectionControl {
public:
    virtual ~ConnectionControl() = default;
    // Queues framed bytes. A connection whose unsent output grows past the cap is dropped.
    virtual void send(ConnectionId id, std::string_view bytes) = 0;
    // Closes once everything queued has been sent (or after a grace period).
    virtual void close(ConnectionId id) = 0;
    // While paused, nothing more is read from the connection.
    virtual void pauseReading(ConnectionId id, bool paused) = 0;
    // Closes at once and drops what is still queued (a connection shed to save memory, or one
    // that does not read).
    virtual void abort(ConnectionId id) = 0;
    // Bytes queued for the connection and not yet taken by its socket; and for all connections.
    virtual size_t pendingOutput(ConnectionId id) const = 0;
    virtual size_t pendingOutputTotal() const = 0;
    // Asks for one ConnectionEvents::outputDrained once the connection's pending output is at
    // most `bytes` (at once, from a later turn of the loop, when it already is).
    virtual void watchOutput(ConnectionId id, size_t bytes) = 0;
};
