#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A minimal WebSocket server written on a plain TCP server, for what Qt's server does
// by itself: it can leave pings unanswered and send pongs of any payload.
class RawWebSocketServer : public QObject
{
    Q_OBJECT

public:
    explicit RawWebSocketServer(QObject *parent = nullptr);

    bool listen();
    QUrl url() const;

    bool answerPings = true;
    QList<QByteArray> pings;
    int connectionCount() const { return m_connectionCount; }
    bool hasClient() const { return m_client; }

    void sendPong(const QByteArray &payload);

private:
    void onNewConnection();
    void onReadyRead();
    bool doHandshake();
    void doSendFrame(quint8 opcode, const QByteArray &payload);

    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_buffer;
    bool m_upgraded = false;
    int m_connectionCount = 0;
};
