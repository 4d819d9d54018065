#include "rawwebsocketserver.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QTcpSocket>

RawWebSocketServer::RawWebSocketServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &RawWebSocketServer::onNewConnection);
}

bool RawWebSocketServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl RawWebSocketServer::url() const
{
    return QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(m_server.serverPort()));
}

void RawWebSocketServer::sendPong(const QByteArray &payload)
{
    doSendFrame(0xA, payload);
}

void RawWebSocketServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        ++m_connectionCount;
        if (m_client)
            m_client->deleteLater();
        m_client = socket;
        m_buffer.clear();
        m_upgraded = false;
        connect(socket, &QTcpSocket::readyRead, this, &RawWebSocketServer::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (m_client == socket)
                m_client = nullptr;
            socket->deleteLater();
        });
    }
}

void RawWebSocketServer::onReadyRead()
{
    if (!m_client)
        return;
    m_buffer += m_client->readAll();
    if (!m_upgraded && !doHandshake())
        return;
    // Client frames: FIN/opcode, mask bit and length, optional extended length, mask, data.
    while (m_buffer.size() >= 2) {
        const quint8 opcode = quint8(m_buffer.at(0)) & 0x0F;
        quint64 length = quint8(m_buffer.at(1)) & 0x7F;
        int offset = 2;
        if (length == 126) {
            if (m_buffer.size() < 4)
                return;
            length = quint8(m_buffer.at(2)) << 8 | quint8(m_buffer.at(3));
            offset = 4;
        } else if (length == 127) {
            return; // never sent by the client under test
        }
        if (quint64(m_buffer.size()) < offset + 4 + length)
            return;
        const QByteArray mask = m_buffer.mid(offset, 4);
        QByteArray payload = m_buffer.mid(offset + 4, int(length));
        for (int i = 0; i < payload.size(); ++i)
            payload[i] = char(payload.at(i) ^ mask.at(i % 4));
        m_buffer.remove(0, offset + 4 + int(length));
        if (opcode == 0x9) {
            pings.append(payload);
            if (answerPings)
                doSendFrame(0xA, payload);
        } else if (opcode == 0x8) {
            doSendFrame(0x8, payload.left(2));
            m_client->disconnectFromHost();
            return;
        }
    }
}

bool RawWebSocketServer::doHandshake()
{
    const int end = m_buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const QList<QByteArray> lines = m_buffer.left(end).split('\n');
    m_buffer.remove(0, end + 4);
    QByteArray key;
    for (const QByteArray &line : lines) {
        if (line.toLower().startsWith("sec-websocket-key:"))
            key = line.mid(line.indexOf(':') + 1).trimmed();
    }
    const QByteArray accept = QCryptographicHash::hash(
        key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11", QCryptographicHash::Sha1)
                                  .toBase64();
    m_client->write("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                    "Connection: Upgrade\r\nSec-WebSocket-Accept: "
        + accept + "\r\n\r\n");
    m_upgraded = true;
    return true;
}

void RawWebSocketServer::doSendFrame(quint8 opcode, const QByteArray &payload)
{
    if (!m_client || payload.size() > 125)
        return;
    QByteArray frame;
    frame += char(0x80 | opcode);
    frame += char(payload.size());
    frame += payload;
    m_client->write(frame);
}
