#pragma once

#include <QHostAddress>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <QWebSocketServer>

class PingDropRelay;
class QWebSocket;

// The serial-port server's WebSocket side. In the emulated mode it answers the JSON
// commands itself (server state report 1, protocol selection 2), walks through its own
// states after start-up, stamps each radar message with the time-stamp header and sends
// it to every client, and hands the clients' binary messages on as command frames. In
// the forwarding mode it only carries messages between clients and whoever drives it
// (the proxy).
class SimServer : public QObject
{
    Q_OBJECT

public:
    // Server states reported under "server_state".
    enum ServerState { ConnectingToNeps = 0, OpeningPort = 1, TestingPort = 2, WorkingOnPort = 3 };
    enum class Mode { Emulated, Forwarding };

    struct Settings
    {
        QHostAddress address = QHostAddress(QHostAddress::LocalHost);
        quint16 port = 7578;
        Mode mode = Mode::Emulated;
        bool timeStamps = true;
        int stateStepMs = 500; // time spent in each state before working on the port
        int dropAfterMs = 0; // non-zero: each connection is closed after this long
        bool refusePings = false;
        bool garbageText = false; // random text that is no JSON, 20 messages a second
        bool garbageBinary = false; // random bytes, 20 messages a second
        int hugeMessageMiB = 0; // non-zero: the first client gets one message this large
        bool hugeMessageIsText = false;
        int maxClients = 16;
        int protocol = 0; // protocol number reported until a client selects one
        QString portName = QStringLiteral("/dev/ttyUSB0");
    };

    static constexpr qint64 MaxIncomingMessageSize = 64 * 1024;
    // Unsent bytes a client may have queued before its messages are dropped.
    static constexpr qint64 MaxBacklog = 4 * 1024 * 1024;

    explicit SimServer(const Settings &settings, QObject *parent = nullptr);
    ~SimServer() override;

    bool listen(QString *error);
    quint16 port() const;
    QUrl url() const;
    int clientCount() const { return m_clients.size(); }
    int serverState() const { return m_state; }
    int protocol() const { return m_protocol; }
    static QString stateText(int state);

public slots:
    // Emulated mode: adds the header (when enabled) and sends to every client, once the
    // server works on its port.
    void sendRadarMessage(const QByteArray &frameArea);
    // Sends a message as it stands to every client.
    void sendRawMessage(const QByteArray &message);
    // A message from a recording, sent as it stands once the server works on its port.
    void sendRecordedMessage(const QByteArray &message);
    void sendBinaryToClient(quint64 client, const QByteArray &message);
    void sendTextToClient(quint64 client, const QString &text);
    void closeClient(quint64 client, const QString &reason);

signals:
    void commandFrameReceived(const QByteArray &frame);
    void clientConnected(quint64 client);
    void clientDisconnected(quint64 client);
    // Forwarding mode only.
    void clientTextReceived(quint64 client, const QString &text);
    void clientBinaryReceived(quint64 client, const QByteArray &message);
    void serverStateChanged(int state);

private:
    void onNewConnection();
    void onTextMessage(quint64 client, const QString &text);
    void onBinaryMessage(quint64 client, const QByteArray &message);
    void onClientGone(quint64 client);
    void doAdvanceState();
    void doSendStateReport(QWebSocket *socket);
    void doSendJson(QWebSocket *socket, const QJsonObject &object);
    void doSendBinary(quint64 client, QWebSocket *socket, const QByteArray &message);
    void doSendGarbage();
    void doSendHugeMessage(QWebSocket *socket);

    Settings m_settings;
    QWebSocketServer m_server;
    PingDropRelay *m_relay = nullptr;
    QMap<quint64, QWebSocket *> m_clients;
    QSet<quint64> m_lagging;
    quint64 m_nextClient = 1;
    int m_state = ConnectingToNeps;
    int m_protocol = 0;
    QTimer m_stateTimer;
    QTimer m_garbageTimer;
    bool m_hugeMessageSent = false;
};
