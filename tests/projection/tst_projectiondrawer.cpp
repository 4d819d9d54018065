#include "pickupscene.h"
#include "projectiondrawer.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(PickupSearch::Checkpoints)

namespace {

constexpr int FrameCount = 40;

// What the drawer shows and how: the camera, the picture, the settings and the road.
struct Showing
{
    double viewAngle = 40.0;
    double altitude = 5.5;
    QSize picture = QSize(640, 480);
    bool laneLines = true;
    bool distanceLines = true;
    bool dimensions = true;
    bool currentTracks = true;
    bool averageTracks = true;
    bool paintObjects = true;
    double roadWidth = 3.5; // of each lane
    int fontSize = 10; // pixels

    void applyTo(ProjectionDrawer &drawer) const
    {
        drawer.setPictureSize(picture);
        drawer.setTvmsConfig(
            QJsonObject { { QStringLiteral("horizontal_view_angle"), viewAngle } });
        drawer.showPosition(6.0, 0.0, 0.0, 0.0, altitude, 0.0, true);
        drawer.setShowLaneLines(laneLines);
        drawer.setShowDistLines(distanceLines);
        drawer.setShowObjectDimensions(dimensions);
        drawer.setShowCurrentTracks(currentTracks);
        drawer.setShowAverageTracks(averageTracks);
        drawer.setPaintObjects(paintObjects);

        QList<QPolygonF> lanes;
        QList<QPolygonF> borders;
        QMap<int, QPolygonF> distances;
        for (int lane = -2; lane <= 2; ++lane)
            (std::abs(lane) == 2 ? borders : lanes) << QPolygonF(
                QVector<QPointF> { QPointF(0, lane * roadWidth), QPointF(300, lane * roadWidth) });
        for (int x = 10; x <= 300; x += 10)
            distances.insert(x,
                QPolygonF(
                    QVector<QPointF> { QPointF(x, -2 * roadWidth), QPointF(x, 2 * roadWidth) }));
        drawer.startApplyingRoad(QRectF(0, -2 * roadWidth, 300, 4 * roadWidth));
        drawer.setLaneBorderLines(lanes);
        drawer.setRoadBorderLines(borders);
        drawer.setDistanceLines(distances);
        drawer.finishApplyingRoad();
    }
};

// Frame f of eight objects driving along four lanes with the simulator's lateral noise, one
// point per frame in their tracks of at most 30 points; object 3 leaves at frame 20 and
// comes back at frame 25 with a new track. The average tracks of the lanes follow their
// centre lines, with the stations near the frame number moved sideways.
void showFrame(ProjectionDrawer &drawer, int f)
{
    QMap<quint8, QPolygonF> tracks;
    RoadObjectFrame frame;
    for (int k = 1; k <= 8; ++k) {
        if (k == 3 && f >= 20 && f < 25)
            continue;
        const int start = k == 3 && f >= 25 ? 25 : 0;
        const double lane = -5.25 + 3.5 * (k % 4);
        QPolygonF track;
        for (int j = qMax(start, f - 29); j <= f; ++j)
            track << QPointF(8.0 + 2.0 * k + 0.8 * j, lane + 0.1 * std::sin(1.7 * j + k));
        tracks.insert(quint8(k), track);
        frame.objects << RoadObject(quint8(k), 20.0 + k, 0.0, track.constLast().x(),
            track.constLast().y(), k == 5 ? 16.0 : 4.5, QDateTime());
    }
    QMap<int, QPolygonF> average;
    for (int lane = -2; lane <= 2; ++lane) {
        if (lane == 0)
            continue;
        QPolygonF stations;
        for (int x = 5; x < 200; ++x)
            stations << QPointF(
                x, (lane - (lane > 0 ? 0.5 : -0.5)) * 3.5 + (std::abs(x - 3 * f) < 10 ? 0.4 : 0.0));
        average.insert(lane, stations);
    }
    drawer.setCurrentTracks(tracks);
    drawer.showFrame(frame);
    drawer.setAverageTracks(average);
}

QImage painted(const ProjectionDrawer &drawer, const Showing &showing)
{
    QImage image(showing.picture, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(40, 60, 40));
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(showing.fontSize);
    painter.setFont(font);
    drawer.paint(painter);
    return image;
}

} // namespace

