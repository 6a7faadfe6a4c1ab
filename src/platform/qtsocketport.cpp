#include "platform/qtsocketport.h"

#include <QString>

QtSocketPort::QtSocketPort()
{
    QObject::connect(&m_socket, &QTcpSocket::connected, &m_socket, [this] { onConnected(); });
    QObject::connect(&m_socket, &QTcpSocket::errorOccurred, &m_socket,
        [this](QAbstractSocket::SocketError error) { onError(error); });
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] { onReadyRead(); });
    QObject::connect(&m_socket, &QTcpSocket::disconnected, &m_socket, [this] { onDisconnected(); });
}

QtSocketPort::~QtSocketPort()
{
    // The socket's own destruction aborts the connection and may signal; nobody listens any more.
    m_handler = nullptr;
    m_socket.disconnect();
}

int32_t QtSocketPort::errorCode(QAbstractSocket::SocketError error)
{
    return 1000 + static_cast<int32_t>(error);
}

int32_t QtSocketPort::connect(const std::string& host, uint16_t port)
{
    m_connecting = true;
    m_socket.connectToHost(
        QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size())), port);
    return socketWouldBlock;
}

SocketIo QtSocketPort::send(const char* bytes, int32_t length)
{
    if (m_closed || m_socket.state() != QAbstractSocket::ConnectedState)
        return { 0, errorCode(QAbstractSocket::OperationError) };
    const qint64 written = m_socket.write(bytes, length);
    if (written < 0)
        return { 0, errorCode(m_socket.error()) };
    m_socket.flush();
    return { static_cast<int32_t>(written), 0 };
}

SocketIo QtSocketPort::receive(char* buffer, int32_t capacity)
{
    if (m_socket.bytesAvailable() > 0) {
        const qint64 read = m_socket.read(buffer, capacity);
        if (read > 0)
            return { static_cast<int32_t>(read), 0 };
        if (read < 0)
            return { 0, errorCode(m_socket.error()) };
    }
    if (m_pendingError != 0)
        return { 0, m_pendingError };
    if (m_socket.state() == QAbstractSocket::UnconnectedState)
        return { 0, 0 }; // the peer shut the connection down
    return { 0, socketWouldBlock };
}

void QtSocketPort::close()
{
    m_closed = true;
    m_handler = nullptr;
    // Lets bytes already written leave before the socket closes.
    m_socket.disconnectFromHost();
}

void QtSocketPort::onConnected()
{
    m_connecting = false;
    if (m_handler)
        m_handler->connectCompleted(0);
}

void QtSocketPort::onError(QAbstractSocket::SocketError error)
{
    if (m_closed)
        return;
    if (m_connecting) {
        m_connecting = false;
        if (m_handler)
            m_handler->connectCompleted(errorCode(error));
        return;
    }
    // The peer closing is reported by disconnected, with any bytes still buffered read first.
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    m_pendingError = errorCode(error);
    if (m_handler)
        m_handler->dataAvailable();
}

void QtSocketPort::onReadyRead()
{
    // Qt signals new bytes once, however many there are, while the handler reads at most one
    // chunk per call: keep calling while bytes wait and each call takes some.
    qint64 waiting = m_socket.bytesAvailable();
    while (m_handler && !m_closed && waiting > 0) {
        m_handler->dataAvailable();
        const qint64 left = m_socket.bytesAvailable();
        if (left >= waiting)
            break;
        waiting = left;
    }
}

void QtSocketPort::onDisconnected()
{
    if (!m_closed && !m_connecting && m_handler)
        m_handler->peerClosed();
}
