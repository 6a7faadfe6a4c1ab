#include "testclient.h"

#include "net/framing.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

TestClient::~TestClient()
{
    close();
}

bool TestClient::connect(std::uint16_t port, int receiveBuffer)
{
    close();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    if (receiveBuffer > 0)
        setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    const int one = 1;
    setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    m_ended = false;
    m_reader = MessageReader();
    return ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

void TestClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool TestClient::sendRaw(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool TestClient::send(const StringList& message)
{
    return sendRaw(frameMessage(message));
}

bool TestClient::readSome(std::chrono::milliseconds timeout)
{
    if (m_fd < 0 || m_ended)
        return false;
    pollfd p { m_fd, POLLIN, 0 };
    if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0)
        return false;
    char buffer[65536];
    const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
    if (n <= 0) {
        m_ended = true;
        return false;
    }
    m_reader.feed(std::string_view(buffer, static_cast<size_t>(n)));
    return true;
}

std::optional<StringList> TestClient::next(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        StringList message;
        if (m_reader.next(message) == MessageReader::Result::Message)
            return message;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readSome(left))
            return std::nullopt;
    }
}

bool TestClient::waitClosed(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!m_ended) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        readSome(left);
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
