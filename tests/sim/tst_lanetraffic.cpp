#include "../radar/localwebsocketserver.h"
#include "lanestatistics.h"
#include "radaremulator.h"
#include "radarframeencoder.h"
#include "roadconfigfile.h"
#include "roadobjectframecollector.h"
#include "roadscene.h"
#include "vantorserialqelprotocolclient.h"
#include "wrongwaydetector.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {

const QDateTime T0(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
constexpr int CycleMs = 100;

struct Key
{
    int lane;
    int direction;
    bool operator<(const Key &o) const
    {
        return lane != o.lane ? lane < o.lane : direction < o.direction;
    }
    bool operator==(const Key &o) const { return lane == o.lane && direction == o.direction; }
};

struct Tally
{
    int count = 0;
    double speedSumKmh = 0.0;
};

} // namespace

// The simulator's traffic travels the whole wire path (frame encoder, WebSocket, client
// decoding, frame collector, road scene) into the statistics and the wrong-way alarm, and
// is compared with what the traffic model knows it sent. The traffic runs on simulated
// time: ten minutes take seconds.
class TestLaneTraffic : public QObject
{
    Q_OBJECT

private slots:
    void countsAndAlarms_data();
    void countsAndAlarms();
};

void TestLaneTraffic::countsAndAlarms_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<double>("wrongWaySeconds");
    QTest::addColumn<int>("minutes");
    QTest::newRow("normal traffic, seed 7") << 7u << 0.0 << 10;
    QTest::newRow("normal traffic, seed 12345") << 12345u << 0.0 << 10;
    QTest::newRow("a wrong-way driver every 50 s") << 7u << 50.0 << 6;
}

