#include "cameramodel.h"

#include <QJsonObject>
#include <QtMath>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// A camera as the configuration file and the radar describe it.
struct Camera
{
    double viewAngle = 40.0; // full horizontal, degrees
    double zOffset = 0.0;
    double altitudeMisalignment = 0.0;
    double height = 6.0;
    double x = 0.0;
    double y = 2.0;
    double azimuth = 5.0; // degrees
    double altitude = 20.0; // degrees, more than the vertical half angle
    int width = 800;
    int frameHeight = 600;
    bool withViewAngle = true;
};

CameraModel modelOf(const Camera &c)
{
    QJsonObject config { { QStringLiteral("x_offset"), 0.2 }, { QStringLiteral("y_offset"), -0.3 },
        { QStringLiteral("z_offset"), c.zOffset }, { QStringLiteral("azimuth_misalignment"), 1.5 },
        { QStringLiteral("altitude_misalignment"), c.altitudeMisalignment } };
    if (c.withViewAngle)
        config.insert(QStringLiteral("horizontal_view_angle"), c.viewAngle);
    CameraModel model;
    model.setConfig(config);
    model.setRadarPosition(
        c.height, c.x, c.y, qDegreesToRadians(c.azimuth), qDegreesToRadians(c.altitude));
    model.rescale(c.width, c.frameHeight);
    return model;
}

bool near(const QPoint &a, const QPoint &b, int tolerance)
{
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

} // namespace

Q_DECLARE_METATYPE(Camera)

class TestCameraModel : public QObject
{
    Q_OBJECT

private slots:
    void validCameras_data();
    void aimPointProjectsToCentre_data() { validCameras_data(); }
    void aimPointProjectsToCentre();
    void screenRoundTrip_data() { validCameras_data(); }
    void screenRoundTrip();
    void sightFootprintFillsFrame_data() { validCameras_data(); }
    void sightFootprintFillsFrame();
    void everyStopInvalidates_data();
    void everyStopInvalidates();
    void shallowTiltClampsUpperEdge();
    void viewAngleOutsideEditorRangeIsDefault_data();
    void viewAngleOutsideEditorRangeIsDefault();
};

void TestCameraModel::validCameras_data()
{
    QTest::addColumn<Camera>("camera");
    QTest::newRow("typical") << Camera();
    Camera narrow;
    narrow.viewAngle = 8.0;
    narrow.altitude = 5.0;
    narrow.height = 9.0;
    QTest::newRow("narrow and far") << narrow;
    Camera portrait;
    portrait.width = 480;
    portrait.frameHeight = 720;
    portrait.azimuth = -20.0;
    portrait.altitude = 35.0;
    QTest::newRow("portrait frame, looking right") << portrait;
    Camera lifted;
    lifted.height = 0.5;
    lifted.zOffset = 1.0;
    lifted.altitude = 40.0;
    lifted.viewAngle = 90.0;
    QTest::newRow("low radar lifted by the camera offset, wide") << lifted;
    Camera odd;
    odd.width = 801;
    odd.frameHeight = 601;
    QTest::newRow("odd frame size") << odd;
}

void TestCameraModel::aimPointProjectsToCentre()
{
    QFETCH(Camera, camera);
    const CameraModel model = modelOf(camera);
    QVERIFY(model.isValid());
    const QPointF aim = model.sight().aim;
    QCOMPARE(model.translated(aim), QPointF(0.0, 0.0));
    bool ok = false;
    QCOMPARE(model.projected(0.0, 0.0, &ok), QPoint(0, 0));
    QVERIFY(ok);
    QCOMPARE(model.xyToScreen(aim, &ok), QPoint(camera.width / 2, camera.frameHeight / 2));
    QVERIFY(ok);
}

