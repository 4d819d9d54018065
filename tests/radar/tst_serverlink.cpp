#include "serverlink.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketServer>
#include <QtTest>

namespace {

// Shortened periods; the product's are 5000 ms and 1000 ms.
constexpr int ConnectTimeoutMs = 400;
constexpr int ReconnectMs = 100;
// Far beyond the few periods each test needs, so that only a link that never recovers fails.
constexpr int Wait = 15000;

// A TCP server that accepts every connection and never completes a WebSocket handshake:
// it stays silent, or answers what arrives with random bytes (with or without line ends,
// which decide whether Qt's handshake parser gives up or keeps waiting).
class StallingServer : public QObject
{
public:
    enum Mode { Silent, RandomBytes, RandomBytesWithoutLineEnds };

    explicit StallingServer(Mode mode)
        : m_mode(mode)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++m_connectionCount;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    socket->readAll();
                    if (m_mode != Silent)
                        socket->write(randomBytes());
                });
            }
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost); }
    quint16 port() const { return m_server.serverPort(); }
    QUrl url() const { return QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(port())); }
    int connectionCount() const { return m_connectionCount; }
    // Stops taking connections; those taken stay open and silent.
    void stopListening() { m_server.close(); }

private:
    QByteArray randomBytes()
    {
        QByteArray bytes(256, Qt::Uninitialized);
        for (char &byte : bytes) {
            byte = char(m_random.bounded(256));
            if (m_mode == RandomBytesWithoutLineEnds && (byte == '\n' || byte == '\r'))
                byte = ' ';
        }
        return bytes;
    }

    Mode m_mode;
    QTcpServer m_server;
    QRandomGenerator m_random { 20261209 };
    int m_connectionCount = 0;
};

} // namespace

Q_DECLARE_METATYPE(StallingServer::Mode)

class TestServerLink : public QObject
{
    Q_OBJECT

private slots:
    void stalledHandshakeIsAbortedAndRetried_data();
    void stalledHandshakeIsAbortedAndRetried();
    void serverThatWorksAfterAStallIsReached();
    void healthyServerIsNotTimedOut();
    void messageAboveTheLimitIsNamed_data();
    void messageAboveTheLimitIsNamed();
};

void TestServerLink::stalledHandshakeIsAbortedAndRetried_data()
{
    QTest::addColumn<StallingServer::Mode>("mode");
    QTest::addColumn<bool>("timesOut");

    QTest::newRow("accepts and never answers") << StallingServer::Silent << true;
    QTest::newRow("answers with random bytes without line ends")
        << StallingServer::RandomBytesWithoutLineEnds << true;
    // Qt may refuse the answer before the time-out; either way the link tries again.
    QTest::newRow("answers with random bytes") << StallingServer::RandomBytes << false;
}

void TestServerLink::stalledHandshakeIsAbortedAndRetried()
{
    QFETCH(StallingServer::Mode, mode);
    QFETCH(bool, timesOut);
    StallingServer server(mode);
    QVERIFY(server.listen());
    ServerLink link;
    link.setConnectTimeout(ConnectTimeoutMs);
    QSignalSpy connecting(&link, &ServerLink::connecting);
    QSignalSpy connected(&link, &ServerLink::connected);
    QSignalSpy notconnected(&link, &ServerLink::notconnected);
    QSignalSpy timedOut(&link, &ServerLink::connectingTimedOut);
    QList<QString> order;
    connect(&link, &ServerLink::notconnected, this, [&] { order.append("notconnected"); });
    connect(&link, &ServerLink::connectingTimedOut, this, [&] { order.append("timed out"); });

    link.open(server.url(), ReconnectMs);
    QTRY_VERIFY_WITH_TIMEOUT(server.connectionCount() >= 3, Wait);
    QTRY_VERIFY_WITH_TIMEOUT(notconnected.count() >= 2, Wait);

    QCOMPARE(connected.count(), 0);
    QVERIFY(connecting.count() >= 3);
    QVERIFY(!link.isConnected());
    if (timesOut) {
        QVERIFY(timedOut.count() >= 2);
        // Each attempt ends as failed, then says why, so the time-out is the last word.
        QCOMPARE(order.mid(0, 4),
            (QList<QString> { "notconnected", "timed out", "notconnected", "timed out" }));
    }
}

