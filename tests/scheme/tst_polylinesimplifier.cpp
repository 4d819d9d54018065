#include "polylinesimplifier.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr double Tolerance = 0.35;

// The distance of p from the segment a-b.
double distanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const QPointF ab = b - a;
    const double len2 = ab.x() * ab.x() + ab.y() * ab.y();
    double t = len2 > 0 ? ((p - a).x() * ab.x() + (p - a).y() * ab.y()) / len2 : 0.0;
    t = qBound(0.0, t, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// A vehicle's track in device pixels: along a lane (straight, then an arc), with lateral
// noise of the given size, one point every step pixels.
QVector<QPointF> lane(int count, double step, double noise, unsigned seed = 1)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss;
    QPolygonF line;
    for (int i = 0; i < count; ++i) {
        const double s = i * step;
        QPointF p = s < 400 ? QPointF(s, 100)
                            : QPointF(400, -700)
                + 800 * QPointF(std::sin((s - 400) / 800), std::cos((s - 400) / 800));
        p += QPointF(gauss(random) * noise * 0.5, gauss(random) * noise);
        line << p;
    }
    return line;
}

} // namespace

class TestPolylineSimplifier : public QObject
{
    Q_OBJECT

private slots:
    void keepsEveryPointWithinTolerance_data();
    void keepsEveryPointWithinTolerance();
    void followsAGrowingTrack_data();
    void followsAGrowingTrack();
    void keepsEndsOfGarbage_data();
    void keepsEndsOfGarbage();
};

// The data are plain vectors: QPolygonF in test data would need a QGuiApplication.
void TestPolylineSimplifier::keepsEveryPointWithinTolerance_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<int>("expectedSize"); // -1: not known beforehand

    QTest::newRow("empty") << QVector<QPointF>() << 0;
    QTest::newRow("one point") << QVector<QPointF>({ QPointF(3, 4) }) << 1;
    QTest::newRow("two points") << QVector<QPointF>({ QPointF(3, 4), QPointF(5, 6) }) << 2;
    QTest::newRow("straight") << lane(100, 3.0, 0.0) << 2;
    QTest::newRow("straight within the tolerance") << QVector<QPointF>(
        { QPointF(0, 0), QPointF(10, 0.3), QPointF(20, -0.3), QPointF(30, 0.3), QPointF(40, 0) })
                                                   << 2;
    QTest::newRow("zigzag beyond the tolerance") << QVector<QPointF>(
        { QPointF(0, 0), QPointF(10, 1), QPointF(20, -1), QPointF(30, 1), QPointF(40, -1) })
                                                 << 5;
    QTest::newRow("right angle") << QVector<QPointF>(
        { QPointF(0, 0), QPointF(5, 0), QPointF(10, 0), QPointF(10, 5), QPointF(10, 10) })
                                 << 3;
    QTest::newRow("turning back") << QVector<QPointF>(
        { QPointF(0, 0), QPointF(5, 0), QPointF(10, 0), QPointF(5, 0.1), QPointF(0, 0.1) })
                                  << 3;
    QTest::newRow("repeated points") << QVector<QPointF>(
        { QPointF(0, 0), QPointF(0, 0), QPointF(5, 0), QPointF(5, 0), QPointF(10, 0) })
                                     << 2;
    QTest::newRow("lane with an arc") << lane(300, 3.0, 0.0) << -1;
    QTest::newRow("lane with noise") << lane(300, 3.0, 0.3) << -1;
    QTest::newRow("lane with large noise") << lane(300, 2.0, 4.0) << -1;
    QTest::newRow("dense lane with noise") << lane(300, 0.5, 0.2, 7) << -1;
}

