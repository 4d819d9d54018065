#include "proxybridge.h"

#include "messagerecorder.h"
#include "simserver.h"

#include <QWebSocket>

ProxyBridge::ProxyBridge(
    SimServer *server, const QUrl &upstream, MessageRecorder *recorder, QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_upstream(upstream)
    , m_recorder(recorder)
{
    connect(server, &SimServer::clientConnected, this, &ProxyBridge::onClientConnected);
    connect(server, &SimServer::clientDisconnected, this, &ProxyBridge::onClientDisconnected);
    connect(server, &SimServer::clientTextReceived, this, &ProxyBridge::onClientText);
    connect(server, &SimServer::clientBinaryReceived, this, &ProxyBridge::onClientBinary);
}

ProxyBridge::~ProxyBridge()
{
    for (const Link &link : qAsConst(m_links)) {
        link.upstream->disconnect(this);
        link.upstream->abort();
        delete link.upstream;
    }
}

bool ProxyBridge::isRecorded(quint64 client) const
{
    return m_recorder && !m_links.isEmpty() && m_links.firstKey() == client;
}

void ProxyBridge::onClientConnected(quint64 client)
{
    auto *upstream = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    upstream->setMaxAllowedIncomingMessageSize(MaxIncomingMessageSize);
    upstream->setMaxAllowedIncomingFrameSize(MaxIncomingMessageSize);
    m_links.insert(client, Link { upstream, {} });
    connect(
        upstream, &QWebSocket::connected, this, [this, client] { onUpstreamConnected(client); });
    connect(upstream, &QWebSocket::disconnected, this, [this, client] {
        m_server->closeClient(client, QStringLiteral("Upstream server closed the connection"));
    });
    connect(upstream, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
        [this, client, upstream](QAbstractSocket::SocketError) {
            qWarning(
                "Client %llu: upstream error: %s", client, qPrintable(upstream->errorString()));
            if (upstream->state() == QAbstractSocket::UnconnectedState)
                m_server->closeClient(client, QStringLiteral("Upstream server not reachable"));
        });
    connect(upstream, &QWebSocket::textMessageReceived, this, [this, client](const QString &text) {
        if (isRecorded(client))
            m_recorder->recordText(text);
        m_server->sendTextToClient(client, text);
    });
    connect(upstream, &QWebSocket::binaryMessageReceived, this,
        [this, client](const QByteArray &message) {
            if (isRecorded(client))
                m_recorder->recordBinary(message);
            m_server->sendBinaryToClient(client, message);
        });
    qInfo("Client %llu: opening %s", client, qPrintable(m_upstream.toString()));
    upstream->open(m_upstream);
}

void ProxyBridge::onUpstreamConnected(quint64 client)
{
    auto it = m_links.find(client);
    if (it == m_links.end())
        return;
    qInfo("Client %llu: connected upstream%s", client, isRecorded(client) ? " (recorded)" : "");
    for (const Held &message : qAsConst(it->held)) {
        if (message.binary)
            it->upstream->sendBinaryMessage(message.data);
        else
            it->upstream->sendTextMessage(QString::fromUtf8(message.data));
    }
    it->held.clear();
}

void ProxyBridge::onClientDisconnected(quint64 client)
{
    const Link link = m_links.take(client);
    if (!link.upstream)
        return;
    link.upstream->disconnect(this);
    link.upstream->close();
    link.upstream->deleteLater();
}

void ProxyBridge::doHold(quint64 client, const Held &message)
{
    auto it = m_links.find(client);
    if (it == m_links.end())
        return;
    if (it->upstream->state() == QAbstractSocket::ConnectedState) {
        if (it->upstream->bytesToWrite() > MaxUpstreamBacklog) {
            qWarning(
                "Client %llu: the upstream server does not keep up; a message was dropped", client);
            return;
        }
        if (message.binary)
            it->upstream->sendBinaryMessage(message.data);
        else
            it->upstream->sendTextMessage(QString::fromUtf8(message.data));
        return;
    }
    if (it->held.size() >= MaxHeldMessages) {
        qWarning("Client %llu: upstream not open; a message was dropped", client);
        return;
    }
    it->held.append(message);
}

void ProxyBridge::onClientText(quint64 client, const QString &text)
{
    doHold(client, { false, text.toUtf8() });
}

void ProxyBridge::onClientBinary(quint64 client, const QByteArray &message)
{
    doHold(client, { true, message });
}
