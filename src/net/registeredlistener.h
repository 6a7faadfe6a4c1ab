#pragma once

#include "net/listenerregistry.h"
#include "net/noticelistener.h"

// A listener that lives in a registry: the core of a modeless window. It answers the notices it
// cares about through the NoticeListener handlers, holds its own child windows, and leaves its
// owner's registry only by asking to be closed. A window class derives from its toolkit's dialog
// and from this.
class RegisteredListener : public NoticeListener {
public:
    RegisteredListener();
    ~RegisteredListener() override;
    RegisteredListener(const RegisteredListener&) = delete;
    RegisteredListener& operator=(const RegisteredListener&) = delete;

    // Offers the notice to the child windows, last added first, then to this window's own handler;
    // returns how many answered noticeHandled.
    int32_t notify(const Notice& notice) { return m_childWindows.notify(notice); }
    ListenerRegistry& childWindows() { return m_childWindows; }

    // The registry holding this window: set when it is added, or earlier by setOwnerRegistry for
    // a window that may ask to be closed before it is added.
    ListenerRegistry* ownerRegistry() const { return m_ownerRegistry; }
    void setOwnerRegistry(ListenerRegistry* registry) { m_ownerRegistry = registry; }
    // Asks the owner to close this window; it is destroyed when the owner processes the request,
    // never during the call. Without an owner nothing happens.
    void requestClose();

    // Destroys the platform window; the registry calls it right before deleting the object.
    virtual void destroyWindow() { }

private:
    ListenerRegistry* m_ownerRegistry = nullptr;
    ListenerRegistry m_childWindows;
};
