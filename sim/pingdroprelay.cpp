#include "pingdroprelay.h"

#include <QTcpSocket>
#include <QtEndian>

namespace {

constexpr quint8 PingOpcode = 0x9;
constexpr int MaxUpgradeRequestSize = 16 * 1024;

} // namespace

PingDropRelay::PingDropRelay(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &PingDropRelay::onNewConnection);
}

PingDropRelay::~PingDropRelay()
{
    const QList<QTcpSocket *> clients = m_links.keys();
    for (QTcpSocket *client : clients)
        doCloseLink(client);
}

bool PingDropRelay::listen(
    const QHostAddress &address, quint16 port, quint16 targetPort, QString *error)
{
    m_targetPort = targetPort;
    if (!m_server.listen(address, port)) {
        *error = m_server.errorString();
        return false;
    }
    return true;
}

void PingDropRelay::onNewConnection()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        if (m_links.size() >= MaxLinks) {
            qWarning("Relay: too many connections; one refused");
            client->abort();
            client->deleteLater();
            continue;
        }
        auto *server = new QTcpSocket(this);
        // Read no more from the server than the client takes: what the client does not
        // read stays with the server, which drops messages for slow clients.
        server->setReadBufferSize(MaxPendingToClient);
        client->setParent(this);
        Link link;
        link.client = client;
        link.server = server;
        m_links.insert(client, link);
        m_clientOf.insert(server, client);
        connect(
            client, &QTcpSocket::readyRead, this, [this, client] { onClientReadyRead(client); });
        connect(
            server, &QTcpSocket::readyRead, this, [this, server] { onServerReadyRead(server); });
        connect(
            server, &QTcpSocket::connected, this, [this, client] { onClientReadyRead(client); });
        connect(client, &QTcpSocket::disconnected, this, [this, client] { doCloseLink(client); });
        connect(server, &QTcpSocket::disconnected, this, [this, client] { doCloseLink(client); });
        connect(server, &QTcpSocket::errorOccurred, this, [this, client] { doCloseLink(client); });
        server->connectToHost(QHostAddress::LocalHost, m_targetPort);
    }
}

void PingDropRelay::onClientReadyRead(QTcpSocket *client)
{
    auto it = m_links.find(client);
    if (it == m_links.end())
        return;
    Link &link = it.value();
    link.pending.append(client->readAll());
    if (link.server->state() != QAbstractSocket::ConnectedState)
        return;
    if (!link.upgraded) {
        const int end = link.pending.indexOf("\r\n\r\n");
        if (end < 0) {
            if (link.pending.size() > MaxUpgradeRequestSize)
                doCloseLink(client);
            return;
        }
        link.server->write(link.pending.left(end + 4));
        link.pending.remove(0, end + 4);
        link.upgraded = true;
    }
    if (!doForwardFrames(link))
        doCloseLink(client);
}

bool PingDropRelay::doForwardFrames(Link &link)
{
    const QByteArray &b = link.pending;
    int pos = 0;
    while (b.size() - pos >= 2) {
        const quint8 opcode = quint8(b[pos]) & 0x0F;
        const bool masked = quint8(b[pos + 1]) & 0x80;
        const quint8 len7 = quint8(b[pos + 1]) & 0x7F;
        int header = 2;
        quint64 payload = len7;
        if (len7 == 126) {
            if (b.size() - pos < 4)
                break;
            payload = qFromBigEndian<quint16>(b.constData() + pos + 2);
            header = 4;
        } else if (len7 == 127) {
            if (b.size() - pos < 10)
                break;
            payload = qFromBigEndian<quint64>(b.constData() + pos + 2);
            header = 10;
        }
        if (payload > quint64(MaxFrameSize))
            return false;
        const qint64 frameSize = header + (masked ? 4 : 0) + qint64(payload);
        if (b.size() - pos < frameSize)
            break;
        if (opcode == PingOpcode)
            ++m_droppedPings;
        else
            link.server->write(b.constData() + pos, frameSize);
        pos += int(frameSize);
    }
    link.pending.remove(0, pos);
    return true;
}

void PingDropRelay::onServerReadyRead(QTcpSocket *server)
{
    QTcpSocket *client = m_clientOf.value(server);
    if (client && client->bytesToWrite() < MaxPendingToClient)
        client->write(server->readAll());
}

void PingDropRelay::doCloseLink(QTcpSocket *client)
{
    auto it = m_links.find(client);
    if (it == m_links.end())
        return;
    const Link link = it.value();
    m_links.erase(it);
    m_clientOf.remove(link.server);
    link.client->disconnect(this);
    link.server->disconnect(this);
    // Pass on what the server still had to say before closing the client side.
    if (link.server->bytesAvailable() > 0)
        link.client->write(link.server->readAll());
    link.client->disconnectFromHost();
    link.server->disconnectFromHost();
    link.client->deleteLater();
    link.server->deleteLater();
}
