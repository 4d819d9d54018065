#include "objectcolor.h"
#include "roadbuilder.h"
#include "roadobjectswidget.h"

#include <QImage>
#include <QJsonArray>
#include <QtTest>

#include <limits>

namespace {

// A straight 100 m road with one 3.5 m lane and a 2 m roadside on each side and no
// median strip: the road edges lie at Y = +-3.5 m, and the view shows X 0..100 m,
// Y -5.5..5.5 m.
QJsonObject straightRoad()
{
    const QJsonObject lane { { "is_lane", true }, { "width", 3.5 } };
    const QJsonObject roadside { { "is_lane", false }, { "width", 2 } };
    return { { "parts",
                 QJsonObject {
                     { "1", lane }, { "-1", lane }, { "2", roadside }, { "-2", roadside } } },
        { "sections", QJsonArray { QJsonObject { { "is_curved", false }, { "length", 100 } } } } };
}

void connectRoad(RoadBuilder &builder, RoadObjectsWidget &view)
{
    QObject::connect(
        &builder, &RoadBuilder::applyingRoadStarted, &view, &RoadObjectsWidget::startApplyingRoad);
    QObject::connect(
        &builder, &RoadBuilder::roadAxisLine, &view, &RoadObjectsWidget::setRoadAxisLine);
    QObject::connect(
        &builder, &RoadBuilder::laneBorderLines, &view, &RoadObjectsWidget::setLaneBorderLines);
    QObject::connect(
        &builder, &RoadBuilder::roadBorderLines, &view, &RoadObjectsWidget::setRoadBorderLines);
    QObject::connect(
        &builder, &RoadBuilder::distanceLines, &view, &RoadObjectsWidget::setDistanceLines);
    QObject::connect(
        &builder, &RoadBuilder::roadTanAngles, &view, &RoadObjectsWidget::setRoadTanAngles);
    QObject::connect(&builder, &RoadBuilder::applyingRoadFinished, &view,
        &RoadObjectsWidget::finishApplyingRoad);
}

bool isWhite(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
}

} // namespace

class TestRoadObjectsWidget : public QObject
{
    Q_OBJECT

private slots:
    void mapping_data();
    void mapping();
    void clearsWhenRadarStops();
    void survivesGarbage_data();
    void survivesGarbage();
};

void TestRoadObjectsWidget::mapping_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("keepAspectRatio");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("paintObjects");
    QTest::addColumn<QPoint>("radarAhead"); // 8 px ahead of the radar along +X
    QTest::addColumn<QPoint>("leftEdge"); // road edge +3.5 m at X = 47 m
    QTest::addColumn<QPoint>("rightEdge"); // road edge -3.5 m at X = 47 m
    QTest::addColumn<QPoint>("body"); // centre of the object's footprint
    QTest::addColumn<QColor>("bodyColor");

    // 400 x 200 (vertical: 200 x 400) with a 10 px margin and the label room on the -Y
    // side: horizontally X maps to 10 + 3.8 x; vertically to 390 - 3.8 x.
    const QColor green(0, 255, 0); // identifier 5
    const QColor road(34, 36, 40);
    QTest::newRow("horizontal, stretched")
        << false << false << 0 << true << QPoint(18, 90) << QPoint(188, 39) << QPoint(188, 140)
        << QPoint(246, 115) << green;
    QTest::newRow("horizontal, true aspect")
        << false << true << 0 << true << QPoint(18, 90) << QPoint(188, 76) << QPoint(188, 103)
        << QPoint(246, 96) << green;
    QTest::newRow("vertical, stretched")
        << true << false << 0 << true << QPoint(74, 382) << QPoint(33, 211) << QPoint(114, 211)
        << QPoint(94, 153) << green;
    QTest::newRow("vertical, true aspect")
        << true << true << 0 << true << QPoint(74, 382) << QPoint(60, 211) << QPoint(87, 211)
        << QPoint(80, 153) << green;
    QTest::newRow("colours off paints white")
        << false << false << 0 << false << QPoint(18, 90) << QPoint(188, 39) << QPoint(188, 140)
        << QPoint(246, 115) << QColor(Qt::white);
    QTest::newRow("mixed mode shows the object")
        << true << true << 2 << true << QPoint(74, 382) << QPoint(60, 211) << QPoint(87, 211)
        << QPoint(80, 153) << green;
    QTest::newRow("long exposure shows no object bodies")
        << true << true << 1 << true << QPoint(74, 382) << QPoint(60, 211) << QPoint(87, 211)
        << QPoint(80, 153) << road;
}

