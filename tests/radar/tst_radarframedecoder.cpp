#include "radarframedecoder.h"
#include "vantorserialqelprotocolclient.h"
#include "wireframes.h"

#include <QtTest>

namespace {

// Type Q identifiers.
RadarFrameDecoder::CanIds qelIds()
{
    return VantorSerialQelProtocolClient().decoderCanIds();
}

using WireFrames::wireFrame;

QByteArray ack(quint8 result)
{
    return WireFrames::ackWire(0x4F0, result);
}

QByteArray cycle(quint32 number)
{
    return wireFrame(0x601, quint64(number) << 32);
}

QByteArray part(quint16 key, quint64 above)
{
    return wireFrame(0x500, above << 16 | key);
}

// The result as text, in the order the client hands it on.
QStringList summary(const RadarFrameDecoder::Result &result)
{
    QStringList out;
    for (const AckMessage &a : result.acks)
        out << QStringLiteral("ack %1").arg(a.result);
    for (const auto &o : result.objects)
        out << QStringLiteral("object %1 %2 %3 %4 %5 %6")
                   .arg(o.id)
                   .arg(o.xSpeed)
                   .arg(o.ySpeed)
                   .arg(o.xRange)
                   .arg(o.yRange)
                   .arg(o.length);
    for (const auto &c : result.controls)
        out << QStringLiteral("%1 %2")
                   .arg(c.kind == RadarFrameDecoder::ControlReport::Cycle ? "cycle" : "uptime")
                   .arg(c.value);
    if (result.position)
        out << QStringLiteral("position %1 %2")
                   .arg(result.position->height)
                   .arg(result.position->azimuth);
    if (result.paramValue)
        out << QStringLiteral("param %1 %2 %3 %4 %5")
                   .arg(result.paramValue->paramType)
                   .arg(result.paramValue->action)
                   .arg(result.paramValue->paramNumber)
                   .arg(result.paramValue->value)
                   .arg(result.paramValue->fixedPoint ? "fixed" : "integer");
    if (result.hardwareInfo)
        out << "hardware " + *result.hardwareInfo;
    if (result.firmwareInfo)
        out << "firmware " + *result.firmwareInfo;
    if (result.unreadable)
        out << QStringLiteral("unreadable");
    out << QStringLiteral("state %1 accepted %2 of %3")
               .arg(result.state)
               .arg(result.acceptedFrames)
               .arg(result.frames.size());
    return out;
}

} // namespace

class TestRadarFrameDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void resultIsResetBetweenMessages();
};

