#include "radarparameters.h"

#include <QtTest>

class TestRadarParameters : public QObject
{
    Q_OBJECT

private slots:
    void polygonParamNo_data();
    void polygonParamNo();
    void inversesOverWholeRanges();
    void inverseRefusesOtherNumbers();
    void calibrationParams();
    void compositeIds_data();
    void compositeIds();
};

void TestRadarParameters::polygonParamNo_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("param");
    QTest::addColumn<int>("number");

    QTest::newRow("treat 0 0") << int(RadarParameters::PolygonTreatParam) << 0 << 0 << 2;
    QTest::newRow("treat 7 1") << int(RadarParameters::PolygonTreatParam) << 7 << 1 << 25;
    QTest::newRow("treat param 2") << int(RadarParameters::PolygonTreatParam) << 0 << 2 << -1;
    QTest::newRow("speed 0 0") << int(RadarParameters::PolygonSpeedParam) << 0 << 0 << 34;
    QTest::newRow("speed 2 1") << int(RadarParameters::PolygonSpeedParam) << 2 << 1 << 52;
    QTest::newRow("speed 7 3") << int(RadarParameters::PolygonSpeedParam) << 7 << 3 << 89;
    QTest::newRow("speed param 4") << int(RadarParameters::PolygonSpeedParam) << 1 << 4 << -1;
    QTest::newRow("point 0 0") << int(RadarParameters::PolygonPointParam) << 0 << 0 << 0;
    QTest::newRow("point 1 7") << int(RadarParameters::PolygonPointParam) << 1 << 7 << 15;
    QTest::newRow("point 1 9") << int(RadarParameters::PolygonPointParam) << 1 << 9 << 137;
    QTest::newRow("point 7 15") << int(RadarParameters::PolygonPointParam) << 7 << 15 << 191;
    QTest::newRow("point param 16") << int(RadarParameters::PolygonPointParam) << 0 << 16 << -1;
    QTest::newRow("polygon 8") << int(RadarParameters::PolygonPointParam) << 8 << 0 << -1;
}

void TestRadarParameters::polygonParamNo()
{
    QFETCH(int, kind);
    QFETCH(int, id);
    QFETCH(int, param);
    QFETCH(int, number);
    QCOMPARE(RadarParameters::polygonParamNo(
                 RadarParameters::PolygonParam(kind), quint8(id), quint8(param)),
        number);
}

void TestRadarParameters::inversesOverWholeRanges()
{
    using Inverse = bool (*)(quint8, quint8 *, quint8 *);
    const QList<QPair<RadarParameters::PolygonParam, Inverse>> kinds {
        { RadarParameters::PolygonTreatParam, &RadarParameters::getPolygonTreatParam },
        { RadarParameters::PolygonSpeedParam, &RadarParameters::getPolygonSpeedParam },
        { RadarParameters::PolygonPointParam, &RadarParameters::getPolygonPointParam },
    };
    for (const auto &kind : kinds) {
        QSet<int> numbers;
        for (quint8 id = 0; id < 8; ++id) {
            for (quint8 param = 0; param < RadarParameters::paramCount(kind.first); ++param) {
                const int number = RadarParameters::polygonParamNo(kind.first, id, param);
                QVERIFY(number >= 0 && number <= 255);
                QVERIFY2(!numbers.contains(number), "numbers must be unique");
                numbers.insert(number);
                quint8 foundId = 255;
                quint8 foundParam = 255;
                QVERIFY(kind.second(quint8(number), &foundId, &foundParam));
                QCOMPARE(foundId, id);
                QCOMPARE(foundParam, param);
            }
        }
        // Every other number is refused.
        for (int number = 0; number < 256; ++number) {
            if (!numbers.contains(number))
                QVERIFY(!kind.second(quint8(number), nullptr, nullptr));
        }
    }
}

void TestRadarParameters::inverseRefusesOtherNumbers()
{
    quint8 id = 9;
    quint8 param = 9;
    QVERIFY(!RadarParameters::getPolygonTreatParam(0, &id, &param));
    QVERIFY(!RadarParameters::getPolygonTreatParam(1, &id, &param));
    QVERIFY(!RadarParameters::getPolygonSpeedParam(33, &id, &param));
    QVERIFY(!RadarParameters::getPolygonPointParam(64, &id, &param));
    QVERIFY(!RadarParameters::getPolygonPointParam(127, &id, &param));
    QCOMPARE(id, quint8(9));
    QCOMPARE(param, quint8(9));
}

void TestRadarParameters::calibrationParams()
{
    for (int number = 0; number < 256; ++number) {
        quint8 param = 99;
        const bool last = RadarParameters::getCalibrationLastParam(quint8(number), &param);
        QCOMPARE(last, number >= 8 && number <= 12);
        if (last)
            QCOMPARE(int(param), number - 8);
        const bool curr = RadarParameters::getCalibrationCurrParam(quint8(number), &param);
        QCOMPARE(curr, number >= 16 && number <= 20);
        if (curr)
            QCOMPARE(int(param), number - 16);
    }
}

void TestRadarParameters::compositeIds_data()
{
    QTest::addColumn<int>("computed");
    QTest::addColumn<quint32>("expected");

    QTest::newRow("polygon speed 2 1")
        << RadarParameters::fullPolygonCmdId(30, 2, 1) << quint32((2u << 24) + (1u << 16) + 30);
    QTest::newRow("polygon point 7 15")
        << RadarParameters::fullPolygonCmdId(33, 7, 15) << quint32(0x070F0021);
    QTest::newRow("calibration last 4")
        << RadarParameters::fullCalibrationCmdId(38, 4) << quint32(0x00040026);
    QTest::newRow("debug variable 200")
        << RadarParameters::fullDebugVariableCmdId(200) << quint32(0xC800002B);
    QTest::newRow("free command action 200")
        << RadarParameters::fullFreeCommandCmdId(3, 200, 17) << quint32(0xC8113800);
    QTest::newRow("free command action 255 all set")
        << RadarParameters::fullFreeCommandCmdId(15, 255, 255) << quint32(0xFFFFF800);
    QTest::newRow("free command zero")
        << RadarParameters::fullFreeCommandCmdId(0, 0, 0) << quint32(0x800);
}

void TestRadarParameters::compositeIds()
{
    QFETCH(int, computed);
    QFETCH(quint32, expected);
    QCOMPARE(quint32(computed), expected);
}

QTEST_GUILESS_MAIN(TestRadarParameters)
#include "tst_radarparameters.moc"
