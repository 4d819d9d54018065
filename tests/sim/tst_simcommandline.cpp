#include "simcommandline.h"

#include <QTest>

class TestSimCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void accepted();
    void refused_data();
    void refused();
    void helpNamesEveryOption();
    void faultyUnits_data();
    void faultyUnits();
};

void TestSimCommandLine::defaults()
{
    SimCommandLine line;
    SimOptions o;
    QString error;
    QCOMPARE(line.parse({ "sim" }, &o, &error), SimCommandLine::Result::Run);
    QCOMPARE(o.source, SimOptions::Source::Radar);
    QCOMPARE(o.server.port, quint16(7578));
    QCOMPARE(o.server.address, QHostAddress(QHostAddress::LocalHost));
    QVERIFY(o.server.timeStamps);
    QCOMPARE(o.radar.variant.type(), RadarVariant::TypeQ);
    QCOMPARE(o.radar.cycleMs, 100);
    QCOMPARE(o.server.protocol, 0);
}

void TestSimCommandLine::accepted()
{
    SimCommandLine line;
    SimOptions o;
    QString error;
    const QStringList args { "sim", "--listen", "0.0.0.0", "--port", "0", "--protocol", "p",
        "--cycle-ms", "20", "--no-timestamps", "--range", "120.5", "--objects", "64", "--max-load",
        "--seed", "9", "--faulty", "amp2,TRSC", "--busy-acks", "2", "--ack-error", "12",
        "--drop-after", "1.5", "--refuse-pings", "--restart-ms", "800", "--hardware-info",
        "HW \xC3\xA9", "--garbage-text", "--garbage-binary", "--huge-text", "64", "--wrong-way",
        "45" };
    QCOMPARE(line.parse(args, &o, &error), SimCommandLine::Result::Run);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(o.server.address, QHostAddress(QHostAddress::AnyIPv4));
    QCOMPARE(o.server.port, quint16(0));
    QCOMPARE(o.radar.variant.type(), RadarVariant::TypeP);
    QCOMPARE(o.server.protocol, 1);
    QCOMPARE(o.radar.cycleMs, 20);
    QVERIFY(!o.server.timeStamps);
    QCOMPARE(o.radar.traffic.rangeM, 120.5);
    QCOMPARE(o.radar.traffic.maxObjects, 64);
    QVERIFY(o.radar.traffic.maxLoad);
    QCOMPARE(o.radar.traffic.seed, 9u);
    QCOMPARE(o.radar.faultyUnits, quint16(RadarEmulator::Amp2 | RadarEmulator::Trsc));
    QCOMPARE(o.radar.faults.busyAcks, 2);
    QCOMPARE(o.radar.traffic.wrongWaySeconds, 45.0);
    QCOMPARE(o.radar.faults.errorCode, quint8(12));
    QCOMPARE(o.server.dropAfterMs, 1500);
    QVERIFY(o.server.refusePings);
    QVERIFY(o.server.garbageText);
    QVERIFY(o.server.garbageBinary);
    QCOMPARE(o.server.hugeMessageMiB, 64);
    QVERIFY(o.server.hugeMessageIsText);
    QCOMPARE(o.radar.restartMs, 800);
    QCOMPARE(o.radar.hardwareInfo, QByteArray("HW \xE9"));

    SimCommandLine proxyLine;
    SimOptions p;
    QCOMPARE(proxyLine.parse(
                 { "sim", "--proxy", "ws://10.0.0.5:7578/", "--record", "r.jsonl" }, &p, &error),
        SimCommandLine::Result::Run);
    QCOMPARE(p.source, SimOptions::Source::Proxy);
    QCOMPARE(p.server.mode, SimServer::Mode::Forwarding);
    QCOMPARE(p.recordFile, QStringLiteral("r.jsonl"));

    SimCommandLine replayLine;
    SimOptions r;
    QCOMPARE(
        replayLine.parse({ "sim", "--replay", "r.jsonl", "--speed", "2.5", "--loop" }, &r, &error),
        SimCommandLine::Result::Run);
    QCOMPARE(r.source, SimOptions::Source::Replay);
    QCOMPARE(r.replaySpeed, 2.5);
    QVERIFY(r.replayLoop);
}

