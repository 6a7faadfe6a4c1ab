#include "posixsocketport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

int32_t errorCode(int error)
{
    if (error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS)
        return socketWouldBlock;
    return error == 0 ? -1 : error;
}

} // namespace

PosixSocketPort::PosixSocketPort(int receiveBuffer, std::string source)
    : m_receiveBuffer(receiveBuffer)
    , m_source(std::move(source))
{ }

PosixSocketPort::~PosixSocketPort()
{
    close();
}

bool PosixSocketPort::create()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    if (m_receiveBuffer > 0)
        setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &m_receiveBuffer, sizeof m_receiveBuffer);
    const int one = 1;
    setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (!m_source.empty()) {
        sockaddr_in local {};
        local.sin_family = AF_INET;
        if (inet_pton(AF_INET, m_source.c_str(), &local.sin_addr) != 1
            || ::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            close();
            return false;
        }
    }
    return true;
}

int32_t PosixSocketPort::connect(const std::string& host, uint16_t port)
{
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return EHOSTUNREACH;
    sockaddr_in address {};
    std::memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    address.sin_port = htons(port);
    int result;
    do {
        result = ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        return errno == 0 ? -1 : errno;
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    return 0;
}

SocketIo PosixSocketPort::send(const char* bytes, int32_t length)
{
    const ssize_t n = ::send(m_fd, bytes, static_cast<size_t>(length), MSG_NOSIGNAL);
    if (n < 0)
        return { 0, errorCode(errno) };
    return { static_cast<int32_t>(n), 0 };
}

SocketIo PosixSocketPort::receive(char* buffer, int32_t capacity)
{
    const ssize_t n = ::recv(m_fd, buffer, static_cast<size_t>(capacity), 0);
    if (n < 0)
        return { 0, errorCode(errno) };
    return { static_cast<int32_t>(n), 0 };
}

void PosixSocketPort::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void PosixSocketPort::readable()
{
    if (m_handler && m_fd >= 0)
        m_handler->dataAvailable();
}
