// Everything the radar simulator reads from outside: the text and binary messages of a
// client, handled as the server's client socket hands them on (its message signals), the
// command frames the emulated radar then executes, the road file (--road), the radar's
// saved state (--state) and a recording to replay (--replay).
//
// One server runs for the whole fuzzing run with two clients on real sockets: a hostile one,
// whose messages come from the fuzz bytes, and a bystander. Checked besides memory errors,
// undefined behaviour and hangs: after every input the server still has both clients and
// answers the bystander's state request; every message the radar sends is a whole frame
// area (acknowledgements and frames of up to 8 payload bytes, nothing left over); a file the
// simulator refuses comes with a reason; a state that loads saves back to what it loaded; a
// recording plays no more messages than it holds lines.

#include "fuzzcheck.h"
#include "radaremulator.h"
#include "recordingplayer.h"
#include "roadbuilder.h"
#include "roadconfigfile.h"
#include "simserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QWebSocket>

#include <cstdint>
#include <cstring>

namespace {

struct Session
{
    QTemporaryDir dir;
    SimServer *server = nullptr;
    QWebSocket hostile;
    QWebSocket bystander;
    QWebSocket *hostileOnServer = nullptr;
    int bystanderReplies = 0;
};

Session *session = nullptr;

// Runs the event loop until `done` or the time is up; false when the time ran out.
template<typename Predicate> bool waitFor(Predicate done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void ignoreMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = session->dir.filePath(name);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    return path;
}

// Acknowledgements (identifier, two bytes) and frames (identifier, length byte, at most 8
// payload bytes), to the end exactly.
void checkFrameArea(const QByteArray &area)
{
    int pos = 0;
    while (pos < area.size()) {
        FUZZ_CHECK(pos + 4 <= area.size());
        const quint16 id = quint16(quint8(area.at(pos)) << 8 | quint8(area.at(pos + 1)));
        if (id == RadarVariant(RadarVariant::TypeQ).ackMessageCanId()
            || id == RadarVariant(RadarVariant::TypeP).ackMessageCanId()) {
            pos += 4;
            continue;
        }
        const int length = quint8(area.at(pos + 2));
        FUZZ_CHECK(length <= 8);
        pos += 3 + length;
    }
    FUZZ_CHECK(pos == area.size());
}

RadarEmulator::Settings radarSettings(uint8_t flags)
{
    RadarEmulator::Settings settings;
    settings.variant = RadarVariant(flags & 1 ? RadarVariant::TypeP : RadarVariant::TypeQ);
    settings.restartMs = 0;
    settings.calibrationMs = 0;
    settings.faults.busyAcks = (flags >> 1) & 1;
    settings.faults.stuckCycle = flags & 4;
    settings.faults.wrongVariant = flags & 8;
    settings.traffic.maxLoad = flags & 16;
    return settings;
}

// The bystander asks for the server state and must get its answer.
void checkBystander()
{
    FUZZ_CHECK(session->server->clientCount() == 2);
    const int before = session->bystanderReplies;
    session->bystander.sendTextMessage(QStringLiteral("{\"command\": 1}"));
    FUZZ_CHECK(waitFor([before] { return session->bystanderReplies > before; }));
    FUZZ_CHECK(session->server->clientCount() == 2);
}

// Records of a kind byte, a 16-bit length and the bytes: kind % 4 = 0 a text message, 1 a
// binary message, 2 a measurement cycle, 3 the radar restarts its cycle timer.
void runMessages(uint8_t flags, const uint8_t *data, size_t size)
{
    RadarEmulator radar(radarSettings(flags));
    QMap<int, QPolygonF> lanes;
    RoadBuilder builder;
    QObject::connect(&builder, &RoadBuilder::laneCenterLines,
        [&lanes](const QMap<int, QPolygonF> &lines) { lanes = lines; });
    builder.setRoadConfig(RoadConfigFile::defaultRoad());
    radar.setLanes(lanes);
    QObject::connect(&radar, &RadarEmulator::radarMessage, &checkFrameArea);
    QObject::connect(
        &radar, &RadarEmulator::radarMessage, session->server, &SimServer::sendRadarMessage);
    QObject::connect(
        session->server, &SimServer::commandFrameReceived, &radar, &RadarEmulator::receiveFrame);

    size_t pos = 0;
    while (pos + 3 <= size) {
        const uint8_t kind = data[pos];
        const size_t length = std::min<size_t>(size - pos - 3, data[pos + 1] << 8 | data[pos + 2]);
        const QByteArray bytes(reinterpret_cast<const char *>(data + pos + 3), int(length));
        pos += 3 + length;
        switch (kind % 4) {
        case 0:
            emit session->hostileOnServer->textMessageReceived(QString::fromUtf8(bytes));
            break;
        case 1:
            emit session->hostileOnServer->binaryMessageReceived(bytes);
            break;
        case 2:
            radar.runCycle();
            break;
        case 3:
            radar.start();
            break;
        }
    }
    radar.runCycle();
    // A restart the commands asked for finishes on the event loop.
    QCoreApplication::processEvents();
    radar.runCycle();
    radar.stop();
}

// As RadarSimulator starts the emulated radar with --road.
void runRoadFile(uint8_t flags, const QByteArray &bytes)
{
    const QString path = writeFile(QStringLiteral("road.json"), bytes);
    QJsonObject road;
    QString error;
    if (!RoadConfigFile::read(path, &road, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return;
    }
    QMap<int, QPolygonF> lanes;
    RoadBuilder builder;
    QObject::connect(&builder, &RoadBuilder::laneCenterLines,
        [&lanes](const QMap<int, QPolygonF> &lines) { lanes = lines; });
    builder.setRoadConfig(road);
    if (lanes.isEmpty())
        builder.setRoadConfig(RoadConfigFile::defaultRoad());
    RadarEmulator radar(radarSettings(flags));
    QObject::connect(&radar, &RadarEmulator::radarMessage, &checkFrameArea);
    radar.setLanes(lanes);
    radar.start();
    for (int i = 0; i < 5; ++i)
        radar.runCycle();
    radar.stop();
    FUZZ_CHECK(radar.vehicleCount() >= 0 && radar.vehicleCount() <= TrafficModel::MaxIds);
}

// As RadarSimulator starts the emulated radar with --state.
void runStateFile(uint8_t flags, const QByteArray &bytes)
{
    RadarEmulator::Settings settings = radarSettings(flags);
    settings.stateFile = writeFile(QStringLiteral("state.json"), bytes);
    RadarEmulator radar(settings);
    QString error;
    if (!radar.loadState(&error)) {
        FUZZ_CHECK(!error.isEmpty());
        return;
    }
    const QJsonObject saved = radar.parameters().savedToJson();
    ParameterStore again;
    int skipped = 0;
    FUZZ_CHECK(again.loadSaved(saved, &error, &skipped));
    FUZZ_CHECK(skipped == 0 && again.savedToJson() == saved);
    QObject::connect(&radar, &RadarEmulator::radarMessage, &checkFrameArea);
    radar.runCycle();
}

// As RadarSimulator replays a recording: at the given speed, possibly looping, until it
// ends or for at most 100 ms.
void runReplay(uint8_t flags, const QByteArray &bytes)
{
    RecordingPlayer player;
    QString error;
    if (!player.open(writeFile(QStringLiteral("replay.jsonl"), bytes), &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return;
    }
    player.setSpeed(flags & 1 ? 1000.0 : 100.0);
    player.setLoop(flags & 2);
    player.setRestamp(flags & 4);
    player.setPlayText(false);
    QObject::connect(
        &player, &RecordingPlayer::binaryMessage, session->server, &SimServer::sendRecordedMessage);
    quint64 emitted = 0;
    QObject::connect(
        &player, &RecordingPlayer::binaryMessage, [&emitted](const QByteArray &) { ++emitted; });
    bool finished = false;
    QObject::connect(&player, &RecordingPlayer::finished, [&finished] { finished = true; });
    player.start();
    waitFor([&finished] { return finished; }, 100);
    player.stop();
    FUZZ_CHECK(emitted == player.playedCount());
    if (!(flags & 2))
        FUZZ_CHECK(emitted <= quint64(bytes.count('\n') + 1));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    qInstallMessageHandler(ignoreMessages);
    session = new Session;
    FUZZ_CHECK(session->dir.isValid());

    SimServer::Settings settings;
    settings.port = 0;
    settings.stateStepMs = 0;
    session->server = new SimServer(settings);
    QString error;
    FUZZ_CHECK(session->server->listen(&error));
    QObject::connect(&session->bystander, &QWebSocket::textMessageReceived,
        [](const QString &) { ++session->bystanderReplies; });

    session->hostile.open(session->server->url());
    FUZZ_CHECK(waitFor([] { return session->server->clientCount() == 1; }));
    session->hostileOnServer = session->server->findChild<QWebSocket *>();
    FUZZ_CHECK(session->hostileOnServer);
    session->bystander.open(session->server->url());
    FUZZ_CHECK(waitFor([] { return session->server->clientCount() == 2; }));
    return 0;
}

// Byte 0: what the rest is (% 4: 0 client messages, 1 road file, 2 state file, 3
// recording); byte 1: the radar variant and faults, or the replay's speed and loop.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data + 2), int(size - 2));
    switch (data[0] % 4) {
    case 0:
        runMessages(data[1], data + 2, size - 2);
        break;
    case 1:
        runRoadFile(data[1], rest);
        break;
    case 2:
        runStateFile(data[1], rest);
        break;
    case 3:
        runReplay(data[1], rest);
        break;
    }
    checkBystander();
    return 0;
}
