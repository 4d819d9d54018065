#include "cameramodel.h"
#include "polylinesimplifier.h"
#include "projectedline.h"

#include <QtMath>
#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(QVector<QPolygonF>)

namespace {

constexpr double Tolerance = 0.5;

// A 40 degree camera 6 m over the radar, tilted 5.5 degrees down, on a 640 x 480 picture.
CameraModel camera()
{
    CameraModel model;
    model.setConfig(QJsonObject { { QStringLiteral("horizontal_view_angle"), 40.0 } });
    model.setRadarPosition(6.0, 0.0, 0.0, 0.0, qDegreesToRadians(5.5));
    model.rescale(640, 480);
    return model;
}

// The line drawn when every point is projected anew.
QPolygonF projectedAnew(const QPolygonF &points, const CameraModel &model)
{
    QPolygonF pixels;
    for (const QPoint &pixel : model.fittedLine(points))
        pixels << QPointF(pixel);
    return PolylineSimplifier::simplified(pixels, Tolerance);
}

// Points along a lane with the simulator's lateral noise, numbered from first to last.
QPolygonF lanePoints(int first, int last, double step = 0.5)
{
    QPolygonF points;
    for (int i = first; i <= last; ++i)
        points << QPointF(5.0 + step * i, -1.75 + 0.1 * std::sin(1.7 * i));
    return points;
}

// A lane's average track, with the stations from first to last moved sideways by offset.
QPolygonF stations(int first, int last, double offset)
{
    QPolygonF points;
    for (int i = 0; i < 200; ++i)
        points << QPointF(5.0 + i, 1.75 + (i >= first && i <= last ? offset : 0.0));
    return points;
}

} // namespace

class TestProjectedLine : public QObject
{
    Q_OBJECT

private slots:
    void matchesProjectingAnew_data();
    void matchesProjectingAnew();
};

void TestProjectedLine::matchesProjectingAnew_data()
{
    QTest::addColumn<QVector<QPolygonF>>("sequence");

    QVector<QPolygonF> growing;
    for (int head = 0; head < 60; ++head)
        growing << lanePoints(0, head);
    QTest::newRow("a track grows") << growing;

    QVector<QPolygonF> sliding;
    for (int head = 30; head < 120; ++head)
        sliding << lanePoints(head - 30, head);
    QTest::newRow("a full track gains a point and loses its oldest") << sliding;

    QVector<QPolygonF> leaps;
    for (int head = 30; head < 120; head += 7)
        leaps << lanePoints(head - 30 + (head % 3), head);
    QTest::newRow("several points gained and lost at once") << leaps;

    QVector<QPolygonF> through;
    for (int head = 100; head < 700; head += 25)
        through << lanePoints(head - 100, head);
    QTest::newRow("a track passes the picture and the horizon") << through;

    QTest::newRow("the track starts anew") << QVector<QPolygonF> { lanePoints(0, 40),
        lanePoints(0, 41), lanePoints(0, 41, 0.7), lanePoints(3, 50, 0.7) };
    QTest::newRow("the track is emptied and comes back")
        << QVector<QPolygonF> { lanePoints(0, 40), QPolygonF(), lanePoints(10, 40) };
    QTest::newRow("the same points again")
        << QVector<QPolygonF> { lanePoints(0, 40), lanePoints(0, 40), lanePoints(0, 40) };
    // Points in the wrong order share the first point with the line before.
    QPolygonF reversed = lanePoints(0, 40);
    std::reverse(reversed.begin(), reversed.end());
    reversed.prepend(lanePoints(0, 0).constFirst());
    QTest::newRow("a line through the same first point")
        << QVector<QPolygonF> { lanePoints(0, 40), reversed };

    QVector<QPolygonF> averaged;
    for (int f = 0; f < 30; ++f)
        averaged << stations(2 * f, 2 * f + 10, 0.05 * (f % 7));
    QTest::newRow("some stations of an average track move") << averaged;
    QTest::newRow("stations added and removed") << QVector<QPolygonF> { stations(0, 0, 0.0),
        stations(0, 0, 0.0).mid(5), stations(0, 0, 0.0).mid(0, 150), stations(0, 0, 0.0) };
}

// However the points change from one update to the next, the line is the one drawn by
// projecting every point anew.
void TestProjectedLine::matchesProjectingAnew()
{
    QFETCH(QVector<QPolygonF>, sequence);
    const CameraModel model = camera();
    QVERIFY(model.isValid());
    ProjectedLine line;
    int visible = 0;
    for (int i = 0; i < sequence.size(); ++i) {
        const QPolygonF expected = projectedAnew(sequence.at(i), model);
        line.update(sequence.at(i), model, Tolerance);
        QVERIFY2(line.simplified() == expected, qPrintable(QStringLiteral("update %1").arg(i)));
        visible += expected.size() >= 2;
    }
    QVERIFY(visible > 0);
}

QTEST_MAIN(TestProjectedLine)
#include "tst_projectedline.moc"
