#include "roadscene.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QtTest>

using IdList = QVector<quint8>;
using TrackMap = QMap<quint8, QPolygonF>;
using LaneTracks = QMap<int, QPolygonF>;

namespace {

const QDateTime T0(QDate(2026, 12, 10), QTime(10, 0), Qt::UTC);

// A view of the road and the traffic with the slots the scheme and the projection have;
// it logs what reaches it.
class RecordingView : public QObject
{
public:
    QStringList log;
    QPolygonF axis;
    QList<QPolygonF> roadBorders;
    QMap<int, QPolygonF> distanceLines;
    QRectF dimensions;
    RoadObjectFrame frame;

    void startApplyingRoad(const QRectF &d)
    {
        log << "startApplyingRoad";
        dimensions = d;
    }
    void setRoadAxisLine(const QPolygonF &a)
    {
        log << "setRoadAxisLine";
        axis = a;
    }
    void setLaneBorderLines(const QList<QPolygonF> &) { log << "setLaneBorderLines"; }
    void setRoadBorderLines(const QList<QPolygonF> &lines)
    {
        log << "setRoadBorderLines";
        roadBorders = lines;
    }
    void setDistanceLines(const QMap<int, QPolygonF> &lines)
    {
        log << "setDistanceLines";
        distanceLines = lines;
    }
    void finishApplyingRoad() { log << "finishApplyingRoad"; }
    void setCurrentTracks(const QMap<quint8, QPolygonF> &) { log << "setCurrentTracks"; }
    void showFrame(const RoadObjectFrame &f)
    {
        log << "showFrame";
        frame = f;
    }
    void setAverageTracks(const QMap<int, QPolygonF> &tracks)
    {
        log << (tracks.isEmpty() ? "setAverageTracks(reset)" : "setAverageTracks");
    }
};

QPolygonF line(const QVector<QPointF> &points)
{
    return QPolygonF(points);
}

// The points (x, y) for x = from ... to.
QPolygonF along(int from, int to, double y)
{
    QPolygonF points;
    for (int x = from; x <= to; ++x)
        points << QPointF(x, y);
    return points;
}

// A 1 m median strip and one 3.5 m lane on each side, straight for `length` metres.
QJsonObject twoLaneRoad(double length)
{
    const QJsonObject lane { { "is_lane", true }, { "width", 3.5 } };
    return { { "parts",
                 QJsonObject {
                     { "0", QJsonObject { { "width", 1.0 } } }, { "1", lane }, { "-1", lane } } },
        { "sections",
            QJsonArray { QJsonObject { { "is_curved", false }, { "length", length } } } } };
}

// An object report: identifier, xSpeed and xRange; the other values follow from them so
// that each object is told apart by all of its fields.
RoadObject object(quint8 id, double xSpeed, double xRange)
{
    return RoadObject(id, xSpeed, -0.5 * id, xRange, 0.25 * id, 4.0 + id, T0.addMSecs(id));
}

RoadObjectFrame frameOf(const QVector<RoadObject> &objects, quint64 cycle = 1)
{
    RoadObjectFrame frame;
    frame.dateTimeUtc = T0;
    frame.cycleNumber = cycle;
    frame.objects = objects;
    return frame;
}

bool sameObject(const RoadObject &a, const RoadObject &b)
{
    return a.id == b.id && a.xSpeed == b.xSpeed && a.ySpeed == b.ySpeed && a.xRange == b.xRange
        && a.yRange == b.yRange && a.length == b.length && a.lastDetected == b.lastDetected;
}

} // namespace

Q_DECLARE_METATYPE(RoadObject)

class TestRoadScene : public QObject
{
    Q_OBJECT

private slots:
    void roadGeometry_data();
    void roadGeometry();
    void sorting_data();
    void sorting();
    void tracksRestartWhenTheCycleGoesBack();
    void averageTracksFollowTheLanes();
    void objectsGoWhenTheRadarStops();
};

