#include "radarsimulator.h"
#include "simserver.h"
#include "simtestsupport.h"

#include <QJsonObject>
#include <QTest>

#include <memory>

namespace {

using SimTest::Peer;
using SimTest::Wait;

// Sends the text once the first state report is in, and waits for the answer.
bool sendText(Peer &peer, const QString &text)
{
    if (!peer.waitConnected() || !QTest::qWaitFor([&] { return peer.json.size() == 1; }, Wait))
        return false;
    peer.socket.sendTextMessage(text);
    return QTest::qWaitFor([&] { return peer.json.size() == 2; }, Wait);
}

} // namespace

class TestSimServer : public QObject
{
    Q_OBJECT

private:
    void start(const SimOptions &options = SimTest::quickOptions(5));

    std::unique_ptr<RadarSimulator> m_sim;

private slots:
    void cleanup();
    void stateWalkOnConnect();
    void protocolSelection_data();
    void protocolSelection();
    void badTextAnswered_data();
    void badTextAnswered();
    void oversizedMessageClosesOnlyThatClient();
    void everyClientGetsTraffic();
    void tooManyClients();
    void timeStampHeader_data();
    void timeStampHeader();
    void commandFramesAcknowledged_data();
    void commandFramesAcknowledged();
};

void TestSimServer::start(const SimOptions &options)
{
    m_sim = std::make_unique<RadarSimulator>(options);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
}

void TestSimServer::cleanup()
{
    m_sim.reset();
}

void TestSimServer::stateWalkOnConnect()
{
    SimOptions o = SimTest::quickOptions(5);
    o.server.stateStepMs = 80;
    o.server.portName = QStringLiteral("/dev/ttyS3");
    start(o);
    Peer peer(m_sim->url());
    QTRY_VERIFY_WITH_TIMEOUT(
        !peer.json.isEmpty() && peer.json.last().value(QStringLiteral("server_state")).toInt() == 3,
        Wait);
    int previous = -1;
    for (const QJsonObject &report : qAsConst(peer.json)) {
        QCOMPARE(report.value(QStringLiteral("command")).toInt(), 1);
        QCOMPARE(report.value(QStringLiteral("result")).toInt(-1), 0);
        QCOMPARE(
            report.value(QStringLiteral("nep_server_url")).toString(), m_sim->url().toString());
        QCOMPARE(
            report.value(QStringLiteral("port_name")).toString(), QStringLiteral("/dev/ttyS3"));
        QCOMPARE(report.value(QStringLiteral("server_state")).toInt(), previous + 1);
        previous = report.value(QStringLiteral("server_state")).toInt();
    }
    // Radar traffic only once the port is worked on.
    QTRY_VERIFY_WITH_TIMEOUT(!peer.binary.isEmpty(), Wait);
}

void TestSimServer::protocolSelection_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("reported");
    QTest::newRow("type P") << "{\"command\":2,\"radar_protocol\":1}" << true << 1;
    QTest::newRow("type Q") << "{\"radar_protocol\":0,\"command\":2}" << true << 0;
    QTest::newRow("unknown protocol 5") << "{\"command\":2,\"radar_protocol\":5}" << false << 0;
    QTest::newRow("protocol as text") << "{\"command\":2,\"radar_protocol\":\"1\"}" << false << 0;
    QTest::newRow("protocol missing") << "{\"command\":2}" << false << 0;
}

void TestSimServer::protocolSelection()
{
    QFETCH(QString, request);
    QFETCH(bool, accepted);
    QFETCH(int, reported);
    start();
    Peer peer(m_sim->url());
    QVERIFY(sendText(peer, request));
    const QJsonObject answer = peer.json.last();
    QCOMPARE(answer.value(QStringLiteral("command")).toInt(), 2);
    QCOMPARE(answer.value(QStringLiteral("result")).toInt(-1) == 0, accepted);
    QCOMPARE(answer.value(QStringLiteral("radar_protocol")).toInt(-1), reported);
    QCOMPARE(m_sim->server()->protocol(), reported);
}

void TestSimServer::badTextAnswered_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("command");
    QTest::newRow("not JSON") << "radar_protocol=1" << -1;
    QTest::newRow("JSON array") << "[1,2,3]" << -1;
    QTest::newRow("no command") << "{\"result\":0}" << -1;
    QTest::newRow("command as text") << "{\"command\":\"2\"}" << -1;
    QTest::newRow("unknown command 99") << "{\"command\":99}" << 99;
    QTest::newRow("deeply nested") << QString(5000, QLatin1Char('[')) << -1;
}

void TestSimServer::badTextAnswered()
{
    QFETCH(QString, text);
    QFETCH(int, command);
    start();
    Peer peer(m_sim->url());
    QVERIFY(sendText(peer, text));
    QCOMPARE(peer.json.last().value(QStringLiteral("command")).toInt(), command);
    QVERIFY(peer.json.last().value(QStringLiteral("result")).toInt(0) != 0);
    QVERIFY(!peer.json.last().value(QStringLiteral("comment")).toString().isEmpty());
    // The connection and the traffic go on.
    QVERIFY(peer.trafficGoesOn());
    QVERIFY(!peer.closed);
}

void TestSimServer::oversizedMessageClosesOnlyThatClient()
{
    start();
    Peer big(m_sim->url());
    Peer other(m_sim->url());
    QVERIFY(big.waitConnected());
    QVERIFY(other.waitConnected());
    big.socket.sendBinaryMessage(QByteArray(SimServer::MaxIncomingMessageSize + 1, '\x04'));
    QTRY_VERIFY_WITH_TIMEOUT(big.closed, Wait);
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->server()->clientCount(), 1, Wait);
    QVERIFY(other.trafficGoesOn());
    QVERIFY(!other.closed);
}

