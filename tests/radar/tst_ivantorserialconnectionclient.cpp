#include "localwebsocketserver.h"
#include "timestampheader.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"
#include "wireframes.h"

#include <QRandomGenerator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Reaches the message handler directly, without a socket.
template<class Variant> class Probe : public Variant
{
public:
    int handle(const QDateTime &frameTime, const QByteArray &area)
    {
        return this->doHandleRadarDataMessage(frameTime, area);
    }
};

using QelProbe = Probe<VantorSerialQelProtocolClient>;
using PmxProbe = Probe<VantorSerialPmxProtocolClient>;

const QDateTime T0(QDate(2026, 7, 1), QTime(8, 30, 0, 250), Qt::UTC);

using namespace WireFrames;

QString number(const QVariant &v)
{
    return v.type() == QVariant::Double ? QString::number(v.toDouble(), 'g', 10) : v.toString();
}

void append(QStringList *log, const char *name, const QVariantList &args)
{
    QStringList texts;
    for (const QVariant &arg : args)
        texts << number(arg);
    *log << QStringLiteral("%1(%2)").arg(QLatin1String(name), texts.join(','));
}

// Logs each emission of a signal as "name(arg,arg)".
template<class Sender, class... Args>
void logSignal(IVantorSerialConnectionClient *client, void (Sender::*signal)(Args...),
    const char *name, QStringList *log)
{
    QObject::connect(client, signal, client,
        [=](Args... args) { append(log, name, QVariantList { QVariant(args)... }); });
}

// Records the result and frame signals in emission order.
void recordSignals(IVantorSerialConnectionClient *client, QStringList *log)
{
    using C = IVantorSerialConnectionClient;
    const auto on
        = [client, log](auto signal, const char *name) { logSignal(client, signal, name, log); };
    on(&C::frameStarted, "frameStarted");
    on(&C::frameFinished, "frameFinished");
    on(&C::cycleNumber, "cycleNumber");
    on(&C::uptimeInfo, "uptimeInfo");
    // Without the frame time.
    QObject::connect(client, &C::objectData, client,
        [=](quint8 id, double xs, double ys, double xr, double yr, double l, const QDateTime &) {
            append(log, "objectData", { id, xs, ys, xr, yr, l });
        });
    on(&C::radarCommandStateChanged, "command");
    on(&C::hardwareInfo, "hardwareInfo");
    on(&C::firmwareInfo, "firmwareInfo");
    on(&C::selfDiagnosticsResult, "selfDiagnosticsResult");
    on(&C::imitatorModeChanged, "imitatorModeChanged");
    on(&C::fakeTargetsModeChanged, "fakeTargetsModeChanged");
    on(&C::radarPosition, "radarPosition");
    on(&C::frequencyIndex, "frequencyIndex");
    on(&C::radarSensitivity, "radarSensitivity");
    on(&C::polygonUsage, "polygonUsage");
    on(&C::polygonTreatParam, "polygonTreatParam");
    on(&C::polygonSpeedParam, "polygonSpeedParam");
    on(&C::polygonPointParam, "polygonPointParam");
    on(&C::calibrationCommand, "calibrationCommand");
    on(&C::calibrationState, "calibrationState");
    on(&C::calibrationLastParam, "calibrationLastParam");
    on(&C::calibrationCurrParam, "calibrationCurrParam");
    on(&C::debugVariableValue, "debugVariableValue");
    on(&C::freeCommandValue, "freeCommandValue");
}

QStringList withoutFrameMarks(const QStringList &log)
{
    QStringList result;
    for (const QString &entry : log) {
        if (entry != "frameStarted()" && entry != "frameFinished()")
            result << entry;
    }
    return result;
}

// Starts the server and connects the client to it.
bool connectClient(LocalWebSocketServer &server, IVantorClient &client)
{
    QSignalSpy connected(&client, &IVantorClient::connected);
    return server.listen() && client.connectToServer(server.url()) && connected.wait(5000);
}

// Makes the probe's accepted state 1 (busy) with three synchronisation-only messages.
template<class P> void bringOnline(P &probe)
{
    const QByteArray sync = wireFrame(probe.synchronizationCanId(), 0);
    for (int i = 0; i < 3; ++i)
        QMetaObject::invokeMethod(&probe, "onServerDataReceived", Q_ARG(QByteArray, sync));
}

struct CommandRow
{
    const char *name;
    std::function<void(IVantorSerialConnectionClient *)> send;
    QList<int> reportedIds;
    int paramType;
    int action;
    int number;
    qint64 value;
};

