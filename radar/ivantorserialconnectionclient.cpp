#include "ivantorserialconnectionclient.h"

#include "ackmessage.h"
#include "canmessage.h"
#include "framearea.h"
#include "radarcommandencoder.h"
#include "radardevinfoudtpayload.h"
#include "radarparameters.h"
#include "radarsetup0udtpayload.h"
#include "radarsetup1udtpayload.h"
#include "radarsetup2udtpayload.h"
#include "readparam0udtpayload.h"
#include "readparam1udtpayload.h"
#include "readparam2udtpayload.h"
#include "udtpayload.h"

#include <cstring>

namespace {

// Command identifiers of the position frames and of the values they carry.
enum PositionCommand {
    SetOffsetsCommand = 100,
    SetHeightAndAnglesCommand = 101,
    SetRollCommand = 102,
    GetPositionCommand = 103,
};

} // namespace

IVantorSerialConnectionClient::IVantorSerialConnectionClient(QObject *parent)
    : IVantorClient(parent)
{ }

IVantorSerialConnectionClient::~IVantorSerialConnectionClient()
{
    qDeleteAll(m_responseCache);
}

void IVantorSerialConnectionClient::resetStatistics()
{
    IVantorClient::resetStatistics();
    m_canStats.clear();
}

int IVantorSerialConnectionClient::doHandleRadarDataMessage(
    const QDateTime &frameTime, const QByteArray &frameArea)
{
    QList<AckMessage *> acks;
    QList<CanMessage *> frames;
    frames.reserve(frameArea.size() / 11 + 1); // room for whole 8-byte frames
    FrameArea::split(reinterpret_cast<const quint8 *>(frameArea.constData()), frameArea.size(),
        ackMessageCanIds(), acks, frames);

    doUpdateObjects(frameTime);
    emit frameStarted();
    emit frameDateTimeUtc(frameTime);

    for (const AckMessage *ack : qAsConst(acks))
        doHandleAckMessage(*ack);

    int result = Offline;
    if (frames.isEmpty()) {
        doStatValidFrame();
    } else {
        const quint32 cycleBefore = m_cycle;
        bool allAccepted = true;
        for (const CanMessage *frame : qAsConst(frames)) {
            if (!doHandleCanMessage(*frame, frameTime)) {
                allAccepted = false;
                break;
            }
            doStatCanMessage(*frame, frameTime);
        }
        if (allAccepted) {
            result = m_cycle != cycleBefore ? Working : Busy;
            doStatValidFrame();
        } else {
            result = WrongProtocol;
        }
    }

    doEmitObjects();
    doEmitFrameStats();
    doEmitCanStats();
    emit frameFinished();

    qDeleteAll(acks);
    qDeleteAll(frames);
    doHandleCachedUdtData();
    return result;
}