void TestPolylineSimplifier::keepsEveryPointWithinTolerance()
{
    QFETCH(QVector<QPointF>, points);
    const QPolygonF line(points);
    QFETCH(int, expectedSize);

    const QPolygonF kept = PolylineSimplifier::simplified(line, Tolerance);
    if (expectedSize >= 0)
        QCOMPARE(kept.size(), expectedSize);
    if (line.isEmpty())
        return;
    QCOMPARE(kept.constFirst(), line.constFirst());
    QCOMPARE(kept.constLast(), line.constLast());
    // The kept vertices are points of the line in its order, and every point between two
    // of them lies within the tolerance of the segment joining them.
    int k = 0;
    for (int i = 0; i < line.size(); ++i) {
        if (k + 1 < kept.size() && line.at(i) == kept.at(k + 1) && i > 0) {
            ++k;
            continue;
        }
        QVERIFY2(k + 1 < kept.size() || i == line.size() - 1, qPrintable(QString::number(i)));
        if (k + 1 < kept.size())
            QVERIFY2(distanceToSegment(line.at(i), kept.at(k), kept.at(k + 1)) <= Tolerance + 1e-9,
                qPrintable(QStringLiteral("point %1").arg(i)));
    }
    QCOMPARE(k, kept.size() - 1);
}

void TestPolylineSimplifier::followsAGrowingTrack_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<int>("window"); // points a track keeps
    QTest::addColumn<int>("added"); // points a frame adds
    QTest::addColumn<int>("removed"); // extra points a frame drops from the start

    QTest::newRow("straight, one point a frame") << lane(600, 3.0, 0.0) << 300 << 1 << 0;
    QTest::newRow("arc, one point a frame") << lane(900, 1.0, 0.0) << 300 << 1 << 0;
    QTest::newRow("noise, one point a frame") << lane(600, 3.0, 0.3) << 300 << 1 << 0;
    QTest::newRow("large noise, one point a frame") << lane(600, 2.0, 4.0, 3) << 300 << 1 << 0;
    QTest::newRow("noise, three points a frame") << lane(900, 1.0, 0.2, 5) << 120 << 3 << 0;
    QTest::newRow("noise, cuts of five") << lane(600, 1.0, 0.3, 9) << 200 << 2 << 5;
    QTest::newRow("short window") << lane(300, 2.0, 0.3, 11) << 4 << 1 << 0;
}

void TestPolylineSimplifier::followsAGrowingTrack()
{
    QFETCH(QVector<QPointF>, points);
    const QPolygonF line(points);
    QFETCH(int, window);
    QFETCH(int, added);
    QFETCH(int, removed);

    // Like a vehicle's track from frame to frame: the simplifier kept between frames must
    // give what simplifying the frame's points afresh gives.
    PolylineSimplifier simplifier(Tolerance);
    int start = 0;
    int end = 0;
    QPolygonF kept;
    while (end < line.size()) {
        const int next = qMin(end + added, int(line.size()));
        for (; end < next; ++end)
            simplifier.append(line.at(end));
        int cut = qMax(0, end - start - window);
        if (removed && (end / added) % 7 == 0)
            cut = qMin(cut + removed, end - start - 1);
        simplifier.removeFirst(cut);
        start += cut;

        const QPolygonF held = line.mid(start, end - start);
        QCOMPARE(QPolygonF(simplifier.points()), held);
        simplifier.result(kept);
        QCOMPARE(kept, PolylineSimplifier::simplified(held, Tolerance));
    }
}

void TestPolylineSimplifier::keepsEndsOfGarbage_data()
{
    QTest::addColumn<double>("value");

    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
    QTest::newRow("huge") << 1e300;
}

// Points no sane track holds still give a line from the first point to the last.
void TestPolylineSimplifier::keepsEndsOfGarbage()
{
    QFETCH(double, value);
    const QPointF garbage(value, -value);
    for (int at = 0; at < 5; ++at) {
        QPolygonF line;
        for (int i = 0; i < 5; ++i)
            line << (i == at ? garbage : QPointF(i * 3.0, 0.1 * i));
        const QPolygonF kept = PolylineSimplifier::simplified(line, Tolerance);
        QVERIFY(kept.size() >= 2 && kept.size() <= line.size());
        if (at != 0)
            QCOMPARE(kept.constFirst(), line.constFirst());
        if (at != 4)
            QCOMPARE(kept.constLast(), line.constLast());
    }
}

QTEST_GUILESS_MAIN(TestPolylineSimplifier)
#include "tst_polylinesimplifier.moc"
