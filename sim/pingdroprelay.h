#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// A TCP relay in front of the WebSocket server that passes everything both ways except
// the clients' ping frames, which it drops. Qt's WebSocket server answers every ping it
// reads, so a server that refuses pongs is made by never letting the pings reach it.
class PingDropRelay : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxLinks = 64;
    // A client frame larger than this closes the link (the server refuses far less).
    static constexpr qint64 MaxFrameSize = 1024 * 1024;
    // Bytes held for a client that does not read, in each direction of the relay.
    static constexpr qint64 MaxPendingToClient = 256 * 1024;

    explicit PingDropRelay(QObject *parent = nullptr);
    ~PingDropRelay() override;

    bool listen(const QHostAddress &address, quint16 port, quint16 targetPort, QString *error);
    quint16 port() const { return m_server.serverPort(); }
    int linkCount() const { return m_links.size(); }
    quint64 droppedPings() const { return m_droppedPings; }

private:
    struct Link
    {
        QTcpSocket *client = nullptr;
        QTcpSocket *server = nullptr;
        QByteArray pending; // client bytes not yet passed on
        bool upgraded = false; // the HTTP upgrade request has been passed on
    };

    void onNewConnection();
    void onClientReadyRead(QTcpSocket *client);
    void onServerReadyRead(QTcpSocket *server);
    void doCloseLink(QTcpSocket *client);
    // Passes whole frames from link.pending to the server, dropping pings; false when
    // the stream is broken.
    bool doForwardFrames(Link &link);

    QTcpServer m_server;
    quint16 m_targetPort = 0;
    QHash<QTcpSocket *, Link> m_links; // by client socket
    QHash<QTcpSocket *, QTcpSocket *> m_clientOf; // server socket -> client socket
    quint64 m_droppedPings = 0;
};