void IVantorSerialConnectionClient::doHandleRadarCommandState(
    int command, CommandState state, int error)
{
    // The position frames are tracked per value: height 10/11, xOffset 12/13,
    // yOffset 14/15, azimuth 16/17, altitude 18/19, roll 20/21 (set/get).
    static const QList<int> offsets { 12, 14 };
    static const QList<int> heightAndAngles { 10, 16, 18 };
    static const QList<int> roll { 20 };
    static const QList<int> position { 13, 15, 11, 17, 19, 21 };
    const QList<int> *values = nullptr;
    switch (command) {
    case SetOffsetsCommand:
        values = &offsets;
        break;
    case SetHeightAndAnglesCommand:
        values = &heightAndAngles;
        break;
    case SetRollCommand:
        values = &roll;
        break;
    case GetPositionCommand:
        values = &position;
        break;
    default:
        emit radarCommandStateChanged(command, state, error);
        return;
    }
    for (int value : *values)
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

void IVantorSerialConnectionClient::doHandleAckMessage(const AckMessage &ack)
{
    switch (ack.result) {
    case AckMessage::Accepted:
        doFinishRadarCommand(Received, ack.result);
        break;
    case AckMessage::Busy:
        doFinishRadarCommand(InProgress, ack.result);
        break;
    default:
        doFinishRadarCommand(Error, ack.result);
        break;
    }
}

bool IVantorSerialConnectionClient::doHandleCanMessage(
    const CanMessage &message, const QDateTime &frameTime)
{
    const quint16 id = message.id;
    const bool whole = message.length == 8;
    if (id >= roadObjectCanIdMin() && id <= roadObjectCanIdMax()) {
        if (whole)
            doHandleRoadObjectMessage(message, frameTime);
        return whole;
    }
    if (id == synchronizationCanId())
        return whole;
    if (id == sensorControlCanId()) {
        if (whole)
            doHandleSensorControlMessage(message);
        return whole;
    }
    if (id == objectControlCanId()) {
        if (whole)
            doHandleObjectControlMessage(message);
        return whole;
    }
    if (id == udtResponseCanId())
        return whole && doHandleUdtResponseMessage(message);
    return false;
}

void IVantorSerialConnectionClient::doHandleRoadObjectMessage(
    const CanMessage &message, const QDateTime &frameTime)
{
    // Ranges: 14 bits, offset 8192, 0.064 m; speeds: 11 bits, offset 1024, 0.1 m/s;
    // length: 8 bits, 0.2 m; identifier: the top 6 bits.
    const quint64 p = message.payload();
    const double xRange = (int(p & 0x3FFF) - 8192) * 0.064;
    const double yRange = (int(p >> 14 & 0x3FFF) - 8192) * 0.064;
    const double xSpeed = (int(p >> 28 & 0x7FF) - 1024) * 0.1;
    const double ySpeed = (int(p >> 39 & 0x7FF) - 1024) * 0.1;
    const double length = int(p >> 50 & 0xFF) * 0.2;
    const quint8 id = quint8(p >> 58);
    doAddObject(id, xSpeed, ySpeed, xRange, yRange, length, frameTime);
}

void IVantorSerialConnectionClient::doHandleSensorControlMessage(const CanMessage &message)
{
    const quint32 ms = quint32(message.payload() >> 32); // radar uptime
    emit uptimeInfo(int(ms / 86400000), int(ms / 3600000 % 24), int(ms / 60000 % 60),
        int(ms / 1000 % 60), int(ms % 1000));
}

void IVantorSerialConnectionClient::doHandleObjectControlMessage(const CanMessage &message)
{
    m_cycle = quint32(message.payload() >> 32);
    emit cycleNumber(m_cycle);
}

bool IVantorSerialConnectionClient::doHandleUdtResponseMessage(const CanMessage &message)
{
    auto *part = new UdtPayload(message);
    const quint16 key = part->key();
    if (m_responseCache.contains(key)) {
        delete part;
        return false;
    }
    m_responseCache.insert(key, part);
    return true;
}

void IVantorSerialConnectionClient::doHandleCachedUdtData()
{
    if (m_responseCache.isEmpty())
        return;
    // Taken out first: the result signals may lead to another message being handled.
    QMap<quint16, UdtPayload *> cache;
    cache.swap(m_responseCache);

    const auto group = [&cache](quint16 firstKey, const QList<quint16> &keys) {
        QList<const UdtPayload *> parts;
        for (quint16 key : keys) {
            const UdtPayload *part = cache.value(quint16(firstKey + key), nullptr);
            if (!part)
                return QList<const UdtPayload *>();
            parts.append(part);
        }
        return parts;
    };

    const QList<const UdtPayload *> setup = group(
        0, { RadarSetup0UdtPayload::Key, RadarSetup1UdtPayload::Key, RadarSetup2UdtPayload::Key });
    if (!setup.isEmpty())
        doHandleRadarSetupResponse(*setup.at(0), *setup.at(1), *setup.at(2));

    const QList<const UdtPayload *> read = group(0,
        { ReadParam0UdtPayload::Key, ReadParam1UdtPayload::Key, ReadParam2UdtPayload::Key });
    if (!read.isEmpty())
        doHandleReadParamResponse(*read.at(1), *read.at(2));

    const QList<quint16> infoKeys { 0, 1, 2, 3 };
    const QList<const UdtPayload *> hardware
        = group(RadarDevInfoUdtPayload::HardwareFirstKey, infoKeys);
    if (!hardware.isEmpty())
        doHandleDeviceInfoResponse(hardware, HardwareInfo);
    const QList<const UdtPayload *> firmware
        = group(RadarDevInfoUdtPayload::FirmwareFirstKey, infoKeys);
    if (!firmware.isEmpty())
        doHandleDeviceInfoResponse(firmware, FirmwareInfo);

    qDeleteAll(cache);
}

void IVantorSerialConnectionClient::doHandleRadarSetupResponse(
    const UdtPayload &part0, const UdtPayload &part1, const UdtPayload &part2)
{
    const RadarSetup0UdtPayload offsets(part0);
    const RadarSetup1UdtPayload angles(part1);
    const RadarSetup2UdtPayload height(part2);
    emit radarPosition(height.height(), offsets.xOffset(), offsets.yOffset(), angles.azimuth(),
        angles.altitude(), angles.roll());
}

void IVantorSerialConnectionClient::doHandleReadParamResponse(
    const UdtPayload &part1, const UdtPayload &part2)
{
    const ReadParam1UdtPayload echo(part1);
    if (!echo.carriesValue())
        return;
    const quint8 action = echo.action();
    const quint8 paramType = echo.paramType();
    const quint8 number = echo.paramNumber();
    const qint32 value = ReadParam2UdtPayload(part2).value();
    const bool integer = echo.isIntegerRead();
    quint8 id = 0;
    quint8 param = 0;

    if (action == 255) {
        emit debugVariableValue(number, value);
    } else if (integer) {
        if (action == 150 && number == 0)
            emit selfDiagnosticsResult(quint16(value & 0xFFFF));
        else if (action == 151 && number == 0)
            emit imitatorModeChanged(quint8(value & 0xFF));
        else if (action == 0 && number == 68)
            emit fakeTargetsModeChanged(value != 0);
        else if (action == 65 && number == 36)
            emit frequencyIndex(value);
        else if (action == 148 && number == 4)
            emit radarSensitivity(value);
        else if (action == 70 && number == 0)
            emit polygonUsage(quint8(value & 0xFF));
        else if (action == 70 && RadarParameters::getPolygonTreatParam(number, &id, &param))
            emit polygonTreatParam(id, param, quint8(value & 0xFF));
        else if (action == 254 && number == 0)
            emit calibrationCommand(value);
        else if (action == 254 && number == 1)
            emit calibrationState(value);
        else if (action == 254 && RadarParameters::getCalibrationLastParam(number, &param))
            emit calibrationLastParam(param, value);
        else if (action == 254 && RadarParameters::getCalibrationCurrParam(number, &param))
            emit calibrationCurrParam(param, value);
    } else {
        if (action == 70 && RadarParameters::getPolygonSpeedParam(number, &id, &param))
            emit polygonSpeedParam(id, param, protocolToDouble(value));
        else if (action == 71 && RadarParameters::getPolygonPointParam(number, &id, &param))
            emit polygonPointParam(id, param, protocolToDouble(value));
    }
    emit freeCommandValue(paramType, action, number, value);
}

void IVantorSerialConnectionClient::doHandleDeviceInfoResponse(
    const QList<const UdtPayload *> &parts, DeviceInfoType type)
{
    QByteArray text;
    for (const UdtPayload *part : parts)
        text += RadarDevInfoUdtPayload(*part).characters();
    const int end = text.indexOf('\0');
    if (end >= 0)
        text.truncate(end);
    const QString info = QString::fromLatin1(text);
    if (type == HardwareInfo)
        emit hardwareInfo(info);
    else
        emit firmwareInfo(info);
}

void IVantorSerialConnectionClient::doStatCanMessage(
    const CanMessage &message, const QDateTime &frameTime)
{
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
    for (int i = 0; i < message.length; ++i)
        wire[3 + i] = char(message.data[message.length - 1 - i]);
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
    doSendCommandMessage(1, ReadInteger, 0, 40, 8192);
}

void IVantorSerialConnectionClient::sendCmdGetFirmwareInfo()
{
    doSendCommandMessage(2, ReadInteger, 0, 40, 128);
}

void IVantorSerialConnectionClient::sendCmdSelfDiagnostics()
{
    doSendCommandMessage(3, ReadInteger, 150, 0, 1);
}

void IVantorSerialConnectionClient::sendCmdSetImitatorMode(quint8 mode)
{
    doSendCommandMessage(4, WriteByte, 151, 0, mode);
}

void IVantorSerialConnectionClient::sendCmdGetImitatorMode()
{
    doSendCommandMessage(5, ReadInteger, 151, 0, 0);
}

void IVantorSerialConnectionClient::sendCmdSetFakeTargetsMode(bool enabled)
{
    doSendCommandMessage(6, WriteByte, 0, 68, enabled ? 1 : 0);
}

void IVantorSerialConnectionClient::sendCmdGetFakeTargetsMode()
{
    doSendCommandMessage(7, ReadInteger, 0, 68, 0);
}

void IVantorSerialConnectionClient::sendCmdSaveToFlash()
{
    doSendCommandMessage(8, WriteInteger, 136, 0, 0);
}

void IVantorSerialConnectionClient::sendCmdRestart()
{
    doSendCommandMessage(9, WriteInteger, 129, 0, 0);
}

void IVantorSerialConnectionClient::sendCmdSetRadarSensitivity(int value)
{
    doSendCommandMessage(22, WriteInteger, 148, 4, value);
}

void IVantorSerialConnectionClient::sendCmdGetRadarSensitivity()
{
    doSendCommandMessage(23, ReadInteger, 148, 4, 0);
}

void IVantorSerialConnectionClient::sendCmdSetFrequencyIndex(int value)
{
    doSendCommandMessage(24, WriteInteger, 65, 36, value);
}

void IVantorSerialConnectionClient::sendCmdGetFrequencyIndex()
{
    doSendCommandMessage(25, ReadInteger, 65, 36, 0);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonUsage(quint8 mask)
{
    doSendCommandMessage(26, WriteByte, 70, 0, mask);
}

void IVantorSerialConnectionClient::sendCmdGetPolygonUsage()
{
    doSendCommandMessage(27, ReadInteger, 70, 0, 0);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonTreatParam(
    quint8 id, quint8 param, quint8 value)
{
    const int number
        = RadarParameters::polygonParamNo(RadarParameters::PolygonTreatParam, id, param);
    if (number >= 0)
        doSendCommandMessage(RadarParameters::fullPolygonCmdId(28, id, param), WriteInteger, 70,
            quint8(number), value);
}

void IVantorSerialConnectionClient::sendCmdGetPolygonTreatParam(quint8 id, quint8 param)
{
    const int number
        = RadarParameters::polygonParamNo(RadarParameters::PolygonTreatParam, id, param);
    if (number >= 0)
        doSendCommandMessage(
            RadarParameters::fullPolygonCmdId(29, id, param), ReadInteger, 70, quint8(number), 0);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonSpeedParam(
    quint8 id, quint8 param, double value)
{
    const int number
        = RadarParameters::polygonParamNo(RadarParameters::PolygonSpeedParam, id, param);
    if (number >= 0)
        doSendCommandMessage(RadarParameters::fullPolygonCmdId(30, id, param), WriteFixedPoint, 70,
            quint8(number), doubleToProtocol(value));
}

void IVantorSerialConnectionClient::sendCmdGetPolygonSpeedParam(quint8 id, quint8 param)
{
    const int number
        = RadarParameters::polygonParamNo(RadarParameters::PolygonSpeedParam, id, param);
    if (number >= 0)
        doSendCommandMessage(RadarParameters::fullPolygonCmdId(31, id, param), ReadFixedPoint, 70,
            quint8(number), 0);
}

void IVantorSerialConnectionClient::sendCmdSetPolygonPointParam(
    quint8 id, quint8 param, double value)
{
    const int number
        = RadarParameters::polygonParamNo(RadarParameters::PolygonPointParam, id, param);
    if (number >= 0)
        doSendCommandMessage(RadarParameters::fullPolygonCmdId(32, id, param), WriteFixedPoint, 71,
            quint8(number), doubleToProtocol(value));
}

void IVantorSerialConnectionClient::sendCmdGetPolygonPointParam(quint8 id, quint8 param)
{
    const int number
        = RadarParameters::polygonParamNo(RadarParameters::PolygonPointParam, id, param);
    if (number >= 0)
        doSendCommandMessage(RadarParameters::fullPolygonCmdId(33, id, param), ReadFixedPoint, 71,
            quint8(number), 0);
}

void IVantorSerialConnectionClient::sendCmdReinitPolygons()
{
    doSendCommandMessage(34, WriteInteger, 70, 1, 1);
}

void IVantorSerialConnectionClient::sendCmdSetCalibrationCommand(int command)
{
    doSendCommandMessage(35, WriteInteger, 254, 0, command);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationCommand()
{
    doSendCommandMessage(36, ReadInteger, 254, 0, 0);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationState()
{
    doSendCommandMessage(37, ReadInteger, 254, 1, 0);
}

void IVantorSerialConnectionClient::sendCmdSetCalibrationLastParam(quint8 param, int value)
{
    if (param < RadarParameters::CalibrationParamCount)
        doSendCommandMessage(RadarParameters::fullCalibrationCmdId(38, param), WriteInteger, 254,
            quint8(param + 8), value);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationLastParam(quint8 param)
{
    if (param < RadarParameters::CalibrationParamCount)
        doSendCommandMessage(RadarParameters::fullCalibrationCmdId(39, param), ReadInteger, 254,
            quint8(param + 8), 0);
}

void IVantorSerialConnectionClient::sendCmdGetCalibrationCurrParam(quint8 param)
{
    if (param < RadarParameters::CalibrationParamCount)
        doSendCommandMessage(RadarParameters::fullCalibrationCmdId(40, param), ReadInteger, 254,
            quint8(param + 16), 0);
}

void IVantorSerialConnectionClient::sendCmdResetCalibrationParams()
{
    doSendCommandMessage(41, WriteInteger, 254, 7, 0);
}

void IVantorSerialConnectionClient::sendCmdApplyCalibrationParams()
{
    doSendCommandMessage(42, WriteInteger, 254, 7, 1);
}

void IVantorSerialConnectionClient::sendCmdSetDebugVariableValue(quint8 id, int value)
{
    doSendCommandMessage(RadarParameters::fullDebugVariableCmdId(id), WriteInteger, 255, id, value);
}

void IVantorSerialConnectionClient::sendCmdGetDebugVariableValue(quint8 id)
{
    doSendCommandMessage(RadarParameters::fullDebugVariableCmdId(id), ReadInteger, 255, id, 0);
}

void IVantorSerialConnectionClient::sendCmdSetPosition(
    double height, double xOffset, double yOffset, double azimuth, double altitude, double roll)
{
    const QList<QByteArray> frames = RadarCommandEncoder::positionFrames(
        radarSetupCanId(), height, xOffset, yOffset, azimuth, altitude, roll);
    doQueueRadarCommand(SetOffsetsCommand, frames.at(0), CommandAttempts);
    doQueueRadarCommand(SetHeightAndAnglesCommand, frames.at(1), CommandAttempts);
    doQueueRadarCommand(SetRollCommand, frames.at(2), CommandAttempts);
}

void IVantorSerialConnectionClient::sendCmdGetPosition()
{
    doSendCommandMessage(GetPositionCommand, WriteInteger, 0, 42, 2);
}

void IVantorSerialConnectionClient::sendCmdFreeCommand(
    quint8 paramType, quint8 action, quint8 paramNumber, int paramValue)
{
    doSendCommandMessage(RadarParameters::fullFreeCommandCmdId(paramType, action, paramNumber),
        paramType, action, paramNumber, paramValue);
}
