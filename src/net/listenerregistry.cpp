#include "net/listenerregistry.h"

#include "net/notice.h"
#include "net/registeredlistener.h"

#include <algorithm>
#include <cassert>

ListenerRegistry::ListenerRegistry(NoticeListener* owner)
    : m_owner(owner)
{ }

ListenerRegistry::~ListenerRegistry()
{
    assert(!walking());
    m_walks = 0;
    destroyAll();
}

RegisteredListener& ListenerRegistry::add(std::unique_ptr<RegisteredListener> listener)
{
    assert(listener);
    listener->setOwnerRegistry(this);
    m_items.push_back(std::move(listener));
    return *m_items.back();
}

int32_t ListenerRegistry::indexOf(const RegisteredListener* listener) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == listener)
            return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t ListenerRegistry::notify(const Notice& notice)
{
    int32_t count = 0;
    ++m_walks;
    // By index, from the count at the start: a window added by a handler goes to the end and
    // leaves the indices still to visit unchanged.
    for (int32_t i = this->count() - 1; i >= 0; --i)
        count += m_items[static_cast<size_t>(i)]->notify(notice);
    --m_walks;
    if (m_owner)
        count += countHandler(*m_owner, notice, count);
    if (!walking() && m_wakeAfterWalk) {
        m_wakeAfterWalk = false;
        if (hasCloseRequests())
            wake();
    }
    return count;
}

bool ListenerRegistry::remove(int32_t i)
{
    if (walking() || i < 0 || i >= count())
        return false;
    std::unique_ptr<RegisteredListener> listener = std::move(m_items[static_cast<size_t>(i)]);
    m_items.erase(m_items.begin() + i);
    forgetCloseRequest(listener.get());
    listener->setOwnerRegistry(nullptr);
    listener->destroyWindow();
    return true;
}

bool ListenerRegistry::remove(RegisteredListener* listener)
{
    return remove(indexOf(listener));
}

bool ListenerRegistry::destroyAll()
{
    if (walking())
        return false;
    while (!m_items.empty())
        remove(count() - 1);
    m_closeRequests.clear();
    return true;
}

void ListenerRegistry::requestClose(RegisteredListener* listener)
{
    if (!listener
        || std::find(m_closeRequests.begin(), m_closeRequests.end(), listener)
            != m_closeRequests.end())
        return;
    m_closeRequests.push_back(listener);
    wake();
}

int32_t ListenerRegistry::processCloseRequests()
{
    if (walking()) {
        m_wakeAfterWalk = true;
        return 0;
    }
    int32_t removed = 0;
    // A window's destruction may ask for more closes; those are handled in this pass too.
    while (!m_closeRequests.empty()) {
        RegisteredListener* listener = m_closeRequests.front();
        m_closeRequests.erase(m_closeRequests.begin());
        if (remove(listener))
            ++removed;
    }
    return removed;
}

void ListenerRegistry::forgetCloseRequest(const RegisteredListener* listener)
{
    std::erase(m_closeRequests, listener);
}

void ListenerRegistry::wake()
{
    if (m_wakeUp)
        m_wakeUp();
}
