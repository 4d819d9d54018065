#include "radarframeencoder.h"

#include <QTest>

class TestRadarFrameEncoder : public QObject
{
    Q_OBJECT

private slots:
    void objectPayload_data();
    void objectPayload();
    void frameWireForm();
    void readParamResponse();
    void positionResponse_data();
    void positionResponse();
    void deviceInfoResponse_data();
    void deviceInfoResponse();
    void timeStampHeader();
    void signMagnitudeRoundTrip_data();
    void signMagnitudeRoundTrip();
};

void TestRadarFrameEncoder::objectPayload_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<double>("xSpeed");
    QTest::addColumn<double>("ySpeed");
    QTest::addColumn<double>("xRange");
    QTest::addColumn<double>("yRange");
    QTest::addColumn<double>("length");
    QTest::addColumn<quint64>("expected");

    QTest::newRow("all fields at their lowest, id 32")
        << 32 << -102.4 << -102.4 << -524.288 << -524.288 << 0.0 << Q_UINT64_C(0x8000000000000000);
    const quint64 centre
        = quint64(8192) | quint64(8192) << 14 | quint64(1024) << 28 | quint64(1024) << 39;
    QTest::newRow("at rest at the radar, 4.4 m, id 5")
        << 5 << 0.0 << 0.0 << 0.0 << 0.0 << 4.4 << (centre | quint64(22) << 50 | quint64(5) << 58);
    QTest::newRow("50 m ahead, 3.5 m right, 25 m/s away")
        << 63 << 25.0 << -0.3 << 50.0 << -3.5 << 12.6
        << (quint64(8192 + 781) | quint64(8192 - 55) << 14 | quint64(1024 + 250) << 28
               | quint64(1024 - 3) << 39 | quint64(63) << 50 | quint64(63) << 58);
    QTest::newRow("beyond every range saturates")
        << 0 << 500.0 << -500.0 << 1000.0 << -1000.0 << 99.0
        << (quint64(16383) | quint64(0) << 14 | quint64(2047) << 28 | quint64(0) << 39
               | quint64(255) << 50);
    QTest::newRow("not a number reads as zero")
        << 1 << qQNaN() << 0.0 << qInf() << 0.0 << 0.0 << (centre | quint64(1) << 58);
}

void TestRadarFrameEncoder::objectPayload()
{
    QFETCH(int, id);
    QFETCH(double, xSpeed);
    QFETCH(double, ySpeed);
    QFETCH(double, xRange);
    QFETCH(double, yRange);
    QFETCH(double, length);
    QFETCH(quint64, expected);
    SimObject o;
    o.id = quint8(id);
    o.xSpeed = xSpeed;
    o.ySpeed = ySpeed;
    o.xRange = xRange;
    o.yRange = yRange;
    o.length = length;
    QCOMPARE(
        QString::number(RadarFrameEncoder::objectPayload(o), 16), QString::number(expected, 16));
}

void TestRadarFrameEncoder::frameWireForm()
{
    QCOMPARE(RadarFrameEncoder::frame(0x610, Q_UINT64_C(0x8000000000000001)),
        QByteArray::fromHex("0610088000000000000001"));
    QCOMPARE(RadarFrameEncoder::frame(0x501, RadarFrameEncoder::counterPayload(0x01020304)),
        QByteArray::fromHex("0501080102030400000000"));
    QCOMPARE(RadarFrameEncoder::ack(0x4F0, 255), QByteArray::fromHex("04F000FF"));
    QCOMPARE(RadarFrameEncoder::rawFrame(0x610, 7, QByteArray::fromHex("01020304050607")),
        QByteArray::fromHex("06100701020304050607"));
}

void TestRadarFrameEncoder::readParamResponse()
{
    const QVector<quint64> parts = RadarFrameEncoder::readParamResponse(70, 3, 52, -1500000);
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0] & 0xFFFF, quint64(0x2B1B));
    QCOMPARE(parts[1] & 0xFFFF, quint64(0x2B1C));
    QCOMPARE(parts[2] & 0xFFFF, quint64(0x2B1D));
    QCOMPARE(quint8(parts[1] >> 40), quint8(70));
    QCOMPARE(quint8(parts[1] >> 48), quint8(3));
    QCOMPARE(quint8(parts[1] >> 56), quint8(52));
    QVERIFY((parts[1] >> 32 & 0xF) != 0);
    QCOMPARE(qint32(quint32(parts[2] >> 32)), -1500000);
}

void TestRadarFrameEncoder::positionResponse_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("xOffset");
    QTest::addColumn<int>("yOffset");
    QTest::addColumn<int>("azimuth");
    QTest::addColumn<int>("altitude");
    QTest::addColumn<int>("roll");
    QTest::newRow("azimuth -90 degrees") << 650 << 0 << 0 << 27000 << 0 << 0;
    QTest::newRow("negative offsets and height") << -5 << -150 << -131071 << 0 << 35999 << 1;
    QTest::newRow("largest lengths") << 131071 << 131071 << 131071 << 35999 << 35999 << 35999;
}

