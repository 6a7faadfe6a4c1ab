#include "clientpool.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

ClientPool::ClientPool(std::string host, std::uint16_t port)
    : m_host(std::move(host))
    , m_port(port)
    , m_epoll(epoll_create1(EPOLL_CLOEXEC))
{ }

ClientPool::~ClientPool()
{
    m_clients.clear();
    if (m_epoll >= 0)
        ::close(m_epoll);
}

std::string ClientPool::userName(const std::string& prefix, size_t client)
{
    return prefix + std::to_string(client);
}

std::string ClientPool::loopbackSource(int block, size_t k)
{
    return "127." + std::to_string(block) + "." + std::to_string(k / 250 % 256) + "."
        + std::to_string(k % 250 + 1);
}

bool ClientPool::connect(size_t n, std::string& error)
{
    m_clients.reserve(m_clients.size() + n);
    for (size_t i = 0; i < n; ++i) {
        auto port = std::make_unique<PosixSocketPort>(
            0, sources.empty() ? std::string() : sources[m_clients.size() % sources.size()]);
        PosixSocketPort* raw = port.get();
        auto connection = ServerConnection::open(std::move(port), m_events, m_host, m_port);
        if (!connection || !connection->isConnected()) {
            error = "connection " + std::to_string(m_clients.size())
                + " failed: " + std::strerror(errno);
            return false;
        }
        m_clients.push_back(Client { std::move(connection), raw });
        watch(m_clients.size() - 1, false);
        // Keep the event queue short; the pool reads connection states directly.
        while (m_events.take()) { }
    }
    return true;
}

void ClientPool::watch(size_t index, bool write)
{
    Client& c = m_clients[index];
    epoll_event event {};
    event.events = write ? EPOLLIN | EPOLLOUT : EPOLLIN;
    event.data.u64 = index;
    epoll_ctl(m_epoll, c.registered ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, c.port->fd(), &event);
    c.registered = true;
    c.wantsWrite = write;
}

void ClientPool::send(size_t client, const StringList& message)
{
    Client& c = m_clients[client];
    if (c.closed || !c.connection->queue(message))
        return;
    c.connection->flush();
    if (!c.connection->isConnected()) {
        markClosed(c);
        return;
    }
    if (!c.connection->sendBuffer().empty() && !c.wantsWrite)
        watch(client, true);
}

void ClientPool::login(size_t first, size_t last, const std::string& prefix)
{
    for (size_t i = first; i < last && i < m_clients.size(); ++i) {
        const std::string name = userName(prefix, i);
        send(i, StringList({ "LOGIN", name, "pw-" + name, "0" }));
    }
}

void ClientPool::markClosed(Client& c)
{
    if (c.closed)
        return;
    c.closed = true;
    ++m_closed;
}

void ClientPool::handleWritable(size_t index)
{
    Client& c = m_clients[index];
    c.connection->flush();
    if (!c.connection->isConnected())
        markClosed(c);
    else if (c.connection->sendBuffer().empty())
        watch(index, false);
}

void ClientPool::handleReadable(size_t index)
{
    Client& c = m_clients[index];
    c.port->readable();
    StringList message;
    while (c.connection->nextMessage(message) == 1) {
        if (!c.loggedIn && message.item(0) == "ALLUSER") {
            c.loggedIn = true;
            ++m_loggedIn;
        }
        if (onMessage)
            onMessage(index, message);
    }
    if (c.connection->isFinished())
        markClosed(c);
    while (m_events.take()) { }
}

bool ClientPool::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
    const std::function<void()>& between)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    epoll_event events[256];
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        const int n = epoll_wait(m_epoll, events, 256, 1);
        for (int i = 0; i < n; ++i) {
            const size_t index = events[i].data.u64;
            if (m_clients[index].closed)
                continue;
            if (events[i].events & EPOLLOUT)
                handleWritable(index);
            if (events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR))
                handleReadable(index);
        }
        if (between)
            between();
    }
    return true;
}
