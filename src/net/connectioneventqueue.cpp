#include "net/connectioneventqueue.h"

#include <algorithm>

void ConnectionEventQueue::post(const ConnectionEvent& event)
{
    m_events.push_back(event);
    if (m_wakeUp)
        m_wakeUp();
}

std::optional<ConnectionEvent> ConnectionEventQueue::take()
{
    if (m_events.empty())
        return std::nullopt;
    ConnectionEvent event = m_events.front();
    m_events.pop_front();
    return event;
}

void ConnectionEventQueue::discard(const ServerConnection* connection)
{
    std::erase_if(m_events,
        [connection](const ConnectionEvent& event) { return event.connection == connection; });
}
