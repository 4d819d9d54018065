#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

class QUdpSocket;

// Sends one datagram again and again from the console's socket: the first at once, then one
// every interval. It stops by itself when a send fails, and when the socket is closed or
// unbound, because the datagrams would then leave from another port.
class RepeatSender : public QObject
{
    Q_OBJECT

public:
    // The socket belongs to the caller and must outlive the sender.
    explicit RepeatSender(QUdpSocket *socket, QObject *parent = nullptr);

    void start(
        const QByteArray &datagram, const QHostAddress &address, quint16 port, int intervalMsecs);
    // Stops without a reason to report.
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    // Datagrams sent since the last start.
    int sentCount() const { return m_sentCount; }

signals:
    void sentCountChanged(int count);
    // Emitted whenever sending stops; reason is empty when stop() was called.
    void stopped(const QString &reason);

private:
    void onTimeout();
    void onSocketStateChanged(QAbstractSocket::SocketState state);
    void doStop(const QString &reason);

    QUdpSocket *m_socket;
    QTimer m_timer;
    QByteArray m_datagram;
    QHostAddress m_address;
    quint16 m_port = 0;
    int m_sentCount = 0;
};