void TestServerLink::serverThatWorksAfterAStallIsReached()
{
    StallingServer stalling(StallingServer::Silent);
    QVERIFY(stalling.listen());
    const quint16 port = stalling.port();
    ServerLink link;
    link.setConnectTimeout(ConnectTimeoutMs);
    QSignalSpy connected(&link, &ServerLink::connected);
    QSignalSpy timedOut(&link, &ServerLink::connectingTimedOut);
    link.open(stalling.url(), ReconnectMs);

    // The stall lasts three connect time-outs, as 15 s do against the product's 5 s.
    QTRY_VERIFY_WITH_TIMEOUT(timedOut.count() >= 3, Wait);
    QCOMPARE(connected.count(), 0);
    stalling.stopListening();
    QWebSocketServer healthy(QStringLiteral("healthy"), QWebSocketServer::NonSecureMode);
    QVERIFY2(healthy.listen(QHostAddress::LocalHost, port), qPrintable(healthy.errorString()));

    QVERIFY(connected.wait(Wait));
    QVERIFY(link.isConnected());
    QVERIFY(healthy.hasPendingConnections());
}

void TestServerLink::healthyServerIsNotTimedOut()
{
    // Connected links outlive many connect time-outs.
    QWebSocketServer healthy(QStringLiteral("healthy"), QWebSocketServer::NonSecureMode);
    QVERIFY(healthy.listen(QHostAddress::LocalHost));
    ServerLink link;
    link.setConnectTimeout(ConnectTimeoutMs);
    link.setPingInterval(60000);
    QSignalSpy connected(&link, &ServerLink::connected);
    QSignalSpy disconnected(&link, &ServerLink::disconnected);
    QSignalSpy timedOut(&link, &ServerLink::connectingTimedOut);
    link.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(healthy.serverPort())), ReconnectMs);
    QVERIFY(connected.wait(Wait));
    QTest::qWait(3 * ConnectTimeoutMs);
    QCOMPARE(disconnected.count(), 0);
    QCOMPARE(timedOut.count(), 0);
    QVERIFY(link.isConnected());
}

void TestServerLink::messageAboveTheLimitIsNamed_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("tooLarge");

    QTest::newRow("one byte over the limit") << ServerLink::MaxIncomingMessageSize + 1 << true;
    QTest::newRow("at the limit: received") << ServerLink::MaxIncomingMessageSize << false;
    QTest::newRow("none: the server just closes") << qint64(0) << false;
}

void TestServerLink::messageAboveTheLimitIsNamed()
{
    QFETCH(qint64, size);
    QFETCH(bool, tooLarge);
    QWebSocketServer server(QStringLiteral("sender"), QWebSocketServer::NonSecureMode);
    QVERIFY(server.listen(QHostAddress::LocalHost));
    connect(&server, &QWebSocketServer::newConnection, this, [&] {
        QWebSocket *socket = server.nextPendingConnection();
        socket->setParent(&server); // freed with the server, whatever the link does
        if (size > 0)
            socket->sendBinaryMessage(QByteArray(int(size), 'x'));
        socket->close();
    });
    ServerLink link;
    QList<QString> order;
    connect(&link, &ServerLink::disconnected, this, [&] { order.append("disconnected"); });
    connect(&link, &ServerLink::messageTooLarge, this, [&] { order.append("too large"); });
    // The server answers pings: a closed link is not blamed on them.
    connect(&link, &ServerLink::pingTimedOut, this, [&] { order.append("ping timed out"); });
    QSignalSpy received(&link, &ServerLink::binaryMessageReceived);
    link.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(server.serverPort())), 60000);

    QTRY_VERIFY_WITH_TIMEOUT(!order.isEmpty(), Wait);
    QTest::qWait(50);
    const QList<QString> expected = tooLarge ? QList<QString> { "disconnected", "too large" }
                                             : QList<QString> { "disconnected" };
    QCOMPARE(order, expected);
    QCOMPARE(received.count(), size > 0 && !tooLarge ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestServerLink)
#include "tst_serverlink.moc"
