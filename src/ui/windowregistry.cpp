#include "ui/windowregistry.h"

#include "net/listenerregistry.h"
#include "net/notices.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/protocollistener.h"

#include <QMessageBox>

#include <new>

WindowRegistry::WindowRegistry(NoticeListener* owner, QWidget* ownerWindow)
    : m_owned(std::make_unique<ListenerRegistry>(owner))
    , m_listeners(*m_owned)
    , m_ownerWindow(ownerWindow)
{
    m_listeners.setWakeUp([this] { scheduleCloseRequests(); });
}

WindowRegistry::WindowRegistry(ListenerRegistry& listeners, QWidget* ownerWindow)
    : m_listeners(listeners)
    , m_ownerWindow(ownerWindow)
{
    m_listeners.setWakeUp([this] { scheduleCloseRequests(); });
}

WindowRegistry::~WindowRegistry()
{
    // Windows going now may still ask to be closed; nobody is left to schedule that.
    m_listeners.setWakeUp({});
    m_listeners.destroyAll();
}

int32_t WindowRegistry::count() const
{
    return m_listeners.count();
}

ProtocolListener* WindowRegistry::at(int32_t i) const
{
    return dynamic_cast<ProtocolListener*>(&m_listeners.at(i));
}

int32_t WindowRegistry::indexOf(const ProtocolListener* window) const
{
    return m_listeners.indexOf(window);
}

int32_t WindowRegistry::notify(const Notice& notice)
{
    return m_listeners.notify(notice);
}

int32_t WindowRegistry::processCloseRequests()
{
    return m_listeners.processCloseRequests();
}

bool WindowRegistry::destroyAll()
{
    return m_listeners.destroyAll();
}

void WindowRegistry::scheduleCloseRequests()
{
    // One queued call per request: the first to run removes every window that has asked by then,
    // in the order they asked, and the later ones find nothing left to do. A call still queued
    // when the registry goes is dropped with it.
    QMetaObject::invokeMethod(
        this, [this] { processCloseRequests(); }, Qt::QueuedConnection);
}

ProtocolListener* WindowRegistry::createRegistered(
    std::unique_ptr<ProtocolListener> window, MainWindow* gateway, QWidget* parent)
{
    if (window) {
        // Known to the registry before it is built, so that a window that fails can ask to go.
        window->setOwnerRegistry(&m_listeners);
        if (window->create(gateway, parent))
            return static_cast<ProtocolListener*>(&m_listeners.add(std::move(window)));
    }
    QMessageBox box(QMessageBox::NoIcon, QString(), fromSjis(texts::windowCreationFailed.bytes()),
        QMessageBox::Ok, m_ownerWindow);
    box.exec();
    if (window) {
        window->requestClose();
        m_listeners.add(std::move(window));
    }
    return nullptr;
}

ProtocolListener* WindowRegistry::findOrCreate(
    const WindowNotice& query, const WindowFactory& make, MainWindow* gateway)
{
    if (notify(query) > 0)
        return nullptr;
    std::unique_ptr<ProtocolListener> window;
    try {
        window = make();
    } catch (const std::bad_alloc&) {
        window.reset();
    }
    ProtocolListener* made = createRegistered(std::move(window), gateway);
    if (!made)
        return nullptr;
    made->placeOnOpen(m_ownerWindow);
    made->show();
    return made;
}
