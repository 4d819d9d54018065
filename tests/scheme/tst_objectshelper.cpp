#include "objectshelper.h"
#include "roadbuilder.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>

using IdList = QVector<quint8>;
using TrackMap = QMap<quint8, QPolygonF>;
using LaneTracks = QMap<int, QPolygonF>;

namespace {

struct Report
{
    quint8 id;
    double xSpeed;
    double xRange;
};

// One lane of 3.5 m on each side of a 1 m median strip.
QJsonObject twoLaneRoad(const QJsonArray &sections)
{
    const QJsonObject lane { { "is_lane", true }, { "width", 3.5 } };
    return { { "parts",
                 QJsonObject {
                     { "0", QJsonObject { { "width", 1.0 } } }, { "1", lane }, { "-1", lane } } },
        { "sections", sections } };
}

void feedFrame(ObjectsHelper &helper, const QVector<Report> &reports)
{
    helper.startFilling();
    for (const Report &r : reports)
        helper.addObject(r.id, r.xSpeed, 0.0, r.xRange, 0.0, 4.0, QDateTime());
    helper.finishFilling();
}

// Signed lateral offset (+ to the left) of p from the polyline at its nearest vertex.
double offsetFromLine(const QPointF &p, const QPolygonF &line)
{
    int nearest = 0;
    for (int i = 1; i < line.size(); ++i) {
        if (std::hypot(p.x() - line[i].x(), p.y() - line[i].y())
            < std::hypot(p.x() - line[nearest].x(), p.y() - line[nearest].y()))
            nearest = i;
    }
    const QPointF d = line.at(qMin(nearest + 1, line.size() - 1)) - line.at(qMax(nearest - 1, 0));
    const QPointF v = p - line.at(nearest);
    return (d.x() * v.y() - d.y() * v.x()) / std::hypot(d.x(), d.y());
}

} // namespace

Q_DECLARE_METATYPE(Report)

class TestObjectsHelper : public QObject
{
    Q_OBJECT

private slots:
    void sorting_data();
    void sorting();
    void averageTracks_data();
    void averageTracks();
    void currentTracks_data();
    void currentTracks();
    void garbageLanes();
};

void TestObjectsHelper::sorting_data()
{
    QTest::addColumn<QVector<Report>>("reports");
    QTest::addColumn<IdList>("expected");

    QTest::newRow("receding farthest first")
        << QVector<Report> { { 1, 5, 10 }, { 2, 5, 80 }, { 3, 5, 40 } } << IdList { 2, 3, 1 };
    QTest::newRow("approaching nearest first")
        << QVector<Report> { { 1, -5, 10 }, { 2, -5, 80 }, { 3, -5, 40 } } << IdList { 1, 3, 2 };
    QTest::newRow("mixed: receding block, then approaching block") << QVector<Report> {
        { 7, -3, 15 }, { 8, 12, 30 }, { 9, -20, 5 }, { 10, 1, 90 }, { 11, -1, 60 }
    } << IdList { 10, 8, 9, 7, 11 };
    QTest::newRow("standing counts as receding") << QVector<Report> { { 1, -0.1, 20 },
        { 2, 0.0, 20 }, { 3, 0.1, 50 } } << IdList { 3, 2, 1 };
    QTest::newRow("equal ranges keep report order") << QVector<Report> { { 4, 2, 30 }, { 5, 2, 30 },
        { 6, -2, 30 }, { 3, -2, 30 } } << IdList { 4, 5, 6, 3 };
    QTest::newRow("empty frame") << QVector<Report> {} << IdList {};
}

void TestObjectsHelper::sorting()
{
    QFETCH(QVector<Report>, reports);
    QFETCH(IdList, expected);

    ObjectsHelper helper;
    QSignalSpy tracks(&helper, &ObjectsHelper::currentTracks);
    QSignalSpy sorted(&helper, &ObjectsHelper::sortingFinished);
    // The tracks arrive first, so a view has them when it redraws on the sorted list.
    connect(&helper, &ObjectsHelper::sortingFinished, this, [&] { QCOMPARE(tracks.count(), 1); });
    feedFrame(helper, reports);

    QCOMPARE(sorted.count(), 1);
    QCOMPARE(sorted.at(0).at(0).value<IdList>(), expected);
    QCOMPARE(tracks.at(0).at(0).value<TrackMap>().size(), expected.size());
}

