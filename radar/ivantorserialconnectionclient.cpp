#include "ivantorserialconnectionclient.h"

#include "radarcommandencoder.h"
#include "radarframedecoder.h"
#include "radarparameters.h"

namespace {

using T = RadarCommandTable;
using Client = IVantorSerialConnectionClient;

// A result signal of the parameter read response, for the read command that asks for it.
struct ReadResult
{
    const T::Entry *entry;
    void (*emitValue)(Client &client, quint8 id, quint8 param, qint32 value);
};

const ReadResult ReadResults[] {
    { &T::GetDebugVariableValue,
        [](Client &c, quint8 id, quint8, qint32 v) { emit c.debugVariableValue(id, v); } },
    { &T::SelfDiagnostics,
        [](Client &c, quint8, quint8, qint32 v) {
            emit c.selfDiagnosticsResult(quint16(v & 0xFFFF));
        } },
    { &T::GetImitatorMode,
        [](Client &c, quint8, quint8, qint32 v) { emit c.imitatorModeChanged(quint8(v & 0xFF)); } },
    { &T::GetFakeTargetsMode,
        [](Client &c, quint8, quint8, qint32 v) { emit c.fakeTargetsModeChanged(v != 0); } },
    { &T::GetFrequencyIndex,
        [](Client &c, quint8, quint8, qint32 v) { emit c.frequencyIndex(v); } },
    { &T::GetRadarSensitivity,
        [](Client &c, quint8, quint8, qint32 v) { emit c.radarSensitivity(v); } },
    { &T::GetPolygonUsage,
        [](Client &c, quint8, quint8, qint32 v) { emit c.polygonUsage(quint8(v & 0xFF)); } },
    { &T::GetPolygonTreatParam,
        [](Client &c, quint8 id, quint8 param, qint32 v) {
            emit c.polygonTreatParam(id, param, quint8(v & 0xFF));
        } },
    { &T::GetCalibrationCommand,
        [](Client &c, quint8, quint8, qint32 v) { emit c.calibrationCommand(v); } },
    { &T::GetCalibrationState,
        [](Client &c, quint8, quint8, qint32 v) { emit c.calibrationState(v); } },
    { &T::GetCalibrationLastParam,
        [](Client &c, quint8, quint8 param, qint32 v) { emit c.calibrationLastParam(param, v); } },
    { &T::GetCalibrationCurrParam,
        [](Client &c, quint8, quint8 param, qint32 v) { emit c.calibrationCurrParam(param, v); } },
    { &T::GetPolygonSpeedParam,
        [](Client &c, quint8 id, quint8 param, qint32 v) {
            emit c.polygonSpeedParam(id, param, IVantorClient::protocolToDouble(v));
        } },
    { &T::GetPolygonPointParam,
        [](Client &c, quint8 id, quint8 param, qint32 v) {
            emit c.polygonPointParam(id, param, IVantorClient::protocolToDouble(v));
        } },
};

IVantorClient::CommandState ackCommandState(quint8 result)
{
    switch (result) {
    case AckMessage::Accepted:
        return IVantorClient::Received;
    case AckMessage::Busy:
        return IVantorClient::InProgress; // the head stays and is sent again
    default:
        return IVantorClient::Error;
    }
}

} // namespace

IVantorSerialConnectionClient::IVantorSerialConnectionClient(QObject *parent)
    : IVantorClient(parent)
{ }

IVantorSerialConnectionClient::~IVantorSerialConnectionClient() = default;

quint32 IVantorSerialConnectionClient::cycle() const
{
    return m_decoder ? m_decoder->cycle() : 0;
}

void IVantorSerialConnectionClient::resetStatistics()
{
    IVantorClient::resetStatistics();
    m_canStats.clear();
}

