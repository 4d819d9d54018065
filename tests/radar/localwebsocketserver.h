#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QWebSocketServer>

class QWebSocket;

// A real WebSocket server on 127.0.0.1 standing in for the serial-port server. It keeps
// the last accepted connection and records what the client sends.
class LocalWebSocketServer : public QObject
{
    Q_OBJECT

public:
    explicit LocalWebSocketServer(QObject *parent = nullptr);

    bool listen();
    QUrl url() const;
    quint16 port() const;

    QWebSocket *client() const { return m_client; }
    int connectionCount() const { return m_connectionCount; }

    void sendBinary(const QByteArray &message);
    void sendText(const QString &message);
    void closeClient();

    QList<QByteArray> binaryMessages;
    QStringList textMessages;

signals:
    void binaryReceived(const QByteArray &message);

private:
    void onNewConnection();

    QWebSocketServer m_server;
    QWebSocket *m_client = nullptr;
    int m_connectionCount = 0;
};
