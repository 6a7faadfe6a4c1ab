#pragma once

#include "net/messageid.h"
#include "net/stringlist.h"

#include <array>
#include <cstdint>
#include <functional>

class ServerConnection;

// The command handler table and the dispatch of received messages to it: each message's word is
// looked up in the command table and its id's handler is called with the whole message. Words
// that are not in the table, and ids without a handler, are dropped.
class CommandDispatcher {
public:
    using Handler = std::function<void(const StringList& message)>;
    // A handler that takes the message over instead of reading it, so that a long one (a listing
    // of many records, kept while it is applied) is never copied.
    using TakingHandler = std::function<void(StringList&& message)>;

    // Sets the handler for a command id (an empty handler removes it). Ids outside the table are
    // refused. Each id has one handler: setting either kind replaces the other.
    bool setHandler(int32_t id, Handler handler);
    bool setTakingHandler(int32_t id, TakingHandler handler);
    bool hasHandler(int32_t id) const;

    // Called by a handler (after it closed the connection, say): the batch being dispatched ends
    // once that handler returns.
    void stopBatch() { m_stopBatch = true; }
    bool batchStopped() const { return m_stopBatch; }

    // Takes and handles the complete messages of the connection that currentConnection returns,
    // asked again before every message, since a handler may delete it. Ends when there is no
    // connection, no complete message, or a handler stopped the batch. Returns the number of
    // messages taken.
    int32_t dispatch(const std::function<ServerConnection*()>& currentConnection);
    // Handles one message; false when its word is unknown or has no handler. A taking handler
    // gets a copy of it, or the message itself when it is handed over.
    bool handle(const StringList& message);
    bool handle(StringList&& message);

private:
    std::array<Handler, messageIdLimit> m_handlers;
    std::array<TakingHandler, messageIdLimit> m_takers;
    bool m_stopBatch = false;
};
