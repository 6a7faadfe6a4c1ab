#pragma once

#include "net/socketport.h"

#include <string>

// The protocol core's socket port over a plain POSIX TCP socket (IPv4), for programs that drive
// their own poll or epoll loop: the load generator and the server's tests. The loop watches fd()
// and calls readable() when it can be read.
class PosixSocketPort final : public SocketPort {
public:
    // receiveBuffer > 0 sets the socket's receive buffer size (a small one makes a slow reader).
    // A non-empty source is the local IPv4 address to connect from (any of 127.0.0.0/8 works on
    // loopback, so one machine can stand for many clients).
    explicit PosixSocketPort(int receiveBuffer = 0, std::string source = {});
    ~PosixSocketPort() override;

    void setHandler(SocketHandler* handler) override { m_handler = handler; }
    bool create() override;
    // Connects at once (blocking), then switches the socket to non-blocking.
    int32_t connect(const std::string& host, uint16_t port) override;
    SocketIo send(const char* bytes, int32_t length) override;
    SocketIo receive(char* buffer, int32_t capacity) override;
    void close() override;

    int fd() const { return m_fd; }
    void readable();

private:
    int m_fd = -1;
    int m_receiveBuffer = 0;
    std::string m_source;
    SocketHandler* m_handler = nullptr;
};