QList<CommandRow> commandRows()
{
    using C = IVantorSerialConnectionClient;
    return {
        { "GetHardwareInfo", [](C *c) { c->sendCmdGetHardwareInfo(); }, { 1 }, 2, 0, 40, 8192 },
        { "GetFirmwareInfo", [](C *c) { c->sendCmdGetFirmwareInfo(); }, { 2 }, 2, 0, 40, 128 },
        { "SelfDiagnostics", [](C *c) { c->sendCmdSelfDiagnostics(); }, { 3 }, 2, 150, 0, 1 },
        { "SetImitatorMode", [](C *c) { c->sendCmdSetImitatorMode(3); }, { 4 }, 4, 151, 0, 3 },
        { "GetImitatorMode", [](C *c) { c->sendCmdGetImitatorMode(); }, { 5 }, 2, 151, 0, 0 },
        { "SetFakeTargetsMode on", [](C *c) { c->sendCmdSetFakeTargetsMode(true); }, { 6 }, 4, 0,
            68, 1 },
        { "SetFakeTargetsMode off", [](C *c) { c->sendCmdSetFakeTargetsMode(false); }, { 6 }, 4, 0,
            68, 0 },
        { "GetFakeTargetsMode", [](C *c) { c->sendCmdGetFakeTargetsMode(); }, { 7 }, 2, 0, 68, 0 },
        { "SaveToFlash", [](C *c) { c->sendCmdSaveToFlash(); }, { 8 }, 0, 136, 0, 0 },
        { "Restart", [](C *c) { c->sendCmdRestart(); }, { 9 }, 0, 129, 0, 0 },
        { "SetRadarSensitivity", [](C *c) { c->sendCmdSetRadarSensitivity(-5); }, { 22 }, 0, 148, 4,
            -5 },
        { "GetRadarSensitivity", [](C *c) { c->sendCmdGetRadarSensitivity(); }, { 23 }, 2, 148, 4,
            0 },
        { "SetFrequencyIndex", [](C *c) { c->sendCmdSetFrequencyIndex(3); }, { 24 }, 0, 65, 36, 3 },
        { "GetFrequencyIndex", [](C *c) { c->sendCmdGetFrequencyIndex(); }, { 25 }, 2, 65, 36, 0 },
        { "SetPolygonUsage", [](C *c) { c->sendCmdSetPolygonUsage(0xA5); }, { 26 }, 4, 70, 0,
            0xA5 },
        { "GetPolygonUsage", [](C *c) { c->sendCmdGetPolygonUsage(); }, { 27 }, 2, 70, 0, 0 },
        { "SetPolygonTreatParam", [](C *c) { c->sendCmdSetPolygonTreatParam(3, 1, 9); },
            { (3 << 24) + (1 << 16) + 28 }, 0, 70, 21, 9 },
        { "GetPolygonTreatParam", [](C *c) { c->sendCmdGetPolygonTreatParam(7, 0); },
            { (7 << 24) + 29 }, 2, 70, 9, 0 },
        { "SetPolygonSpeedParam", [](C *c) { c->sendCmdSetPolygonSpeedParam(2, 1, 1.5); },
            { (2 << 24) + (1 << 16) + 30 }, 1, 70, 52, 1500000 },
        { "GetPolygonSpeedParam", [](C *c) { c->sendCmdGetPolygonSpeedParam(0, 3); },
            { (3 << 16) + 31 }, 3, 70, 82, 0 },
        { "SetPolygonPointParam", [](C *c) { c->sendCmdSetPolygonPointParam(1, 2, -3.25); },
            { (1 << 24) + (2 << 16) + 32 }, 1, 71, 10, -3250000 },
        { "GetPolygonPointParam", [](C *c) { c->sendCmdGetPolygonPointParam(1, 9); },
            { (1 << 24) + (9 << 16) + 33 }, 3, 71, 137, 0 },
        { "ReinitPolygons", [](C *c) { c->sendCmdReinitPolygons(); }, { 34 }, 0, 70, 1, 1 },
        { "SetCalibrationCommand", [](C *c) { c->sendCmdSetCalibrationCommand(6); }, { 35 }, 0, 254,
            0, 6 },
        { "GetCalibrationCommand", [](C *c) { c->sendCmdGetCalibrationCommand(); }, { 36 }, 2, 254,
            0, 0 },
        { "GetCalibrationState", [](C *c) { c->sendCmdGetCalibrationState(); }, { 37 }, 2, 254, 1,
            0 },
        { "SetCalibrationLastParam", [](C *c) { c->sendCmdSetCalibrationLastParam(4, 77); },
            { (4 << 16) + 38 }, 0, 254, 12, 77 },
        { "GetCalibrationLastParam", [](C *c) { c->sendCmdGetCalibrationLastParam(2); },
            { (2 << 16) + 39 }, 2, 254, 10, 0 },
        { "GetCalibrationCurrParam", [](C *c) { c->sendCmdGetCalibrationCurrParam(1); },
            { (1 << 16) + 40 }, 2, 254, 17, 0 },
        { "ResetCalibrationParams", [](C *c) { c->sendCmdResetCalibrationParams(); }, { 41 }, 0,
            254, 7, 0 },
        { "ApplyCalibrationParams", [](C *c) { c->sendCmdApplyCalibrationParams(); }, { 42 }, 0,
            254, 7, 1 },
        { "SetDebugVariableValue", [](C *c) { c->sendCmdSetDebugVariableValue(5, 1000); },
            { (5 << 24) + 43 }, 0, 255, 5, 1000 },
        { "GetDebugVariableValue 200", [](C *c) { c->sendCmdGetDebugVariableValue(200); },
            { int(0xC800002Bu) }, 2, 255, 200, 0 },
        { "GetPosition", [](C *c) { c->sendCmdGetPosition(); }, { 13, 15, 11, 17, 19, 21 }, 0, 0,
            42, 2 },
        { "FreeCommand action 200", [](C *c) { c->sendCmdFreeCommand(3, 200, 17, -1); },
            { int(0xC8113800u) }, 3, 200, 17, -1 },
    };
}

} // namespace

