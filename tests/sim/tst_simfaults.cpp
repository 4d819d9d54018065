#include "radarsimulator.h"
#include "simtestsupport.h"
#include "vantorserialqelprotocolclient.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

using SimTest::statesOf;
using SimTest::Wait;
constexpr int GetSensitivity = 23;

SimOptions testOptions()
{
    return SimTest::quickOptions(11);
}

} // namespace

class TestSimFaults : public QObject
{
    Q_OBJECT

private:
    void start(const SimOptions &options);

    std::unique_ptr<RadarSimulator> m_sim;
    std::unique_ptr<IVantorSerialConnectionClient> m_client;

private slots:
    void cleanup();
    void commandFaults_data();
    void commandFaults();
    void radarStateFaults_data();
    void radarStateFaults();
    void silentRadar();
    void droppedConnection();
    void refusedPings();
};

void TestSimFaults::cleanup()
{
    m_client.reset();
    m_sim.reset();
}

void TestSimFaults::start(const SimOptions &options)
{
    m_sim = std::make_unique<RadarSimulator>(options);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_client = std::make_unique<VantorSerialQelProtocolClient>();
    IVantorClient::Timing timing;
    timing.commandTimeoutMs = 600;
    // A ping unanswered until the next drops the link, and a loaded machine may hold a
    // healthy answer back 300 ms: pings that fast only where they are the fault.
    timing.pingIntervalMs = options.server.refusePings ? 300 : 60000;
    timing.offlineTimeoutMs = 500;
    m_client->setTimingForTests(timing);
    QVERIFY(m_client->connectToServer(m_sim->url(), 200));
}

using States = QList<QPair<int, int>>;
Q_DECLARE_METATYPE(States)

void TestSimFaults::commandFaults_data()
{
    QTest::addColumn<int>("busyAcks");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<bool>("noAcks");
    QTest::addColumn<States>("expected");

    // Busy answers re-send the command without using up an attempt.
    QTest::newRow("two busy acknowledgements")
        << 2 << 0 << false
        << States { { 1, 0 }, { 2, 0 }, { 2, 255 }, { 2, 0 }, { 2, 255 }, { 2, 0 }, { 3, 0 } };
    // An error code uses up all five attempts.
    QTest::newRow("error code 7") << 0 << 7 << false
                                  << States { { 1, 0 }, { 2, 0 }, { 2, 7 }, { 2, 0 }, { 2, 7 },
                                         { 2, 0 }, { 2, 7 }, { 2, 0 }, { 2, 7 }, { 2, 0 },
                                         { 4, 7 } };
    QTest::newRow("missing acknowledgements")
        << 0 << 0 << true
        << States { { 1, 0 }, { 2, 0 }, { 2, -7 }, { 2, 0 }, { 2, -7 }, { 2, 0 }, { 2, -7 },
               { 2, 0 }, { 2, -7 }, { 2, 0 }, { 4, -7 } };
}

void TestSimFaults::commandFaults()
{
    QFETCH(int, busyAcks);
    QFETCH(int, errorCode);
    QFETCH(bool, noAcks);
    QFETCH(States, expected);

    SimOptions o = testOptions();
    o.radar.faults.busyAcks = busyAcks;
    o.radar.faults.errorCode = quint8(errorCode);
    o.radar.faults.noAcks = noAcks;
    start(o);
    QTRY_COMPARE_WITH_TIMEOUT(m_client->radarState(), 2, Wait);
    QSignalSpy commands(m_client.get(), &IVantorClient::radarCommandStateChanged);
    QSignalSpy result(m_client.get(), &IVantorClient::radarSensitivity);
    m_client->sendCmdGetRadarSensitivity();
    QTRY_COMPARE_WITH_TIMEOUT(statesOf(commands, GetSensitivity).size(), expected.size(), Wait);
    QCOMPARE(statesOf(commands, GetSensitivity), expected);
    // Only a command that was carried out is answered.
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), busyAcks > 0 ? 1 : 0, 500);
    QCOMPARE(m_client->radarState(), 2);
}

void TestSimFaults::radarStateFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("expected");
    QTest::newRow("cycle stops advancing") << "stuck" << 1;
    QTest::newRow("wrong variant identifiers") << "variant" << -1;
    QTest::newRow("malformed frames") << "malformed" << -1;
    QTest::newRow("radar of the other variant") << "radar P" << -1;
}

void TestSimFaults::radarStateFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, expected);
    SimOptions o = testOptions();
    o.radar.faults.stuckCycle = fault == QLatin1String("stuck");
    o.radar.faults.wrongVariant = fault == QLatin1String("variant");
    o.radar.faults.malformedFrames = fault == QLatin1String("malformed");
    if (fault == QLatin1String("radar P"))
        o.radar.variant = RadarVariant(RadarVariant::TypeP);
    start(o);
    QSignalSpy states(m_client.get(), &IVantorClient::radarStateChanged);
    QTRY_COMPARE_WITH_TIMEOUT(m_client->radarState(), expected, Wait);
    // It stays there: nothing else is ever accepted.
    QTest::qWait(300);
    QCOMPARE(states.size(), 1);
    QCOMPARE(states.first().at(0).toInt(), expected);
}

void TestSimFaults::silentRadar()
{
    SimOptions o = testOptions();
    o.radar.faults.silent = true;
    start(o);
    QSignalSpy states(m_client.get(), &IVantorClient::radarStateChanged);
    QSignalSpy commands(m_client.get(), &IVantorClient::radarCommandStateChanged);
    QTRY_VERIFY_WITH_TIMEOUT(m_client->isConnected(), Wait);
    m_client->sendCmdGetRadarSensitivity();
    QTRY_VERIFY_WITH_TIMEOUT(SimTest::finished(commands, GetSensitivity), Wait);
    QCOMPARE(statesOf(commands, GetSensitivity).last(), qMakePair(4, -7));
    QCOMPARE(m_client->totalFrames(), quint64(0));
    QCOMPARE(m_client->radarState(), 0);
    QVERIFY(states.isEmpty());
}

void TestSimFaults::droppedConnection()
{
    SimOptions o = testOptions();
    o.server.dropAfterMs = 600;
    start(o);
    QSignalSpy connected(m_client.get(), &IVantorClient::connected);
    QSignalSpy disconnected(m_client.get(), &IVantorClient::disconnected);
    QTRY_COMPARE_WITH_TIMEOUT(m_client->radarState(), 2, Wait);
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, Wait);
    // The client reconnects after its time-out and the radar works again, until the
    // next drop.
    QTRY_VERIFY_WITH_TIMEOUT(connected.size() >= 2, Wait);
    const quint64 frames = m_client->totalFrames();
    QTRY_VERIFY_WITH_TIMEOUT(m_client->totalFrames() > frames + 5, Wait);
    QCOMPARE(m_client->radarState(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 2, Wait);
}

void TestSimFaults::refusedPings()
{
    SimOptions o = testOptions();
    o.server.refusePings = true;
    start(o);
    QSignalSpy latency(m_client.get(), &IVantorClient::pingLatency);
    QSignalSpy disconnected(m_client.get(), &IVantorClient::disconnected);
    QTRY_COMPARE_WITH_TIMEOUT(m_client->radarState(), 2, Wait);
    // Traffic and commands still pass; only the pings go unanswered, so the client
    // closes the link at its second ping.
    QTRY_VERIFY_WITH_TIMEOUT(disconnected.size() >= 1, Wait);
    QVERIFY(latency.isEmpty());
}

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_simfaults.moc"