void TestObjectsHelper::averageTracks_data()
{
    QTest::addColumn<QJsonArray>("sections");
    QTest::addColumn<int>("lane");
    QTest::addColumn<double>("speed"); // m/s along the lane, signed like xSpeed
    QTest::addColumn<double>("bias"); // mean drift of the vehicles, m to the left

    const QJsonObject straight { { "is_curved", false }, { "length", 120 }, { "radius", 0 } };
    const QJsonObject leftCurve { { "is_curved", true }, { "length", 120 }, { "radius", 150 } };
    const QJsonObject rightCurve { { "is_curved", true }, { "length", 120 }, { "radius", -80 } };

    QTest::newRow("straight, receding on the right lane")
        << QJsonArray { straight } << -1 << 20.0 << 0.0;
    QTest::newRow("straight, approaching on the left lane")
        << QJsonArray { straight } << 1 << -25.0 << 0.0;
    QTest::newRow("left curve, slow traffic") << QJsonArray { leftCurve } << -1 << 3.0 << 0.0;
    QTest::newRow("right curve, fast traffic") << QJsonArray { rightCurve } << 1 << -40.0 << 0.0;
    QTest::newRow("traffic keeping left of the centre")
        << QJsonArray { leftCurve } << -1 << 15.0 << 0.8;
    QTest::newRow("approaching traffic keeping right")
        << QJsonArray { rightCurve } << 1 << -15.0 << -0.5;
}

void TestObjectsHelper::averageTracks()
{
    QFETCH(QJsonArray, sections);
    QFETCH(int, lane);
    QFETCH(double, speed);
    QFETCH(double, bias);

    RoadBuilder builder;
    ObjectsHelper helper;
    QMap<int, QPolygonF> centres;
    connect(
        &builder, &RoadBuilder::applyingRoadStarted, &helper, &ObjectsHelper::startApplyingRoad);
    connect(&builder, &RoadBuilder::laneCenterLines, &helper, &ObjectsHelper::setLaneCenterLines);
    connect(&builder, &RoadBuilder::laneCenterLines, this,
        [&](const QMap<int, QPolygonF> &lines) { centres = lines; });
    connect(
        &builder, &RoadBuilder::applyingRoadFinished, &helper, &ObjectsHelper::finishApplyingRoad);
    builder.setRoadConfig(twoLaneRoad(sections));
    const QPolygonF centre = centres.value(lane);
    QVERIFY(centre.size() > 100);

    QSignalSpy spy(&helper, &ObjectsHelper::averageTracks);
    // 40 vehicles along the centre line, each drifting from the bias to one side by up to
    // 0.6 m; the drifts cancel out over the vehicles, so the mean is the bias.
    const double step = std::abs(speed) * 0.1;
    const double end = centre.size() - 1.0; // stations are 1 m apart
    for (int vehicle = 0; vehicle < 40; ++vehicle) {
        const double drift = bias + (vehicle % 2 ? 0.6 : -0.6) * (0.5 + 0.5 * (vehicle % 4 < 2));
        const quint8 id = quint8(vehicle % 3);
        for (double s = 0.0; s < end + step; s += step) {
            const double along = speed >= 0 ? qMin(s, end) : qMax(end - s, 0.0);
            const int i = qMin(int(along), centre.size() - 2);
            const QPointF d = centre.at(i + 1) - centre.at(i);
            const QPointF normal = QPointF(-d.y(), d.x()) / std::hypot(d.x(), d.y());
            const QPointF p = centre.at(i) + (along - i) * d + drift * normal;
            helper.startFilling();
            helper.addObject(id, speed, 0.0, p.x(), p.y(), 4.5, QDateTime());
            helper.finishFilling();
        }
        // A gap between vehicles, long enough for the identifier's track to expire.
        for (int k = 0; k < ObjectsHelper::TrackExpiryFrames; ++k)
            feedFrame(helper, {});
    }

    QVERIFY(!spy.isEmpty());
    const QMap<int, QPolygonF> tracks = spy.constLast().at(0).value<LaneTracks>();
    QCOMPARE(tracks.keys(), QList<int> { lane });
    const QPolygonF average = tracks.value(lane);
    QCOMPARE(average.size(), centre.size());
    double worst = 0.0;
    for (const QPointF &p : average)
        worst = qMax(worst, std::abs(offsetFromLine(p, centre) - bias));
    QVERIFY2(worst < 0.05, qPrintable(QString::number(worst)));

    helper.resetAverageTracks();
    QVERIFY(spy.constLast().at(0).value<LaneTracks>().isEmpty());
    QVERIFY(helper.averageTrackMap().isEmpty());
}