void TestRoadScene::roadGeometry_data()
{
    QTest::addColumn<QJsonObject>("config");
    QTest::addColumn<QRectF>("dimensions");
    QTest::addColumn<QPointF>("shift");
    QTest::addColumn<QPolygonF>("axis");
    QTest::addColumn<QList<QPolygonF>>("roadBorders");
    QTest::addColumn<QList<int>>("laneCentres");
    QTest::addColumn<QPolygonF>("distanceLineAt5"); // empty when there is none
    QTest::addColumn<int>("tanAngles");

    QTest::newRow("empty road") << QJsonObject() << QRectF(0, 0, 0, 0) << QPointF(0, 0)
                                << along(-2, 2, 0.0) << QList<QPolygonF>() << QList<int>()
                                << QPolygonF() << 0;
    QTest::newRow("road axis 4 m to the left")
        << QJsonObject { { "origin_offset", 4 } } << QRectF(0, 4, 0, 0) << QPointF(0, 4)
        << along(-2, 2, 4.0) << QList<QPolygonF>() << QList<int>() << QPolygonF() << 0;
    // The lanes' inner edges are the median strip's edges (border parts, as they are the
    // outermost parts too); the roadsides 4 m out bound the dimensions.
    QTest::newRow("one lane each side, 10 m")
        << twoLaneRoad(10) << QRectF(0, -4, 10, 8) << QPointF(0, 0) << along(-2, 12, 0.0)
        << QList<QPolygonF> { along(0, 10, -0.5), along(0, 10, 0.5) } << QList<int> { -1, 1 }
        << line({ { 5, -0.5 }, { 5, 0.5 } }) << 11;
}

void TestRoadScene::roadGeometry()
{
    QFETCH(QJsonObject, config);
    QFETCH(QRectF, dimensions);
    QFETCH(QPointF, shift);
    QFETCH(QPolygonF, axis);
    QFETCH(QList<QPolygonF>, roadBorders);
    QFETCH(QList<int>, laneCentres);
    QFETCH(QPolygonF, distanceLineAt5);
    QFETCH(int, tanAngles);

    RoadScene scene;
    RecordingView view;
    scene.connectView(&view);
    QStringList sceneLog;
    QList<int> centreKeys;
    int angleCount = -1;
    connect(&scene, &RoadScene::laneCenterLines, this, [&](const QMap<int, QPolygonF> &lines) {
        sceneLog << "laneCenterLines";
        centreKeys = lines.keys();
    });
    connect(&scene, &RoadScene::roadTanAngles, this, [&](const QMap<int, double> &angles) {
        sceneLog << "roadTanAngles";
        angleCount = angles.size();
    });
    QSignalSpy started(&scene, &RoadScene::applyingRoadStarted);

    scene.setRoadConfig(config);

    // The builder's order, then the sorter's reset of the average tracks for the new road.
    QCOMPARE(view.log,
        (QStringList { "startApplyingRoad", "setRoadAxisLine", "setLaneBorderLines",
            "setRoadBorderLines", "setDistanceLines", "finishApplyingRoad",
            "setAverageTracks(reset)" }));
    QCOMPARE(sceneLog, (QStringList { "laneCenterLines", "roadTanAngles" }));
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.at(0).at(1).toPointF(), shift);
    QCOMPARE(view.dimensions, dimensions);
    QCOMPARE(view.axis, axis);
    QCOMPARE(view.roadBorders, roadBorders);
    QCOMPARE(centreKeys, laneCentres);
    QCOMPARE(view.distanceLines.value(5), distanceLineAt5);
    QCOMPARE(angleCount, tanAngles);
}

void TestRoadScene::sorting_data()
{
    QTest::addColumn<QVector<RoadObject>>("objects");
    QTest::addColumn<IdList>("expected");

    QTest::newRow("moving away: farthest first") << QVector<RoadObject> { object(1, 8, 15),
        object(2, 8, 95), object(3, 8, 55) } << IdList { 2, 3, 1 };
    QTest::newRow("approaching: nearest first") << QVector<RoadObject> { object(1, -8, 15),
        object(2, -8, 95), object(3, -8, 55) } << IdList { 1, 3, 2 };
    QTest::newRow("those moving away before those approaching")
        << QVector<RoadObject> { object(2, -15, 120), object(5, 20, 10), object(8, -1, 12),
               object(11, 3, 70), object(14, -30, 64) }
        << IdList { 11, 5, 8, 14, 2 };
    QTest::newRow("standing counts as moving away") << QVector<RoadObject> { object(1, -0.01, 30),
        object(2, 0.0, 30), object(3, 0.01, 45) } << IdList { 3, 2, 1 };
    QTest::newRow("equal ranges keep the frame's order") << QVector<RoadObject> { object(9, 4, 25),
        object(2, -4, 25), object(7, 4, 25), object(1, -4, 25) }
                                                         << IdList { 9, 7, 2, 1 };
    QTest::newRow("one object") << QVector<RoadObject> { object(42, -3, 7) } << IdList { 42 };
    QTest::newRow("no objects") << QVector<RoadObject> {} << IdList {};
}