void TestRoadObjectsWidget::mapping()
{
    QFETCH(bool, vertical);
    QFETCH(bool, keepAspectRatio);
    QFETCH(int, mode);
    QFETCH(bool, paintObjects);
    QFETCH(QPoint, radarAhead);
    QFETCH(QPoint, leftEdge);
    QFETCH(QPoint, rightEdge);
    QFETCH(QPoint, body);
    QFETCH(QColor, bodyColor);

    RoadBuilder builder;
    RoadObjectsWidget view;
    connectRoad(builder, view);
    view.setDrawVertical(vertical);
    view.setKeepAspectRatio(keepAspectRatio);
    view.setTracksDisplayMode(mode);
    view.setPaintObjects(paintObjects);
    builder.setRoadConfig(straightRoad());
    view.resize(vertical ? QSize(200, 400) : QSize(400, 200));

    // A 4.5 m long object with its reference point at (60, -1.75), moving away.
    view.startFilling();
    view.addObject(5, 10.0, 0.0, 60.0, -1.75, 4.5, QDateTime());
    view.finishFilling(QVector<quint8> { 5 });

    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    view.render(&image);

    QCOMPARE(image.pixelColor(radarAhead), QColor(0, 200, 255));
    QVERIFY(isWhite(image.pixel(leftEdge)));
    QVERIFY(isWhite(image.pixel(rightEdge)));
    QCOMPARE(image.pixelColor(body), bodyColor);
    // Nothing left unpainted, the corners stay black.
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(Qt::black));
}

void TestRoadObjectsWidget::clearsWhenRadarStops()
{
    RoadBuilder builder;
    RoadObjectsWidget view;
    connectRoad(builder, view);
    builder.setRoadConfig(straightRoad());
    view.resize(400, 200);
    view.startFilling();
    view.addObject(5, 10.0, 0.0, 60.0, -1.75, 4.5, QDateTime());
    view.finishFilling(QVector<quint8> { 5 });

    view.showRadarState(0);
    QImage image(view.size(), QImage::Format_RGB32);
    view.render(&image);
    QCOMPARE(image.pixelColor(246, 115), QColor(34, 36, 40));
}

void TestRoadObjectsWidget::survivesGarbage_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<double>("xRange");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("sightX");

    QTest::newRow("NaN position") << nan << 4.0 << 10.0 << 50.0;
    QTest::newRow("infinite length") << 30.0 << inf << 10.0 << 50.0;
    QTest::newRow("NaN speed") << 30.0 << 4.0 << nan << 50.0;
    QTest::newRow("astronomic range and sight") << 1e300 << 1e300 << 1e300 << 1e300;
    QTest::newRow("infinite sight") << 30.0 << 4.0 << 10.0 << -inf;
}

void TestRoadObjectsWidget::survivesGarbage()
{
    QFETCH(double, xRange);
    QFETCH(double, length);
    QFETCH(double, speed);
    QFETCH(double, sightX);

    RoadBuilder builder;
    RoadObjectsWidget view;
    connectRoad(builder, view);
    builder.setRoadConfig(straightRoad());
    view.resize(400, 200);
    view.setSight(QPointF(0, 0), QPointF(sightX, 0),
        QPolygonF(QVector<QPointF> { { 5, -1 }, { sightX, -9 }, { sightX, 9 }, { 5, 1 } }));
    view.showPolygonUsage(1);
    for (quint8 param = 0; param < 6; ++param)
        view.showPolygonPointParam(0, param, param % 2 ? length : xRange);
    view.showPosition(5.0, xRange, 0.0, speed, 0.0, 0.0);
    view.startFilling();
    view.addObject(5, speed, speed, xRange, -1.75, length, QDateTime());
    view.addObject(6, 10.0, 0.0, 60.0, -1.75, 4.5, QDateTime());
    view.finishFilling(QVector<quint8> { 5, 6 });
    view.setCurrentTracks({ { 5, QPolygonF(QVector<QPointF> { { xRange, 0 }, { 1, 1 } }) } });

    QImage image(view.size(), QImage::Format_RGB32);
    view.render(&image);
    // The sound object and the road are still where they belong.
    QCOMPARE(image.pixelColor(246, 115), QColor(ObjectColor::base(6)));
    QVERIFY(isWhite(image.pixel(188, 39)));
}

QTEST_MAIN(TestRoadObjectsWidget)
#include "tst_roadobjectswidget.moc"
