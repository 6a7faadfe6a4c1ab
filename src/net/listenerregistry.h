#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class NoticeListener;
class RegisteredListener;
struct Notice;

// The modeless windows one owner holds, and the broadcast of notices over them. The main frame
// has one; every registered window has one for its own children (normally empty).
//
// A window never leaves the registry while a broadcast walks it: it asks to be closed, and the
// owner removes it later, when it processes the close requests on its own event loop.
class ListenerRegistry {
public:
    // owner: the listener whose own handler answers after the windows (may be null).
    explicit ListenerRegistry(NoticeListener* owner = nullptr);
    ~ListenerRegistry();
    ListenerRegistry(const ListenerRegistry&) = delete;
    ListenerRegistry& operator=(const ListenerRegistry&) = delete;

    NoticeListener* owner() const { return m_owner; }

    // Takes the window; from then on its close requests come to this registry.
    RegisteredListener& add(std::unique_ptr<RegisteredListener> listener);
    int32_t count() const { return static_cast<int32_t>(m_items.size()); }
    RegisteredListener& at(int32_t i) const { return *m_items[static_cast<size_t>(i)]; }
    // The index of the window, or -1 when it is not in this registry.
    int32_t indexOf(const RegisteredListener* listener) const;

    // Offers the notice to every window from the last added to the first (each passes it to its
    // own children before its own handler), then to the owner's own handler. Returns how many
    // handlers answered noticeHandled. Windows added meanwhile are not visited.
    int32_t notify(const Notice& notice);
    bool walking() const { return m_walks > 0; }

    // Destroys and deletes the window at index i, or the given window, closing the gap. False
    // (and nothing removed) when it is not there or while a broadcast walks the registry.
    bool remove(int32_t i);
    bool remove(RegisteredListener* listener);
    // Destroys and deletes every window, as when the owner goes away. False during a broadcast.
    bool destroyAll();

    // A window's request to be closed (see RegisteredListener::requestClose). It stays in the
    // registry until processCloseRequests; the wake-up is called so that the owner schedules that.
    void requestClose(RegisteredListener* listener);
    bool hasCloseRequests() const { return !m_closeRequests.empty(); }
    // Removes every window that asked to be closed and returns how many went. During a broadcast
    // it removes nothing: the requests wait, and the wake-up is called again when the outermost
    // broadcast has finished.
    int32_t processCloseRequests();
    // Called for every new close request and for requests that had to wait; the owner answers by
    // calling processCloseRequests from its own event loop, never from inside the call.
    void setWakeUp(std::function<void()> wakeUp) { m_wakeUp = std::move(wakeUp); }

private:
    friend class RegisteredListener;
    void forgetCloseRequest(const RegisteredListener* listener);
    void wake();

    NoticeListener* m_owner;
    std::vector<std::unique_ptr<RegisteredListener>> m_items;
    std::vector<RegisteredListener*> m_closeRequests;
    std::function<void()> m_wakeUp;
    int32_t m_walks = 0;
    bool m_wakeAfterWalk = false;
};
