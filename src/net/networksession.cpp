#include "net/networksession.h"

#include "net/notices.h"
#include "net/outgoingmessages.h"
#include "net/wirenumber.h"

NetworkSession::NetworkSession(
    ServerEndpoint endpoint, SocketFactory sockets, Clock clock, NetworkSessionHost& host)
    : m_endpoint(std::move(endpoint))
    , m_sockets(std::move(sockets))
    , m_clock(std::move(clock))
    , m_host(host)
{
    m_presenceTick = m_clock();
}

NetworkSession::~NetworkSession()
{
    // The connections go first: each drops its own events from the queue on the way out.
    m_main.reset();
    m_version.reset();
    m_presence.reset();
}

std::unique_ptr<ServerConnection> NetworkSession::open(uint16_t port)
{
    return ServerConnection::open(m_sockets(), m_events, m_endpoint.host, port);
}

void NetworkSession::startVersionCheck()
{
    if (!m_version)
        m_version = open(m_endpoint.mainPort);
}

bool NetworkSession::connectMain(std::string user, std::string password)
{
    if (m_main)
        return false;
    m_user = std::move(user);
    m_password = std::move(password);
    m_lastSend = m_clock();
    m_loginSent = false;
    // A socket that cannot be made leaves the program offline, as a failed connect would.
    m_main = open(m_endpoint.mainPort);
    return true;
}

void NetworkSession::disconnect()
{
    if (!m_main)
        return;
    m_main.reset();
    m_loginSent = false;
    m_host.mainDisconnected();
}

void NetworkSession::sendMain(const StringList& message)
{
    if (!m_main)
        return;
    m_main->queue(message);
    m_lastSend = m_clock();
}

void NetworkSession::networkTick()
{
    const uint32_t now = m_clock();
    if (m_main) {
        m_main->flush();
        if (m_main && m_loginSent && tickIntervalPassed(now, m_lastSend, mainKeepAliveMs))
            sendMain(nopMessage());
    }
    if (m_version)
        m_version->flush();
    if (m_presence) {
        m_presence->flush();
        if (m_presenceLoggedIn && tickIntervalPassed(now, m_presenceTick, presenceKeepAliveMs)) {
            m_presence->queue(hcMessage());
            m_presenceTick = now;
        }
    } else if (tickIntervalPassed(now, m_presenceTick, presenceRetryMs)) {
        openPresence();
    }
}

void NetworkSession::openPresence()
{
    m_presenceTick = m_clock();
    m_presence = open(m_endpoint.presencePort);
}

void NetworkSession::closePresence()
{
    m_presence.reset();
    m_presenceLoggedIn = false;
    m_presenceTick = m_clock();
}

bool NetworkSession::processNextEvent()
{
    const std::optional<ConnectionEvent> event = m_events.take();
    if (!event)
        return false;
    handleEvent(*event);
    return true;
}

void NetworkSession::handleEvent(const ConnectionEvent& event)
{
    if (event.connection == nullptr)
        return;
    if (event.connection == m_main.get())
        mainEvent(event);
    else if (event.connection == m_version.get())
        versionEvent(event);
    else if (event.connection == m_presence.get())
        presenceEvent(event);
}

void NetworkSession::mainEvent(const ConnectionEvent& event)
{
    switch (event.kind) {
    case ConnectionEventKind::Connected:
        m_loginSent = true;
        sendMain(loginMessage(m_user, m_password));
        break;
    case ConnectionEventKind::Received:
        dispatchMain();
        break;
    case ConnectionEventKind::Closed:
        if (m_loginSent) {
            m_loginSent = false;
            disconnect();
            m_host.notify(ConnectionLostNotice());
        }
        break;
    case ConnectionEventKind::ConnectFailed:
    case ConnectionEventKind::ReceiveError:
    case ConnectionEventKind::SendError:
    case ConnectionEventKind::ProtocolError:
        disconnect();
        break;
    }
}

void NetworkSession::dispatchMain()
{
    if (!m_dispatchHeld)
        m_dispatcher.dispatch([this] { return m_dispatchHeld ? nullptr : m_main.get(); });
}

void NetworkSession::resumeDispatch()
{
    m_dispatchHeld = false;
    dispatchMain();
}

void NetworkSession::versionEvent(const ConnectionEvent& event)
{
    switch (event.kind) {
    case ConnectionEventKind::Connected:
        m_version->queue(versionMessage(m_installation));
        break;
    case ConnectionEventKind::Received: {
        StringList reply;
        if (m_version->nextMessage(reply) == 0) {
            // A malformed line ended the connection; its own event follows.
            break;
        }
        m_version.reset();
        std::optional<int32_t> installation;
        if (reply.count() >= 3) {
            installation = readNumber(reply.item(2).view());
            m_installation = *installation;
        }
        m_host.versionChecked(readNumber(reply.item(1).view()), installation);
        if (!m_presence)
            openPresence();
        break;
    }
    case ConnectionEventKind::ConnectFailed:
    case ConnectionEventKind::Closed:
    case ConnectionEventKind::ReceiveError:
    case ConnectionEventKind::SendError:
    case ConnectionEventKind::ProtocolError:
        m_version.reset();
        break;
    }
}

void NetworkSession::presenceEvent(const ConnectionEvent& event)
{
    switch (event.kind) {
    case ConnectionEventKind::Connected:
        m_presenceTick = m_clock();
        m_presenceLoggedIn = true;
        m_presence->queue(presenceLoginMessage(m_installation));
        break;
    case ConnectionEventKind::Received: {
        StringList discarded;
        while (m_presence && m_presence->nextMessage(discarded) != 0) { }
        break;
    }
    case ConnectionEventKind::ConnectFailed:
    case ConnectionEventKind::Closed:
    case ConnectionEventKind::ReceiveError:
    case ConnectionEventKind::SendError:
    case ConnectionEventKind::ProtocolError:
        closePresence();
        break;
    }
}