class TestIVantorSerialConnectionClient : public QObject
{
    Q_OBJECT

private slots:
    void variantIdentifiers();
    void commandWire_data();
    void commandWire();
    void hardwareInfoExampleWire();
    void positionFramesQueuedInOrder();
    void outOfRangeParametersNotSent();
    void objectExample();
    void objectFramesEmittedInIdOrder();
    void uptime();
    void cycleChangeYieldsWorking();
    void rejectedFrames_data();
    void rejectedFrames();
    void signalOrderOfOneMessage();
    void ackOnlyMessageFinishesCommand();
    void acksHandledBeforeFrames();
    void ackCodes_data();
    void ackCodes();
    void responseGroups_data();
    void responseGroups();
    void responseMustArriveInOneMessage();
    void deviceInfo_data();
    void deviceInfo();
    void readResponse_data();
    void readResponse();
    void identifier0x500PerVariant();
    void wrongVariantReportsWrongProtocol();
    void unreadableMessages_data();
    void unreadableMessages();
    void canStatistics();
    void readRoundTripThroughServer();
    void positionRoundTripThroughServer();
};

void TestIVantorSerialConnectionClient::variantIdentifiers()
{
    const VantorSerialQelProtocolClient q;
    const VantorSerialPmxProtocolClient p;
    const QList<quint16> qIds { q.synchronizationCanId(), q.sensorControlCanId(),
        q.objectControlCanId(), q.roadObjectCanIdMin(), q.roadObjectCanIdMax(),
        q.udtResponseCanId(), q.radarSetupCanId(), q.commandCanId(), q.ackMessageCanIds().first() };
    const QList<quint16> pIds { p.synchronizationCanId(), p.sensorControlCanId(),
        p.objectControlCanId(), p.roadObjectCanIdMin(), p.roadObjectCanIdMax(),
        p.udtResponseCanId(), p.radarSetupCanId(), p.commandCanId(), p.ackMessageCanIds().first() };
    QCOMPARE(
        qIds, (QList<quint16> { 0x3FF, 0x600, 0x601, 0x610, 0x64F, 0x500, 0x4A0, 0x4F2, 0x4F0 }));
    for (int i = 0; i < qIds.size(); ++i)
        QCOMPARE(pIds.at(i), quint16(qIds.at(i) - 0x100));
    QCOMPARE(q.ackMessageCanIds().size(), 1);
    QCOMPARE(p.ackMessageCanIds().size(), 1);
    // Built once and shared by all instances.
    const VantorSerialQelProtocolClient q2;
    QCOMPARE(&q.ackMessageCanIds(), &q2.ackMessageCanIds());
}

void TestIVantorSerialConnectionClient::commandWire_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("typeP");
    const QList<CommandRow> rows = commandRows();
    for (int i = 0; i < rows.size(); ++i) {
        QTest::addRow("%s SerQ", rows.at(i).name) << i << false;
        QTest::addRow("%s SerP", rows.at(i).name) << i << true;
    }
}

void TestIVantorSerialConnectionClient::commandWire()
{
    QFETCH(int, row);
    QFETCH(bool, typeP);
    const CommandRow command = commandRows().at(row);

    LocalWebSocketServer server;
    std::unique_ptr<IVantorSerialConnectionClient> client;
    if (typeP)
        client = std::make_unique<VantorSerialPmxProtocolClient>();
    else
        client = std::make_unique<VantorSerialQelProtocolClient>();
    QSignalSpy states(client.get(), &IVantorClient::radarCommandStateChanged);
    QVERIFY(connectClient(server, *client));

    command.send(client.get());
    QTRY_COMPARE_WITH_TIMEOUT(server.binaryMessages.size(), 1, 5000);
    const quint16 canId = typeP ? 0x3F2 : 0x4F2;
    const quint64 p = bits(quint32(qint32(command.value)), 32, 32) | bits(command.action, 24, 8)
        | bits(command.paramType, 16, 8) | bits(command.number, 8, 8);
    QCOMPARE(server.binaryMessages.first().toHex(), wireFrame(canId, p).toHex());

    // Queued, then in progress, under the command's identifiers.
    const QList<int> ids = command.reportedIds;
    QCOMPARE(states.count(), 2 * ids.size());
    for (int i = 0; i < ids.size(); ++i) {
        QCOMPARE(states.at(i), (QList<QVariant> { ids.at(i), 1, 0 }));
        QCOMPARE(states.at(ids.size() + i), (QList<QVariant> { ids.at(i), 2, 0 }));
    }
}

void TestIVantorSerialConnectionClient::hardwareInfoExampleWire()
{
    LocalWebSocketServer server;
    VantorSerialQelProtocolClient client;
    QVERIFY(connectClient(server, client));
    client.sendCmdGetHardwareInfo();
    QTRY_COMPARE_WITH_TIMEOUT(server.binaryMessages.size(), 1, 5000);
    QCOMPARE(server.binaryMessages.first(), QByteArray::fromHex("04f2080000200000022800"));
    QCOMPARE(client.lastRadarCommand(), 1);
}

void TestIVantorSerialConnectionClient::positionFramesQueuedInOrder()
{
    LocalWebSocketServer server;
    PmxProbe client;
    QVERIFY(connectClient(server, client));
    QStringList log;
    recordSignals(&client, &log);

    client.sendCmdSetPosition(-1.5, 2.0, -3.0, -90.0, 10.0, 1.0);
    for (int i = 1; i <= 3; ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(server.binaryMessages.size(), i, 5000);
        server.sendBinary(ackWire(0x3F0, 0));
    }
    QTRY_COMPARE_WITH_TIMEOUT(client.lastRadarCommand(), 0, 5000);
    for (const QByteArray &frame : qAsConst(server.binaryMessages))
        QCOMPARE(frame.left(3), QByteArray::fromHex("03a008"));
    // Frame 101 carries the azimuth: -90 degrees goes as 27000.
    const QByteArray second = server.binaryMessages.at(1);
    quint64 p = 0;
    for (int i = 3; i < 11; ++i)
        p = p << 8 | quint8(second.at(i));
    QCOMPARE(p >> 24 & 0xFFFF, quint64(27000));
    QCOMPARE(p & 0x1FFFF, quint64(150));
    QCOMPARE(p >> 23 & 1, quint64(1));

    const QStringList commands = log.filter("command(");
    QCOMPARE(commands.mid(0, 6),
        (QStringList { "command(12,1,0)", "command(14,1,0)", "command(12,2,0)", "command(14,2,0)",
            "command(10,1,0)", "command(16,1,0)" }));
    QVERIFY(commands.contains("command(20,3,0)"));
    QVERIFY(commands.contains("command(18,3,0)"));
}