void TestLaneTraffic::countsAndAlarms()
{
    QFETCH(quint32, seed);
    QFETCH(double, wrongWaySeconds);
    QFETCH(int, minutes);

    RoadScene scene;
    LaneStatistics statistics;
    WrongWayDetector detector;
    QMap<int, QPolygonF> lanes;
    connect(&scene, &RoadScene::laneCenterLines,
        [&](const QMap<int, QPolygonF> &lines) { lanes = lines; });
    connect(&scene, &RoadScene::laneCenterLines, &statistics, &LaneStatistics::setLaneCenterLines);
    connect(&scene, &RoadScene::laneFrame, &statistics, &LaneStatistics::showLaneFrame);
    connect(&scene, &RoadScene::laneFrame, &detector, &WrongWayDetector::showLaneFrame);
    statistics.setIntervalMinutes(1);
    scene.setRoadConfig(RoadConfigFile::defaultRoad());
    QCOMPARE(lanes.keys(), QList<int>({ -2, -1, 1, 2 }));
    QSignalSpy alarms(&detector, &WrongWayDetector::wrongWayDetected);

    RadarEmulator::Settings settings;
    settings.cycleMs = CycleMs;
    settings.traffic.seed = seed;
    settings.traffic.wrongWaySeconds = wrongWaySeconds;
    RadarEmulator radar(settings);
    radar.setLanes(lanes);

    LocalWebSocketServer server;
    QVERIFY(server.listen());
    VantorSerialQelProtocolClient client;
    QVERIFY(client.connectToServer(server.url()));
    QTRY_VERIFY(server.client() && client.isConnected());
    RoadObjectFrameCollector collector;
    collector.setClient(&client);
    connect(&collector, &RoadObjectFrameCollector::frameCollected, &scene, &RoadScene::showFrame);
    int collected = 0;
    connect(&collector, &RoadObjectFrameCollector::frameCollected, [&] { ++collected; });

    int cycle = 0;
    connect(&radar, &RadarEmulator::radarMessage, [&](const QByteArray &area) {
        server.sendBinary(
            RadarFrameEncoder::timeStampHeader(T0.addMSecs(qint64(CycleMs) * cycle)) + area);
    });

    // The truth: every vehicle the model moves across a lane's counting line, by its true
    // position, and every vehicle driving against its lane.
    const double lineAlong = LaneStatistics::ZoneStart + LaneStatistics::ZoneLength / 2;
    const auto laneOf = [&](double y) {
        int best = 0;
        for (auto it = lanes.cbegin(); it != lanes.cend(); ++it) {
            if (best == 0
                || std::abs(it.value().first().y() - y)
                    < std::abs(lanes.value(best).first().y() - y))
                best = it.key();
        }
        return best;
    };
    QMap<Key, Tally> truth;
    QSet<QPair<int, int>> wrongWay;
    QHash<quint8, SimObject> previous;
    const int cycles = minutes * 60000 / CycleMs;
    for (cycle = 1; cycle <= cycles; ++cycle) {
        radar.runCycleAfter(CycleMs / 1000.0);
        QHash<quint8, SimObject> now;
        for (const SimObject &o : radar.traffic().trueObjects()) {
            now.insert(o.id, o);
            const int lane = laneOf(o.yRange);
            if (LaneFrame::isRecedingLane(lane) != (o.xSpeed > 0))
                wrongWay.insert({ lane, o.id });
            const auto before = previous.constFind(o.id);
            if (before == previous.constEnd())
                continue;
            const double line = lanes.value(lane).first().x() + lineAlong;
            const bool receding = before->xRange < line && o.xRange >= line;
            const bool approaching = before->xRange > line && o.xRange <= line;
            if (!receding && !approaching)
                continue;
            Tally &t = truth[{
                lane, receding ? LaneStatistics::Receding : LaneStatistics::Approaching }];
            ++t.count;
            t.speedSumKmh += 3.6 * std::hypot(o.xSpeed, o.ySpeed);
        }
        previous = now;
        if (cycle % 100 == 0 || cycle == cycles)
            QVERIFY(QTest::qWaitFor([&] { return collected == cycle; }, 10000));
    }

    QMap<Key, Tally> measured;
    const QVector<LaneStatistics::Row> rows = statistics.finishedRows() + statistics.currentRows();
    // The last frame, at the full minute, opens one more interval.
    QCOMPARE(rows.size(), (minutes + 1) * lanes.size());
    for (const LaneStatistics::Row &row : rows) {
        QCOMPARE(row.minutes, 1);
        for (int d : { LaneStatistics::Approaching, LaneStatistics::Receding }) {
            if (row.count[d] == 0)
                continue;
            Tally &t = measured[{ row.lane, d }];
            t.count += row.count[d];
        }
    }
    // Mean speeds per lane and direction from the rows' mean over both directions: a lane
    // carries one direction but for the wrong-way drivers, who are compared by count.
    QMap<int, Tally> measuredLanes;
    QMap<int, Tally> truthLanes;
    for (const LaneStatistics::Row &row : rows) {
        measuredLanes[row.lane].count += row.total();
        measuredLanes[row.lane].speedSumKmh += row.meanSpeedKmh * row.total();
    }
    for (auto it = truth.cbegin(); it != truth.cend(); ++it) {
        truthLanes[it.key().lane].count += it->count;
        truthLanes[it.key().lane].speedSumKmh += it->speedSumKmh;
    }

    QCOMPARE(measured.keys(), truth.keys());
    for (auto it = truth.cbegin(); it != truth.cend(); ++it) {
        const QByteArray where
            = QByteArray::number(it.key().lane) + "/" + QByteArray::number(it.key().direction);
        QVERIFY2(measured.value(it.key()).count == it->count,
            where + ": " + QByteArray::number(measured.value(it.key()).count) + " counted, "
                + QByteArray::number(it->count) + " sent");
    }
    for (auto it = truthLanes.cbegin(); it != truthLanes.cend(); ++it) {
        QVERIFY(it->count >= 30);
        const double meanTruth = it->speedSumKmh / it->count;
        const double meanMeasured
            = measuredLanes.value(it.key()).speedSumKmh / measuredLanes.value(it.key()).count;
        QVERIFY2(std::abs(meanMeasured - meanTruth) < 1.0,
            QByteArray::number(it.key()) + ": " + QByteArray::number(meanMeasured) + " vs "
                + QByteArray::number(meanTruth));
    }

    // Exactly one alarm per wrong-way vehicle, none for the others.
    QCOMPARE(alarms.count(), radar.traffic().wrongWayCount());
    QSet<QPair<int, int>> alarmed;
    for (const QList<QVariant> &args : alarms) {
        const WrongWayAlarm alarm = args.at(0).value<WrongWayAlarm>();
        alarmed.insert({ alarm.lane, alarm.id });
        QVERIFY(alarm.distance > WrongWayDetector::DefaultMinDistance);
        QVERIFY(alarm.dateTimeUtc > T0);
    }
    QCOMPARE(alarmed, wrongWay);
    if (wrongWaySeconds > 0)
        QVERIFY(alarms.count() >= minutes * 60 / wrongWaySeconds - 1);
}

QTEST_GUILESS_MAIN(TestLaneTraffic)
#include "tst_lanetraffic.moc"