void TestRadarFrameEncoder::positionResponse()
{
    QFETCH(int, height);
    QFETCH(int, xOffset);
    QFETCH(int, yOffset);
    QFETCH(int, azimuth);
    QFETCH(int, altitude);
    QFETCH(int, roll);
    RadarPosition p;
    p.height = height;
    p.xOffset = xOffset;
    p.yOffset = yOffset;
    p.azimuth = quint16(azimuth);
    p.altitude = quint16(altitude);
    p.roll = quint16(roll);
    const QVector<quint64> parts = RadarFrameEncoder::positionResponse(p);
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0] & 0xFFFF, quint64(0x0080));
    QCOMPARE(parts[1] & 0xFFFF, quint64(0x0090));
    QCOMPARE(parts[2] & 0xFFFF, quint64(0x00A0));
    // Part 0: xOffset bits 24-41 sign 42, yOffset bits 44-61 sign 62.
    QCOMPARE(qint64((parts[0] >> 24) & 0x3FFFF), qint64(qAbs(xOffset)));
    QCOMPARE(bool(parts[0] >> 42 & 1), xOffset < 0);
    QCOMPARE(qint64((parts[0] >> 44) & 0x3FFFF), qint64(qAbs(yOffset)));
    QCOMPARE(bool(parts[0] >> 62 & 1), yOffset < 0);
    QCOMPARE(int(quint16(parts[1] >> 16)), azimuth);
    QCOMPARE(int(quint16(parts[1] >> 32)), altitude);
    QCOMPARE(int(quint16(parts[1] >> 48)), roll);
    // Part 2: height bits 16-32 sign 33, nothing above.
    QCOMPARE(qint64((parts[2] >> 16) & 0x1FFFF), qint64(qAbs(height)));
    QCOMPARE(bool(parts[2] >> 33 & 1), height < 0);
    QCOMPARE(parts[2] >> 34, quint64(0));
}

void TestRadarFrameEncoder::deviceInfoResponse_data()
{
    QTest::addColumn<bool>("firmware");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("hardware, seven characters") << false << QByteArray("ABCDEFG");
    QTest::newRow("firmware, full 24") << true << QByteArray("FW 1.2.3 build 456789\xE9xy");
    QTest::newRow("empty") << false << QByteArray();
    QTest::newRow("longer than 24 is cut") << true << QByteArray(30, 'z');
}

void TestRadarFrameEncoder::deviceInfoResponse()
{
    QFETCH(bool, firmware);
    QFETCH(QByteArray, text);
    const QVector<quint64> parts = RadarFrameEncoder::deviceInfoResponse(firmware, text);
    QCOMPARE(parts.size(), 4);
    QByteArray decoded;
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(parts[i] & 0xFFFF, quint64((firmware ? 0x33 : 0x6A) + i));
        for (int b = 0; b < 6; ++b)
            decoded.append(char(parts[i] >> (16 + 8 * b)));
    }
    QCOMPARE(decoded.size(), 24);
    const QByteArray expected = text.left(24);
    QCOMPARE(decoded.left(expected.size()), expected);
    QCOMPARE(decoded.mid(expected.size()), QByteArray(24 - expected.size(), '\0'));
}

void TestRadarFrameEncoder::timeStampHeader()
{
    const QDateTime t(QDate(2026, 12, 8), QTime(14, 53, 29, 123), Qt::UTC);
    QCOMPARE(
        RadarFrameEncoder::timeStampHeader(t), QByteArray::fromHex("234454080CEA070E351D7B00"));
    // A local time is converted to UTC first.
    QCOMPARE(RadarFrameEncoder::timeStampHeader(t.toOffsetFromUtc(3600)),
        QByteArray::fromHex("234454080CEA070E351D7B00"));
}

void TestRadarFrameEncoder::signMagnitudeRoundTrip_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<qint64>("decoded");
    QTest::newRow("zero") << qint64(0) << qint64(0);
    QTest::newRow("positive") << qint64(725) << qint64(725);
    QTest::newRow("negative") << qint64(-150) << qint64(-150);
    QTest::newRow("too large saturates") << qint64(500000) << qint64(131071);
    QTest::newRow("too small saturates") << qint64(-500000) << qint64(-131071);
}

void TestRadarFrameEncoder::signMagnitudeRoundTrip()
{
    QFETCH(qint64, value);
    QFETCH(qint64, decoded);
    const quint64 p = RadarFrameEncoder::signMagnitude(value, 17, 8, 31);
    QCOMPARE(p & ~((quint64(0x1FFFF) << 8) | quint64(1) << 31), quint64(0));
    QCOMPARE(RadarFrameEncoder::fromSignMagnitude(p, 17, 8, 31), decoded);
}

QTEST_GUILESS_MAIN(TestRadarFrameEncoder)
#include "tst_radarframeencoder.moc"