void TestObjectsHelper::currentTracks_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<double>("stepM"); // movement per frame
    QTest::addColumn<int>("silentFrames"); // frames without the object afterwards
    QTest::addColumn<int>("expectedPoints"); // -1: the track is gone

    QTest::newRow("short drive keeps every point") << 10 << 1.0 << 0 << 10;
    QTest::newRow("long drive is bounded")
        << 5000 << 1.0 << 0 << int(ObjectsHelper::MaxTrackPoints);
    QTest::newRow("standing object adds no points") << 100 << 0.0 << 0 << 1;
    QTest::newRow("jittering object adds no points") << 100 << 0.1 << 0 << 1;
    QTest::newRow("briefly missing object keeps its track")
        << 10 << 1.0 << ObjectsHelper::TrackExpiryFrames - 1 << 10;
    QTest::newRow("object gone for a while is dropped")
        << 10 << 1.0 << ObjectsHelper::TrackExpiryFrames << -1;
    QTest::newRow("identifier reappearing far away starts afresh") << 10 << 50.0 << 0 << 1;
}

void TestObjectsHelper::currentTracks()
{
    QFETCH(int, frames);
    QFETCH(double, stepM);
    QFETCH(int, silentFrames);
    QFETCH(int, expectedPoints);

    ObjectsHelper helper;
    double x = 0.0;
    for (int f = 0; f < frames; ++f) {
        // "Jitter" moves back and forth within MinTrackStep.
        x = stepM < ObjectsHelper::MinTrackStep ? (f % 2) * stepM : f * stepM;
        feedFrame(helper, { { 9, 10.0, x } });
    }
    for (int f = 0; f < silentFrames; ++f)
        feedFrame(helper, { { 1, 10.0, 5.0 } });

    QSignalSpy spy(&helper, &ObjectsHelper::currentTracks);
    feedFrame(helper, { { 9, 10.0, x } });
    const QMap<quint8, QPolygonF> tracks = spy.at(0).at(0).value<TrackMap>();
    const QPolygonF track = tracks.value(9);
    QVERIFY(ObjectsHelper::calcDistance(track.constLast(), QPointF(x, 0.0))
        < ObjectsHelper::MinTrackStep);
    if (expectedPoints < 0)
        QCOMPARE(track.size(), 1); // started anew
    else
        QCOMPARE(track.size(), expectedPoints);
}

void TestObjectsHelper::garbageLanes()
{
    // Centre lines far off (an absurd Y offset) or broken, and objects on them: nothing
    // is averaged, nothing overflows.
    ObjectsHelper helper;
    QPolygonF far;
    QPolygonF broken;
    for (int i = 0; i < 10; ++i) {
        far << QPointF(i, 1e300);
        broken << QPointF(i, i % 2 ? std::numeric_limits<double>::quiet_NaN() : 0.0);
    }
    helper.setLaneCenterLines({ { 1, far }, { -1, broken } });
    QSignalSpy spy(&helper, &ObjectsHelper::averageTracks);
    for (int f = 0; f < 10; ++f) {
        helper.startFilling();
        helper.addObject(1, 10.0, 0.0, f, 1e300, 4.0, QDateTime());
        helper.addObject(2, 10.0, 0.0, f, 0.0, 4.0, QDateTime());
        helper.finishFilling();
    }
    const LaneTracks tracks = helper.averageTrackMap();
    QCOMPARE(tracks.keys(), QList<int> { -1 });
    for (const QPointF &p : tracks.value(-1))
        QVERIFY(qIsFinite(p.y()) && std::abs(p.y()) < 1.0);
}

QTEST_GUILESS_MAIN(TestObjectsHelper)
#include "tst_objectshelper.moc"