void TestRadarFrameDecoder::decode_data()
{
    QTest::addColumn<QByteArray>("previous");
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<QStringList>("expected");

    const QByteArray none;
    QTest::newRow("empty") << none << none << QStringList { "state 0 accepted 0 of 0" };
    QTest::newRow("acknowledgement only")
        << none << ack(0) + ack(7) << QStringList { "ack 0", "ack 7", "state 0 accepted 0 of 0" };
    QTest::newRow("object example")
        << none << wireFrame(0x610, quint64(0x80) << 56)
        << QStringList { "object 32 -102.4 -102.4 -524.288 -524.288 0", "state 1 accepted 1 of 1" };
    QTest::newRow("first cycle is new")
        << none << cycle(5) << QStringList { "cycle 5", "state 2 accepted 1 of 1" };
    QTest::newRow("same cycle again")
        << cycle(5) << cycle(5) << QStringList { "cycle 5", "state 1 accepted 1 of 1" };
    QTest::newRow("uptime and cycle in frame order")
        << none << wireFrame(0x600, quint64(90061001) << 32) + cycle(9) + wireFrame(0x3FF, 0)
        << QStringList { "uptime 90061001", "cycle 9", "state 2 accepted 3 of 3" };
    QTest::newRow("short object frame") << none << cycle(3) + wireFrame(0x611, 0, 7) + cycle(4)
                                        << QStringList { "cycle 3", "state -1 accepted 1 of 3" };
    QTest::newRow("unknown identifier") << none << wireFrame(0x3FF, 0) + wireFrame(0x700, 0)
                                        << QStringList { "state -1 accepted 1 of 2" };
    QTest::newRow("acknowledgement of the other variant is a frame")
        << none << QByteArray("\x03\xF0\x00\x00", 4) << QStringList { "state -1 accepted 0 of 1" };
    QTest::newRow("truncated tail ignored")
        << none << wireFrame(0x3FF, 0) + wireFrame(0x3FF, 0).left(6)
        << QStringList { "state 1 accepted 1 of 1" };
    QTest::newRow("bytes without a frame are unreadable")
        << none << QByteArray("\x5a\xc3\x9e\x01\x77", 5)
        << QStringList { "unreadable", "state 0 accepted 0 of 0" };
    QTest::newRow("two bytes are unreadable")
        << none << QByteArray("\x03\xff", 2)
        << QStringList { "unreadable", "state 0 accepted 0 of 0" };
    QTest::newRow("an acknowledgement before the garbage is read")
        << none << ack(0) + QByteArray("\x5a\xc3\x9e", 3)
        << QStringList { "ack 0", "state 0 accepted 0 of 0" };
    QTest::newRow("length above 8 at the start is unreadable")
        << none << QByteArray("\x03\xFF\x09", 3) + QByteArray(9, '\0')
        << QStringList { "unreadable", "state 0 accepted 0 of 0" };
    QTest::newRow("length above 8 ends the area")
        << none << wireFrame(0x3FF, 0) + QByteArray("\x03\xFF\x09", 3) + QByteArray(9, '\0')
        << QStringList { "state 1 accepted 1 of 1" };

    // Position: height 0.5 m in part 2, azimuth raw 27000 in part 1.
    const QByteArray position = part(0x0080, 0) + part(0x0090, 27000) + part(0x00A0, 50);
    QTest::newRow("position") << none << position
                              << QStringList { "position 0.5 -90", "state 1 accepted 3 of 3" };
    QTest::newRow("position part missing")
        << none << part(0x0080, 0) + part(0x00A0, 50) << QStringList { "state 1 accepted 2 of 2" };
    QTest::newRow("duplicate key after a complete group")
        << none << position + part(0x0090, 0) + cycle(1)
        << QStringList { "position 0.5 -90", "state -1 accepted 3 of 5" };

    // Read response: part 1 echoes status 1, action 148, type 2, number 4; part 2 the value.
    const quint64 echo
        = quint64(1) << 16 | quint64(148) << 24 | quint64(2) << 32 | quint64(4) << 40;
    const QByteArray read
        = part(0x2B1B, 0) + part(0x2B1C, echo) + part(0x2B1D, quint64(0xFFFFFFFF) << 16);
    QTest::newRow("read response")
        << none << read << QStringList { "param 2 148 4 -1 integer", "state 1 accepted 3 of 3" };
    QTest::newRow("read response without part 0")
        << none << read.mid(11) << QStringList { "state 1 accepted 2 of 2" };
    QTest::newRow("read response without status")
        << none << part(0x2B1B, 0) + part(0x2B1C, echo & ~quint64(0xF0000)) + part(0x2B1D, 0)
        << QStringList { "state 1 accepted 3 of 3" };
    QTest::newRow("fixed-point read")
        << none
        << part(0x2B1B, 0) + part(0x2B1C, (echo & ~(quint64(0xFF) << 32)) | quint64(3) << 32)
            + part(0x2B1D, 1500000ull << 16)
        << QStringList { "param 3 148 4 1500000 fixed", "state 1 accepted 3 of 3" };

    // Device information: six characters above each key, the text ends at a zero byte.
    const auto text = [](const char *six) {
        quint64 above = 0;
        for (int i = 5; i >= 0; --i)
            above = above << 8 | quint8(six[i]);
        return above;
    };
    QTest::newRow("hardware info") << none
                                   << part(0x006A, text("HW-1.2")) + part(0x006B, text("-rev\0\0"))
            + part(0x006C, text("zzzzzz"))
            + part(0x006D, 0) << QStringList { "hardware HW-1.2-rev", "state 1 accepted 4 of 4" };
}

void TestRadarFrameDecoder::decode()
{
    QFETCH(QByteArray, previous);
    QFETCH(QByteArray, area);
    QFETCH(QStringList, expected);
    RadarFrameDecoder decoder(qelIds());
    RadarFrameDecoder::Result result;
    decoder.decode(reinterpret_cast<const quint8 *>(previous.constData()), previous.size(), result);
    decoder.decode(reinterpret_cast<const quint8 *>(area.constData()), area.size(), result);
    QCOMPARE(summary(result), expected);
}

void TestRadarFrameDecoder::resultIsResetBetweenMessages()
{
    RadarFrameDecoder decoder(qelIds());
    RadarFrameDecoder::Result result;
    const QByteArray full = ack(0) + wireFrame(0x610, 0) + wireFrame(0x600, 1) + part(0x0080, 0)
        + part(0x0090, 0) + part(0x00A0, 0);
    decoder.decode(reinterpret_cast<const quint8 *>(full.constData()), full.size(), result);
    decoder.decode(nullptr, 0, result);
    QCOMPARE(summary(result), QStringList { "state 0 accepted 0 of 0" });
}

QTEST_GUILESS_MAIN(TestRadarFrameDecoder)
#include "tst_radarframedecoder.moc"