void TestIVantorSerialConnectionClient::outOfRangeParametersNotSent()
{
    VantorSerialQelProtocolClient client;
    QSignalSpy states(&client, &IVantorClient::radarCommandStateChanged);
    client.sendCmdSetPolygonTreatParam(8, 0, 1);
    client.sendCmdGetPolygonSpeedParam(0, 4);
    client.sendCmdGetPolygonPointParam(0, 16);
    client.sendCmdGetCalibrationLastParam(5);
    client.sendCmdGetCalibrationCurrParam(200);
    QCOMPARE(states.count(), 0);
    // Within range the command is queued (and fails at once: there is no link).
    client.sendCmdGetPolygonPointParam(7, 15);
    QCOMPARE(states.count(), 2);
    QCOMPARE(states.at(1), (QList<QVariant> { (7 << 24) + (15 << 16) + 33, 4, -3 }));
}

void TestIVantorSerialConnectionClient::objectExample()
{
    QelProbe client;
    bringOnline(client);
    QCOMPARE(client.radarState(), 1);
    QSignalSpy objects(&client, &IVantorClient::objectData);
    QCOMPARE(client.handle(T0, QByteArray::fromHex("06100880000000000000 00")), 1);
    QCOMPARE(objects.count(), 1);
    const QList<QVariant> args = objects.first();
    QCOMPARE(args.at(0).value<quint8>(), quint8(32));
    QCOMPARE(args.at(1).toDouble(), -102.4);
    QCOMPARE(args.at(2).toDouble(), -102.4);
    QCOMPARE(args.at(3).toDouble(), -524.288);
    QCOMPARE(args.at(4).toDouble(), -524.288);
    QCOMPARE(args.at(5).toDouble(), 0.0);
    QCOMPARE(args.at(6).toDateTime(), T0);
}

void TestIVantorSerialConnectionClient::objectFramesEmittedInIdOrder()
{
    PmxProbe client;
    bringOnline(client);
    QStringList log;
    recordSignals(&client, &log);
    const QByteArray area = objectFrame(0x54F, 63, 8192 + 1000, 8192 - 50, 1024 + 155, 1024 - 3, 23)
        + objectFrame(0x510, 4, 0x3FFF, 0, 0x7FF, 0, 255);
    QCOMPARE(client.handle(T0, area), 1);
    QCOMPARE(log.filter("objectData"),
        (QStringList { "objectData(4,102.3,-102.4,524.224,-524.288,51)",
            "objectData(63,15.5,-0.3,64,-3.2,4.6)" }));
    QCOMPARE(client.objectCount(), 2);
    // Not seen for more than 500 ms: dropped before the next frame is handled.
    QCOMPARE(client.handle(T0.addMSecs(501), wireFrame(0x2FF, 0)), 1);
    QCOMPARE(client.objectCount(), 0);
}

void TestIVantorSerialConnectionClient::uptime()
{
    QelProbe client;
    QSignalSpy uptime(&client, &IVantorClient::uptimeInfo);
    QCOMPARE(client.handle(T0, wireFrame(0x600, bits(90061001, 32, 32))), 1);
    QCOMPARE(uptime.count(), 1);
    QCOMPARE(uptime.first(), (QList<QVariant> { 1, 1, 1, 1, 1 }));

    QCOMPARE(client.handle(T0, wireFrame(0x600, bits(0xFFFFFFFFu, 32, 32) | 0xFFFFFFFFu)), 1);
    QCOMPARE(uptime.last(), (QList<QVariant> { 49, 17, 2, 47, 295 }));
}

void TestIVantorSerialConnectionClient::cycleChangeYieldsWorking()
{
    QelProbe client;
    QSignalSpy cycles(&client, &IVantorClient::cycleNumber);
    const auto control = [](quint32 cycle) { return wireFrame(0x601, bits(cycle, 32, 32) | 0xAB); };
    QCOMPARE(client.handle(T0, control(7)), 2);
    QCOMPARE(client.cycle(), quint32(7));
    QCOMPARE(client.handle(T0, control(7)), 1);
    QCOMPARE(client.handle(T0, control(8) + control(8)), 2);
    QCOMPARE(client.handle(T0, control(0xFFFFFFFFu)), 2);
    QCOMPARE(cycles.count(), 5);
    QCOMPARE(cycles.last().first().toULongLong(), quint64(0xFFFFFFFFu));

    // Through the message path the third working message is accepted.
    QSignalSpy states(&client, &IVantorClient::radarStateChanged);
    for (quint32 cycle = 10; cycle < 13; ++cycle)
        QMetaObject::invokeMethod(
            &client, "onServerDataReceived", Q_ARG(QByteArray, control(cycle)));
    QCOMPARE(states.count(), 1);
    QCOMPARE(states.first().first().toInt(), 2);
}

