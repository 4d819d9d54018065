#include "roadbuilder.h"
#include "roadconfigs.h"

#include <QtMath>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

using RoadConfigs::ExampleRoad;
using RoadConfigs::parse;

QJsonObject straight(double length)
{
    return { { "is_curved", false }, { "length", length }, { "radius", 0 } };
}

QJsonObject curve(double length, double radius)
{
    return { { "is_curved", true }, { "length", length }, { "radius", radius } };
}

QJsonObject part(double width, bool isLane)
{
    return { { "width", width }, { "is_lane", isLane } };
}

QJsonObject road(const QJsonObject &parts, const QJsonArray &sections)
{
    return { { "parts", parts }, { "sections", sections } };
}

// Keeps the latest value `signal` delivers to `receiver` through the event loop.
template<typename T>
void keepQueued(
    RoadBuilder *builder, void (RoadBuilder::*signal)(const T &), QObject *receiver, T &latest)
{
    QObject::connect(
        builder, signal, receiver, [&latest](const T &value) { latest = value; },
        Qt::QueuedConnection);
}

bool near(const QPointF &a, const QPointF &b, double tolerance = 1e-9)
{
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

QList<int> range(int first, int last)
{
    QList<int> values;
    for (int i = first; i <= last; ++i)
        values.append(i);
    return values;
}

QList<double> firstYs(const QList<QPolygonF> &lines)
{
    QList<double> ys;
    for (const QPolygonF &line : lines)
        ys.append(line.isEmpty() ? qQNaN() : line.first().y());
    return ys;
}

bool allFinite(const QPolygonF &line)
{
    for (const QPointF &point : line) {
        if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
            return false;
    }
    return true;
}

// Reaches the stages of a build one by one.
class StagedRoadBuilder : public RoadBuilder
{
public:
    using RoadBuilder::doAddCurvedSection;
    using RoadBuilder::doAddStraightSection;
    using RoadBuilder::doApplyRoad;
    using RoadBuilder::doBuildRoad;
    using RoadBuilder::doCalcLimitMarks;
    using RoadBuilder::doExpandDimesionsByPoint;
    using RoadBuilder::doExpandDimesionsByRoadside;
    using RoadBuilder::doFillMarkPoints;
    using RoadBuilder::doSetupParts;
};

// Everything one build hands out, with the order in which the signals came.
class RoadCapture
{
public:
    explicit RoadCapture(RoadBuilder *builder)
        : started(builder, &RoadBuilder::applyingRoadStarted)
        , axisSpy(builder, &RoadBuilder::roadAxisLine)
        , laneBorderSpy(builder, &RoadBuilder::laneBorderLines)
        , roadBorderSpy(builder, &RoadBuilder::roadBorderLines)
        , laneCentreSpy(builder, &RoadBuilder::laneCenterLines)
        , distanceSpy(builder, &RoadBuilder::distanceLines)
        , angleSpy(builder, &RoadBuilder::roadTanAngles)
        , finished(builder, &RoadBuilder::applyingRoadFinished)
    {
        const auto record = [this](const char *name) {
            return [this, name] { order.append(QString::fromLatin1(name)); };
        };
        QObject::connect(builder, &RoadBuilder::applyingRoadStarted, builder, record("started"));
        QObject::connect(builder, &RoadBuilder::roadAxisLine, builder, record("axis"));
        QObject::connect(builder, &RoadBuilder::laneBorderLines, builder, record("laneBorders"));
        QObject::connect(builder, &RoadBuilder::roadBorderLines, builder, record("roadBorders"));
        QObject::connect(builder, &RoadBuilder::laneCenterLines, builder, record("laneCentres"));
        QObject::connect(builder, &RoadBuilder::distanceLines, builder, record("distances"));
        QObject::connect(builder, &RoadBuilder::roadTanAngles, builder, record("angles"));
        QObject::connect(builder, &RoadBuilder::applyingRoadFinished, builder, record("finished"));
    }
    // Captures the build of `config`.
    RoadCapture(RoadBuilder *builder, const QJsonObject &config)
        : RoadCapture(builder)
    {
        builder->setRoadConfig(config);
    }

    bool isOneBuild() const
    {
        return order
            == QStringList { "started", "axis", "laneBorders", "roadBorders", "laneCentres",
                   "distances", "angles", "finished" };
    }
    QRectF dimensions() const { return started.last().at(0).toRectF(); }
    QPointF shift() const { return started.last().at(1).toPointF(); }
    QPolygonF axis() const { return axisSpy.last().at(0).value<QPolygonF>(); }
    QList<QPolygonF> laneBorders() const
    {
        return laneBorderSpy.last().at(0).value<QList<QPolygonF>>();
    }
    QList<QPolygonF> roadBorders() const
    {
        return roadBorderSpy.last().at(0).value<QList<QPolygonF>>();
    }
    QMap<int, QPolygonF> laneCentres() const
    {
        return laneCentreSpy.last().at(0).value<QMap<int, QPolygonF>>();
    }
    QMap<int, QPolygonF> distances() const
    {
        return distanceSpy.last().at(0).value<QMap<int, QPolygonF>>();
    }
    QMap<int, double> angles() const { return angleSpy.last().at(0).value<QMap<int, double>>(); }

    QStringList order;
    QSignalSpy started;
    QSignalSpy axisSpy;
    QSignalSpy laneBorderSpy;
    QSignalSpy roadBorderSpy;
    QSignalSpy laneCentreSpy;
    QSignalSpy distanceSpy;
    QSignalSpy angleSpy;
    QSignalSpy finished;
};

} // namespace