void TestCameraModel::screenRoundTrip()
{
    QFETCH(Camera, camera);
    const CameraModel model = modelOf(camera);
    QVERIFY(model.isValid());
    int checked = 0;
    for (int sy = 0; sy < camera.frameHeight; sy += 7) {
        for (int sx = 0; sx < camera.width; sx += 13) {
            bool ok = false;
            const QPointF road = model.xyFromScreen(sx, sy, &ok);
            if (!ok)
                continue; // at or above the horizon
            const QPoint back = model.xyToScreen(road, &ok);
            QVERIFY2(ok && near(back, QPoint(sx, sy), 1),
                qPrintable(QStringLiteral("(%1, %2) came back as (%3, %4)")
                               .arg(sx)
                               .arg(sy)
                               .arg(back.x())
                               .arg(back.y())));
            ++checked;
        }
    }
    // The whole lower half lies below the horizon.
    QVERIFY(checked > (camera.frameHeight / 14) * (camera.width / 13));
}

void TestCameraModel::sightFootprintFillsFrame()
{
    QFETCH(Camera, camera);
    const CameraModel model = modelOf(camera);
    const QPolygonF area = model.sight().area;
    QCOMPARE(area.size(), 4);
    const int w = camera.width;
    const int h = camera.frameHeight;
    // Lower left, upper left, upper right, lower right of the frame.
    const QPoint corners[] = { { 0, h }, { 0, 0 }, { w, 0 }, { w, h } };
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const QPoint pixel = model.xyToScreen(area.at(i), &ok);
        QVERIFY(ok);
        QVERIFY2(near(pixel, corners[i], 1),
            qPrintable(
                QStringLiteral("corner %1 at (%2, %3)").arg(i).arg(pixel.x()).arg(pixel.y())));
    }
    QVERIFY(model.sight().camera == QPointF(camera.x + 0.2, camera.y - 0.3));
}

void TestCameraModel::everyStopInvalidates_data()
{
    QTest::addColumn<Camera>("camera");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto row = [](const char *name, Camera c) { QTest::newRow(name) << c; };
    Camera c;
    c.height = 0.99;
    row("camera below 1 m", c);
    c = Camera();
    c.height = 1.5;
    c.zOffset = -0.6;
    row("offset lowers the camera below 1 m", c);
    c = Camera();
    c.altitude = 0.05;
    row("tilt below 0.001 rad", c);
    c = Camera();
    c.altitude = -10.0;
    row("looking up", c);
    c = Camera();
    c.altitude = 60.0;
    c.altitudeMisalignment = 30.0;
    row("tilt of 90 degrees", c);
    c = Camera();
    c.withViewAngle = false;
    row("missing view angle", c);
    c = Camera();
    c.width = 63;
    row("frame narrower than 64 px", c);
    c = Camera();
    c.frameHeight = 63;
    row("frame lower than 64 px", c);
    c = Camera();
    c.width = 0;
    c.frameHeight = 0;
    row("empty frame", c);
    c = Camera();
    c.height = nan;
    row("height not a number", c);
    c = Camera();
    c.azimuth = std::numeric_limits<double>::infinity();
    row("infinite azimuth", c);
    c = Camera();
    c.y = nan;
    row("Y not a number", c);
}

void TestCameraModel::everyStopInvalidates()
{
    QFETCH(Camera, camera);
    const CameraModel model = modelOf(camera);
    QVERIFY(!model.isValid());
    QVERIFY(model.sight().area.isEmpty());
    for (const QPoint &pixel : { QPoint(0, 0), QPoint(400, 300), QPoint(400, 599) }) {
        bool ok = true;
        QCOMPARE(model.xyFromScreen(pixel, &ok), QPointF());
        QVERIFY(!ok);
    }
    bool ok = true;
    QCOMPARE(model.xyToScreen(30.0, 0.0, &ok), QPoint());
    QVERIFY(!ok);
    QVERIFY(
        model.fittedLine(QPolygonF(QVector<QPointF> { { 20.0, 0.0 }, { 40.0, 0.0 } })).isEmpty());
}