Q_DECLARE_METATYPE(Showing)

class TestProjectionDrawer : public QObject
{
    Q_OBJECT

private slots:
    void pickupReproducesMarks_data();
    void pickupReproducesMarks();
    void pickupFindsCamerasBeyondTheGrid_data();
    void pickupFindsCamerasBeyondTheGrid();
    void pickupRefusesCheckpointsNoCameraFits_data();
    void pickupRefusesCheckpointsNoCameraFits();
    void pickupFailsWithTooFewCheckpoints_data();
    void pickupFailsWithTooFewCheckpoints();
    void stashAndRestore();
    void tracksLieOnTheirPoints_data();
    void tracksLieOnTheirPoints();
    void framesDrawnInTurnMatchTheLastDrawnAlone_data();
    void framesDrawnInTurnMatchTheLastDrawnAlone();
};

void TestProjectionDrawer::pickupReproducesMarks_data()
{
    QTest::addColumn<PickupScene>("scene");
    QTest::addColumn<int>("mode");
    const QVector<PickupScene> scenes = PickupScene::samples();
    QTest::newRow("near, mode 1") << scenes.at(0) << 1;
    QTest::newRow("far, mode 1") << scenes.at(1) << 1;
    QTest::newRow("wide, mode 1") << scenes.at(2) << 1;
    // The coarse pass reaches half angles up to 15 degrees, the refined one 1.5 more.
    PickupScene narrow = scenes.at(0);
    narrow.viewAngle = 20.0;
    QTest::newRow("near and narrow, mode 2") << narrow << 2;
    QTest::newRow("far, mode 2") << scenes.at(1) << 2;
}

void TestProjectionDrawer::pickupReproducesMarks()
{
    QFETCH(PickupScene, scene);
    QFETCH(int, mode);
    QImage frame(scene.width, scene.height, QImage::Format_ARGB32);
    ProjectionDrawer drawer(&frame);
    drawer.setTvmsConfig(scene.config());
    const CameraParams &truth = scene.radar;
    drawer.showPosition(
        truth.height, truth.xOffset, truth.yOffset, truth.azimuth, truth.altitude, 0.0, true);
    PickupSearch::Checkpoints marks;
    QVERIFY(scene.checkpoints(&marks));
    if (mode == 1)
        marks.resize(4);

    QSignalSpy picked(&drawer, &ProjectionDrawer::pickedRadarPosition);
    QSignalSpy result(&drawer, &ProjectionDrawer::pickupResult);
    drawer.stashPreviousParameters();
    QVERIFY(!drawer.model().isValid()); // nothing drawn over the picture while marking
    drawer.pickupParameters(mode, marks);

    QCOMPARE(result.count(), 1);
    QCOMPARE(result.first().at(0).toBool(), true);
    QCOMPARE(picked.count(), 1);
    const QList<QVariant> position = picked.first();
    QCOMPARE(position.at(1).toDouble(), truth.xOffset); // X is never picked
    QCOMPARE(position.at(5).toDouble(), 0.0);
    const CameraParams p = drawer.pickedParameters();
    QCOMPARE(position.at(0).toDouble(), p.height);
    QCOMPARE(position.at(2).toDouble(), p.yOffset);
    QCOMPARE(position.at(3).toDouble(), p.azimuth);
    QCOMPARE(position.at(4).toDouble(), p.altitude);
    if (mode == 1) {
        QCOMPARE(p.viewAngle, scene.viewAngle / 2.0);
        QCOMPARE(result.first().at(1).toDouble(), 0.0);
    } else {
        QCOMPARE(result.first().at(1).toDouble(), 2.0 * p.viewAngle);
    }
    QVERIFY(!drawer.model().isValid());

    // The picked camera puts every mark back on its Y, within a few pixels.
    CameraModel model = scene.model();
    QVERIFY(PickupSearch::applyTrial(model, p));
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const QPointF road = model.xyFromScreen(marks.at(i).first, &ok);
        QVERIFY(ok);
        QVERIFY2(std::abs(road.y() - marks.at(i).second) < 0.2,
            qPrintable(QStringLiteral("mark %1 at Y %2").arg(i).arg(road.y())));
    }
    const QVector<double> residuals = drawer.checkpointResiduals();
    QCOMPARE(residuals.size(), marks.size());
    for (double residual : residuals)
        QVERIFY2(residual >= 0.0 && residual <= 3.0, qPrintable(QString::number(residual)));
    if (mode == 2) {
        bool ok = false;
        const QPointF first = model.xyFromScreen(marks.at(4).first, &ok);
        const QPointF second = model.xyFromScreen(marks.at(5).first, &ok);
        QVERIFY(std::abs(QLineF(first, second).length() - marks.at(5).second) < 0.5);
    }

    drawer.applyPreviousParameters();
    QVERIFY(drawer.model().isValid());
    QCOMPARE(drawer.model().radarHeight(), truth.height);
    QCOMPARE(drawer.model().halfViewAngle(), qDegreesToRadians(scene.viewAngle / 2.0));
}