void TestIVantorSerialConnectionClient::rejectedFrames_data()
{
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("objects");

    const QByteArray object = objectFrame(0x610, 1, 8192, 8192, 1024, 1024, 10);
    QTest::newRow("unknown identifier") << wireFrame(0x123, 0) + object << -1 << 0;
    QTest::newRow("object of length 7") << wireFrame(0x611, 0, 7) + object << -1 << 0;
    QTest::newRow("sync of length 0") << wireFrame(0x3FF, 0, 0) << -1 << 0;
    QTest::newRow("sensor control of length 4") << wireFrame(0x600, 0, 4) << -1 << 0;
    QTest::newRow("object control of length 1") << wireFrame(0x601, 0, 1) << -1 << 0;
    QTest::newRow("response part of length 2") << wireFrame(0x500, 0x2B1B, 2) << -1 << 0;
    QTest::newRow("frames before the bad one count") << object + wireFrame(0x700, 0) << -1 << 1;
    QTest::newRow("last object identifier") << wireFrame(0x64F, 0) << 1 << 1;
    QTest::newRow("one past the object range") << wireFrame(0x650, 0) << -1 << 0;
    QTest::newRow("truncated tail ignored")
        << object + QByteArray::fromHex("0610 08 0102") << 1 << 1;
    QTest::newRow("empty area") << QByteArray() << 0 << 0;
}

void TestIVantorSerialConnectionClient::rejectedFrames()
{
    QFETCH(QByteArray, area);
    QFETCH(int, result);
    QFETCH(int, objects);

    QelProbe client;
    const quint64 validBefore = client.validFrames();
    QCOMPARE(client.handle(T0, area), result);
    QCOMPARE(client.objectCount(), objects);
    QCOMPARE(client.validFrames(), validBefore + (result == -1 ? 0 : 1));
}

void TestIVantorSerialConnectionClient::signalOrderOfOneMessage()
{
    QelProbe client;
    bringOnline(client);
    QStringList log;
    recordSignals(&client, &log);
    QSignalSpy times(&client, &IVantorClient::frameDateTimeUtc);
    const QByteArray area = wireFrame(0x3FF, 0) + wireFrame(0x600, bits(1500, 32, 32))
        + wireFrame(0x601, bits(5, 32, 32)) + objectFrame(0x612, 9, 8192, 8192, 1024, 1024, 0)
        + objectFrame(0x611, 2, 8192, 8192, 1024, 1024, 0) + readResponseWire(0x500, 65, 2, 36, 4);
    QCOMPARE(client.handle(T0, area), 2);
    QCOMPARE(log,
        (QStringList { "frameStarted()", "uptimeInfo(0,0,0,1,500)", "cycleNumber(5)",
            "objectData(2,0,0,0,0,0)", "objectData(9,0,0,0,0,0)", "frameFinished()",
            "frequencyIndex(4)", "freeCommandValue(2,65,36,4)" }));
    QCOMPARE(times.count(), 1);
    QCOMPARE(times.first().first().toDateTime(), T0);
}

void TestIVantorSerialConnectionClient::ackOnlyMessageFinishesCommand()
{
    LocalWebSocketServer server;
    QelProbe client;
    QVERIFY(connectClient(server, client));
    QSignalSpy states(&client, &IVantorClient::radarCommandStateChanged);
    client.sendCmdSaveToFlash();
    QTRY_COMPARE_WITH_TIMEOUT(server.binaryMessages.size(), 1, 5000);
    QCOMPARE(client.handle(T0, QByteArray::fromHex("04f00000")), 0);
    QCOMPARE(states.last(), (QList<QVariant> { 8, 3, 0 }));
    QCOMPARE(client.lastRadarCommand(), 0);
    QCOMPARE(client.validFrames(), quint64(1));
}

void TestIVantorSerialConnectionClient::acksHandledBeforeFrames()
{
    LocalWebSocketServer server;
    QelProbe client;
    QVERIFY(connectClient(server, client));
    client.sendCmdRestart();
    QTRY_COMPARE_WITH_TIMEOUT(server.binaryMessages.size(), 1, 5000);
    QStringList log;
    recordSignals(&client, &log);
    // The acknowledgement follows the frame on the wire but finishes the command first.
    QCOMPARE(client.handle(T0, wireFrame(0x600, bits(1500, 32, 32)) + ackWire(0x4F0, 0)), 1);
    QCOMPARE(log,
        (QStringList {
            "frameStarted()", "command(9,3,0)", "uptimeInfo(0,0,0,1,500)", "frameFinished()" }));
}

void TestIVantorSerialConnectionClient::ackCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<int>>("report");
    QTest::newRow("accepted") << 0 << QList<int> { 9, 3, 0 };
    QTest::newRow("busy") << 255 << QList<int> { 9, 2, 255 };
    QTest::newRow("error 1") << 1 << QList<int> { 9, 2, 1 };
    QTest::newRow("error 254") << 254 << QList<int> { 9, 2, 254 };
}

void TestIVantorSerialConnectionClient::ackCodes()
{
    QFETCH(int, code);
    QFETCH(QList<int>, report);

    LocalWebSocketServer server;
    PmxProbe client;
    QVERIFY(connectClient(server, client));
    QSignalSpy states(&client, &IVantorClient::radarCommandStateChanged);
    client.sendCmdRestart();
    QTRY_COMPARE_WITH_TIMEOUT(server.binaryMessages.size(), 1, 5000);
    // The acknowledgement comes in front of an ordinary frame.
    QCOMPARE(client.handle(T0, ackWire(0x3F0, quint8(code)) + wireFrame(0x2FF, 0)), 1);
    QCOMPARE(states.last(), (QList<QVariant> { report[0], report[1], report[2] }));
}

