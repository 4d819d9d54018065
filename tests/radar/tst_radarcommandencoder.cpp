#include "radarcommandencoder.h"

#include <QtTest>

class TestRadarCommandEncoder : public QObject
{
    Q_OBJECT

private slots:
    void commandFrame_data();
    void commandFrame();
    void positionFrames_data();
    void positionFrames();
};

namespace {

// P of a serialised 8-byte frame, read big-endian from the wire.
quint64 payloadOf(const QByteArray &wire)
{
    quint64 p = 0;
    for (int i = 3; i < wire.size(); ++i)
        p = p << 8 | quint8(wire.at(i));
    return p;
}

quint64 field(quint64 p, int first, int width)
{
    return p >> first & ((quint64(1) << width) - 1);
}

} // namespace

void TestRadarCommandEncoder::commandFrame_data()
{
    QTest::addColumn<int>("canId");
    QTest::addColumn<int>("paramType");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("hardware info type Q")
        << 0x4F2 << 2 << 0 << 40 << 8192 << QByteArray::fromHex("04f2080000200000022800");
    QTest::newRow("negative value type P")
        << 0x3F2 << 0 << 255 << 7 << -2 << QByteArray::fromHex("03f208fffffffeff000700");
    QTest::newRow("fixed-point") << 0x4F2 << 1 << 70 << 52 << 1500000
                                 << QByteArray::fromHex("04f2080016e360460134 00");
}

void TestRadarCommandEncoder::commandFrame()
{
    QFETCH(int, canId);
    QFETCH(int, paramType);
    QFETCH(int, action);
    QFETCH(int, number);
    QFETCH(int, value);
    QFETCH(QByteArray, wire);
    QCOMPARE(RadarCommandEncoder::commandFrame(
                 quint16(canId), quint8(paramType), quint8(action), quint8(number), value),
        wire);
}

void TestRadarCommandEncoder::positionFrames_data()
{
    QTest::addColumn<QList<double>>("position"); // height, x, y, azimuth, altitude, roll
    QTest::addColumn<QList<qint64>>("fields");
    // height magnitude, height sign, x magnitude, x sign, y magnitude, y sign,
    // azimuth, altitude, roll

    QTest::newRow("all positive") << QList<double> { 6.5, 1.25, 3.0, 10.0, 5.5, 0.25 }
                                  << QList<qint64> { 650, 0, 125, 0, 300, 0, 1000, 550, 25 };
    QTest::newRow("negative lengths and angles") << QList<double> { -0.5, -12.34, -7.0, -90.0,
        -0.01, -180.0 } << QList<qint64> { 50, 1, 1234, 1, 700, 1, 27000, 35999, 18000 };
    QTest::newRow("zero and minus zero") << QList<double> { 0.0, -0.0, -0.001, 0.0, 360.0, 0.0 }
                                         << QList<qint64> { 0, 0, 0, 0, 0, 0, 0, 36000, 0 };
    QTest::newRow("saturated length") << QList<double> { 5000.0, -2000.0, 0, 0, 0, 0 }
                                      << QList<qint64> { 0x1FFFF, 0, 0x1FFFF, 1, 0, 0, 0, 0, 0 };
    QTest::newRow("beyond one turn") << QList<double> { 0, 0, 0, 450.0, -450.0, 720.0 }
                                     << QList<qint64> { 0, 0, 0, 0, 0, 0, 9000, 27000, 0 };
    QTest::newRow("not a number") << QList<double> { qQNaN(), qQNaN(), 0, qQNaN(), qInf(), 0 }
                                  << QList<qint64> { 0, 0, 0, 0, 0, 0, 0, 0, 0 };
}

void TestRadarCommandEncoder::positionFrames()
{
    QFETCH(QList<double>, position);
    QFETCH(QList<qint64>, fields);

    const QList<QByteArray> frames = RadarCommandEncoder::positionFrames(
        0x4A0, position[0], position[1], position[2], position[3], position[4], position[5]);
    QCOMPARE(frames.size(), 3);
    for (const QByteArray &frame : frames) {
        QCOMPARE(frame.size(), 11);
        QCOMPARE(frame.left(3), QByteArray::fromHex("04a008"));
    }
    const quint64 p100 = payloadOf(frames[0]);
    const quint64 p101 = payloadOf(frames[1]);
    const quint64 p102 = payloadOf(frames[2]);

    QCOMPARE(qint64(field(p100, 8, 17)), fields[2]);
    QCOMPARE(qint64(field(p100, 31, 1)), fields[3]);
    QCOMPARE(qint64(field(p100, 32, 17)), fields[4]);
    QCOMPARE(qint64(field(p100, 55, 1)), fields[5]);
    const quint64 used100 = (quint64(0x1FFFF) << 8) | (quint64(1) << 31) | (quint64(0x1FFFF) << 32)
        | (quint64(1) << 55);
    QCOMPARE(p100 & ~used100, quint64(0));

    QCOMPARE(qint64(field(p101, 0, 17)), fields[0]);
    QCOMPARE(qint64(field(p101, 23, 1)), fields[1]);
    QCOMPARE(qint64(field(p101, 24, 16)), fields[6]);
    QCOMPARE(qint64(field(p101, 40, 16)), fields[7]);
    QCOMPARE(field(p101, 56, 8), quint64(0x10));
    QCOMPARE(field(p101, 17, 6), quint64(0));

    QCOMPARE(qint64(field(p102, 0, 16)), fields[8]);
    QCOMPARE(field(p102, 40, 8), quint64(0xFF));
    QCOMPARE(field(p102, 56, 8), quint64(0x20));
    QCOMPARE(p102 & ~(quint64(0xFFFF) | quint64(0xFF) << 40 | quint64(0xFF) << 56), quint64(0));
}

QTEST_GUILESS_MAIN(TestRadarCommandEncoder)
#include "tst_radarcommandencoder.moc"
