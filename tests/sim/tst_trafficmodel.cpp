#include "trafficmodel.h"

#include <QSet>
#include <QTest>

#include <cmath>

namespace {

// Two straight lanes each way, 3.5 m apart, 400 m long, one point per metre.
QMap<int, QPolygonF> straightLanes()
{
    QMap<int, QPolygonF> lanes;
    for (int key : { -2, -1, 1, 2 }) {
        QPolygonF line;
        const double y = (key < 0 ? key + 0.5 : key - 0.5) * 3.5;
        for (int x = 0; x <= 400; ++x)
            line.append(QPointF(x, y));
        lanes.insert(key, line);
    }
    return lanes;
}

TrafficModel::Settings busyRoad()
{
    TrafficModel::Settings s;
    s.rangeM = 200.0;
    s.maxObjects = 40;
    s.perLanePerMinute = 60.0;
    s.noise = 0.0;
    s.seed = 42;
    return s;
}

} // namespace

class TestTrafficModel : public QObject
{
    Q_OBJECT

private slots:
    void noLanesNoTraffic();
    void vehiclesStayOnTheirLanesAndInRange();
    void identifiersAreUniqueAndBounded();
    void directionFollowsTheSide_data();
    void directionFollowsTheSide();
    void maxLoadReportsSixtyFourEveryStep();
    void idLimitKeepsTopIdentifiersFree();
    void noiseStaysSmall();
};

void TestTrafficModel::noLanesNoTraffic()
{
    TrafficModel model(busyRoad());
    for (int i = 0; i < 100; ++i)
        model.step(0.1);
    QCOMPARE(model.vehicleCount(), 0);
    // A lane of a single point is no lane.
    QMap<int, QPolygonF> single;
    single.insert(-1, QPolygonF(QVector<QPointF> { QPointF(0, 0) }));
    model.setLanes(single);
    QCOMPARE(model.laneCount(), 0);
}

void TestTrafficModel::vehiclesStayOnTheirLanesAndInRange()
{
    TrafficModel model(busyRoad());
    model.setLanes(straightLanes());
    QCOMPARE(model.laneCount(), 4);
    int seen = 0;
    for (int i = 0; i < 3000; ++i) {
        model.step(0.1);
        const QVector<SimObject> objects = model.trueObjects();
        QVERIFY(objects.size() <= 40);
        for (const SimObject &o : objects) {
            QVERIFY2(
                o.xRange >= -0.01 && o.xRange <= 200.01, qPrintable(QString::number(o.xRange)));
            const double lanePos = std::abs(o.yRange) / 3.5;
            QVERIFY(std::abs(lanePos - 0.5) < 1e-9 || std::abs(lanePos - 1.5) < 1e-9);
            QVERIFY(o.length >= 1.9 && o.length <= 18.5);
            QVERIFY(std::abs(o.xSpeed) <= 120 / 3.6 + 1e-9);
        }
        seen = qMax(seen, objects.size());
    }
    QVERIFY(seen >= 8);
}

void TestTrafficModel::identifiersAreUniqueAndBounded()
{
    TrafficModel::Settings s = busyRoad();
    s.maxObjects = 64;
    s.perLanePerMinute = 300;
    TrafficModel model(s);
    model.setLanes(straightLanes());
    QSet<int> everUsed;
    // An hour of traffic: identifiers are reused and the count stays bounded.
    for (int i = 0; i < 36000; ++i) {
        model.step(0.1);
        const QVector<SimObject> objects = model.trueObjects();
        QSet<int> ids;
        for (const SimObject &o : objects) {
            QVERIFY(o.id < 64);
            QVERIFY(!ids.contains(o.id));
            ids.insert(o.id);
        }
        everUsed.unite(ids);
        QVERIFY(objects.size() <= 64);
    }
    QCOMPARE(everUsed.size(), 64);
}

void TestTrafficModel::directionFollowsTheSide_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("away");
    QTest::newRow("right-hand lane drives away") << -1 << true;
    QTest::newRow("left-hand lane approaches") << 1 << false;
}

void TestTrafficModel::directionFollowsTheSide()
{
    QFETCH(int, key);
    QFETCH(bool, away);
    TrafficModel model(busyRoad());
    QMap<int, QPolygonF> one;
    one.insert(key, straightLanes().value(key));
    model.setLanes(one);
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            model.step(0.1);
            return model.vehicleCount() > 0;
        }(),
        5000);
    const SimObject before = model.trueObjects().first();
    model.step(0.5);
    const SimObject after = model.trueObjects().first();
    QCOMPARE(after.id, before.id);
    QCOMPARE(after.xRange > before.xRange, away);
    QCOMPARE(before.xSpeed > 0, away);
    // A new vehicle enters at the edge it drives from.
    QVERIFY(away ? before.xRange < 30 : before.xRange > 170);
}

void TestTrafficModel::maxLoadReportsSixtyFourEveryStep()
{
    TrafficModel::Settings s = busyRoad();
    s.maxLoad = true;
    TrafficModel model(s);
    model.setLanes(straightLanes());
    for (int i = 0; i < 2000; ++i) {
        model.step(0.1);
        const QVector<SimObject> objects = model.measuredObjects();
        QCOMPARE(objects.size(), 64);
        for (const SimObject &o : objects)
            QVERIFY(o.xRange >= -0.01 && o.xRange <= 200.01);
    }
}

void TestTrafficModel::idLimitKeepsTopIdentifiersFree()
{
    TrafficModel::Settings s = busyRoad();
    s.maxLoad = true;
    TrafficModel model(s);
    model.setLanes(straightLanes());
    model.setIdLimit(60);
    QCOMPARE(model.vehicleCount(), 60);
    for (int i = 0; i < 100; ++i) {
        model.step(0.1);
        for (const SimObject &o : model.trueObjects())
            QVERIFY(o.id < 60);
    }
    model.setIdLimit(64);
    QCOMPARE(model.vehicleCount(), 64);
}

void TestTrafficModel::noiseStaysSmall()
{
    TrafficModel::Settings s = busyRoad();
    s.noise = 1.0;
    s.maxLoad = true;
    TrafficModel model(s);
    model.setLanes(straightLanes());
    const QVector<SimObject> truth = model.trueObjects();
    const QVector<SimObject> measured = model.measuredObjects();
    QCOMPARE(measured.size(), truth.size());
    double sum = 0;
    int moved = 0;
    for (int i = 0; i < truth.size(); ++i) {
        QCOMPARE(measured[i].id, truth[i].id);
        const double d = std::hypot(
            measured[i].xRange - truth[i].xRange, measured[i].yRange - truth[i].yRange);
        QVERIFY(d < 2.0);
        sum += d;
        moved += d > 0.0;
    }
    QVERIFY(moved > 32);
    QVERIFY(sum / truth.size() < 0.5);
}

QTEST_GUILESS_MAIN(TestTrafficModel)
#include "tst_trafficmodel.moc"
