// Handling of binary messages that each hold one radar cycle, through the client's own
// message path (header, frame area split, decoding, object map, state and signals), and
// through the frame decoder alone.
#include "protocolvariant.h"
#include "radarframedecoder.h"
#include "timestampheader.h"
#include "vantorserialqelprotocolclient.h"
#include "wireframes.h"

#include <QMetaMethod>

#include <benchmark/benchmark.h>

namespace {

constexpr int ObjectsPerCycle = 64;
constexpr int FramesPerCycle = ObjectsPerCycle + 3;
constexpr int DistinctMessages = 1024;

// One cycle: synchronisation, sensor control (uptime), object control (cycle number) and
// 64 object frames, behind the server's time-stamp header.
QByteArray cycleMessage(quint32 cycle, const QDateTime &time)
{
    const ProtocolVariant &q = ProtocolVariant::TypeQ;
    QByteArray message = TimeStampHeader::encode(time);
    message += WireFrames::wireFrame(q.synchronizationCanId, 0);
    message += WireFrames::wireFrame(q.sensorControlCanId, quint64(cycle * 50u) << 32);
    message += WireFrames::wireFrame(q.objectControlCanId, quint64(cycle) << 32);
    for (quint64 id = 0; id < ObjectsPerCycle; ++id) {
        const quint64 xRange = 8192 + 100 + id * 20 + cycle % 7;
        const quint64 yRange = 8192 + (id % 4) * 55;
        const quint64 xSpeed = 1024 + 150 + id;
        const quint64 ySpeed = 1024 - 2;
        const quint64 length = 20 + id % 40;
        message += WireFrames::wireFrame(quint16(q.roadObjectCanIdMin + id),
            xRange | yRange << 14 | xSpeed << 28 | ySpeed << 39 | length << 50 | id << 58);
    }
    return message;
}

// A receiver of the frame signals, as the tables and views connect them.
class Receiver : public QObject
{
public:
    quint64 objects = 0;
    quint64 frames = 0;
    double lastX = 0.0;

    void onObject(quint8, double, double, double xRange, double, double, const QDateTime &)
    {
        ++objects;
        lastX = xRange;
    }
    void onFrameFinished() { ++frames; }
};

void BM_CycleMessages(benchmark::State &state)
{
    VantorSerialQelProtocolClient client;
    Receiver receiver;
    QObject::connect(&client, &IVantorClient::objectData, &receiver, &Receiver::onObject);
    QObject::connect(&client, &IVantorClient::frameFinished, &receiver, &Receiver::onFrameFinished);

    QList<QByteArray> messages;
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < DistinctMessages; ++i)
        messages << cycleMessage(quint32(i + 1), start.addMSecs(50 * i));

    // The slot that receives binary messages from the socket.
    const QMetaObject *meta = client.metaObject();
    const QMetaMethod handler
        = meta->method(meta->indexOfMethod("onServerDataReceived(QByteArray)"));
    if (!handler.isValid()) {
        state.SkipWithError("message handler not found");
        return;
    }

    // Three cycles bring the radar to the working state; from then on every message
    // emits its 64 objects.
    int next = 0;
    for (; next < 3; ++next)
        handler.invoke(&client, Qt::DirectConnection, Q_ARG(QByteArray, messages.at(next)));
    for (auto _ : state) {
        handler.invoke(&client, Qt::DirectConnection, Q_ARG(QByteArray, messages.at(next)));
        next = (next + 1) % DistinctMessages;
    }
    if (client.radarState() != IVantorClient::Working
        || receiver.objects < quint64(ObjectsPerCycle)) {
        state.SkipWithError("the messages did not bring the radar to work");
        return;
    }
    benchmark::DoNotOptimize(receiver.lastX);
    state.counters["frames"] = benchmark::Counter(
        double(state.iterations()) * FramesPerCycle, benchmark::Counter::kIsRate);
    state.counters["messages"]
        = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CycleMessages);

void BM_DecodeCycle(benchmark::State &state)
{
    RadarFrameDecoder decoder(VantorSerialQelProtocolClient().decoderCanIds());
    RadarFrameDecoder::Result result;

    QList<QByteArray> areas;
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < DistinctMessages; ++i)
        areas << cycleMessage(quint32(i + 1), start.addMSecs(50 * i)).mid(TimeStampHeader::Size);

    int next = 0;
    for (auto _ : state) {
        const QByteArray &area = areas.at(next);
        decoder.decode(reinterpret_cast<const quint8 *>(area.constData()), area.size(), result);
        benchmark::DoNotOptimize(result.objects.data());
        next = (next + 1) % DistinctMessages;
    }
    if (result.objects.size() != size_t(ObjectsPerCycle) || result.state != 2) {
        state.SkipWithError("the cycles did not decode");
        return;
    }
    state.counters["frames"] = benchmark::Counter(
        double(state.iterations()) * FramesPerCycle, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeCycle);

} // namespace
