#include "net/commanddispatcher.h"

#include "net/commandtable.h"
#include "net/serverconnection.h"

#include <algorithm>

bool CommandDispatcher::setHandler(int32_t id, Handler handler)
{
    if (id < 0 || id >= messageIdLimit)
        return false;
    m_handlers[static_cast<size_t>(id)] = std::move(handler);
    m_takers[static_cast<size_t>(id)] = nullptr;
    return true;
}

bool CommandDispatcher::setTakingHandler(int32_t id, TakingHandler handler)
{
    if (id < 0 || id >= messageIdLimit)
        return false;
    m_takers[static_cast<size_t>(id)] = std::move(handler);
    m_handlers[static_cast<size_t>(id)] = nullptr;
    return true;
}

bool CommandDispatcher::hasHandler(int32_t id) const
{
    return id >= 0 && id < messageIdLimit
        && (m_handlers[static_cast<size_t>(id)] || m_takers[static_cast<size_t>(id)]);
}

int32_t CommandDispatcher::dispatch(const std::function<ServerConnection*()>& currentConnection)
{
    int32_t taken = 0;
    StringList message;
    for (;;) {
        ServerConnection* connection = currentConnection();
        if (!connection || connection->nextMessage(message) == 0)
            break;
        ++taken;
        if (lookupCommand(message.item(0)) < 0)
            continue;
        m_stopBatch = false;
        // The message is handed over; the next nextMessage fills it afresh.
        handle(std::move(message));
        if (m_stopBatch)
            break;
    }
    return taken;
}

bool CommandDispatcher::handle(const StringList& message)
{
    const int32_t id = lookupCommand(message.item(0));
    if (m_takers[static_cast<size_t>(std::max(id, 0))])
        return handle(StringList(message));
    if (!hasHandler(id))
        return false;
    const Handler handler = m_handlers[static_cast<size_t>(id)];
    handler(message);
    return true;
}

bool CommandDispatcher::handle(StringList&& message)
{
    const int32_t id = lookupCommand(message.item(0));
    if (!hasHandler(id))
        return false;
    // Copies, so that a handler replacing its own entry does not destroy itself while running.
    if (const TakingHandler taker = m_takers[static_cast<size_t>(id)]) {
        taker(std::move(message));
        return true;
    }
    const Handler handler = m_handlers[static_cast<size_t>(id)];
    handler(message);
    return true;
}