void TestCameraModel::shallowTiltClampsUpperEdge()
{
    // 2 degrees of tilt under a vertical half angle of about 15: the top rows are sky.
    Camera camera;
    camera.altitude = 2.0;
    camera.viewAngle = 40.0;
    camera.x = -0.2;
    camera.y = 0.3; // the camera over the origin
    const CameraModel model = modelOf(camera);
    QVERIFY(model.isValid());
    bool ok = true;
    model.xyFromScreen(400, 0, &ok);
    QVERIFY(!ok);

    // The upper edge is cut 0.001 rad below the horizon: Hc / tan(0.001) from the camera.
    const double top = 6.0 / std::tan(0.001);
    const double azimuth = qDegreesToRadians(camera.azimuth + 1.5);
    const QPointF direction(std::cos(azimuth), std::sin(azimuth));
    model.xyToScreen((top + 5.0) * direction, &ok);
    QVERIFY(ok);
    model.xyToScreen((top + 6.0) * direction, &ok);
    QVERIFY(!ok);
    // Half a metre beyond the lower edge's margin is rejected too.
    const QPolygonF area = model.sight().area;
    model.xyToScreen(area.at(0) - 6.0 * direction, &ok);
    QVERIFY(!ok);
}

void TestCameraModel::viewAngleOutsideEditorRangeIsDefault_data()
{
    QTest::addColumn<QJsonValue>("stored");
    QTest::addColumn<double>("used"); // full angle, degrees

    QTest::newRow("40 degrees") << QJsonValue(40.0) << 40.0;
    QTest::newRow("1 degree, the editor's least") << QJsonValue(1.0) << 1.0;
    QTest::newRow("90 degrees, the editor's most") << QJsonValue(90.0) << 90.0;
    QTest::newRow("0 degrees") << QJsonValue(0.0) << 12.0;
    QTest::newRow("0.1 degrees") << QJsonValue(0.1) << 12.0;
    QTest::newRow("negative") << QJsonValue(-40.0) << 12.0;
    QTest::newRow("90.5 degrees") << QJsonValue(90.5) << 12.0;
    QTest::newRow("180 degrees") << QJsonValue(180.0) << 12.0;
    QTest::newRow("1e6 degrees") << QJsonValue(1.0e6) << 12.0;
    QTest::newRow("not a number") << QJsonValue(std::numeric_limits<double>::quiet_NaN()) << 12.0;
    QTest::newRow("text") << QJsonValue("wide") << 12.0;
    QTest::newRow("switch") << QJsonValue(true) << 12.0;
}

void TestCameraModel::viewAngleOutsideEditorRangeIsDefault()
{
    QFETCH(QJsonValue, stored);
    QFETCH(double, used);

    // The camera on a 6 m pole, 20 degrees down, looking along +X, a 800 x 600 frame.
    CameraModel model;
    model.setConfig(QJsonObject { { QStringLiteral("horizontal_view_angle"), stored } });
    model.setRadarPosition(6.0, 0.0, 0.0, 0.0, qDegreesToRadians(20.0));
    QVERIFY(model.rescale(800, 600));

    // The aim point lies 6 / tan(20 deg) m ahead, 6 / sin(20 deg) m from the camera; the
    // frame's side edges on its row lie half the view angle to either side.
    const double tilt = qDegreesToRadians(20.0);
    const double aim = 6.0 / std::tan(tilt);
    const double halfWidth = 6.0 / std::sin(tilt) * std::tan(qDegreesToRadians(used / 2.0));
    bool ok = false;
    const QPoint right = model.xyToScreen(aim, -halfWidth, &ok);
    QVERIFY(ok);
    QVERIFY2(near(right, QPoint(800, 300), 1),
        qPrintable(QStringLiteral("(%1, %2)").arg(right.x()).arg(right.y())));
    const QPoint left = model.xyToScreen(aim, halfWidth, &ok);
    QVERIFY(ok);
    QVERIFY2(near(left, QPoint(0, 300), 1),
        qPrintable(QStringLiteral("(%1, %2)").arg(left.x()).arg(left.y())));
}

QTEST_GUILESS_MAIN(TestCameraModel)
#include "tst_cameramodel.moc"