void TestProjectionDrawer::pickupFindsCamerasBeyondTheGrid_data()
{
    QTest::addColumn<PickupScene>("scene");
    QTest::addColumn<int>("mode");
    const QVector<PickupScene> scenes = PickupScene::wideSamples();
    QTest::newRow("40 degrees, mode 2") << scenes.at(0) << 2;
    QTest::newRow("60 degrees, mode 2") << scenes.at(1) << 2;
    QTest::newRow("90 degrees, mode 2") << scenes.at(2) << 2;
    QTest::newRow("90 degrees on a 25 m mast, mode 1") << scenes.at(3) << 1;
}

void TestProjectionDrawer::pickupFindsCamerasBeyondTheGrid()
{
    QFETCH(PickupScene, scene);
    QFETCH(int, mode);
    QImage frame(scene.width, scene.height, QImage::Format_ARGB32);
    ProjectionDrawer drawer(&frame);
    drawer.setTvmsConfig(scene.config());
    const CameraParams &truth = scene.radar;
    drawer.showPosition(
        truth.height, truth.xOffset, truth.yOffset, truth.azimuth, truth.altitude, 0.0, true);
    PickupSearch::Checkpoints marks;
    QVERIFY(scene.checkpoints(&marks));
    if (mode == 1)
        marks.resize(4);

    QSignalSpy picked(&drawer, &ProjectionDrawer::pickedRadarPosition);
    QSignalSpy result(&drawer, &ProjectionDrawer::pickupResult);
    drawer.stashPreviousParameters();
    drawer.pickupParameters(mode, marks);

    QCOMPARE(result.count(), 1);
    QCOMPARE(result.first().at(0).toBool(), true);
    QCOMPARE(picked.count(), 1);
    const QList<QVariant> p = picked.first();
    const QString found = QStringLiteral("height %1, Y %2, azimuth %3, altitude %4, view angle %5")
                              .arg(p.at(0).toDouble())
                              .arg(p.at(2).toDouble())
                              .arg(p.at(3).toDouble())
                              .arg(p.at(4).toDouble())
                              .arg(result.first().at(1).toDouble());
    QVERIFY2(std::abs(p.at(0).toDouble() - truth.height) <= 0.5, qPrintable(found));
    QCOMPARE(p.at(1).toDouble(), truth.xOffset);
    QVERIFY2(std::abs(p.at(2).toDouble() - truth.yOffset) <= 0.5, qPrintable(found));
    QVERIFY2(std::abs(p.at(3).toDouble() - truth.azimuth) <= 1.0, qPrintable(found));
    QVERIFY2(std::abs(p.at(4).toDouble() - truth.altitude) <= 1.0, qPrintable(found));
    if (mode == 2)
        QVERIFY2(
            std::abs(result.first().at(1).toDouble() - scene.viewAngle) <= 1.0, qPrintable(found));
    else
        QCOMPARE(result.first().at(1).toDouble(), 0.0);
}

