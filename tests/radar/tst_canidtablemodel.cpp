#include "canidtablemodel.h"
#include "linkhistory.h"
#include "radarsimulator.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"

#include "../sim/simtestsupport.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMap>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
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
    // Each message with the time the server stamped on it, its time of sending.
    QList<QByteArray> areas;
    QList<qint64> sentMs;
    connect(radar.radar(), &RadarEmulator::radarMessage, [&](const QByteArray &area) {
        areas.append(area);
        sentMs.append(QDateTime::currentMSecsSinceEpoch());
    });
    QSignalSpy clients(radar.server(), &SimServer::clientConnected);

    std::unique_ptr<IVantorSerialConnectionClient> client = clientOf(protocol);
    client->setEmitStatsEnabled(true);
    CanIdTableModel model;
    QAbstractItemModelTester tester(&model);
    connect(client.get(), &IVantorSerialConnectionClient::canMessageInfo, &model,
        &CanIdTableModel::onCanMessageInfo);
    QSignalSpy disconnected(client.get(), &IVantorClient::disconnected);
    QVERIFY(client->connectToServer(radar.url(), 200));
    // Three seconds of traffic, then the radar stops; the server's closing follows its last
    // message, so once the link is down the client has had them all.
    const quint64 messages = quint64(3000 / cycleMs);
    QTRY_VERIFY_WITH_TIMEOUT(client->totalFrames() >= messages, Wait);
    radar.radar()->stop();
    QCOMPARE(clients.size(), 1);
    radar.server()->closeClient(clients.at(0).at(0).toULongLong(), QStringLiteral("done"));
    QTRY_VERIFY_WITH_TIMEOUT(!disconnected.isEmpty(), Wait);
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

    // Every cycle carries the synchronization frame: the rate the radar really sent at over
    // the last window, which a loaded machine makes slower than its cycle.
    const qint64 lastMs = sentMs.last();
    const auto inWindow
        = std::find_if(sentMs.cbegin() + (areas.size() - int(client->totalFrames())), sentMs.cend(),
            [lastMs](qint64 t) { return t >= lastMs - CanIdStatistics::DefaultWindowMs; });
    const double sentRate
        = 1000.0 * double(sentMs.cend() - inWindow - 1) / double(lastMs - *inWindow);
    const double rate = model.statistics().rate(client->synchronizationCanId());
    QVERIFY2(qAbs(rate - sentRate) < 0.1 * sentRate,
        qPrintable(QStringLiteral("%1 of %2").arg(rate).arg(sentRate)));
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
    // Latencies come with each ping; one unanswered until the next, as a loaded machine may
    // hold back an answer for 100 ms, would count as a reconnect.
    timing.pingIntervalMs = 500;
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