int IVantorSerialConnectionClient::doHandleRadarDataMessage(
    const QDateTime &frameTime, const QByteArray &frameArea)
{
    // Taken while in use: a receiver of the signals below may lead to another message
    // being handled, which then decodes into a result of its own.
    std::unique_ptr<RadarFrameDecoder::Result> frame = std::move(m_frame);
    if (!frame)
        frame = std::make_unique<RadarFrameDecoder::Result>();
    doDecoder().decode(
        reinterpret_cast<const quint8 *>(frameArea.constData()), frameArea.size(), *frame);

    doUpdateObjects(frameTime);
    emit frameStarted();
    emit frameDateTimeUtc(frameTime);
    for (const AckMessage &ack : frame->acks)
        doFinishRadarCommand(ackCommandState(ack.result), ack.result);
    for (const RadarFrameDecoder::ObjectReport &object : frame->objects)
        doAddObject(object.id, object.xSpeed, object.ySpeed, object.xRange, object.yRange,
            object.length, frameTime);
    for (const RadarFrameDecoder::ControlReport &control : frame->controls) {
        if (control.kind == RadarFrameDecoder::ControlReport::Cycle) {
            emit cycleNumber(control.value);
        } else {
            int days, hours, minutes, seconds, milliseconds;
            RadarFrameDecoder::splitUptime(
                control.value, &days, &hours, &minutes, &seconds, &milliseconds);
            emit uptimeInfo(days, hours, minutes, seconds, milliseconds);
        }
    }
    doStatCanMessages(*frame, frameTime);
    if (frame->isValid())
        doStatValidFrame();

    doEmitObjects();
    doEmitFrameStats();
    doEmitCanStats();
    emit frameFinished();
    doEmitResponses(*frame);

    if (frame->unreadable)
        doReportUnreadableMessage();
    const int result = frame->state;
    m_frame = std::move(frame);
    return result;
}

void IVantorSerialConnectionClient::doHandleRadarCommandState(
    int command, CommandState state, int error)
{
    const QList<int> &values = RadarCommandTable::positionValueCommands(command);
    if (values.isEmpty()) {
        emit radarCommandStateChanged(command, state, error);
        return;
    }
    for (int value : values)
        emit radarCommandStateChanged(value, state, error);
}

void IVantorSerialConnectionClient::doSendCommandMessage(
    int command, quint8 paramType, quint8 action, quint8 paramNumber, qint32 paramValue)
{
    doQueueRadarCommand(command,
        RadarCommandEncoder::commandFrame(
            commandCanId(), paramType, action, paramNumber, paramValue),
        CommandAttempts);
}

void IVantorSerialConnectionClient::doSendTableCommand(
    const RadarCommandTable::Entry &entry, qint32 value, quint8 id, quint8 param)
{
    const int number = RadarCommandTable::paramNumber(entry, id, param);
    if (number >= 0)
        doSendCommandMessage(RadarCommandTable::commandId(entry, id, param), entry.paramType,
            entry.action, quint8(number), value);
}

RadarFrameDecoder::CanIds IVantorSerialConnectionClient::decoderCanIds() const
{
    RadarFrameDecoder::CanIds ids;
    ids.synchronization = synchronizationCanId();
    ids.sensorControl = sensorControlCanId();
    ids.objectControl = objectControlCanId();
    ids.roadObjectMin = roadObjectCanIdMin();
    ids.roadObjectMax = roadObjectCanIdMax();
    ids.udtResponse = udtResponseCanId();
    ids.acks = ackMessageCanIds();
    return ids;
}

RadarFrameDecoder &IVantorSerialConnectionClient::doDecoder()
{
    // The variant's identifiers come from virtual functions, so not in the constructor.
    if (!m_decoder)
        m_decoder = std::make_unique<RadarFrameDecoder>(decoderCanIds());
    return *m_decoder;
}

void IVantorSerialConnectionClient::doEmitResponses(const RadarFrameDecoder::Result &frame)
{
    if (frame.position) {
        const RadarFrameDecoder::Position &p = *frame.position;
        emit radarPosition(p.height, p.xOffset, p.yOffset, p.azimuth, p.altitude, p.roll);
    }
    if (frame.paramValue)
        doEmitParamValue(*frame.paramValue);
    if (frame.hardwareInfo)
        emit hardwareInfo(*frame.hardwareInfo);
    if (frame.firmwareInfo)
        emit firmwareInfo(*frame.firmwareInfo);
}