void TestProjectionDrawer::pickupRefusesCheckpointsNoCameraFits_data()
{
    QTest::addColumn<PickupSearch::Checkpoints>("marks");
    QTest::addColumn<int>("mode");
    const PickupScene scene = PickupScene::wideSamples().at(1);
    PickupSearch::Checkpoints marks;
    if (!scene.checkpoints(&marks))
        qFatal("scene out of the picture");

    // Left and right exchanged: only a camera looking back along the road sees them so.
    PickupSearch::Checkpoints swapped = marks;
    std::swap(swapped[0].second, swapped[1].second);
    std::swap(swapped[2].second, swapped[3].second);
    QTest::newRow("left and right exchanged, mode 2") << swapped << 2;
    // One place marked twice, with Y values 3 m apart.
    PickupSearch::Checkpoints twice = marks;
    twice[1] = { twice[0].first, twice[0].second + 3.0 };
    QTest::newRow("one place with two Y values, mode 1") << twice.mid(0, 4) << 1;
    QTest::newRow("one place with two Y values, mode 2") << twice << 2;
}

void TestProjectionDrawer::pickupRefusesCheckpointsNoCameraFits()
{
    QFETCH(PickupSearch::Checkpoints, marks);
    QFETCH(int, mode);
    const PickupScene scene = PickupScene::wideSamples().at(1);
    QImage frame(scene.width, scene.height, QImage::Format_ARGB32);
    ProjectionDrawer drawer(&frame);
    drawer.setTvmsConfig(scene.config());
    const CameraParams &truth = scene.radar;
    drawer.showPosition(
        truth.height, truth.xOffset, truth.yOffset, truth.azimuth, truth.altitude, 0.0, true);

    QSignalSpy picked(&drawer, &ProjectionDrawer::pickedRadarPosition);
    QSignalSpy result(&drawer, &ProjectionDrawer::pickupResult);
    drawer.stashPreviousParameters();
    drawer.pickupParameters(mode, marks);

    QCOMPARE(picked.count(), 0);
    QCOMPARE(result.count(), 1);
    QCOMPARE(result.first(), (QList<QVariant> { false, 0.0 }));
    const CameraPickup::Result pickup = drawer.lastPickup();
    QCOMPARE(pickup.outcome, CameraPickup::Outcome::NoFit);
    // Both Y values of the place marked twice are 3 m apart on the road: the closest
    // camera must miss one of them by pixels, not by rounding.
    QVERIFY2(pickup.fit.worstMiss > 2.0 * CameraPickup::MaxMiss,
        qPrintable(QString::number(pickup.fit.worstMiss)));
    drawer.applyPreviousParameters();
    QCOMPARE(drawer.model().radarHeight(), truth.height);
}

void TestProjectionDrawer::pickupFailsWithTooFewCheckpoints_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::newRow("mode 1, three marks") << 1 << 3;
    QTest::newRow("mode 2, four marks") << 2 << 4;
    QTest::newRow("mode 2, five marks") << 2 << 5;
    QTest::newRow("mode 1, none") << 1 << 0;
}

void TestProjectionDrawer::pickupFailsWithTooFewCheckpoints()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    const PickupScene scene = PickupScene::samples().first();
    QImage frame(scene.width, scene.height, QImage::Format_ARGB32);
    ProjectionDrawer drawer(&frame);
    drawer.setTvmsConfig(scene.config());
    PickupSearch::Checkpoints marks;
    QVERIFY(scene.checkpoints(&marks));
    marks.resize(count);
    QSignalSpy picked(&drawer, &ProjectionDrawer::pickedRadarPosition);
    QSignalSpy result(&drawer, &ProjectionDrawer::pickupResult);
    drawer.stashPreviousParameters();
    drawer.pickupParameters(mode, marks);
    QCOMPARE(picked.count(), 0);
    QCOMPARE(result.count(), 1);
    QCOMPARE(result.first(), (QList<QVariant> { false, 0.0 }));
    QVERIFY(drawer.checkpointResiduals().isEmpty());
}

