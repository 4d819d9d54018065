#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QWebSocket;

// The WebSocket link to the serial-port server: opens it, keeps it alive with one-byte
// pings, reopens it after the reconnect time-out and hands over the messages received.
// QWebSocket has no time-out of its own: a server that accepts the connection and never
// completes the handshake keeps it connecting for ever. So connecting, and closing, last
// at most the connect time-out; then the socket is aborted (connectingTimedOut() follows
// the notconnected() of a stalled attempt) and reopened on the usual schedule.
class ServerLink : public QObject
{
    Q_OBJECT

public:
    // Incoming WebSocket messages and frames above this size are refused; one radar cycle
    // with 64 objects is about 2 KiB.
    static constexpr qint64 MaxIncomingMessageSize = 1024 * 1024;
    static constexpr int DefaultConnectTimeoutMs = 5000;

    explicit ServerLink(QObject *parent = nullptr);
    ~ServerLink() override;

    // Creates the socket and opens it; the link exists until close().
    void open(const QUrl &url, int reconnectTimeoutMs);
    // Releases the socket; emits disconnected when a connection had been established.
    void close();

    bool isOpen() const { return m_socket != nullptr; }
    bool isConnected() const { return m_connected; }
    QUrl url() const { return m_url; }

    void setPingInterval(int ms);
    void setConnectTimeout(int ms);
    void sendBinary(const QByteArray &data);
    void sendText(const QString &text);

signals:
    void connecting();
    void connected();
    void notconnected();
    void disconnected();
    // The server accepted the connection but did not complete the handshake in time.
    void connectingTimedOut();
    // The link was closed because the server sent a message or frame above
    // MaxIncomingMessageSize; follows disconnected().
    void messageTooLarge();
    // The link was closed because the server left a ping unanswered for a ping interval;
    // follows disconnected().
    void pingTimedOut();
    void pingLatency(quint64 latency);
    void textMessageReceived(const QString &text);
    void binaryMessageReceived(const QByteArray &data);

private slots:
    void onSocketStateChanged(QAbstractSocket::SocketState state);
    void onPongReceived(quint64 elapsedTime, const QByteArray &payload);
    void doPingServer();
    void doOpenSocket();
    void doCloseSocket();
    void doAbortStalledSocket();

private:
    QUrl m_url;
    int m_reconnectTimeoutMs = 1000;
    QWebSocket *m_socket = nullptr;
    bool m_connected = false;
    QTimer m_pingTimer;
    // Bounds the connecting and closing states.
    QTimer m_stallTimer;
    quint8 m_pingSent = 0;
    quint8 m_pongReceived = 0;
    // Set once the current socket reaches the connected state, so that its end is told
    // apart from a failed attempt even though the socket passes through closing first.
    bool m_sessionEstablished = false;
    // doCloseSocket() is waiting for the socket to close.
    bool m_closeRequested = false;
    // The current socket is closing because a message was too large.
    bool m_refusedMessage = false;
    // The current socket is closing because a ping went unanswered.
    bool m_pingUnanswered = false;
};
