// Feeds a sequence of server messages and commands through a serial radar client of either
// protocol variant, without a socket: binary messages go to the client's binary message
// handler, text messages to its text handler, as if they had arrived on the WebSocket.
//
// Input: byte 0 selects the variant (bit 0: type P instead of type Q), statistics (bit 1)
// and object emission (bit 2 clear). Then records of a kind byte and a 16-bit big-endian
// length (cut to what is left) followed by that many bytes:
//   kind % 8 == 0, 1, 2: binary message      kind % 8 == 3: text message (UTF-8)
//   kind % 8 == 4: sendAnyCmdWithNoArgs(first byte)
//   kind % 8 == 5: sendAnySwitchCmd(first byte, second byte)
//   kind % 8 == 6: command setters with numbers read from the bytes (raw doubles and ints,
//                  so NaN, infinities and extremes come in as they would from a profile)
//   kind % 8 == 7: resetStatistics()
//
// Checked besides memory errors, leaks and undefined behaviour: every binary message is one
// frame (frameStarted ... frameFinished), objects come in ascending identifier order with
// identifiers up to 63, the radar state is -1..2, and every text message yields exactly one
// serverCommandResult.

#include "fuzzcheck.h"
#include "fuzzreader.h"
#include "ivantorclient.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QMetaObject>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void sendSetters(IVantorClient &client, const uint8_t *data, size_t size)
{
    FuzzReader in(data, size);
    const auto id = in.take<quint8>();
    const auto param = in.take<quint8>();
    const auto number = in.take<int>();
    const auto value = in.take<double>();
    client.sendCmdSetRadarSensitivity(number);
    client.sendCmdSetFrequencyIndex(number);
    client.sendCmdSetPolygonUsage(id);
    client.sendCmdSetPolygonTreatParam(id, param, quint8(number));
    client.sendCmdGetPolygonTreatParam(id, param);
    client.sendCmdSetPolygonSpeedParam(id, param, value);
    client.sendCmdGetPolygonSpeedParam(id, param);
    client.sendCmdSetPolygonPointParam(id, param, value);
    client.sendCmdGetPolygonPointParam(id, param);
    client.sendCmdSetCalibrationCommand(number);
    client.sendCmdSetCalibrationLastParam(param, number);
    client.sendCmdGetCalibrationLastParam(param);
    client.sendCmdGetCalibrationCurrParam(param);
    client.sendCmdSetDebugVariableValue(id, number);
    client.sendCmdGetDebugVariableValue(id);
    client.sendCmdFreeCommand(id, param, quint8(number), number);
    const auto xOffset = in.take<double>();
    const auto yOffset = in.take<double>();
    const auto azimuth = in.take<double>();
    const auto altitude = in.take<double>();
    const auto roll = in.take<double>();
    client.sendCmdSetPosition(value, xOffset, yOffset, azimuth, altitude, roll);
    client.sendCmdGetPosition();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    std::unique_ptr<IVantorClient> client;
    if (data[0] & 1)
        client = std::make_unique<VantorSerialPmxProtocolClient>();
    else
        client = std::make_unique<VantorSerialQelProtocolClient>();
    client->setEmitStatsEnabled(data[0] & 2);
    client->setEmitObjectsEnabled(!(data[0] & 4));

    int openFrames = 0;
    int finishedFrames = 0;
    int lastObject = -1;
    int results = 0;
    QObject::connect(client.get(), &IVantorClient::frameStarted, [&] {
        FUZZ_CHECK(openFrames == 0);
        ++openFrames;
        lastObject = -1;
    });
    QObject::connect(client.get(), &IVantorClient::objectData,
        [&](quint8 id, double, double, double, double, double, const QDateTime &) {
            FUZZ_CHECK(openFrames == 1 && id <= 63 && int(id) > lastObject);
            lastObject = id;
        });
    QObject::connect(client.get(), &IVantorClient::frameFinished, [&] {
        FUZZ_CHECK(openFrames == 1);
        --openFrames;
        ++finishedFrames;
    });
    QObject::connect(client.get(), &IVantorClient::radarStateChanged,
        [](int state) { FUZZ_CHECK(state >= -1 && state <= 2); });
    QObject::connect(client.get(), &IVantorClient::serverCommandResult,
        [&results](int, bool, int, const QString &) { ++results; });

    size_t position = 1;
    while (position + 3 <= size) {
        const uint8_t kind = data[position] % 8;
        const size_t length
            = qMin<size_t>(data[position + 1] << 8 | data[position + 2], size - position - 3);
        const uint8_t *body = data + position + 3;
        position += 3 + length;

        switch (kind) {
        case 3: {
            const int before = results;
            const QString text
                = QString::fromUtf8(reinterpret_cast<const char *>(body), int(length));
            FUZZ_CHECK(QMetaObject::invokeMethod(
                client.get(), "onServerTextReceived", Qt::DirectConnection, Q_ARG(QString, text)));
            FUZZ_CHECK(results == before + 1);
            break;
        }
        case 4:
            client->sendAnyCmdWithNoArgs(length > 0 ? body[0] : 0);
            break;
        case 5:
            client->sendAnySwitchCmd(length > 0 ? body[0] : 0, length > 1 ? body[1] : 0);
            break;
        case 6:
            sendSetters(*client, body, length);
            break;
        case 7:
            client->resetStatistics();
            break;
        default: {
            const int before = finishedFrames;
            // A copy of exactly the message's size, as the socket hands it over.
            const QByteArray message(reinterpret_cast<const char *>(body), int(length));
            FUZZ_CHECK(QMetaObject::invokeMethod(client.get(), "onServerDataReceived",
                Qt::DirectConnection, Q_ARG(QByteArray, message)));
            FUZZ_CHECK(openFrames == 0 && finishedFrames == before + 1);
            FUZZ_CHECK(client->radarState() >= -1 && client->radarState() <= 2);
            FUZZ_CHECK(client->objectCount() <= 64);
            break;
        }
        }
    }

    client.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
