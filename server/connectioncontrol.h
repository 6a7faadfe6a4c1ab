#pragma once

#include "server/connectionevents.h"

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
};
