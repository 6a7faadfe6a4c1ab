#pragma once

#include "net/socketport.h"

#include <QAbstractSocket>
#include <QTcpSocket>

// The desktop program's socket: a QTcpSocket on the GUI thread behind the core's SocketPort.
// Qt's signals become the port's callbacks on that thread; the connection they reach only queues
// events, so no program code runs inside a Qt signal.
//
// QTcpSocket buffers every write, so send never blocks; the bytes are pushed on to the system at
// once so that a close right after a send still delivers them. Error codes are Qt's socket error
// numbers plus 1000.
class QtSocketPort final : public SocketPort {
public:
    QtSocketPort();
    ~QtSocketPort() override;

    void setHandler(SocketHandler* handler) override { m_handler = handler; }
    bool create() override { return true; }
    int32_t connect(const std::string& host, uint16_t port) override;
    SocketIo send(const char* bytes, int32_t length) override;
    SocketIo receive(char* buffer, int32_t capacity) override;
    void close() override;

    static int32_t errorCode(QAbstractSocket::SocketError error);

private:
    void onConnected();
    void onError(QAbstractSocket::SocketError error);
    void onReadyRead();
    void onDisconnected();

    QTcpSocket m_socket;
    SocketHandler* m_handler = nullptr;
    bool m_connecting = false;
    bool m_closed = false;
    int32_t m_pendingError = 0;
};
