#include "repeatsender.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

class TestRepeatSender : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sendsAgainAndAgainFromTheBoundPort();
    void keepsGoingFromAnUnboundSocket();
    void stopsWhenTheSocketIsUnbound();
    void stopsWhenSendingFails();

private:
    // Waits for count datagrams at the receiver and returns them.
    QList<QNetworkDatagram> receive(int count);

    QUdpSocket m_socket;
    QUdpSocket m_receiver;
    std::unique_ptr<RepeatSender> m_sender;
};

void TestRepeatSender::init()
{
    QVERIFY(m_receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
    m_sender = std::make_unique<RepeatSender>(&m_socket);
}

void TestRepeatSender::cleanup()
{
    m_sender.reset();
    m_socket.close();
    m_receiver.close();
}

QList<QNetworkDatagram> TestRepeatSender::receive(int count)
{
    QList<QNetworkDatagram> datagrams;
    // The caller compares the count; a shortfall shows there.
    (void)QTest::qWaitFor(
        [&] {
            while (m_receiver.hasPendingDatagrams())
                datagrams << m_receiver.receiveDatagram();
            return datagrams.size() >= count;
        },
        10000);
    return datagrams;
}

void TestRepeatSender::sendsAgainAndAgainFromTheBoundPort()
{
    QVERIFY(m_socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
    QSignalSpy counts(m_sender.get(), &RepeatSender::sentCountChanged);
    QSignalSpy stopped(m_sender.get(), &RepeatSender::stopped);
    m_sender->start("ping", QHostAddress::LocalHost, m_receiver.localPort(), 10);
    // The first one at once.
    QCOMPARE(m_sender->sentCount(), 1);
    QVERIFY(m_sender->isActive());

    const QList<QNetworkDatagram> first = receive(5);
    QVERIFY(first.size() >= 5);
    m_sender->stop();
    QVERIFY(!m_sender->isActive());
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(stopped.first().first().toString(), QString());

    // Every datagram sent arrives, and no more after the stop.
    const int sent = m_sender->sentCount();
    const QList<QNetworkDatagram> all = first + receive(sent - first.size());
    QCOMPARE(all.size(), sent);
    QTest::qWait(50);
    QVERIFY(!m_receiver.hasPendingDatagrams());
    for (const QNetworkDatagram &datagram : all) {
        QCOMPARE(datagram.data(), QByteArray("ping"));
        QCOMPARE(datagram.senderPort(), int(m_socket.localPort()));
    }
    QCOMPARE(counts.first().first().toInt(), 0);
    QCOMPARE(counts.last().first().toInt(), sent);
}

void TestRepeatSender::keepsGoingFromAnUnboundSocket()
{
    QSignalSpy stopped(m_sender.get(), &RepeatSender::stopped);
    m_sender->start("x", QHostAddress::LocalHost, m_receiver.localPort(), 10);
    // Sending bound the socket to a port of the system's choice; that is no reason to stop.
    QCOMPARE(m_socket.state(), QAbstractSocket::BoundState);
    QVERIFY(receive(3).size() >= 3);
    QVERIFY(m_sender->isActive());
    QCOMPARE(stopped.count(), 0);
}

void TestRepeatSender::stopsWhenTheSocketIsUnbound()
{
    QVERIFY(m_socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
    QSignalSpy stopped(m_sender.get(), &RepeatSender::stopped);
    m_sender->start("x", QHostAddress::LocalHost, m_receiver.localPort(), 10);
    m_socket.close();
    QVERIFY(!m_sender->isActive());
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(stopped.first().first().toString(),
        QString("the socket was unbound, so the messages would leave from another port"));
}

void TestRepeatSender::stopsWhenSendingFails()
{
    QVERIFY(m_socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
    QSignalSpy stopped(m_sender.get(), &RepeatSender::stopped);
    // Larger than any UDP datagram can be.
    m_sender->start(QByteArray(70000, 'x'), QHostAddress::LocalHost, m_receiver.localPort(), 10);
    QVERIFY(!m_sender->isActive());
    QCOMPARE(m_sender->sentCount(), 0);
    QCOMPARE(stopped.count(), 1);
    const QString reason = stopped.first().first().toString();
    QVERIFY2(
        reason.startsWith(QString("cannot send to 127.0.0.1:%1: ").arg(m_receiver.localPort())),
        qPrintable(reason));
}

QTEST_GUILESS_MAIN(TestRepeatSender)
#include "tst_repeatsender.moc"