class TestRoadBuilder : public QObject
{
    Q_OBJECT

private slots:
    void roadPartEdges_data();
    void roadPartEdges();
    void orthoPoint_data();
    void orthoPoint();
    void limitMarks_data();
    void limitMarks();

    void emptyConfiguration();
    void originOffsetShiftsEverything();
    void workedExample();
    void fourLanesPerSide();
    void straightOfHundredAndAHalf();
    void curves_data();
    void curves();
    void turnsOfMoreThanHalfACircle_data();
    void turnsOfMoreThanHalfACircle();
    void tangentAnglesStayWithinHalfTurn();
    void negativeWidthsHeldAtZero();
    void partsSetUp_data();
    void partsSetUp();
    void laterFillingWins();
    void dimensionsGrowByPoint();
    void sectionEnds();
    void rebuildReplacesEverything();
    void queuedDelivery();
    void hostileConfigurations_data();
    void hostileConfigurations();
};

void TestRoadBuilder::roadPartEdges_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("inner");
    QTest::addColumn<double>("outer");

    QTest::newRow("median strip") << 0 << -0.25 << 0.5 << -0.25 << 0.25 << 0.0 << 0.0;
    QTest::newRow("left lane") << 1 << 0.25 << 3.5 << 0.25 << 3.75 << 0.25 << 3.75;
    QTest::newRow("right lane") << -1 << -0.25 << -3.5 << -3.75 << -0.25 << -0.25 << -3.75;
    QTest::newRow("left part turned right") << 1 << 0.5 << -3.0 << -2.5 << 0.5 << 0.5 << -2.5;
    QTest::newRow("right part turned left") << -1 << -0.5 << 2.0 << -0.5 << 1.5 << -0.5 << 1.5;
    QTest::newRow("zero width at axis") << 2 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
}

void TestRoadBuilder::roadPartEdges()
{
    QFETCH(int, id);
    QFETCH(double, start);
    QFETCH(double, width);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(double, inner);
    QFETCH(double, outer);

    const RoadBuilder::RoadPart part(id, start, width, true);
    QCOMPARE(part.id(), id);
    QCOMPARE(part.lowerEdge(), lower);
    QCOMPARE(part.upperEdge(), upper);
    QCOMPARE(part.centre(), (lower + upper) / 2.0);
    QCOMPARE(part.innCoord(), inner);
    QCOMPARE(part.outCoord(), outer);
    QVERIFY(part.isLane());
}

void TestRoadBuilder::orthoPoint_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("offset");
    QTest::addColumn<QPointF>("expected");

    QTest::newRow("along +X, left") << 0.0 << 2.0 << QPointF(1, 3);
    QTest::newRow("along +X, right") << 0.0 << -2.0 << QPointF(1, -1);
    QTest::newRow("along +Y, left") << M_PI_2 << 2.0 << QPointF(-1, 1);
    QTest::newRow("along -X, left") << M_PI << 2.0 << QPointF(1, -1);
    QTest::newRow("zero offset") << 0.7 << 0.0 << QPointF(1, 1);
}

void TestRoadBuilder::orthoPoint()
{
    QFETCH(double, angle);
    QFETCH(double, offset);
    QFETCH(QPointF, expected);

    const QPointF point = RoadBuilder::orthoPoint(QPointF(1, 1), angle, offset);
    QVERIFY2(near(point, expected, 1e-12),
        qPrintable(QString("got (%1, %2)").arg(point.x()).arg(point.y())));
}

void TestRoadBuilder::limitMarks_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");

    QTest::newRow("0 to 100.5") << 0.0 << 100.5 << 0 << 100;
    QTest::newRow("99.995 to 200") << 99.995 << 200.0 << 100 << 200;
    QTest::newRow("within tolerance below") << 4.992 << 9.008 << 5 << 9;
    QTest::newRow("just beyond tolerance") << 4.98 << 9.02 << 5 << 9;
    QTest::newRow("lead-in") << -2.0 << 0.0 << -2 << 0;
    QTest::newRow("no whole metre inside") << 0.5 << 0.6 << 1 << 0;
    QTest::newRow("single point") << 3.0 << 3.0 << 3 << 3;
    QTest::newRow("backwards") << 10.0 << 5.0 << 10 << 5;
    QTest::newRow("NaN") << qQNaN() << 5.0 << 0 << -1;
    QTest::newRow("far beyond int") << 0.0 << 1e300 << 0 << 1000000000;
}

