#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVector>

class MessageRecorder;
class QWebSocket;
class SimServer;

// Sits between the clients of a forwarding SimServer and a real server: every client
// gets its own connection upstream, and everything is passed on both ways. The server's
// messages to the oldest open client are recorded, when a recorder is given.
class ProxyBridge : public QObject
{
    Q_OBJECT

public:
    // Client messages held while the upstream connection opens.
    static constexpr int MaxHeldMessages = 64;
    static constexpr qint64 MaxIncomingMessageSize = 1024 * 1024;
    // Unsent bytes towards the upstream server before client messages are dropped.
    static constexpr qint64 MaxUpstreamBacklog = 4 * 1024 * 1024;

    ProxyBridge(SimServer *server, const QUrl &upstream, MessageRecorder *recorder,
        QObject *parent = nullptr);
    ~ProxyBridge() override;

    int upstreamCount() const { return m_links.size(); }

private:
    struct Held
    {
        bool binary;
        QByteArray data;
    };
    struct Link
    {
        QWebSocket *upstream = nullptr;
        QVector<Held> held;
    };

    void onClientConnected(quint64 client);
    void onClientDisconnected(quint64 client);
    void onClientText(quint64 client, const QString &text);
    void onClientBinary(quint64 client, const QByteArray &message);
    void onUpstreamConnected(quint64 client);
    void doHold(quint64 client, const Held &message);
    bool isRecorded(quint64 client) const;

    SimServer *m_server;
    QUrl m_upstream;
    MessageRecorder *m_recorder;
    QMap<quint64, Link> m_links;
};