void TestSimCommandLine::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("unknown option") << QStringList { "--radar" } << "radar";
    QTest::newRow("port too large") << QStringList { "--port", "65536" } << "--port";
    QTest::newRow("port not a number") << QStringList { "--port", "http" } << "--port";
    QTest::newRow("listen on a host name") << QStringList { "--listen", "localhost" } << "--listen";
    QTest::newRow("protocol X") << QStringList { "--protocol", "X" } << "--protocol";
    QTest::newRow("cycle of 5 ms") << QStringList { "--cycle-ms", "5" } << "--cycle-ms";
    QTest::newRow("cycle beyond the client's time-out")
        << QStringList { "--cycle-ms", "900" } << "--cycle-ms";
    QTest::newRow("65 objects") << QStringList { "--objects", "65" } << "--objects";
    QTest::newRow("range not finite") << QStringList { "--range", "inf" } << "--range";
    QTest::newRow("noise negative") << QStringList { "--noise", "-1" } << "--noise";
    QTest::newRow("wrong way every half second")
        << QStringList { "--wrong-way", "0.5" } << "--wrong-way";
    QTest::newRow("error code 0") << QStringList { "--ack-error", "0" } << "--ack-error";
    QTest::newRow("error code 255 is busy")
        << QStringList { "--ack-error", "255" } << "--ack-error";
    QTest::newRow("unknown unit") << QStringList { "--faulty", "AMP1,FAN" } << "FAN";
    QTest::newRow("info of 25 characters")
        << QStringList { "--firmware-info", QString(25, 'x') } << "--firmware-info";
    QTest::newRow("info outside Latin-1")
        << QStringList { "--hardware-info", QString::fromUtf8("\xE2\x82\xAC") }
        << "--hardware-info";
    QTest::newRow("proxy and replay")
        << QStringList { "--proxy", "ws://h/", "--replay", "f" } << "--replay";
    QTest::newRow("record without proxy") << QStringList { "--record", "f" } << "--proxy";
    QTest::newRow("proxy to http") << QStringList { "--proxy", "http://h/" } << "--proxy";
    QTest::newRow("speed without replay") << QStringList { "--speed", "2" } << "--replay";
    QTest::newRow("speed 0") << QStringList { "--replay", "f", "--speed", "0" } << "--speed";
    QTest::newRow("stray argument") << QStringList { "extra" } << "extra";
    QTest::newRow("huge message of 0 MiB")
        << QStringList { "--huge-message", "0" } << "--huge-message";
    QTest::newRow("huge text beyond 256 MiB")
        << QStringList { "--huge-text", "257" } << "--huge-text";
    QTest::newRow("huge binary and text")
        << QStringList { "--huge-message", "1", "--huge-text", "1" } << "--huge-text";
}

void TestSimCommandLine::refused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, mentions);
    SimCommandLine line;
    SimOptions o;
    QString error;
    args.prepend(QStringLiteral("sim"));
    QCOMPARE(line.parse(args, &o, &error), SimCommandLine::Result::Error);
    QVERIFY2(error.contains(mentions), qPrintable(error));
}

void TestSimCommandLine::helpNamesEveryOption()
{
    SimCommandLine line;
    SimOptions o;
    QString error;
    QCOMPARE(line.parse({ "sim", "--help" }, &o, &error), SimCommandLine::Result::Help);
    const QString help = line.helpText();
    for (const char *name : { "--listen", "--port", "--protocol", "--cycle-ms", "--road", "--range",
             "--objects", "--density", "--max-load", "--state", "--faulty", "--busy-acks",
             "--ack-error", "--no-acks", "--stuck-cycle", "--silent", "--drop-after",
             "--refuse-pings", "--wrong-variant", "--malformed-frames", "--wrong-way", "--proxy",
             "--record", "--replay", "--speed", "--loop", "--no-timestamps", "--garbage-text",
             "--garbage-binary", "--huge-message", "--huge-text" })
        QVERIFY2(help.contains(QLatin1String(name)), name);
}

void TestSimCommandLine::faultyUnits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("bits");
    QTest::newRow("none") << "" << true << 0;
    QTest::newRow("all four") << "AMP1,AMP2,PADC,TRSC" << true << 0x1E;
    QTest::newRow("spaces and case") << " padc , amp1 " << true << 0x0A;
    QTest::newRow("unknown") << "AMP3" << false << 0;
}

void TestSimCommandLine::faultyUnits()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, bits);
    quint16 units = 0xFFFF;
    QString error;
    QCOMPARE(SimCommandLine::parseFaultyUnits(text, &units, &error), ok);
    if (ok)
        QCOMPARE(int(units), bits);
    else
        QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestSimCommandLine)
#include "tst_simcommandline.moc"
