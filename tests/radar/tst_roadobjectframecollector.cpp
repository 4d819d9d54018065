#include "localwebsocketserver.h"
#include "roadobjectframecollector.h"
#include "timestampheader.h"
#include "vantorserialqelprotocolclient.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QDateTime T0(QDate(2026, 12, 10), QTime(9, 15, 0, 500), Qt::UTC);

// An object as "id,xSpeed,ySpeed,xRange,yRange,length,+ms" (lastDetected is T0 + ms).
QString objectText(const RoadObject &o)
{
    QStringList fields { QString::number(o.id) };
    for (double v : { o.xSpeed, o.ySpeed, o.xRange, o.yRange, o.length })
        fields << QString::number(v);
    fields << QStringLiteral("+%1").arg(T0.msecsTo(o.lastDetected));
    return fields.join(QLatin1Char(','));
}

// A frame as "T+ms C<cycle> [objects]"; "T-" for a frame without a time.
QString frameText(const RoadObjectFrame &frame)
{
    QStringList parts { frame.dateTimeUtc.isValid()
            ? QStringLiteral("T+%1").arg(T0.msecsTo(frame.dateTimeUtc))
            : QStringLiteral("T-"),
        QStringLiteral("C%1").arg(frame.cycleNumber) };
    for (const RoadObject &o : frame.objects)
        parts << objectText(o);
    return parts.join(QLatin1Char(' '));
}

// Plays the client's frame signals into the collector: "S" frameStarted, "T+ms"
// frameDateTimeUtc, "C<n>" cycleNumber, "O<object>" objectData, "F" frameFinished.
void play(RoadObjectFrameCollector &collector, const QString &script)
{
    for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString arg = step.mid(1);
        switch (step.at(0).toLatin1()) {
        case 'S':
            collector.onFrameStarted();
            break;
        case 'T':
            collector.onFrameDateTimeUtc(T0.addMSecs(arg.toLongLong()));
            break;
        case 'C':
            collector.onCycleNumber(arg.toULongLong());
            break;
        case 'O': {
            const QStringList f = arg.split(QLatin1Char(','));
            QCOMPARE(f.size(), 7);
            collector.onObjectData(quint8(f.at(0).toUInt()), f.at(1).toDouble(), f.at(2).toDouble(),
                f.at(3).toDouble(), f.at(4).toDouble(), f.at(5).toDouble(),
                T0.addMSecs(f.at(6).toLongLong()));
            break;
        }
        case 'F':
            collector.onFrameFinished();
            break;
        default:
            QFAIL(qPrintable(step));
        }
    }
}

QByteArray wireFrame(quint16 canId, quint64 p)
{
    QByteArray wire;
    wire += char(canId >> 8);
    wire += char(canId & 0xFF);
    wire += char(8);
    for (int i = 7; i >= 0; --i)
        wire += char(p >> (8 * i));
    return wire;
}

quint64 bits(quint64 value, int first, int width)
{
    return (value & ((quint64(1) << width) - 1)) << first;
}

// One radar cycle of the type Q variant: the cycle number, then two objects whose frames
// come in descending identifier order.
QByteArray cycleMessage(quint32 cycle, const QDateTime &time)
{
    const auto object
        = [](quint16 canId, int id, int xRange, int yRange, int xSpeed, int ySpeed, int length) {
              return wireFrame(canId,
                  bits(xRange, 0, 14) | bits(yRange, 14, 14) | bits(xSpeed, 28, 11)
                      | bits(ySpeed, 39, 11) | bits(length, 50, 8) | bits(id, 58, 6));
          };
    return TimeStampHeader::encode(time) + wireFrame(0x3FF, 0)
        + wireFrame(0x601, bits(cycle, 32, 32))
        + object(0x64F, 63, 8192 + 1000, 8192 - 50, 1024 + 155, 1024 - 3, 23)
        + object(0x610, 4, 0x3FFF, 0, 0x7FF, 0, 255);
}

} // namespace

class TestRoadObjectFrameCollector : public QObject
{
    Q_OBJECT

private slots:
    void collecting_data();
    void collecting();
    void framesOfARealClient();
};

