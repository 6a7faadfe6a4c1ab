#pragma once

#include "net/connectionevent.h"

#include <deque>
#include <functional>
#include <optional>

// The owner's queue of connection events: socket callbacks only post here, so that no handler
// ever runs inside a socket callback. The owner takes one event per wake-up on its own thread,
// as it would take one posted window message, so events keep their order even when a handler
// runs a nested event loop (a modal dialog). Single-threaded: post and take on the same thread.
class ConnectionEventQueue {
public:
    // Called once for every posted event; the owner answers by taking one event later, from its
    // own event loop, never from inside the call.
    void setWakeUp(std::function<void()> wakeUp) { m_wakeUp = std::move(wakeUp); }

    void post(const ConnectionEvent& event);
    // The oldest event, or nothing when the queue is empty.
    std::optional<ConnectionEvent> take();
    // Drops the events of a connection that is being deleted, so that none names a dead object.
    void discard(const ServerConnection* connection);

    bool empty() const { return m_events.empty(); }
    size_t size() const { return m_events.size(); }

private:
    std::deque<ConnectionEvent> m_events;
    std::function<void()> m_wakeUp;
};