void TestSimServer::everyClientGetsTraffic()
{
    start();
    std::vector<std::unique_ptr<Peer>> peers;
    for (int i = 0; i < 3; ++i)
        peers.push_back(std::make_unique<Peer>(m_sim->url()));
    for (auto &peer : peers)
        QTRY_VERIFY_WITH_TIMEOUT(peer->binary.size() >= 5, Wait);
    QCOMPARE(m_sim->server()->clientCount(), 3);
    peers.front()->socket.close();
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->server()->clientCount(), 2, Wait);
}

void TestSimServer::tooManyClients()
{
    SimOptions o = SimTest::quickOptions(5);
    o.server.maxClients = 1;
    start(o);
    Peer first(m_sim->url());
    QVERIFY(first.waitConnected());
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->server()->clientCount(), 1, Wait);
    Peer second(m_sim->url());
    QTRY_VERIFY_WITH_TIMEOUT(second.closed, Wait);
    QCOMPARE(second.socket.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
    QVERIFY(!first.closed);
}

void TestSimServer::timeStampHeader_data()
{
    QTest::addColumn<bool>("timeStamps");
    QTest::newRow("with header") << true;
    QTest::newRow("without header") << false;
}

void TestSimServer::timeStampHeader()
{
    QFETCH(bool, timeStamps);
    SimOptions o = SimTest::quickOptions(5);
    o.server.timeStamps = timeStamps;
    start(o);
    Peer peer(m_sim->url());
    QTRY_VERIFY_WITH_TIMEOUT(!peer.binary.isEmpty(), Wait);
    const QByteArray m = peer.binary.first();
    QCOMPARE(m.startsWith("#DT"), timeStamps);
    if (!timeStamps) {
        // The frame area starts with the synchronisation frame 0x3FF, length 8.
        QCOMPARE(m.left(3), QByteArray("\x03\xFF\x08", 3));
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const int year = quint8(m[5]) | quint8(m[6]) << 8;
    const int msec = quint8(m[10]) | quint8(m[11]) << 8;
    const QDateTime stamped(QDate(year, quint8(m[4]), quint8(m[3])),
        QTime(quint8(m[7]), quint8(m[8]), quint8(m[9]), msec), Qt::UTC);
    QVERIFY(stamped.isValid());
    QVERIFY(qAbs(stamped.msecsTo(now)) < 5000);
    QCOMPARE(m.mid(12, 3), QByteArray("\x03\xFF\x08", 3));
}

void TestSimServer::commandFramesAcknowledged_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("ack"); // -1: none

    // Command frames of the type Q radar: value (4 bytes), action, paramType, paramNumber, 0.
    QTest::newRow("get sensitivity") << QByteArray::fromHex("04F2080000000094020400") << 0;
    QTest::newRow("unknown action 77") << QByteArray::fromHex("04F208000000004D020000") << 1;
    QTest::newRow("sensitivity 101") << QByteArray::fromHex("04F2080000006594000400") << 2;
    QTest::newRow("write to the calibration state")
        << QByteArray::fromHex("04F20800000001FE000100") << 3;
    QTest::newRow("paramType 9") << QByteArray::fromHex("04F2080000000094090400") << 4;
    QTest::newRow("device information selector 5")
        << QByteArray::fromHex("04F2080000000500022800") << 2;
    QTest::newRow("position frame, unknown selector")
        << QByteArray::fromHex("04A0083000000000000000") << 1;
    QTest::newRow("position frame, azimuth 360.00")
        << QByteArray::fromHex("04A0081000008CA0000000") << 2;
    QTest::newRow("position frame, altitude 360.00")
        << QByteArray::fromHex("04A008108CA00000000000") << 2;
    QTest::newRow("position frame, azimuth 359.99")
        << QByteArray::fromHex("04A0081000008C9F000000") << 0;
    QTest::newRow("frame of length 7") << QByteArray::fromHex("04F20700000000940204") << -1;
    QTest::newRow("type P identifier") << QByteArray::fromHex("03F2080000000094020400") << -1;
    QTest::newRow("two frames in one message")
        << QByteArray::fromHex("04F208000000009402040004F2080000000094020400") << -1;
    QTest::newRow("empty message") << QByteArray() << -1;
}

void TestSimServer::commandFramesAcknowledged()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, ack);
    start();
    Peer peer(m_sim->url());
    QTRY_VERIFY_WITH_TIMEOUT(!peer.binary.isEmpty(), Wait);
    const int sentAt = peer.binary.size();
    peer.socket.sendBinaryMessage(frame);
    QTRY_VERIFY_WITH_TIMEOUT(peer.binary.size() > sentAt + 10, Wait);
    QList<QByteArray> acks;
    for (int i = sentAt; i < peer.binary.size(); ++i) {
        const QByteArray area = peer.binary.at(i).mid(12);
        if (area.startsWith("\x04\xF0"))
            acks.append(area.left(4));
    }
    if (ack < 0) {
        QVERIFY(acks.isEmpty());
        return;
    }
    QCOMPARE(acks.size(), 1);
    QCOMPARE(acks.first(), QByteArray::fromHex("04F000") + char(ack));
}

QTEST_GUILESS_MAIN(TestSimServer)
#include "tst_simserver.moc"