void TestRoadBuilder::limitMarks()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(int, first);
    QFETCH(int, last);

    StagedRoadBuilder builder;
    int firstMark = 12345;
    int lastMark = 12345;
    builder.doCalcLimitMarks(from, to, firstMark, lastMark);
    QCOMPARE(firstMark, first);
    QCOMPARE(lastMark, last);
}

void TestRoadBuilder::emptyConfiguration()
{
    RoadBuilder builder;
    RoadCapture capture(&builder, QJsonObject());

    QVERIFY(capture.isOneBuild());
    QCOMPARE(capture.axis(), QPolygonF({ { -2, 0 }, { -1, 0 }, { 0, 0 }, { 1, 0 }, { 2, 0 } }));
    QVERIFY(capture.laneBorders().isEmpty());
    QVERIFY(capture.roadBorders().isEmpty());
    QVERIFY(capture.laneCentres().isEmpty());
    QVERIFY(capture.angles().isEmpty());
    const QMap<int, QPolygonF> distances = capture.distances();
    QCOMPARE(distances.keys(), range(-2, 2));
    for (const QPolygonF &line : distances)
        QVERIFY(line.isEmpty());
    QCOMPARE(capture.dimensions(), QRectF(0, 0, 0, 0));
    QCOMPARE(capture.shift(), QPointF(0, 0));
    QCOMPARE(builder.parts().keys(), QList<int> { 0 });
}