void TestIVantorSerialConnectionClient::responseMustArriveInOneMessage()
{
    QelProbe client;
    QStringList log;
    recordSignals(&client, &log);
    const QByteArray info = deviceInfoWire(0x500, 0x0033, "FW 2.0");
    QCOMPARE(client.handle(T0, info.left(22)), 1);
    QCOMPARE(client.handle(T0, info.mid(22)), 1);
    QCOMPARE(withoutFrameMarks(log), QStringList());
    QCOMPARE(client.handle(T0, info), 1);
    QCOMPARE(withoutFrameMarks(log), QStringList { "firmwareInfo(FW 2.0)" });
}

void TestIVantorSerialConnectionClient::responseGroups_data()
{
    QTest::addColumn<QByteArray>("area");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("azimuth 27000") << setupResponse(0x500, 0, false, 0, false, 0, false, 27000, 0,
        0) << 1 << QStringList { "radarPosition(0,0,0,-90,0,0)" };
    QTest::newRow("exactly 180") << setupResponse(0x500, 0, false, 0, false, 0, false, 18000, 18001,
        65535) << 1 << QStringList { "radarPosition(0,0,0,180,-179.99,295.35)" };
    QTest::newRow("negative lengths") << setupResponse(0x500, 0x1FFFF, true, 0x3FFFF, true, 1, true,
        0, 0, 0) << 1 << QStringList { "radarPosition(-1310.71,-2621.43,-0.01,0,0,0)" };
    // The object after the duplicate key is not handled.
    QTest::newRow("duplicate response key")
        << readResponseWire(0x500, 148, 2, 4, 12) + responsePart(0x500, 0x2B1C, 0)
            + objectFrame(0x610, 1, 8192, 8192, 1024, 1024, 0)
        << -1 << QStringList { "radarSensitivity(12)", "freeCommandValue(2,148,4,12)" };
    QTest::newRow("complete and incomplete groups")
        << deviceInfoWire(0x500, 0x006A, "HW-1").left(33)
            + setupResponse(0x500, 650, false, 100, false, 200, true, 27000, 500, 35900)
        << 1 << QStringList { "radarPosition(6.5,1,-2,-90,5,-1)" };
    // On the wire in the reverse of the handling order: position, read, hardware, firmware.
    QTest::newRow("groups handled in fixed order")
        << deviceInfoWire(0x500, 0x0033, "FW") + deviceInfoWire(0x500, 0x006A, "HW")
            + readResponseWire(0x500, 151, 2, 0, 1)
            + setupResponse(0x500, 100, false, 0, false, 0, false, 0, 0, 0)
        << 1
        << QStringList { "radarPosition(1,0,0,0,0,0)", "imitatorModeChanged(1)",
               "freeCommandValue(2,151,0,1)", "hardwareInfo(HW)", "firmwareInfo(FW)" };
}

void TestIVantorSerialConnectionClient::responseGroups()
{
    QFETCH(QByteArray, area);
    QFETCH(int, result);
    QFETCH(QStringList, expected);
    QelProbe client;
    QStringList log;
    recordSignals(&client, &log);
    QCOMPARE(client.handle(T0, area), result);
    QCOMPARE(client.objectCount(), 0);
    QCOMPARE(withoutFrameMarks(log), expected);
}

void TestIVantorSerialConnectionClient::deviceInfo_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short") << QByteArray("VR-7") << "VR-7";
    QTest::newRow("stops at first zero") << QByteArray("AB\0CD", 5) << "AB";
    QTest::newRow("all 24 characters")
        << QByteArray("abcdefghijklmnopqrstuvwx") << "abcdefghijklmnopqrstuvwx";
    QTest::newRow("Latin-1") << QByteArray("caf\xe9") << QString::fromLatin1("caf\xe9");
    QTest::newRow("empty") << QByteArray() << "";
}

void TestIVantorSerialConnectionClient::deviceInfo()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    QelProbe client;
    QSignalSpy hardware(&client, &IVantorClient::hardwareInfo);
    QSignalSpy firmware(&client, &IVantorClient::firmwareInfo);
    QCOMPARE(client.handle(T0, deviceInfoWire(0x500, 0x006A, text)), 1);
    QCOMPARE(hardware.count(), 1);
    QCOMPARE(hardware.first().first().toString(), expected);
    QCOMPARE(firmware.count(), 0);
}