void TestProjectionDrawer::stashAndRestore()
{
    QImage frame(640, 480, QImage::Format_ARGB32);
    ProjectionDrawer drawer(&frame);
    QSignalSpy sight(&drawer, &ProjectionDrawer::sight);
    drawer.setTvmsConfig(QJsonObject { { QStringLiteral("horizontal_view_angle"), 30.0 } });
    drawer.showPosition(6.0, 1.0, 2.0, 3.0, 14.0, 0.0, true);
    QVERIFY(drawer.model().isValid());
    QCOMPARE(sight.last().at(2).value<QPolygonF>().size(), 4);
    // The search's own rescales never reach the traffic scheme.
    drawer.showPosition(6.0, 1.0, 2.0, 3.0, 14.0, 0.0, false);
    QCOMPARE(sight.count(), 2);

    drawer.stashPreviousParameters();
    QVERIFY(!drawer.model().isValid());
    QVERIFY(sight.last().at(2).value<QPolygonF>().isEmpty());
    const CameraParams previous = drawer.previousParameters();
    QCOMPARE(previous.height, 6.0);
    QCOMPARE(previous.xOffset, 1.0);
    QCOMPARE(previous.yOffset, 2.0);
    QVERIFY(std::abs(previous.azimuth - 3.0) < 1e-12);
    QVERIFY(std::abs(previous.altitude - 14.0) < 1e-12);
    QVERIFY(std::abs(previous.viewAngle - 15.0) < 1e-12);
    drawer.applyPreviousParameters();
    QVERIFY(drawer.model().isValid());
    QCOMPARE(sight.last().at(2).value<QPolygonF>().size(), 4);
}

void TestProjectionDrawer::tracksLieOnTheirPoints_data()
{
    QTest::addColumn<QPolygonF>("track");

    QPolygonF lane;
    QPolygonF noisy;
    QPolygonF curve;
    for (int i = 0; i <= 240; ++i) {
        const double x = 12.0 + 0.25 * i;
        lane << QPointF(x, -1.75);
        // The simulator's lateral noise is 0.1 m; a zigzag of that size at every point.
        noisy << QPointF(x, -1.75 + (i % 2 ? 0.1 : -0.1));
        const double a = 0.25 * i / 80.0;
        curve << QPointF(12.0 + 80.0 * std::sin(a), 5.25 - 80.0 * (1.0 - std::cos(a)));
    }
    QTest::newRow("along a lane") << lane;
    QTest::newRow("noisy") << noisy;
    QTest::newRow("curve") << curve;
}

// A track is drawn through the pixels its points project to, two pixels wide, and nowhere
// else.
void TestProjectionDrawer::tracksLieOnTheirPoints()
{
    QFETCH(QPolygonF, track);

    QImage frame(640, 480, QImage::Format_ARGB32_Premultiplied);
    ProjectionDrawer drawer(&frame);
    drawer.setTvmsConfig(QJsonObject { { QStringLiteral("horizontal_view_angle"), 40.0 } });
    drawer.showPosition(6.0, 0.0, 0.0, 0.0, 5.5, 0.0, true);
    QVERIFY(drawer.model().isValid());
    drawer.setCurrentTracks({ { quint8(5), track } });
    drawer.showFrame(RoadObjectFrame());

    frame.fill(Qt::black);
    {
        QPainter painter(&frame);
        drawer.paint(painter);
    }

    QVector<QPointF> pixels;
    for (const QPointF &point : track) {
        bool ok = false;
        const QPoint pixel = drawer.xyToScreen(point, &ok);
        if (ok)
            pixels << QPointF(pixel);
    }
    QVERIFY(pixels.size() > 100);
    const auto lit = [&frame](int x, int y) {
        return frame.rect().contains(x, y) && qGray(frame.pixel(x, y)) > 40;
    };
    int inside = 0;
    for (const QPointF &p : pixels) {
        if (!frame.rect().adjusted(1, 1, -1, -1).contains(p.toPoint()))
            continue;
        ++inside;
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy) {
            for (int dx = -1; dx <= 1 && !near; ++dx)
                near = lit(int(p.x()) + dx, int(p.y()) + dy);
        }
        QVERIFY2(near, qPrintable(QStringLiteral("nothing drawn at %1, %2").arg(p.x()).arg(p.y())));
    }
    QVERIFY(inside > 50);
    const auto distance = [&pixels](const QPointF &q) {
        double best = std::numeric_limits<double>::max();
        for (int i = 1; i < pixels.size(); ++i) {
            const QPointF a = pixels.at(i - 1);
            const QPointF d = pixels.at(i) - a;
            const double length2 = QPointF::dotProduct(d, d);
            const double t
                = length2 > 0 ? qBound(0.0, QPointF::dotProduct(q - a, d) / length2, 1.0) : 0.0;
            const QPointF e = q - (a + t * d);
            best = qMin(best, std::hypot(e.x(), e.y()));
        }
        return best;
    };
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (lit(x, y))
                QVERIFY2(distance(QPointF(x, y)) <= 2.5,
                    qPrintable(QStringLiteral("stray pixel at %1, %2").arg(x).arg(y)));
        }
    }
}