void TestRoadBuilder::originOffsetShiftsEverything()
{
    QJsonObject config = parse(ExampleRoad);
    config["origin_offset"] = 0;
    RoadBuilder plain;
    RoadCapture unshifted(&plain, config);

    config["origin_offset"] = 4;
    RoadBuilder builder;
    RoadCapture shifted(&builder, config);

    const auto shiftedLine = [](QPolygonF line) { return line.translated(0, 4); };
    QCOMPARE(shifted.shift(), QPointF(0, 4));
    QCOMPARE(shifted.dimensions(), unshifted.dimensions().translated(0, 4));
    QCOMPARE(shifted.axis(), shiftedLine(unshifted.axis()));
    QCOMPARE(shifted.roadBorders().size(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(shifted.roadBorders().at(i), shiftedLine(unshifted.roadBorders().at(i)));
    for (int key : { -1, 1 })
        QCOMPARE(shifted.laneCentres().value(key), shiftedLine(unshifted.laneCentres().value(key)));
    QCOMPARE(shifted.distances().keys(), unshifted.distances().keys());
    for (int mark : unshifted.distances().keys())
        QCOMPARE(shifted.distances().value(mark), shiftedLine(unshifted.distances().value(mark)));
    QCOMPARE(shifted.angles(), unshifted.angles());

    RoadBuilder empty;
    RoadCapture emptyCapture(&empty, QJsonObject { { "origin_offset", 4 } });
    QCOMPARE(emptyCapture.dimensions(), QRectF(0, 4, 0, 0));
    QCOMPARE(emptyCapture.shift(), QPointF(0, 4));
    QCOMPARE(
        emptyCapture.axis(), QPolygonF({ { -2, 4 }, { -1, 4 }, { 0, 4 }, { 1, 4 }, { 2, 4 } }));
}

void TestRoadBuilder::workedExample()
{
    RoadBuilder builder;
    RoadCapture capture(&builder, parse(ExampleRoad));
    QVERIFY(capture.isOneBuild());

    // Unshifted geometry of the arc: centre (100, 300), end after 1/6 rad.
    const double turn = 50.0 / 300.0;
    const QPointF arcEnd(100 + 300 * std::sin(turn), 300 - 300 * std::cos(turn));
    const QPointF shift(0, 4);

    const QPolygonF axis = capture.axis();
    QCOMPARE(axis.size(), 155); // marks -2 ... 152
    QCOMPARE(axis.first(), QPointF(-2, 4));
    QCOMPARE(axis.at(2 + 100), QPointF(100, 4));
    QVERIFY(near(axis.at(2 + 150), arcEnd + shift));
    QVERIFY(near(axis.last(), arcEnd + 2 * QPointF(std::cos(turn), std::sin(turn)) + shift));

    QVERIFY(capture.laneBorders().isEmpty());
    const QList<QPolygonF> borders = capture.roadBorders();
    QCOMPARE(borders.size(), 4);
    // Inner edges of parts -2, -1, 1, 2 at mark 0.
    QCOMPARE(firstYs(borders), (QList<double> { 0.25, 3.75, 4.25, 7.75 }));
    for (const QPolygonF &border : borders)
        QCOMPARE(border.size(), 151);

    const QMap<int, QPolygonF> centres = capture.laneCentres();
    QCOMPARE(centres.keys(), (QList<int> { -1, 1 }));
    QCOMPARE(centres.value(-1).size(), 151);
    QCOMPARE(centres.value(-1).first(), QPointF(0, 2));
    QCOMPARE(centres.value(1).first(), QPointF(0, 6));
    const QPointF leftNormal(-std::sin(turn), std::cos(turn));
    QVERIFY(near(centres.value(1).last(), arcEnd + 2 * leftNormal + shift));

    const QMap<int, QPolygonF> distances = capture.distances();
    QCOMPARE(distances.keys(), range(-2, 152));
    for (int mark : distances.keys())
        QCOMPARE(distances.value(mark).size(), mark >= 0 && mark <= 150 ? 4 : 0);
    QCOMPARE(
        distances.value(50), QPolygonF({ { 50, 0.25 }, { 50, 3.75 }, { 50, 4.25 }, { 50, 7.75 } }));

    const QMap<int, double> angles = capture.angles();
    QCOMPARE(angles.keys(), range(0, 150));
    for (int mark = 0; mark <= 100; ++mark)
        QCOMPARE(angles.value(mark), 0.0);
    for (int mark = 101; mark <= 150; ++mark)
        QVERIFY(qAbs(angles.value(mark) - (mark - 100) / 300.0) < 1e-12);
    QVERIFY(qAbs(angles.value(150) - 50.0 / 300.0) < 1e-12);

    // From the origin to the right roadside (-5.75) at mark 0 and out to the arc's end.
    const QRectF dimensions = capture.dimensions();
    QCOMPARE(dimensions.left(), 0.0);
    QCOMPARE(dimensions.top(), -5.75 + 4);
    QVERIFY(qAbs(dimensions.right() - (arcEnd.x() + 5.75 * std::sin(turn))) < 1e-9);
    QVERIFY(qAbs(dimensions.bottom() - (arcEnd.y() + 5.75 * std::cos(turn) + 4)) < 1e-9);
}

void TestRoadBuilder::fourLanesPerSide()
{
    QJsonObject parts { { "0", part(1, false) }, { "5", part(2, false) },
        { "-5", part(2, false) } };
    for (int i = 1; i <= 4; ++i) {
        parts[QString::number(i)] = part(3, true);
        parts[QString::number(-i)] = part(3, true);
    }
    RoadBuilder builder;
    RoadCapture capture(&builder, road(parts, QJsonArray { straight(10) }));

    // Inner edges: parts -4, -3, -2, 2, 3, 4 ...
    QCOMPARE(firstYs(capture.laneBorders()), (QList<double> { -9.5, -6.5, -3.5, 3.5, 6.5, 9.5 }));
    // ... and -5, -1, 1, 5.
    QCOMPARE(firstYs(capture.roadBorders()), (QList<double> { -12.5, -0.5, 0.5, 12.5 }));
    QCOMPARE(capture.laneCentres().keys(), (QList<int> { -4, -3, -2, -1, 1, 2, 3, 4 }));
    QCOMPARE(capture.laneCentres().value(-4).first(), QPointF(0, -11));
    QCOMPARE(capture.distances().value(5).size(), 10);
    QCOMPARE(capture.dimensions(), QRectF(0, -14.5, 10, 29));
}

void TestRoadBuilder::straightOfHundredAndAHalf()
{
    RoadBuilder builder;
    RoadCapture capture(
        &builder, road(QJsonObject { { "1", part(3, true) } }, QJsonArray { straight(100.5) }));

    QPolygonF expectedAxis;
    for (int mark = -2; mark <= 102; ++mark)
        expectedAxis << QPointF(mark, 0);
    QCOMPARE(capture.axis(), expectedAxis);
    QCOMPARE(capture.angles().keys(), range(0, 100));
    QCOMPARE(capture.laneCentres().value(1).size(), 101);
    QCOMPARE(capture.laneCentres().value(1).last(), QPointF(100, 1.5));
    const QMap<int, QPolygonF> distances = capture.distances();
    QCOMPARE(distances.keys(), range(-2, 102));
    QCOMPARE(distances.value(100), QPolygonF(QVector<QPointF> { QPointF(100, 0) }));
    QVERIFY(distances.value(101).isEmpty());
    QCOMPARE(capture.dimensions(), QRectF(0, 0, 100, 3));
}

void TestRoadBuilder::curves_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("configured");
    // The radius drawn.
    QTest::addColumn<double>("radius");

    QTest::newRow("radius 9.99 held at 10") << 5.0 << 9.99 << 10.0;
    QTest::newRow("radius -9.99 held at -10") << 5.0 << -9.99 << -10.0;
    QTest::newRow("radius 0 held at 10") << 5.0 << 0.0 << 10.0;
    QTest::newRow("radius 1e308 held at 50 km") << 5.0 << 1e308 << 50000.0;
    QTest::newRow("radius 10 left") << 5.0 << 10.0 << 10.0;
    QTest::newRow("radius -10 right") << 5.0 << -10.0 << -10.0;
    QTest::newRow("just under half a circle") << 31.0 << 10.0 << 10.0;
    QTest::newRow("turn of 3.33 rad, more than half a circle") << 40.0 << 12.0 << 12.0;
    QTest::newRow("the editor's tightest longest arc, 50 rad") << 500.0 << -10.0 << -10.0;
}

void TestRoadBuilder::curves()
{
    QFETCH(double, length);
    QFETCH(double, configured);
    QFETCH(double, radius);

    RoadBuilder builder;
    RoadCapture capture(&builder,
        QJsonObject {
            { "sections", QJsonArray { straight(10), curve(length, configured), straight(10) } } });

    const QMap<int, double> angles = capture.angles();
    const QPolygonF axis = capture.axis();
    const int end = 10 + int(length);
    QCOMPARE(angles.keys(), range(0, end + 10));
    const QPointF centre(10, radius);
    for (int mark = 11; mark <= end; ++mark) {
        const double angle = (mark - 10) / radius;
        QVERIFY(qAbs(std::remainder(angles.value(mark) - angle, 2 * M_PI)) < 1e-9);
        const QPointF point = axis.at(mark + 2);
        QVERIFY(near(point, centre + radius * QPointF(std::sin(angle), -std::cos(angle)), 1e-7));
    }
    // Left curves bend towards +Y, right curves towards -Y.
    const QPointF first = axis.at(11 + 2);
    QVERIFY(radius > 0 ? first.y() > 0 : first.y() < 0);
    QVERIFY(qAbs(std::remainder(angles.value(end + 10) - length / radius, 2 * M_PI)) < 1e-9);
}

void TestRoadBuilder::turnsOfMoreThanHalfACircle_data()
{
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("turn"); // rad
    QTest::addColumn<QPointF>("arcEnd");
    QTest::addColumn<double>("heading"); // rad

    // The arcs start at (10, 0) heading along +X, their centre at (10, radius).
    QTest::newRow("270 degrees left, radius 20")
        << 20.0 << 1.5 * M_PI << QPointF(-10, 20) << -M_PI_2;
    QTest::newRow("270 degrees right, radius 20")
        << -20.0 << 1.5 * M_PI << QPointF(-10, -20) << M_PI_2;
    QTest::newRow("hairpin of 180 degrees and a metre, radius 30")
        << 30.0 << M_PI + 1.0 / 30
        << QPointF(10 - 30 * std::sin(1.0 / 30), 30 + 30 * std::cos(1.0 / 30)) << -M_PI + 1.0 / 30;
    QTest::newRow("full circle, radius 10") << 10.0 << 2 * M_PI << QPointF(10, 0) << 0.0;
    QTest::newRow("a circle and a half right, radius 15")
        << -15.0 << 3 * M_PI << QPointF(10, -30) << M_PI;
}

// The arc ends where its geometry says, and the straight after it runs on from there in
// the arc's final direction. Lengths are read to the centimetre: a centimetre of slack.
void TestRoadBuilder::turnsOfMoreThanHalfACircle()
{
    QFETCH(double, radius);
    QFETCH(double, turn);
    QFETCH(QPointF, arcEnd);
    QFETCH(double, heading);

    const double length = turn * std::abs(radius);
    RoadBuilder builder;
    RoadCapture capture(&builder,
        QJsonObject {
            { "sections", QJsonArray { straight(10), curve(length, radius), straight(20) } } });

    const double arcEndDistance = 10 + length;
    const int lastMark = int(std::floor(arcEndDistance + 20 + 0.01));
    const QMap<int, double> angles = capture.angles();
    QCOMPARE(angles.firstKey(), 0);
    QCOMPARE(angles.lastKey(), lastMark);
    const QPointF direction(std::cos(heading), std::sin(heading));
    const QPolygonF axis = capture.axis();
    int checked = 0;
    for (int mark = int(std::ceil(arcEndDistance)); mark <= lastMark; ++mark, ++checked) {
        const double angle = angles.value(mark);
        QVERIFY2(near(QPointF(std::cos(angle), std::sin(angle)), direction, 1e-3),
            qPrintable(QStringLiteral("mark %1 heads %2 rad").arg(mark).arg(angle)));
        const QPointF expected = arcEnd + (mark - arcEndDistance) * direction;
        QVERIFY2(near(axis.at(mark + 2), expected, 0.01),
            qPrintable(QStringLiteral("mark %1 at (%2, %3)")
                           .arg(mark)
                           .arg(axis.at(mark + 2).x())
                           .arg(axis.at(mark + 2).y())));
    }
    QCOMPARE(checked, 20);
    // Every mark of the arc lies on its circle.
    const QPointF centre(10, radius);
    for (int mark = 10; mark <= int(arcEndDistance); ++mark) {
        const QPointF point = axis.at(mark + 2) - centre;
        QVERIFY(qAbs(std::hypot(point.x(), point.y()) - std::abs(radius)) < 1e-7);
    }
}

void TestRoadBuilder::tangentAnglesStayWithinHalfTurn()
{
    RoadBuilder builder;
    RoadCapture capture(&builder,
        QJsonObject { { "sections", QJsonArray { curve(31, 10), curve(31, 10), curve(31, 10) } } });

    const QMap<int, double> angles = capture.angles();
    QCOMPARE(angles.keys(), range(0, 93));
    for (double angle : angles)
        QVERIFY2(angle >= -M_PI && angle <= M_PI, qPrintable(QString::number(angle)));
    QVERIFY(qAbs(angles.value(40) - (4.0 - 2 * M_PI)) < 1e-12);
    QVERIFY(qAbs(angles.value(93) - (9.3 - 2 * M_PI)) < 1e-12);
}

void TestRoadBuilder::negativeWidthsHeldAtZero()
{
    RoadBuilder builder;
    const QJsonObject parts { { "0", part(1, false) }, { "1", part(-3, true) },
        { "2", part(2, false) }, { "-1", part(-2, true) } };
    RoadCapture capture(&builder, road(parts, QJsonArray { straight(5) }));

    const QMap<int, RoadBuilder::RoadPart> built = builder.parts();
    QCOMPARE(built.keys(), (QList<int> { -1, 0, 1, 2 }));
    // Parts 1 and -1 have no width at the median's edges; part 2 starts at the upper one.
    QCOMPARE(built.value(1).lowerEdge(), 0.5);
    QCOMPARE(built.value(1).upperEdge(), 0.5);
    QCOMPARE(built.value(2).lowerEdge(), 0.5);
    QCOMPARE(built.value(2).upperEdge(), 2.5);
    QCOMPARE(built.value(-1).lowerEdge(), -0.5);
    QCOMPARE(built.value(-1).upperEdge(), -0.5);

    QCOMPARE(capture.distances().value(3), QPolygonF({ { 3, -0.5 }, { 3, 0.5 }, { 3, 0.5 } }));
    QCOMPARE(capture.laneCentres().value(1).first(), QPointF(0, 0.5));
    QCOMPARE(capture.laneCentres().value(-1).first(), QPointF(0, -0.5));
    // Roadsides: outer edge of part -1 (-0.5) and of part 2 (2.5).
    QCOMPARE(capture.dimensions(), QRectF(0, -0.5, 5, 3));
}

void TestRoadBuilder::partsSetUp_data()
{
    QTest::addColumn<QJsonObject>("parts");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<double>>("lowerEdges");
    QTest::addColumn<QList<int>>("lanes");

    QTest::newRow("median only") << QJsonObject { { "0", part(0.5, false) } } << QList<int> { 0 }
                                 << QList<double> { -0.25 } << QList<int> {};
    QTest::newRow("median never a lane")
        << QJsonObject { { "0", part(2, true) } } << QList<int> { 0 } << QList<double> { -1 }
        << QList<int> {};
    QTest::newRow("missing median has no width")
        << QJsonObject { { "1", part(3, true) } } << QList<int> { 0, 1 } << QList<double> { 0, 0 }
        << QList<int> { 1 };
    QTest::newRow("stops at the first gap")
        << QJsonObject { { "0", part(1, false) }, { "1", part(3, true) }, { "3", part(3, true) } }
        << QList<int> { 0, 1 } << QList<double> { -0.5, 0.5 } << QList<int> { 1 };
    QTest::newRow("one side only")
        << QJsonObject { { "-1", part(3, true) }, { "-2", part(2, false) } }
        << QList<int> { -2, -1, 0 } << QList<double> { -5, -3, 0 } << QList<int> { -1 };
    // The editor numbers the parts without gaps, and the road is drawn as it shows them.
    QTest::newRow("empty part is skipped")
        << QJsonObject { { "1", QJsonObject() }, { "2", part(3, true) } } << QList<int> { 0, 1 }
        << QList<double> { 0, 0 } << QList<int> { 1 };
    QTest::newRow("mistyped values take defaults")
        << QJsonObject { { "1", QJsonObject { { "width", "3" }, { "is_lane", 1 } } },
               { "2", part(2, false) } }
        << QList<int> { 0, 1, 2 } << QList<double> { 0, 0, 0 } << QList<int> {};
    QTest::newRow("part that is no object")
        << QJsonObject { { "1", 3.5 }, { "2", part(2, true) } } << QList<int> { 0, 1 }
        << QList<double> { 0, 0 } << QList<int> { 1 };
}

void TestRoadBuilder::partsSetUp()
{
    QFETCH(QJsonObject, parts);
    QFETCH(QList<int>, keys);
    QFETCH(QList<double>, lowerEdges);
    QFETCH(QList<int>, lanes);

    RoadBuilder builder;
    RoadCapture capture(&builder, QJsonObject { { "parts", parts } });

    QCOMPARE(builder.parts().keys(), keys);
    QList<double> edges;
    for (const RoadBuilder::RoadPart &roadPart : builder.parts())
        edges.append(roadPart.lowerEdge());
    QCOMPARE(edges, lowerEdges);
    QCOMPARE(capture.laneCentres().keys(), lanes);
}

void TestRoadBuilder::laterFillingWins()
{
    StagedRoadBuilder builder;
    const RoadDraft oneLane
        = RoadDraft::fromJson(road(QJsonObject { { "1", part(2, true) } }, QJsonArray()));
    builder.doSetupParts(oneLane);
    builder.doBuildRoad(oneLane);
    builder.doFillMarkPoints(7, QPointF(7, 0), 0.0, true);
    QCOMPARE(builder.innerEdgePoints().value(7), (QMap<int, QPointF>()));
    QCOMPARE(builder.centrePoints().value(7), (QMap<int, QPointF> { { 0, QPointF(7, 0) } }));
    QVERIFY(!builder.tanAngles().contains(7));

    builder.doFillMarkPoints(7, QPointF(7, 1), M_PI_2, false);
    QVERIFY(near(builder.innerEdgePoints().value(7).value(1), QPointF(7, 1)));
    QVERIFY(near(builder.centrePoints().value(7).value(1), QPointF(6, 1)));
    QCOMPARE(builder.tanAngles().value(7), M_PI_2);

    // An axis-only filling replaces the axis point and leaves the rest as it was.
    builder.doFillMarkPoints(7, QPointF(8, 1), 0.0, true);
    QCOMPARE(builder.centrePoints().value(7).value(0), QPointF(8, 1));
    QVERIFY(near(builder.centrePoints().value(7).value(1), QPointF(6, 1)));
    QCOMPARE(builder.tanAngles().value(7), M_PI_2);

    // A road ending on a whole metre: the lead-out's axis-only mark keeps the section's parts.
    RoadCapture capture(
        &builder, road(QJsonObject { { "1", part(2, true) } }, QJsonArray { straight(10) }));
    QCOMPARE(capture.distances().value(10), QPolygonF(QVector<QPointF> { QPointF(10, 0) }));
    QVERIFY(capture.distances().value(0).size() == 1);
    QVERIFY(capture.angles().contains(10));
    QCOMPARE(builder.centrePoints().value(10).value(0), QPointF(10, 0));
}

void TestRoadBuilder::dimensionsGrowByPoint()
{
    StagedRoadBuilder builder;
    builder.doExpandDimesionsByPoint(QPointF(-3, 2));
    QCOMPARE(builder.dimensions(), QRectF(-3, 0, 3, 2));
    builder.doExpandDimesionsByPoint(QPointF(5, -1));
    QCOMPARE(builder.dimensions(), QRectF(-3, -1, 8, 3));
    builder.doExpandDimesionsByPoint(QPointF(1, 1));
    QCOMPARE(builder.dimensions(), QRectF(-3, -1, 8, 3));
    builder.doExpandDimesionsByPoint(QPointF(qQNaN(), qInf()));
    QCOMPARE(builder.dimensions().left(), -3.0);
    QCOMPARE(builder.dimensions().width(), 8.0);

    // New parts start a new road from the all-zero rectangle.
    builder.doSetupParts(RoadDraft::fromJson(
        road(QJsonObject { { "-1", part(4, true) }, { "1", part(1, false) } }, QJsonArray())));
    QCOMPARE(builder.dimensions(), QRectF());
    builder.doExpandDimesionsByRoadside(QPointF(10, 0), M_PI_2);
    // Travelling along +Y, the right-hand (-Y) roadside lies towards +X.
    QVERIFY(qAbs(builder.dimensions().right() - 14) < 1e-12);
    QCOMPARE(builder.dimensions().left(), 0.0);
}

void TestRoadBuilder::sectionEnds()
{
    StagedRoadBuilder builder;
    builder.doSetupParts(RoadDraft());
    QPointF point;
    double angle = 0;
    double distance = 0;
    builder.doAddStraightSection(100, false, QPointF(0, 0), 0.0, 0.0, point, angle, distance);
    QCOMPARE(point, QPointF(100, 0));
    QCOMPARE(angle, 0.0);
    QCOMPARE(distance, 100.0);

    builder.doAddCurvedSection(50, 300, false, point, angle, distance, point, angle, distance);
    const double turn = 50.0 / 300.0;
    QVERIFY(near(point, QPointF(100 + 300 * std::sin(turn), 300 - 300 * std::cos(turn))));
    QCOMPARE(angle, turn);
    QCOMPARE(distance, 150.0);

    const QPointF start = point;
    // Tighter than 10 m: dropped.
    builder.doAddCurvedSection(40, 9.99, false, start, angle, distance, point, angle, distance);
    QCOMPARE(point, start);
    QCOMPARE(angle, turn);
    QCOMPARE(distance, 150.0);
    QCOMPARE(builder.tanAngles().lastKey(), 150);

    builder.doAddStraightSection(2, true, point, angle, distance, point, angle, distance);
    QCOMPARE(builder.centrePoints().lastKey(), 152);
    QCOMPARE(builder.tanAngles().lastKey(), 150);
}

void TestRoadBuilder::rebuildReplacesEverything()
{
    RoadBuilder builder;
    builder.setRoadConfig(parse(ExampleRoad));
    RoadCapture capture(&builder, QJsonObject());

    QCOMPARE(builder.parts().keys(), QList<int> { 0 });
    QCOMPARE(builder.originOffset(), 0.0);
    QVERIFY(builder.tanAngles().isEmpty());
    QCOMPARE(builder.dimensions(), QRectF());
    QCOMPARE(capture.axis().size(), 5);
    QVERIFY(capture.roadBorders().isEmpty());
    QCOMPARE(capture.distances().keys(), range(-2, 2));
}

void TestRoadBuilder::queuedDelivery()
{
    RoadBuilder builder;
    QObject receiver;
    QPolygonF axis;
    QList<QPolygonF> borders;
    QMap<int, QPolygonF> centres;
    QMap<int, QPolygonF> distances;
    QMap<int, double> angles;
    keepQueued(&builder, &RoadBuilder::roadAxisLine, &receiver, axis);
    keepQueued(&builder, &RoadBuilder::roadBorderLines, &receiver, borders);
    keepQueued(&builder, &RoadBuilder::laneCenterLines, &receiver, centres);
    keepQueued(&builder, &RoadBuilder::distanceLines, &receiver, distances);
    keepQueued(&builder, &RoadBuilder::roadTanAngles, &receiver, angles);

    builder.setRoadConfig(parse(ExampleRoad));
    QVERIFY(borders.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(angles.size(), 151, 10000);
    QCOMPARE(axis.size(), 155);
    QCOMPARE(borders.size(), 4);
    QCOMPARE(centres.keys(), (QList<int> { -1, 1 }));
    QCOMPARE(distances.size(), 155);
}

void TestRoadBuilder::hostileConfigurations_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    const QJsonObject lanes { { "-1", part(3.5, true) }, { "1", part(3.5, true) } };

    QTest::addColumn<QJsonObject>("config");
    QTest::addColumn<int>("lastMark");
    QTest::addColumn<int>("partCount");

    // One section is at most 10 km long, the whole road at most 100 km.
    QTest::newRow("length 1e12") << road(lanes, QJsonArray { straight(1e12) }) << 10000 << 3;
    QJsonArray many;
    for (int i = 0; i < 1000; ++i)
        many.append(i % 2 ? straight(1e4) : curve(1e4, 1e6));
    QTest::newRow("a thousand 10 km sections") << road(lanes, many) << 100000 << 3;
    QTest::newRow("long gentle arc")
        << QJsonObject { { "sections", QJsonArray { straight(500), curve(1e12, 1e13) } } } << 10500
        << 1;
    // A negative length is held at the shortest section, 0.1 m.
    QTest::newRow("backwards and forwards")
        << road(lanes, QJsonArray { straight(-10), straight(1e12), straight(1e12) }) << 20000 << 3;
    QTest::newRow("lengths of -1e308")
        << road(lanes, QJsonArray { straight(-1e308), curve(-1e308, -1e308), straight(3) }) << 3
        << 3;
    QTest::newRow("infinite length")
        << QJsonObject { { "sections", QJsonArray { straight(inf), straight(-inf) } } } << 0 << 1;
    // NaN lengths take the default 0 (held at 0.1 m), a NaN radius 0 (held at 10 m).
    QTest::newRow("NaN length and radius") << QJsonObject { { "sections",
        QJsonArray { straight(qQNaN()), curve(qQNaN(), 20), curve(20, qQNaN()), straight(3) } } }
                                           << 23 << 1;
    QTest::newRow("non-finite widths and offset") << QJsonObject { { "origin_offset", qQNaN() },
        { "parts", QJsonObject { { "0", part(inf, false) }, { "1", part(qQNaN(), true) } } },
        { "sections", QJsonArray { straight(5) } } }
                                                  << 5 << 2;
    QJsonObject crowd;
    for (int i = -1000; i <= 1000; ++i)
        crowd[QString::number(i)] = part(1, true);
    QTest::newRow("two thousand parts") << road(crowd, QJsonArray { straight(1e12) }) << 10000
                                        << 2 * RoadBuilder::MaxPartsPerSide + 1;
    QJsonArray longest;
    for (int i = 0; i < 20; ++i)
        longest.append(straight(1e12));
    QTest::newRow("longest road") << road(lanes, longest) << 100000 << 3;
}

void TestRoadBuilder::hostileConfigurations()
{
    QFETCH(QJsonObject, config);
    QFETCH(int, lastMark);
    QFETCH(int, partCount);

    RoadBuilder builder;
    RoadCapture capture(&builder, config);
    QVERIFY(capture.isOneBuild());
    QCOMPARE(builder.parts().size(), partCount);

    const QMap<int, double> angles = capture.angles();
    QVERIFY(!angles.isEmpty());
    QCOMPARE(angles.lastKey(), lastMark);
    QVERIFY(angles.size() <= int(RoadBuilder::MaxRoadLength) + 1);
    const QPolygonF axis = capture.axis();
    QVERIFY(axis.size() <= int(RoadBuilder::MaxRoadLength) + 5);
    QVERIFY(allFinite(axis));
    QCOMPARE(capture.distances().size(), axis.size());
    QVERIFY(std::isfinite(capture.shift().y()));
    const QRectF dimensions = capture.dimensions();
    QVERIFY(std::isfinite(dimensions.width()) && std::isfinite(dimensions.height()));
    for (const QPolygonF &line : capture.laneCentres())
        QVERIFY(allFinite(line));
}

QTEST_GUILESS_MAIN(TestRoadBuilder)
#include "tst_roadbuilder.moc"