void TestRoadScene::sorting()
{
    QFETCH(QVector<RoadObject>, objects);
    QFETCH(IdList, expected);

    RoadScene scene;
    RecordingView view;
    scene.connectView(&view);
    QSignalSpy ids(&scene.helper(), &ObjectsHelper::sortingFinished);
    scene.setRadarState(2);
    scene.showFrame(frameOf(objects, 17));

    // The tracks come first, so that a view has them when it draws the frame.
    QCOMPARE(view.log, (QStringList { "setCurrentTracks", "showFrame" }));
    QCOMPARE(view.frame.ids(), expected);
    QCOMPARE(view.frame.dateTimeUtc, T0);
    QCOMPARE(view.frame.cycleNumber, quint64(17));
    for (const RoadObject &sorted : view.frame.objects) {
        const auto original = std::find_if(objects.cbegin(), objects.cend(),
            [&](const RoadObject &o) { return o.id == sorted.id; });
        QVERIFY(original != objects.cend());
        QVERIFY(sameObject(sorted, *original));
    }
    QCOMPARE(ids.count(), 1);
    QCOMPARE(ids.at(0).at(0).value<IdList>(), expected);
}

void TestRoadScene::tracksRestartWhenTheCycleGoesBack()
{
    RoadScene scene;
    QSignalSpy tracks(&scene, &RoadScene::currentTracks);
    // Moving 1 m per frame: one track point per frame.
    for (quint64 cycle = 10; cycle < 13; ++cycle)
        scene.showFrame(frameOf({ object(3, 10, 20.0 + cycle) }, cycle));
    QCOMPARE(tracks.constLast().at(0).value<TrackMap>().value(3).size(), 3);
    // A restarted radar counts its cycles from the start again.
    scene.showFrame(frameOf({ object(3, 10, 33) }, 2));
    QCOMPARE(tracks.constLast().at(0).value<TrackMap>().value(3), line({ { 33, 0.75 } }));
}

void TestRoadScene::averageTracksFollowTheLanes()
{
    RoadScene scene;
    scene.setRoadConfig(twoLaneRoad(60));
    QSignalSpy average(&scene, &RoadScene::averageTracks);
    // A vehicle 0.5 m left of the centre of lane 1 (Y = 2.25 m), 1 m per frame.
    for (int x = 0; x <= 60; ++x) {
        RoadObject vehicle = object(6, 10, x);
        vehicle.yRange = 2.75;
        scene.showFrame(frameOf({ vehicle }, quint64(x + 1)));
    }
    QVERIFY(!average.isEmpty());
    const LaneTracks tracks = average.constLast().at(0).value<LaneTracks>();
    QCOMPARE(tracks.keys(), QList<int> { 1 });
    QCOMPARE(tracks.value(1), along(0, 60, 2.75));

    scene.resetAverageTracks();
    QVERIFY(average.constLast().at(0).value<LaneTracks>().isEmpty());
}

void TestRoadScene::objectsGoWhenTheRadarStops()
{
    RoadScene scene;
    RecordingView view;
    scene.connectView(&view);
    scene.setRadarState(2);
    scene.showFrame(frameOf({ object(1, 5, 10), object(2, -5, 20) }));
    QCOMPARE(view.frame.objects.size(), 2);

    view.log.clear();
    scene.setRadarState(0);
    QCOMPARE(view.log, (QStringList { "setCurrentTracks", "showFrame" }));
    QVERIFY(view.frame.objects.isEmpty());
    QVERIFY(scene.helper().currentTrackMap().isEmpty());
}

QTEST_GUILESS_MAIN(TestRoadScene)
#include "tst_roadscene.moc"