void TestIVantorSerialConnectionClient::readResponse_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("paramType");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("expected");

    const auto row = [](const char *name, int action, int type, int number, int value,
                         const QString &signal, int status = 1) {
        QStringList expected;
        if (!signal.isEmpty())
            expected << signal;
        if ((status & 0xF) != 0 && type >= 2 && type <= 5)
            expected << QStringLiteral("freeCommandValue(%1,%2,%3,%4)")
                            .arg(type)
                            .arg(action)
                            .arg(number)
                            .arg(value);
        QTest::newRow(name) << action << type << number << value << status << expected;
    };
    row("self diagnostics", 150, 2, 0, 0x12345, "selfDiagnosticsResult(9029)");
    row("imitator mode", 151, 2, 0, 0x102, "imitatorModeChanged(2)");
    row("fake targets on", 0, 2, 68, 5, "fakeTargetsModeChanged(true)");
    row("fake targets off", 0, 4, 68, 0, "fakeTargetsModeChanged(false)");
    row("frequency index", 65, 2, 36, -3, "frequencyIndex(-3)");
    row("sensitivity", 148, 2, 4, 40, "radarSensitivity(40)");
    row("polygon usage", 70, 2, 0, 0x1FF, "polygonUsage(255)");
    row("polygon treat", 70, 2, 25, 0x107, "polygonTreatParam(7,1,7)");
    row("polygon speed", 70, 3, 52, 1500000, "polygonSpeedParam(2,1,1.5)");
    row("polygon speed negative", 70, 5, 34, -250000, "polygonSpeedParam(0,0,-0.25)");
    row("polygon point", 71, 3, 137, -3250000, "polygonPointParam(1,9,-3.25)");
    row("calibration command", 254, 2, 0, 6, "calibrationCommand(6)");
    row("calibration state", 254, 2, 1, 2, "calibrationState(2)");
    row("calibration last", 254, 2, 12, 77, "calibrationLastParam(4,77)");
    row("calibration current", 254, 2, 16, -9, "calibrationCurrParam(0,-9)");
    row("debug variable", 255, 3, 200, 123456, "debugVariableValue(200,123456)");
    row("unmatched pair", 66, 2, 1, 5, "");
    row("speed number read as integer", 70, 2, 52, 5, "");
    row("treat number read as fixed-point", 70, 3, 25, 5, "");
    row("calibration 13", 254, 2, 13, 5, "");
    row("point action with treat kind", 71, 2, 137, 5, "");
    row("status nibble zero", 65, 2, 36, 3, "", 0);
    row("write echo ignored", 65, 0, 36, 3, "");
    row("write fixed-point echo ignored", 255, 1, 3, 3, "");
    row("paramType 6 ignored", 255, 6, 3, 3, "");
    row("high status nibble", 65, 2, 36, 3, "frequencyIndex(3)", 8);
    row("only bits above the nibble", 65, 2, 36, 3, "", 0xF0);
}

void TestIVantorSerialConnectionClient::readResponse()
{
    QFETCH(int, action);
    QFETCH(int, paramType);
    QFETCH(int, number);
    QFETCH(int, value);
    QFETCH(int, status);
    QFETCH(QStringList, expected);

    QelProbe client;
    QStringList log;
    recordSignals(&client, &log);
    const QByteArray wire = readResponseWire(0x500, action, paramType, number, value, status);
    QCOMPARE(client.handle(T0, wire), 1);
    QCOMPARE(withoutFrameMarks(log), expected);

    // Without part 0 the group is incomplete.
    log.clear();
    QCOMPARE(client.handle(T0, wire.mid(11)), 1);
    QCOMPARE(withoutFrameMarks(log), QStringList());
}

void TestIVantorSerialConnectionClient::identifier0x500PerVariant()
{
    const QByteArray frame = wireFrame(0x500, bits(90061001, 32, 32) | 0x2B1B);
    QelProbe q;
    QSignalSpy qUptime(&q, &IVantorClient::uptimeInfo);
    QCOMPARE(q.handle(T0, frame + frame), -1); // a response part, the second a duplicate key
    QCOMPARE(qUptime.count(), 0);

    PmxProbe p;
    QSignalSpy pUptime(&p, &IVantorClient::uptimeInfo);
    QCOMPARE(p.handle(T0, frame + frame), 1);
    QCOMPARE(pUptime.count(), 2);
    QCOMPARE(pUptime.first(), (QList<QVariant> { 1, 1, 1, 1, 1 }));
}

void TestIVantorSerialConnectionClient::wrongVariantReportsWrongProtocol()
{
    PmxProbe client;
    QSignalSpy states(&client, &IVantorClient::radarStateChanged);
    const QByteArray cycle = wireFrame(0x3FF, 0) + wireFrame(0x600, bits(1000, 32, 32))
        + wireFrame(0x601, bits(1, 32, 32)) + objectFrame(0x610, 0, 8192, 8192, 1024, 1024, 10);
    for (int i = 0; i < 3; ++i)
        QMetaObject::invokeMethod(&client, "onServerDataReceived", Q_ARG(QByteArray, cycle));
    QCOMPARE(states.count(), 1);
    QCOMPARE(states.first().first().toInt(), -1);
    QCOMPARE(client.objectCount(), 0);
    QCOMPARE(client.validFrames(), quint64(0));
    QCOMPARE(client.totalFrames(), quint64(3));
}

void TestIVantorSerialConnectionClient::unreadableMessages_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<bool>>("changes");
    QTest::addColumn<int>("state");

    // "random": 200 messages of 64 random bytes, the 200 messages a second;
    // "radar": three messages with a new cycle each; "empty": three messages without a
    // byte; "acks": three acknowledgement-only messages; "close": disconnecting.
    QTest::newRow("random bytes") << QStringList { "random" } << QList<bool> { true } << 0;
    QTest::newRow("then a working radar")
        << QStringList { "random", "radar" } << QList<bool> { true, false } << 2;
    QTest::newRow("then empty messages")
        << QStringList { "random", "empty" } << QList<bool> { true, false } << 0;
    QTest::newRow("then acknowledgements only")
        << QStringList { "random", "acks" } << QList<bool> { true, false } << 0;
    QTest::newRow("then disconnecting")
        << QStringList { "random", "close" } << QList<bool> { true, false } << 0;
    QTest::newRow("radar taken over by random bytes")
        << QStringList { "radar", "random" } << QList<bool> { true } << 0;
    QTest::newRow("a radar alone") << QStringList { "radar" } << QList<bool> {} << 2;
}

