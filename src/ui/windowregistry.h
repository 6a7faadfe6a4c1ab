#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class MainWindow;
class ListenerRegistry;
class NoticeListener;
class ProtocolListener;
class QWidget;
struct Notice;
struct WindowNotice;

// The modeless windows one window holds (the main frame's, or a window's own children), on top
// of the core's registry: it processes close requests as queued calls on the event loop, in the
// order they came, and opens windows by create-registered and find-or-create.
class WindowRegistry : public QObject {
    Q_OBJECT
public:
    // Makes the registry's window list itself; owner's handlers answer after the windows.
    WindowRegistry(NoticeListener* owner, QWidget* ownerWindow);
    // Works on an existing list (a window's own children).
    WindowRegistry(ListenerRegistry& listeners, QWidget* ownerWindow);
    // Destroys every window still open.
    ~WindowRegistry() override;

    ListenerRegistry& listeners() { return m_listeners; }
    int32_t count() const;
    ProtocolListener* at(int32_t i) const;
    int32_t indexOf(const ProtocolListener* window) const;

    // Offers the notice to every window, last opened first, then to the owner's handler; returns
    // how many took it.
    int32_t notify(const Notice& notice);
    // Removes the windows that asked to be closed, in the order they asked; runs by itself from
    // the event loop after each request. Returns how many went.
    int32_t processCloseRequests();
    // Destroys every window, as when the owner goes away; false during a broadcast.
    bool destroyAll();

    // Builds the window and adds it (create-registered). When it cannot be made, the user is told
    // "メモリ不足のため、新しいウィンドウが作れませんでした。", and the half-made window, never
    // shown, is added with a close request so that it goes the way every window goes. Returns the
    // window, or null on failure. A null window counts as a failed allocation.
    ProtocolListener* createRegistered(
        std::unique_ptr<ProtocolListener> window, MainWindow* gateway, QWidget* parent = nullptr);

    using WindowFactory = std::function<std::unique_ptr<ProtocolListener>()>;
    // Broadcasts the query; when a window claims it, that window has come forward and null is
    // returned. Otherwise makes a window with make, create-registers it, places it on the owner
    // window and shows it; returns it, or null when it could not be made.
    ProtocolListener* findOrCreate(
        const WindowNotice& query, const WindowFactory& make, MainWindow* gateway);

private:
    void scheduleCloseRequests();

    std::unique_ptr<ListenerRegistry> m_owned;
    ListenerRegistry& m_listeners;
    QWidget* m_ownerWindow;
};
