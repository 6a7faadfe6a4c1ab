#include "testclient.h"

#include "posixsocketport.h"

#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds left(Clock::time_point deadline)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
}

bool waitFor(int fd, short events, std::chrono::milliseconds timeout)
{
    if (fd < 0 || timeout.count() <= 0)
        return false;
    pollfd p { fd, events, 0 };
    return ::poll(&p, 1, static_cast<int>(timeout.count())) > 0;
}

} // namespace

TestClient::~TestClient()
{
    close();
}

bool TestClient::connect(std::uint16_t port, int receiveBuffer, const std::string& source)
{
    close();
    auto socket = std::make_unique<PosixSocketPort>(receiveBuffer, source);
    m_port = socket.get();
    m_connection = ServerConnection::open(std::move(socket), m_events, "127.0.0.1", port);
    if (!m_connection)
        m_port = nullptr;
    return m_connection && m_connection->isConnected();
}

void TestClient::close()
{
    m_connection.reset();
    m_port = nullptr;
    while (m_events.take()) { }
}

bool TestClient::send(const StringList& message)
{
    if (!m_connection || !m_connection->queue(message))
        return false;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!m_connection->sendBuffer().empty()) {
        m_connection->flush();
        if (!m_connection->isConnected())
            return false;
        if (!m_connection->sendBuffer().empty() && !waitFor(m_port->fd(), POLLOUT, left(deadline)))
            return false;
    }
    return true;
}

bool TestClient::sendRaw(std::string_view bytes)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (m_port && !bytes.empty()) {
        const SocketIo sent = m_port->send(bytes.data(), static_cast<int32_t>(bytes.size()));
        if (sent.error == 0)
            bytes.remove_prefix(static_cast<size_t>(sent.bytes));
        else if (sent.error != socketWouldBlock || !waitFor(m_port->fd(), POLLOUT, left(deadline)))
            return false;
    }
    return bytes.empty();
}

bool TestClient::readOnce(std::chrono::milliseconds timeout)
{
    if (!m_connection || m_connection->isFinished() || !waitFor(m_port->fd(), POLLIN, timeout))
        return false;
    m_port->readable();
    // The events only matter to a program's main loop; the test looks at the connection itself.
    while (m_events.take()) { }
    return true;
}

std::optional<StringList> TestClient::next(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        StringList message;
        if (m_connection && m_connection->nextMessage(message) == 1)
            return message;
        if (!readOnce(left(deadline)))
            return std::nullopt;
    }
}

bool TestClient::waitClosed(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (m_connection && !m_connection->isFinished()) {
        if (!readOnce(left(deadline)) && left(deadline).count() <= 0)
            return false;
    }
    return true;
}

void PrintTo(const StringList& list, std::ostream* os)
{
    *os << "{";
    for (int32_t i = 0; i < list.count(); ++i) {
        const std::string_view item = list.item(i).view();
        *os << (i ? ", \"" : "\"") << (item.size() > 80 ? item.substr(0, 80) : item)
            << (item.size() > 80 ? "...\"" : "\"");
    }
    *os << "}";
}

StringList list(std::initializer_list<std::string_view> items)
{
    return StringList(items);
}
