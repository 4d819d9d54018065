#include "roadobject.h"

#include <QtMath>
#include <QtTest>

#include <cmath>

class TestRoadObject : public QObject
{
    Q_OBJECT

private slots:
    void headingAngle_data();
    void headingAngle();
    void footprint_data();
    void footprint();
    void updateKeepsIdentifier();
};

void TestRoadObject::headingAngle_data()
{
    QTest::addColumn<double>("xSpeed");
    QTest::addColumn<double>("ySpeed");
    QTest::addColumn<double>("direction");

    QTest::newRow("away from the radar") << 10.0 << 0.0 << 0.0;
    QTest::newRow("towards the radar") << -10.0 << 0.0 << 0.0;
    QTest::newRow("away, drifting left") << 3.0 << 4.0 << std::atan2(4.0, 3.0);
    QTest::newRow("towards, drifting right") << -3.0 << -4.0 << std::atan2(4.0, 3.0);
    QTest::newRow("towards, drifting left") << -3.0 << 4.0 << std::atan2(-4.0, 3.0);
    QTest::newRow("across to the left") << 0.0 << 5.0 << M_PI_2;
    QTest::newRow("across to the right") << 0.0 << -5.0 << -M_PI_2;
    QTest::newRow("across, tiny forward speed") << 1e-7 << 5.0 << M_PI_2;
    QTest::newRow("at rest") << 0.0 << 0.0 << 0.0;
    QTest::newRow("at rest, below the noise") << 5e-7 << -5e-7 << 0.0;
    QTest::newRow("at rest, tiny backward speed") << -1e-7 << 0.0 << 0.0;
    QTest::newRow("across, tiny backward speed") << -1e-7 << 5.0 << M_PI_2;
}

void TestRoadObject::headingAngle()
{
    QFETCH(double, xSpeed);
    QFETCH(double, ySpeed);
    QFETCH(double, direction);

    const RoadObject object(1, xSpeed, ySpeed, 0, 0, 4, QDateTime());
    const double heading = object.headingAngle();
    // The same orientation up to a whole turn.
    QVERIFY2(qAbs(std::cos(heading) - std::cos(direction)) < 1e-12
            && qAbs(std::sin(heading) - std::sin(direction)) < 1e-12,
        qPrintable(QString::number(heading)));
}

void TestRoadObject::footprint_data()
{
    QTest::addColumn<double>("xSpeed");
    QTest::addColumn<double>("ySpeed");
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<double>("length");
    QTest::addColumn<QVector<QPointF>>("corners");

    const QVector<QPointF> car({ { 50, 2 }, { 54.5, 2 }, { 54.5, 4 }, { 50, 4 } });
    QTest::newRow("away from the radar") << 10.0 << 0.0 << QPointF(50, 3) << 4.5 << car;
    QTest::newRow("towards the radar") << -10.0 << 0.0 << QPointF(50, 3) << 4.5 << car;
    QTest::newRow("length 2.0 is 2 m wide")
        << 10.0 << 0.0 << QPointF(0, 0) << 2.0
        << QVector<QPointF>({ { 0, -1 }, { 2, -1 }, { 2, 1 }, { 0, 1 } });
    QTest::newRow("length 1.999 is 1 m wide")
        << 10.0 << 0.0 << QPointF(0, 0) << 1.999
        << QVector<QPointF>({ { 0, -0.5 }, { 1.999, -0.5 }, { 1.999, 0.5 }, { 0, 0.5 } });
    QTest::newRow("at rest lies along X")
        << 0.0 << 0.0 << QPointF(10, -2) << 4.0
        << QVector<QPointF>({ { 10, -3 }, { 14, -3 }, { 14, -1 }, { 10, -1 } });
    QTest::newRow("crossing to the left")
        << 0.0 << 5.0 << QPointF(0, 0) << 4.0
        << QVector<QPointF>({ { 1, 0 }, { 1, 4 }, { -1, 4 }, { -1, 0 } });
    const QVector<QPointF> diagonal({ { 0.8, -0.6 }, { 3.8, 3.4 }, { 2.2, 4.6 }, { -0.8, 0.6 } });
    QTest::newRow("diagonal away") << 3.0 << 4.0 << QPointF(0, 0) << 5.0 << diagonal;
    QTest::newRow("diagonal towards") << -3.0 << -4.0 << QPointF(0, 0) << 5.0 << diagonal;
    QTest::newRow("shortest measured length")
        << 10.0 << 0.0 << QPointF(0, 0) << 0.001
        << QVector<QPointF>({ { 0, -0.5 }, { 0.001, -0.5 }, { 0.001, 0.5 }, { 0, 0.5 } });

    // Lengths below a millimetre, and nonsense lengths, have nothing to draw.
    const QVector<QPointF> none;
    QTest::newRow("zero length") << 10.0 << 0.0 << QPointF(20, 1) << 0.0 << none;
    QTest::newRow("length 0.0009") << 10.0 << 0.0 << QPointF(20, 1) << 0.0009 << none;
    QTest::newRow("length just below 0.001")
        << 10.0 << 0.0 << QPointF(20, 1) << std::nextafter(0.001, 0.0) << none;
    QTest::newRow("negative length") << 10.0 << 0.0 << QPointF(20, 1) << -4.0 << none;
    QTest::newRow("NaN length") << 10.0 << 0.0 << QPointF(20, 1) << qQNaN() << none;
}

void TestRoadObject::footprint()
{
    QFETCH(double, xSpeed);
    QFETCH(double, ySpeed);
    QFETCH(QPointF, position);
    QFETCH(double, length);
    QFETCH(QVector<QPointF>, corners);

    const RoadObject object(7, xSpeed, ySpeed, position.x(), position.y(), length, QDateTime());
    const QPolygonF footprint = object.drawingDimensionsM();
    QCOMPARE(footprint.size(), corners.size());
    for (int i = 0; i < corners.size(); ++i) {
        const QPointF delta = footprint.at(i) - corners.at(i);
        QVERIFY2(qAbs(delta.x()) < 1e-12 && qAbs(delta.y()) < 1e-12,
            qPrintable(QString("corner %1 at (%2, %3)")
                           .arg(i)
                           .arg(footprint.at(i).x())
                           .arg(footprint.at(i).y())));
    }
}

void TestRoadObject::updateKeepsIdentifier()
{
    const QDateTime first(QDate(2026, 5, 1), QTime(12, 0), Qt::UTC);
    const QDateTime second = first.addMSecs(75);
    RoadObject object(42, 1, 2, 3, 4, 5, first);
    object.update(-6, -7, 8, 9, 0, second);

    QCOMPARE(int(object.id), 42);
    QCOMPARE(object.xSpeed, -6.0);
    QCOMPARE(object.ySpeed, -7.0);
    QCOMPARE(object.xRange, 8.0);
    QCOMPARE(object.yRange, 9.0);
    QCOMPARE(object.length, 0.0);
    QCOMPARE(object.lastDetected, second);
}

QTEST_GUILESS_MAIN(TestRoadObject)
#include "tst_roadobject.moc"
