#include "pickupscene.h"
#include "projectiondrawer.h"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

class TestProjectionDrawer : public QObject
{
    Q_OBJECT

private slots:
    void pickupReproducesMarks_data();
    void pickupReproducesMarks();
    void pickupFailsWithTooFewCheckpoints_data();
    void pickupFailsWithTooFewCheckpoints();
    void stashAndRestore();
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
    QCOMPARE(residuals.size(), 4);
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

QTEST_MAIN(TestProjectionDrawer)
#include "tst_projectiondrawer.moc"