void TestRoadObjectFrameCollector::collecting_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("a normal frame")
        << "S T+100 C7 O3,1.5,-0.25,40,-1.75,4.5,+100 O9,-12,0,80.5,3.5,0,+60 F"
        << QStringList { "T+100 C7 3,1.5,-0.25,40,-1.75,4.5,+100 9,-12,0,80.5,3.5,0,+60" };
    QTest::newRow("an identifier reported twice is updated in place")
        << "S T+100 O3,1,0,40,0,4,+100 O9,1,0,50,0,4,+100 O3,2,0,42,0,5,+100 F"
        << QStringList { "T+100 C0 3,2,0,42,0,5,+100 9,1,0,50,0,4,+100" };
    QTest::newRow("the objects keep the order of their reports")
        << "S O9,1,0,50,0,4,+0 O3,1,0,40,0,4,+0 F"
        << QStringList { "T- C0 9,1,0,50,0,4,+0 3,1,0,40,0,4,+0" };
    QTest::newRow("a frame without finish is dropped by the next start")
        << "S T+100 O3,1,0,40,0,4,+100 S T+200 O5,1,0,30,0,4,+200 F"
        << QStringList { "T+200 C0 5,1,0,30,0,4,+200" };
    QTest::newRow("objects and finishes outside a frame are ignored")
        << "O3,1,0,40,0,4,+0 F S O5,1,0,30,0,4,+0 F O6,1,0,30,0,4,+0 F"
        << QStringList { "T- C0 5,1,0,30,0,4,+0" };
    QTest::newRow("time and cycle hold until the next report")
        << "S T+100 C7 O1,1,0,10,0,4,+100 F S O1,1,0,11,0,4,+200 F S T+300 C9 F"
        << QStringList { "T+100 C7 1,1,0,10,0,4,+100", "T+100 C7 1,1,0,11,0,4,+200", "T+300 C9" };
    QTest::newRow("a time or cycle reported before the start belongs to the frame")
        << "T+100 C3 S O1,1,0,10,0,4,+100 F" << QStringList { "T+100 C3 1,1,0,10,0,4,+100" };
    QTest::newRow("non-finite numbers pass through unchanged")
        << "S O1,nan,inf,-inf,nan,inf,+0 O2,1e308,-1e308,0,0,0,+0 F"
        << QStringList { "T- C0 1,nan,inf,-inf,nan,inf,+0 2,1e+308,-1e+308,0,0,0,+0" };
    QTest::newRow("an empty frame") << "S T+100 C1 F" << QStringList { "T+100 C1" };
    QTest::newRow("no frame at all") << "" << QStringList {};
}

void TestRoadObjectFrameCollector::collecting()
{
    QFETCH(QString, script);
    QFETCH(QStringList, frames);

    RoadObjectFrameCollector collector;
    QSignalSpy spy(&collector, &RoadObjectFrameCollector::frameCollected);
    play(collector, script);

    QStringList collected;
    for (const QList<QVariant> &args : spy)
        collected << frameText(args.at(0).value<RoadObjectFrame>());
    QCOMPARE(collected, frames);
    QVERIFY(!collector.isCollecting());
}

void TestRoadObjectFrameCollector::framesOfARealClient()
{
    LocalWebSocketServer server;
    QVERIFY(server.listen());
    VantorSerialQelProtocolClient client;
    QVERIFY(client.connectToServer(server.url()));
    QTRY_VERIFY(server.client() && client.isConnected());

    RoadObjectFrameCollector collector;
    collector.setClient(&client);
    QCOMPARE(collector.client(), &client);
    QSignalSpy spy(&collector, &RoadObjectFrameCollector::frameCollected);

    // A few cycles bring the radar to work; from then on every frame has the objects.
    for (quint32 cycle = 1; cycle <= 6; ++cycle)
        server.sendBinary(cycleMessage(cycle, T0.addMSecs(100 * cycle)));
    QTRY_COMPARE(spy.count(), 6);
    QCOMPARE(client.radarState(), int(IVantorClient::Working));

    // The decoder's scales: range 0.064 m, speed 0.1 m/s, length 0.2 m, offset by half
    // the field; the client reports in ascending identifier order.
    const RoadObjectFrame last = spy.at(5).at(0).value<RoadObjectFrame>();
    QCOMPARE(frameText(last),
        QStringLiteral("T+600 C6 4,102.3,-102.4,524.224,-524.288,51,+600 "
                       "63,15.5,-0.3,64,-3.2,4.6,+600"));

    // Collecting from no client: the next cycle is not collected.
    collector.setClient(nullptr);
    server.sendBinary(cycleMessage(7, T0.addMSecs(700)));
    QTRY_COMPARE(client.totalFrames(), quint64(7));
    QCOMPARE(spy.count(), 6);
}

QTEST_GUILESS_MAIN(TestRoadObjectFrameCollector)
#include "tst_roadobjectframecollector.moc"