void TestIVantorSerialConnectionClient::unreadableMessages()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<bool>, changes);
    QFETCH(int, state);
    QelProbe client;
    QSignalSpy unreadable(&client, &IVantorClient::messagesUnreadableChanged);
    const auto receive = [&client](const QByteArray &message) {
        QMetaObject::invokeMethod(&client, "onServerDataReceived", Q_ARG(QByteArray, message));
    };
    QRandomGenerator random(22);
    quint32 cycle = 0;
    for (const QString &step : steps) {
        if (step == QLatin1String("random")) {
            for (int i = 0; i < 200; ++i) {
                QByteArray message(64, Qt::Uninitialized);
                for (char &byte : message)
                    byte = char(random.bounded(256));
                receive(message);
            }
        } else if (step == QLatin1String("radar")) {
            for (int i = 0; i < 3; ++i)
                receive(wireFrame(0x601, bits(++cycle, 32, 32)));
        } else if (step == QLatin1String("close")) {
            client.disconnectFromServer();
        } else {
            for (int i = 0; i < 3; ++i)
                receive(step == QLatin1String("acks") ? ackWire(0x4F0, 0) : QByteArray());
        }
    }
    QList<bool> changed;
    for (const QList<QVariant> &arguments : qAsConst(unreadable))
        changed.append(arguments.at(0).toBool());
    QCOMPARE(changed, changes);
    QCOMPARE(client.radarState(), state);
}

void TestIVantorSerialConnectionClient::canStatistics()
{
    QelProbe client;
    QSignalSpy infos(&client, &VantorSerialQelProtocolClient::canMessageInfo);
    QSignalSpy stats(&client, &IVantorClient::frameStats);
    const QByteArray object = objectFrame(0x620, 3, 1, 2, 3, 4, 5);
    const QByteArray sync = wireFrame(0x3FF, 0x0102030405060708);
    QCOMPARE(client.handle(T0, object + sync + wireFrame(0x3FF, 0)), 1);
    QCOMPARE(infos.count(), 0);
    QCOMPARE(stats.count(), 0);

    client.setEmitStatsEnabled(true);
    const QByteArray bad = wireFrame(0x77, 0);
    QCOMPARE(client.handle(T0.addSecs(1), sync + bad), -1);
    QCOMPARE(infos.count(), 2);
    QCOMPARE(infos.at(0), (QList<QVariant> { quint16(0x3FF), quint64(3), sync, T0.addSecs(1) }));
    QCOMPARE(infos.at(1), (QList<QVariant> { quint16(0x620), quint64(1), object, T0 }));
    QCOMPARE(stats.count(), 1);
    QCOMPARE(stats.first(), (QList<QVariant> { quint64(0), quint64(1) }));
    QCOMPARE(client.canStatistics().size(), 2);

    client.resetStatistics();
    QCOMPARE(client.canStatistics().size(), 0);
    QCOMPARE(client.validFrames(), quint64(0));
}

void TestIVantorSerialConnectionClient::readRoundTripThroughServer()
{
    LocalWebSocketServer server;
    // The test server answers a read: acknowledgement, then the three response parts
    // echoing the request's action, type and number.
    connect(&server, &LocalWebSocketServer::binaryReceived, &server,
        [&server](const QByteArray &request) {
            if (request.size() != 11 || request.left(3) != QByteArray::fromHex("04f208"))
                return;
            const int action = quint8(request.at(7));
            const int type = quint8(request.at(8));
            const int number = quint8(request.at(9));
            server.sendBinary(TimeStampHeader::encode(T0) + ackWire(0x4F0, 0)
                + readResponseWire(0x500, action, type, number, -17));
        });
    VantorSerialQelProtocolClient client;
    QSignalSpy sensitivity(&client, &IVantorClient::radarSensitivity);
    QSignalSpy speed(&client, &IVantorClient::polygonSpeedParam);
    QSignalSpy states(&client, &IVantorClient::radarCommandStateChanged);
    QVERIFY(connectClient(server, client));

    client.sendCmdGetRadarSensitivity();
    client.sendCmdGetPolygonSpeedParam(6, 2);
    QTRY_COMPARE_WITH_TIMEOUT(speed.count(), 1, 5000);
    QCOMPARE(sensitivity.count(), 1);
    QCOMPARE(sensitivity.first().first().toInt(), -17);
    QCOMPARE(speed.first(), (QList<QVariant> { quint8(6), quint8(2), -0.000017 }));
    QVERIFY(states.contains(QList<QVariant> { 23, 3, 0 }));
    QVERIFY(states.contains(QList<QVariant> { (6 << 24) + (2 << 16) + 31, 3, 0 }));
    QCOMPARE(client.lastRadarCommand(), 0);
}

void TestIVantorSerialConnectionClient::positionRoundTripThroughServer()
{
    LocalWebSocketServer server;
    connect(&server, &LocalWebSocketServer::binaryReceived, &server,
        [&server](const QByteArray &request) {
            if (request != wireFrame(0x3F2, bits(42, 8, 8) | bits(2, 32, 32)))
                return;
            server.sendBinary(ackWire(0x3F0, 0));
            server.sendBinary(
                setupResponse(0x400, 725, false, 150, true, 300, false, 35000, 1050, 100));
        });
    VantorSerialPmxProtocolClient client;
    QSignalSpy position(&client, &IVantorClient::radarPosition);
    QSignalSpy states(&client, &IVantorClient::radarCommandStateChanged);
    QVERIFY(connectClient(server, client));
    client.sendCmdGetPosition();
    QVERIFY(position.wait(5000));
    QCOMPARE(position.first(), (QList<QVariant> { 7.25, -1.5, 3.0, -10.0, 10.5, 1.0 }));
    for (int id : { 13, 15, 11, 17, 19, 21 })
        QVERIFY(states.contains(QList<QVariant> { id, 3, 0 }));
}

QTEST_GUILESS_MAIN(TestIVantorSerialConnectionClient)
#include "tst_ivantorserialconnectionclient.moc"
