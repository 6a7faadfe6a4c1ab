#include "net/registeredlistener.h"

RegisteredListener::RegisteredListener()
    : m_childWindows(this)
{ }

RegisteredListener::~RegisteredListener()
{
    // A window deleted by anyone else must not leave a request behind that could later match a
    // new window at the same address.
    if (m_ownerRegistry)
        m_ownerRegistry->forgetCloseRequest(this);
}

void RegisteredListener::requestClose()
{
    if (m_ownerRegistry)
        m_ownerRegistry->requestClose(this);
}
