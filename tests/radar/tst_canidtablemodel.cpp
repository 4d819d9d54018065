#include "canidtablemodel.h"
#include "linkhistory.h"
#include "radarsimulator.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"

#include "../sim/simtestsupport.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QMap>
#include <QTest>

#include <memory>

namespace {

using SimTest::Wait;

// What the simulator sent of one identifier, read from its frame areas here on their own:
// each frame is the identifier (big-endian), the length and that many bytes.
struct Sent
{
    quint64 count = 0;
    QByteArray payload;
};

QMap<quint16, Sent> sentOf(const QList<QByteArray> &areas)
{
    QMap<quint16, Sent> sent;
    for (const QByteArray &area : areas) {
        for (int at = 0; at + 3 <= area.size();) {
            const quint16 id = quint16((quint8(area[at]) << 8) | quint8(area[at + 1]));
            const int length = quint8(area[at + 2]);
            Sent &s = sent[id];
            ++s.count;
            s.payload = area.mid(at + 3, length);
            at += 3 + length;
        }
    }
    return sent;
}

std::unique_ptr<IVantorSerialConnectionClient> clientOf(const QString &protocol)
{
    if (protocol == QLatin1String("P"))
        return std::make_unique<VantorSerialPmxProtocolClient>();
    return std::make_unique<VantorSerialQelProtocolClient>();
}

} // namespace

class TestCanIdTableModel : public QObject
{
    Q_OBJECT

private slots:
    void countsWhatTheSimulatorSent_data();
    void countsWhatTheSimulatorSent();
    void linkHistoryCountsReconnects();
};

void TestCanIdTableModel::countsWhatTheSimulatorSent_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<int>("cycleMs");
    QTest::newRow("type Q, 20 per second") << QStringLiteral("Q") << 50;
    QTest::newRow("type P, 10 per second") << QStringLiteral("P") << 100;
}

void TestCanIdTableModel::countsWhatTheSimulatorSent()
{
    QFETCH(QString, protocol);
    QFETCH(int, cycleMs);
    SimOptions o = SimTest::quickOptions(5);
    o.radar.cycleMs = cycleMs;
    o.radar.traffic.perLanePerMinute = 120;
    o.radar.variant
        = RadarVariant(protocol == QLatin1String("P") ? RadarVariant::TypeP : RadarVariant::TypeQ);
    RadarSimulator radar(o);
    QString error;
    QVERIFY2(radar.start(&error), qPrintable(error));
    QList<QByteArray> areas;
    connect(radar.radar(), &RadarEmulator::radarMessage,
        [&areas](const QByteArray &area) { areas.append(area); });

    std::unique_ptr<IVantorSerialConnectionClient> client = clientOf(protocol);
    client->setEmitStatsEnabled(true);
    CanIdTableModel model;
    QAbstractItemModelTester tester(&model);
    connect(client.get(), &IVantorSerialConnectionClient::canMessageInfo, &model,
        &CanIdTableModel::onCanMessageInfo);
    QVERIFY(client->connectToServer(radar.url(), 200));
    // Three seconds of traffic, then the radar stops and the last messages arrive.
    const quint64 messages = quint64(3000 / cycleMs);
    QTRY_VERIFY_WITH_TIMEOUT(client->totalFrames() >= messages, Wait);
    radar.radar()->stop();
    QTest::qWait(300);
    model.refresh();

    // The client took the last of the messages the radar sent.
    QVERIFY(quint64(areas.size()) >= client->totalFrames());
    const QMap<quint16, Sent> sent = sentOf(areas.mid(areas.size() - int(client->totalFrames())));
    QCOMPARE(model.rowCount(), sent.size());
    QCOMPARE(model.statistics().ids(), sent.keys());
    for (auto it = sent.cbegin(); it != sent.cend(); ++it) {
        const CanIdStatistics::Entry entry = model.statistics().entry(it.key());
        QCOMPARE(entry.count, it->count);
        QCOMPARE(entry.payload, it->payload);
    }
    // Objects came: the identifiers of the range, as many as the traffic had.
    QVERIFY(sent.size() > 3);

    // Every cycle carries the synchronization frame: the radar's cycle rate.
    const double cycleRate = 1000.0 / cycleMs;
    QVERIFY2(qAbs(model.statistics().rate(client->synchronizationCanId()) - cycleRate)
            < 0.25 * cycleRate,
        qPrintable(QString::number(model.statistics().rate(client->synchronizationCanId()))));
    const int row = model.statistics().ids().indexOf(client->synchronizationCanId());
    QCOMPARE(model.index(row, CanIdTableModel::IdColumn).data().toString(),
        CanIdTableModel::idText(client->synchronizationCanId()));
    QCOMPARE(
        model.index(row, CanIdTableModel::CountColumn).data().toULongLong(), client->totalFrames());
}

// The real client's link to a simulator that goes away and comes back on the same port.
void TestCanIdTableModel::linkHistoryCountsReconnects()
{
    SimOptions o = SimTest::quickOptions(5);
    auto radar = std::make_unique<RadarSimulator>(o);
    QString error;
    QVERIFY2(radar->start(&error), qPrintable(error));
    o.server.port = radar->port();

    VantorSerialQelProtocolClient client;
    IVantorClient::Timing timing;
    timing.pingIntervalMs = 100;
    client.setTimingForTests(timing);
    LinkHistory history;
    QElapsedTimer clock;
    clock.start();
    connect(&client, &IVantorClient::pingLatency,
        [&](quint64 latency) { history.addLatency(clock.elapsed(), latency); });
    connect(&client, &IVantorClient::connected, [&] { history.addConnected(clock.elapsed()); });
    connect(
        &client, &IVantorClient::disconnected, [&] { history.addDisconnected(clock.elapsed()); });
    QVERIFY(client.connectToServer(radar->url(), 100));
    QTRY_VERIFY_WITH_TIMEOUT(history.latencies().size() >= 3, Wait);
    QVERIFY(history.reconnects().isEmpty());

    radar.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!client.isConnected(), Wait);
    radar = std::make_unique<RadarSimulator>(o);
    QVERIFY2(radar->start(&error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(client.isConnected(), Wait);
    QCOMPARE(history.reconnects().size(), 1);

    // An hour later the old entries are gone.
    history.expire(clock.elapsed() + LinkHistory::DefaultSpanMs + 1);
    QVERIFY(history.latencies().isEmpty());
    QVERIFY(history.reconnects().isEmpty());
}

QTEST_GUILESS_MAIN(TestCanIdTableModel)
#include "tst_canidtablemodel.moc"