void IVantorSerialConnectionClient::doEmitParamValue(const RadarFrameDecoder::ParamValue &read)
{
    // The first read command whose action, kind and parameter number match names the
    // result signal; a debug variable is answered whatever the kind.
    for (const ReadResult &row : ReadResults) {
        const RadarCommandTable::Entry &entry = *row.entry;
        if (entry.action != read.action)
            continue;
        if (entry.addressing != RadarCommandTable::Addressing::Variable
            && RadarCommandTable::isFixedPointRead(entry.paramType) != read.fixedPoint)
            continue;
        quint8 id = 0;
        quint8 param = 0;
        if (!RadarCommandTable::findParam(entry, read.paramNumber, &id, &param))
            continue;
        row.emitValue(*this, id, param, read.value);
        break;
    }
    emit freeCommandValue(read.paramType, read.action, read.paramNumber, read.value);
}

void IVantorSerialConnectionClient::doStatCanMessages(
    const RadarFrameDecoder::Result &frame, const QDateTime &frameTime)
{
    for (int i = 0; i < frame.acceptedFrames; ++i) {
        const CanMessage &message = frame.frames[size_t(i)];
        CanMsgInfo &info = m_canStats[message.id];
        ++info.count;
        info.dateTime = frameTime;
        // Rewritten in place: no allocation per frame unless a receiver still holds the copy.
        const int size = message.length + 3;
        info.serialized.resize(size);
        char *wire = info.serialized.data();
        wire[0] = char(message.id >> 8);
        wire[1] = char(message.id & 0xFF);
        wire[2] = char(message.length);
        for (int j = 0; j < message.length; ++j)
            wire[3 + j] = char(message.data[message.length - 1 - j]);
    }
}

void IVantorSerialConnectionClient::doEmitCanStats()
{
    if (!isEmitStatsEnabled())
        return;
    for (auto it = m_canStats.cbegin(); it != m_canStats.cend(); ++it)
        emit canMessageInfo(it.key(), it->count, it->serialized, it->dateTime);
}

void IVantorSerialConnectionClient::sendCmdGetHardwareInfo()
{
    doSendTableCommand(T::GetHardwareInfo, T::GetHardwareInfo.paramValue);
}

