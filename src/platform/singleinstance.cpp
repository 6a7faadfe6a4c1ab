#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>

#include <unistd.h>

namespace {

// What a later copy sends, and how long it waits for the earlier one.
constexpr char request[] = "forward\n";
constexpr int waitMs = 2000;

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent)
    , m_name(socketName(key))
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

QString SingleInstance::socketName(const QString& key)
{
    // The user id keeps users apart even where sockets share one directory; the hash keeps the
    // name short whatever the settings path.
    const QByteArray digest
        = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("pavione-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest));
}

bool SingleInstance::askRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.write(request);
    socket.waitForBytesWritten(waitMs);
    // The earlier copy closes the connection once it has read the request.
    socket.waitForDisconnected(waitMs);
    return true;
}

bool SingleInstance::listen()
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_name))
        return true;
    // A copy that crashed leaves its socket behind; nobody answered on it, so it goes.
    if (m_server.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(m_name);
        return m_server.listen(m_name);
    }
    return false;
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const bool forward = socket->readLine().trimmed() == QByteArray(request).trimmed();
            socket->disconnectFromServer();
            if (forward)
                emit forwardRequested();
        });
    }
}
