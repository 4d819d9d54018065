#include "localwebsocketserver.h"

#include <QHostAddress>
#include <QWebSocket>

LocalWebSocketServer::LocalWebSocketServer(QObject *parent)
    : QObject(parent)
    , m_server(QStringLiteral("test server"), QWebSocketServer::NonSecureMode)
{
    connect(
        &m_server, &QWebSocketServer::newConnection, this, &LocalWebSocketServer::onNewConnection);
}

bool LocalWebSocketServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl LocalWebSocketServer::url() const
{
    return QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(m_server.serverPort()));
}

quint16 LocalWebSocketServer::port() const
{
    return m_server.serverPort();
}

void LocalWebSocketServer::sendBinary(const QByteArray &message)
{
    if (m_client)
        m_client->sendBinaryMessage(message);
}

void LocalWebSocketServer::sendText(const QString &message)
{
    if (m_client)
        m_client->sendTextMessage(message);
}

void LocalWebSocketServer::closeClient()
{
    if (m_client)
        m_client->close();
}

void LocalWebSocketServer::onNewConnection()
{
    while (QWebSocket *socket = m_server.nextPendingConnection()) {
        ++m_connectionCount;
        socket->setParent(this);
        m_client = socket;
        connect(socket, &QWebSocket::binaryMessageReceived, this, [this](const QByteArray &m) {
            binaryMessages.append(m);
            emit binaryReceived(m);
        });
        connect(socket, &QWebSocket::textMessageReceived, this,
            [this](const QString &m) { textMessages.append(m); });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            if (m_client == socket)
                m_client = nullptr;
            socket->deleteLater();
        });
    }
}