void TestProjectionDrawer::framesDrawnInTurnMatchTheLastDrawnAlone_data()
{
    QTest::addColumn<Showing>("before");
    QTest::addColumn<Showing>("after");

    const Showing usual;
    QTest::newRow("nothing changes") << usual << usual;
    Showing changed = usual;
    changed.altitude = 7.0;
    QTest::newRow("the camera tilts") << usual << changed;
    changed = usual;
    changed.viewAngle = 30.0;
    QTest::newRow("the view angle narrows") << usual << changed;
    changed = usual;
    changed.picture = QSize(800, 450);
    QTest::newRow("the picture is resized") << usual << changed;
    changed = usual;
    changed.laneLines = false;
    QTest::newRow("the lane lines are hidden") << usual << changed;
    changed = usual;
    changed.distanceLines = false;
    QTest::newRow("the distance lines are hidden") << usual << changed;
    QTest::newRow("the distance lines are shown") << changed << usual;
    changed = usual;
    changed.averageTracks = false;
    QTest::newRow("the average tracks are hidden") << usual << changed;
    QTest::newRow("the average tracks are shown") << changed << usual;
    changed = usual;
    changed.currentTracks = false;
    QTest::newRow("the current tracks are shown") << changed << usual;
    changed = usual;
    changed.paintObjects = false;
    QTest::newRow("the objects lose their colours") << usual << changed;
    QTest::newRow("the objects get their colours") << changed << usual;
    changed = usual;
    changed.dimensions = false;
    QTest::newRow("the outlines are hidden") << usual << changed;
    changed = usual;
    changed.roadWidth = 3.75;
    QTest::newRow("the road is widened") << usual << changed;
    changed = usual;
    changed.fontSize = 16;
    QTest::newRow("the font grows") << usual << changed;
}

// Whatever the drawer keeps from frame to frame, the last of a run of frames, with the
// showing changed halfway, looks exactly as that frame drawn by a drawer that only ever
// showed it.
void TestProjectionDrawer::framesDrawnInTurnMatchTheLastDrawnAlone()
{
    QFETCH(Showing, before);
    QFETCH(Showing, after);

    QImage device(640, 480, QImage::Format_ARGB32_Premultiplied);
    ProjectionDrawer inTurn(&device);
    before.applyTo(inTurn);
    QImage last;
    for (int f = 0; f < FrameCount; ++f) {
        if (f == FrameCount / 2)
            after.applyTo(inTurn);
        showFrame(inTurn, f);
        last = painted(inTurn, f < FrameCount / 2 ? before : after);
    }

    ProjectionDrawer alone(&device);
    after.applyTo(alone);
    showFrame(alone, FrameCount - 1);
    const QImage truth = painted(alone, after);

    QCOMPARE(last.size(), after.picture);
    QCOMPARE(last, truth);
    // Something is drawn: the objects at least.
    QImage empty(after.picture, QImage::Format_ARGB32_Premultiplied);
    empty.fill(QColor(40, 60, 40));
    QVERIFY(truth != empty);
}

QTEST_MAIN(TestProjectionDrawer)
#include "tst_projectiondrawer.moc"