void IVantorSerialConnectionClient::sendCmdGetFirmwareInfo()
{
    doSendTableCommand(T::GetFirmwareInfo, T::GetFirmwareInfo.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSelfDiagnostics()
{
    doSendTableCommand(T::SelfDiagnostics, T::SelfDiagnostics.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetImitatorMode(quint8 mode)
{
    doSendTableCommand(T::SetImitatorMode, mode);
}

void IVantorSerialConnectionClient::sendCmdGetImitatorMode()
{
    doSendTableCommand(T::GetImitatorMode, T::GetImitatorMode.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetFakeTargetsMode(bool enabled)
{
    doSendTableCommand(T::SetFakeTargetsMode, enabled ? 1 : 0);
}

void IVantorSerialConnectionClient::sendCmdGetFakeTargetsMode()
{
    doSendTableCommand(T::GetFakeTargetsMode, T::GetFakeTargetsMode.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSaveToFlash()
{
    doSendTableCommand(T::SaveToFlash, T::SaveToFlash.paramValue);
}

void IVantorSerialConnectionClient::sendCmdRestart()
{
    doSendTableCommand(T::Restart, T::Restart.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetRadarSensitivity(int value)
{
    doSendTableCommand(T::SetRadarSensitivity, value);
}

void IVantorSerialConnectionClient::sendCmdGetRadarSensitivity()
{
    doSendTableCommand(T::GetRadarSensitivity, T::GetRadarSensitivity.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetFrequencyIndex(int value)
{
    doSendTableCommand(T::SetFrequencyIndex, value);
}

void IVantorSerialConnectionClient::sendCmdGetFrequencyIndex()
{
    doSendTableCommand(T::GetFrequencyIndex, T::GetFrequencyIndex.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonUsage(quint8 mask)
{
    doSendTableCommand(T::SetPolygonUsage, mask);
}

void IVantorSerialConnectionClient::sendCmdGetPolygonUsage()
{
    doSendTableCommand(T::GetPolygonUsage, T::GetPolygonUsage.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonTreatParam(
    quint8 id, quint8 param, quint8 value)
{
    doSendTableCommand(T::SetPolygonTreatParam, value, id, param);
}

void IVantorSerialConnectionClient::sendCmdGetPolygonTreatParam(quint8 id, quint8 param)
{
    doSendTableCommand(T::GetPolygonTreatParam, T::GetPolygonTreatParam.paramValue, id, param);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonSpeedParam(
    quint8 id, quint8 param, double value)
{
    doSendTableCommand(T::SetPolygonSpeedParam, doubleToProtocol(value), id, param);
}

void IVantorSerialConnectionClient::sendCmdGetPolygonSpeedParam(quint8 id, quint8 param)
{
    doSendTableCommand(T::GetPolygonSpeedParam, T::GetPolygonSpeedParam.paramValue, id, param);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonPointParam(
    quint8 id, quint8 param, double value)
{
    doSendTableCommand(T::SetPolygonPointParam, doubleToProtocol(value), id, param);
}

void IVantorSerialConnectionClient::sendCmdGetPolygonPointParam(quint8 id, quint8 param)
{
    doSendTableCommand(T::GetPolygonPointParam, T::GetPolygonPointParam.paramValue, id, param);
}

void IVantorSerialConnectionClient::sendCmdReinitPolygons()
{
    doSendTableCommand(T::ReinitPolygons, T::ReinitPolygons.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetCalibrationCommand(int command)
{
    doSendTableCommand(T::SetCalibrationCommand, command);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationCommand()
{
    doSendTableCommand(T::GetCalibrationCommand, T::GetCalibrationCommand.paramValue);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationState()
{
    doSendTableCommand(T::GetCalibrationState, T::GetCalibrationState.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetCalibrationLastParam(quint8 param, int value)
{
    doSendTableCommand(T::SetCalibrationLastParam, value, 0, param);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationLastParam(quint8 param)
{
    doSendTableCommand(T::GetCalibrationLastParam, T::GetCalibrationLastParam.paramValue, 0, param);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationCurrParam(quint8 param)
{
    doSendTableCommand(T::GetCalibrationCurrParam, T::GetCalibrationCurrParam.paramValue, 0, param);
}

void IVantorSerialConnectionClient::sendCmdResetCalibrationParams()
{
    doSendTableCommand(T::ResetCalibrationParams, T::ResetCalibrationParams.paramValue);
}

void IVantorSerialConnectionClient::sendCmdApplyCalibrationParams()
{
    doSendTableCommand(T::ApplyCalibrationParams, T::ApplyCalibrationParams.paramValue);
}

void IVantorSerialConnectionClient::sendCmdSetDebugVariableValue(quint8 id, int value)
{
    doSendTableCommand(T::SetDebugVariableValue, value, id);
}

void IVantorSerialConnectionClient::sendCmdGetDebugVariableValue(quint8 id)
{
    doSendTableCommand(T::GetDebugVariableValue, T::GetDebugVariableValue.paramValue, id);
}

void IVantorSerialConnectionClient::sendCmdSetPosition(
    double height, double xOffset, double yOffset, double azimuth, double altitude, double roll)
{
    const QList<QByteArray> frames = RadarCommandEncoder::positionFrames(
        radarSetupCanId(), height, xOffset, yOffset, azimuth, altitude, roll);
    doQueueRadarCommand(T::SetOffsets, frames.at(0), CommandAttempts);
    doQueueRadarCommand(T::SetHeightAndAngles, frames.at(1), CommandAttempts);
    doQueueRadarCommand(T::SetRoll, frames.at(2), CommandAttempts);
}

void IVantorSerialConnectionClient::sendCmdGetPosition()
{
    doSendTableCommand(T::GetPosition, T::GetPosition.paramValue);
}

void IVantorSerialConnectionClient::sendCmdFreeCommand(
    quint8 paramType, quint8 action, quint8 paramNumber, int paramValue)
{
    doSendCommandMessage(RadarParameters::fullFreeCommandCmdId(paramType, action, paramNumber),
        paramType, action, paramNumber, paramValue);
}
