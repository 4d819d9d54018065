#include "radaremulator.h"

#include "jsonconfigfile.h"
#include "radarframeencoder.h"
#include "simjsonfile.h"

#include <QFileInfo>
#include <QtEndian>

#include <cmath>

namespace {

constexpr quint8 WriteInteger = 0;
constexpr quint8 WriteFixedPoint = 1;
constexpr quint8 ReadInteger = 2;
constexpr quint8 ReadFixedPoint = 3;
constexpr quint8 WriteByte = 4;
constexpr quint32 HardwareInfoSelector = 8192;
constexpr quint32 FirmwareInfoSelector = 128;
constexpr qint32 GetPositionValue = 2;
constexpr qint64 MaxStateFileSize = 1024 * 1024;
constexpr quint8 BusyResult = 255;

bool isRead(quint8 paramType)
{
    return paramType == ReadInteger || paramType == ReadFixedPoint;
}

bool isWrite(quint8 paramType)
{
    return paramType == WriteInteger || paramType == WriteFixedPoint || paramType == WriteByte;
}

} // namespace

RadarEmulator::RadarEmulator(const Settings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_traffic(settings.traffic)
{
    m_settings.cycleMs = qBound(10, m_settings.cycleMs, 800);
    m_settings.restartMs = qBound(0, m_settings.restartMs, 600000);
    m_settings.calibrationMs = qBound(0, m_settings.calibrationMs, 600000);
    m_settings.hardwareInfo.truncate(RadarFrameEncoder::DeviceInfoMaxLength);
    m_settings.firmwareInfo.truncate(RadarFrameEncoder::DeviceInfoMaxLength);
    m_cycleTimer.setTimerType(Qt::PreciseTimer);
    m_cycleTimer.setInterval(m_settings.cycleMs);
    m_restartTimer.setSingleShot(true);
    connect(&m_cycleTimer, &QTimer::timeout, this, &RadarEmulator::runCycle);
    connect(&m_restartTimer, &QTimer::timeout, this, &RadarEmulator::doFinishRestart);
}

bool RadarEmulator::loadState(QString *error)
{
    if (m_settings.stateFile.isEmpty())
        return true;
    if (!QFileInfo::exists(m_settings.stateFile)) {
        qInfo("No saved radar state in %s yet; starting from the defaults",
            qPrintable(m_settings.stateFile));
        return true;
    }
    QJsonObject saved;
    if (!SimJsonFile::read(m_settings.stateFile, MaxStateFileSize, &saved, error))
        return false;
    int skipped = 0;
    QString storeError;
    if (!m_store.loadSaved(saved, &storeError, &skipped)) {
        *error = QStringLiteral("%1: %2").arg(m_settings.stateFile, storeError);
        return false;
    }
    if (skipped > 0)
        qWarning("%s: skipped %d unknown or out-of-range entries", qPrintable(m_settings.stateFile),
            skipped);
    qInfo("Loaded the saved radar state from %s", qPrintable(m_settings.stateFile));
    return true;
}

void RadarEmulator::setLanes(const QMap<int, QPolygonF> &centreLines)
{
    m_traffic.setLanes(centreLines);
    doApplyModes();
    qInfo(
        "Traffic runs on %d lanes within %.0f m", m_traffic.laneCount(), m_settings.traffic.rangeM);
}

void RadarEmulator::start()
{
    m_uptime.start();
    m_stepClock.start();
    m_cycle = 0;
    m_cycleTimer.start();
    qInfo("Radar %s running, one cycle every %d ms", qPrintable(m_settings.variant.label()),
        m_settings.cycleMs);
}

void RadarEmulator::stop()
{
    m_cycleTimer.stop();
    m_restartTimer.stop();
}

quint32 RadarEmulator::uptimeMs() const
{
    return m_uptime.isValid() ? quint32(m_uptime.elapsed()) : 0;
}

quint16 RadarEmulator::selfDiagnosticsWord() const
{
    const quint16 faulty = m_settings.faultyUnits & (Amp1 | Amp2 | Padc | Trsc);
    return faulty ? faulty : FunctioningNormally;
}

void RadarEmulator::receiveFrame(const QByteArray &wire)
{
    if (m_settings.faults.silent || m_restarting) {
        qInfo("Radar is silent; command frame ignored");
        return;
    }
    // A command is exactly one frame of length 8: identifier, length byte, payload.
    if (wire.size() != 11 || quint8(wire.at(2)) != 8) {
        qWarning("Ignored a malformed command frame of %d bytes: %s", int(wire.size()),
            wire.left(32).toHex(' ').constData());
        return;
    }
    const quint16 id = qFromBigEndian<quint16>(wire.constData());
    const quint64 p = qFromBigEndian<quint64>(wire.constData() + 3);
    const RadarVariant &v = m_settings.variant;
    if (id != v.commandCanId() && id != v.radarSetupCanId()) {
        qWarning("Ignored a frame with identifier 0x%03X, which the %s radar does not listen to",
            id, qPrintable(v.label()));
        return;
    }
    doHandleCommand(wire, p);
}

void RadarEmulator::doHandleCommand(const QByteArray &wire, quint64 p)
{
    const FaultInjection &f = m_settings.faults;
    if (f.noAcks) {
        qInfo("Command %s dropped without acknowledgement (fault injection)",
            wire.toHex(' ').constData());
        return;
    }
    if (f.busyAcks > 0) {
        if (wire != m_busyFrame) {
            m_busyFrame = wire;
            m_busyCount = 0;
        }
        if (m_busyCount < f.busyAcks) {
            ++m_busyCount;
            qInfo("Command %s answered busy (%d of %d)", wire.toHex(' ').constData(), m_busyCount,
                f.busyAcks);
            queueAck(BusyResult);
            return;
        }
        m_busyFrame.clear();
    }
    if (f.errorCode != 0) {
        qInfo("Command %s refused with error %d (fault injection)", wire.toHex(' ').constData(),
            f.errorCode);
        queueAck(f.errorCode);
        return;
    }

    quint8 result;
    const quint16 id = qFromBigEndian<quint16>(wire.constData());
    if (id == m_settings.variant.radarSetupCanId()) {
        result = doExecuteSetup(p);
    } else {
        // Payload in transmission order: value (4 bytes, big-endian), action, paramType,
        // paramNumber, 0.
        const qint32 value = qint32(quint32(p >> 32));
        const quint8 action = quint8(p >> 24);
        const quint8 paramType = quint8(p >> 16);
        const quint8 paramNumber = quint8(p >> 8);
        result = doExecuteCommand(paramType, action, paramNumber, value);
        qInfo("Command type %d action %d number %d value %d: %s", paramType, action, paramNumber,
            value, result == 0 ? "done" : qPrintable(QStringLiteral("error %1").arg(result)));
    }
    queueAck(result);
}

quint8 RadarEmulator::doExecuteCommand(
    quint8 paramType, quint8 action, quint8 paramNumber, qint32 paramValue)
{
    using PS = ParameterStore;
    if (!isRead(paramType) && !isWrite(paramType))
        return PS::UnsupportedParamType;

    if (action == PS::GeneralAction && paramNumber == PS::DeviceInfoNumber) {
        if (!isRead(paramType))
            return PS::ReadOnlyParameter;
        if (quint32(paramValue) == HardwareInfoSelector)
            queueResponse(ResponseKind::HardwareInfo,
                RadarFrameEncoder::deviceInfoResponse(false, m_settings.hardwareInfo));
        else if (quint32(paramValue) == FirmwareInfoSelector)
            queueResponse(ResponseKind::FirmwareInfo,
                RadarFrameEncoder::deviceInfoResponse(true, m_settings.firmwareInfo));
        else
            return PS::ValueOutOfRange;
        return PS::NoError;
    }
    if (action == PS::GeneralAction && paramNumber == PS::PositionNumber) {
        if (paramType != WriteInteger || paramValue != GetPositionValue)
            return PS::ValueOutOfRange;
        queueResponse(
            ResponseKind::Position, RadarFrameEncoder::positionResponse(m_store.position()));
        return PS::NoError;
    }
    if (action == PS::SaveToFlashAction && paramNumber == 0) {
        return isWrite(paramType) ? doSaveToFlash() : quint8(PS::UnsupportedParamType);
    }
    if (action == PS::RestartAction && paramNumber == 0) {
        if (!isWrite(paramType))
            return PS::UnsupportedParamType;
        m_restartRequested = true;
        return PS::NoError;
    }
    if (action == PS::SelfDiagnosticsAction && paramNumber == 0) {
        if (!isRead(paramType))
            return PS::ReadOnlyParameter;
        queueResponse(ResponseKind::ReadParam,
            RadarFrameEncoder::readParamResponse(
                action, paramType, paramNumber, selfDiagnosticsWord()));
        return PS::NoError;
    }
    if (action == PS::PolygonAction && paramNumber == PS::PolygonReinitNumber) {
        if (paramType != WriteInteger || paramValue != 1)
            return PS::ValueOutOfRange;
        m_store.revertPolygons();
        return PS::NoError;
    }
    if (action == PS::CalibrationAction && paramNumber == PS::CalibrationResetApplyNumber) {
        if (paramType != WriteInteger || (paramValue != 0 && paramValue != 1))
            return PS::ValueOutOfRange;
        for (int i = 0; i <= PS::CalibrationLastLast - PS::CalibrationLastFirst; ++i) {
            if (paramValue == 0)
                m_store.setInternal(action, quint8(PS::CalibrationLastFirst + i), 0);
            else
                m_store.setInternal(action, quint8(PS::CalibrationCurrFirst + i),
                    m_store.value(action, quint8(PS::CalibrationLastFirst + i)));
        }
        return PS::NoError;
    }

    if (isRead(paramType)) {
        qint32 value = 0;
        const PS::Error error = m_store.read(action, paramNumber, &value);
        if (error != PS::NoError)
            return error;
        queueResponse(ResponseKind::ReadParam,
            RadarFrameEncoder::readParamResponse(action, paramType, paramNumber, value));
        return PS::NoError;
    }

    // A byte write carries its value in the lowest byte.
    const qint64 value = paramType == WriteByte ? (paramValue & 0xFF) : paramValue;
    const PS::Error error = m_store.write(action, paramNumber, value);
    if (error != PS::NoError)
        return error;
    if (action == PS::CalibrationAction && paramNumber == PS::CalibrationCommandNumber) {
        // Any non-zero command starts a calibration run that ends after calibrationMs.
        m_store.setInternal(action, PS::CalibrationStateNumber, value != 0 ? 1 : 0);
        m_calibrationDoneAt = value != 0 ? qint64(uptimeMs()) + m_settings.calibrationMs : -1;
    }
    doApplyModes();
    return PS::NoError;
}

quint8 RadarEmulator::doExecuteSetup(quint64 p)
{
    RadarPosition position = m_store.position();
    // The selector in bits 56-63 tells the three position frames apart.
    switch (quint8(p >> 56)) {
    case 0x00:
        // xOffset bits 8-24 sign 31, yOffset bits 32-48 sign 55.
        position.xOffset = qint32(RadarFrameEncoder::fromSignMagnitude(p, 17, 8, 31));
        position.yOffset = qint32(RadarFrameEncoder::fromSignMagnitude(p, 17, 32, 55));
        break;
    case 0x10: {
        // height bits 0-16 sign 23, azimuth bits 24-39, altitude bits 40-55.
        const quint16 azimuth = quint16(p >> 24);
        const quint16 altitude = quint16(p >> 40);
        if (azimuth >= 36000 || altitude >= 36000)
            return ParameterStore::ValueOutOfRange;
        position.height = qint32(RadarFrameEncoder::fromSignMagnitude(p, 17, 0, 23));
        position.azimuth = azimuth;
        position.altitude = altitude;
        break;
    }
    case 0x20: {
        const quint16 roll = quint16(p);
        if (roll >= 36000)
            return ParameterStore::ValueOutOfRange;
        position.roll = roll;
        break;
    }
    default:
        qWarning("Position frame with unknown selector 0x%02X refused", quint8(p >> 56));
        return ParameterStore::UnknownParameter;
    }
    m_store.setPosition(position);
    qInfo("Position now height %.2f x %.2f y %.2f m, azimuth %.2f altitude %.2f roll %.2f deg",
        position.height / 100.0, position.xOffset / 100.0, position.yOffset / 100.0,
        position.azimuth / 100.0, position.altitude / 100.0, position.roll / 100.0);
    return ParameterStore::NoError;
}

quint8 RadarEmulator::doSaveToFlash()
{
    m_store.save();
    if (m_settings.stateFile.isEmpty()) {
        qInfo("Parameters saved (kept in memory: no state file given)");
        return ParameterStore::NoError;
    }
    JsonConfigFile file(MaxStateFileSize);
    if (file.write(m_settings.stateFile, m_store.savedToJson())
        != JsonConfigFile::WriteResult::Written) {
        qWarning("Cannot write %s: %s", qPrintable(m_settings.stateFile),
            qPrintable(file.errorString()));
        return ParameterStore::FlashWriteFailed;
    }
    qInfo("Parameters saved to %s", qPrintable(m_settings.stateFile));
    return ParameterStore::NoError;
}

void RadarEmulator::doApplyModes()
{
    const bool fakeTargets
        = m_store.value(ParameterStore::GeneralAction, ParameterStore::FakeTargetsNumber) != 0;
    // Fake targets take the highest identifiers; traffic keeps to the rest.
    m_traffic.setIdLimit(fakeTargets ? TrafficModel::MaxIds - FakeTargets : TrafficModel::MaxIds);
}

void RadarEmulator::doAdvanceCalibration()
{
    if (m_calibrationDoneAt < 0 || qint64(uptimeMs()) < m_calibrationDoneAt)
        return;
    m_calibrationDoneAt = -1;
    using PS = ParameterStore;
    // A finished run reports state 2 and offers its results as the current parameters.
    m_store.setInternal(PS::CalibrationAction, PS::CalibrationStateNumber, 2);
    for (int i = 0; i <= PS::CalibrationCurrLast - PS::CalibrationCurrFirst; ++i)
        m_store.setInternal(PS::CalibrationAction, quint8(PS::CalibrationCurrFirst + i),
            m_store.value(PS::CalibrationAction, quint8(PS::CalibrationLastFirst + i))
                + 10 * (i + 1));
    qInfo("Calibration run finished");
}

void RadarEmulator::queueAck(quint8 result)
{
    if (m_pendingAcks.size() >= MaxPendingAcks) {
        qWarning("Too many acknowledgements waiting; the oldest is dropped");
        m_pendingAcks.removeFirst();
    }
    m_pendingAcks.append(result);
}

void RadarEmulator::queueResponse(ResponseKind kind, const QVector<quint64> &payloads)
{
    if (m_pendingResponses.size() >= MaxPendingResponses) {
        qWarning("Too many responses waiting; the oldest is dropped");
        m_pendingResponses.removeFirst();
    }
    m_pendingResponses.append({ kind, payloads });
}

QVector<SimObject> RadarEmulator::doCollectObjects()
{
    const int imitatorMode = m_store.value(ParameterStore::ImitatorAction, 0);
    const bool fakeTargets
        = m_store.value(ParameterStore::GeneralAction, ParameterStore::FakeTargetsNumber) != 0;
    QVector<SimObject> objects;
    if (imitatorMode == 0) {
        objects = m_traffic.measuredObjects();
    } else {
        // The imitator replaces the traffic with up to eight targets moving away from the
        // radar at steady speeds, on alternate sides, starting again when they leave.
        const double t = uptimeMs() / 1000.0;
        const double span = qMax(20.0, m_settings.traffic.rangeM - 20.0);
        const int count = qMin(imitatorMode, ImitatorMaxTargets);
        for (int j = 0; j < count; ++j) {
            SimObject o;
            o.id = quint8(j);
            o.xSpeed = 8.0 + 4.0 * j;
            o.xRange = 10.0 + std::fmod(o.xSpeed * t + 37.0 * j, span);
            o.yRange = (j % 2 ? 3.5 : -3.5) * (1 + j / 2);
            o.length = 4.5;
            objects.append(o);
        }
    }
    if (fakeTargets) {
        // Demo targets: stationary reflectors along the right-hand roadside.
        for (int j = 0; j < FakeTargets; ++j) {
            SimObject o;
            o.id = quint8(TrafficModel::MaxIds - FakeTargets + j);
            o.xRange = 30.0 * (j + 1);
            o.yRange = -12.0;
            o.length = 1.0;
            objects.append(o);
        }
    }
    return objects;
}

void RadarEmulator::runCycle()
{
    runCycleAfter(m_stepClock.restart() / 1000.0);
}

void RadarEmulator::runCycleAfter(double seconds)
{
    m_traffic.step(seconds);
    doAdvanceCalibration();
    const FaultInjection &f = m_settings.faults;
    if (m_restarting)
        return;
    if (f.silent) {
        m_pendingAcks.clear();
        m_pendingResponses.clear();
        return;
    }
    if (!f.stuckCycle)
        ++m_cycle;

    const RadarVariant v = f.wrongVariant ? m_settings.variant.other() : m_settings.variant;
    const QVector<SimObject> objects = doCollectObjects();
    QByteArray area;
    area.reserve(4 * m_pendingAcks.size() + 11 * (3 + objects.size() + 8));

    // Acknowledgements first, then at most one response of each kind, so that no
    // response key appears twice in one message; the rest waits for the next cycle.
    for (quint8 result : qAsConst(m_pendingAcks))
        area.append(RadarFrameEncoder::ack(v.ackMessageCanId(), result));
    m_pendingAcks.clear();
    QVector<ResponseKind> sent;
    for (int i = 0; i < m_pendingResponses.size();) {
        const ResponseGroup &group = m_pendingResponses[i];
        if (sent.contains(group.kind)) {
            ++i;
            continue;
        }
        sent.append(group.kind);
        for (quint64 payload : group.payloads)
            area.append(RadarFrameEncoder::frame(v.udtResponseCanId(), payload));
        m_pendingResponses.remove(i);
    }

    const quint32 uptime = uptimeMs();
    area.append(RadarFrameEncoder::frame(
        v.synchronizationCanId(), RadarFrameEncoder::counterPayload(m_cycle & 0xFF)));
    area.append(RadarFrameEncoder::frame(
        v.sensorControlCanId(), RadarFrameEncoder::counterPayload(uptime)));
    // Object control: the cycle number, then the number of objects in this cycle.
    area.append(RadarFrameEncoder::frame(v.objectControlCanId(),
        RadarFrameEncoder::counterPayload(m_cycle, quint32(objects.size()) << 24)));
    for (int i = 0; i < objects.size(); ++i) {
        const SimObject &o = objects[i];
        const quint16 id = quint16(v.roadObjectCanIdMin() + o.id);
        if (f.malformedFrames && i == 0) {
            // A frame one byte short, which the client must refuse.
            QByteArray payload(8, Qt::Uninitialized);
            qToBigEndian(RadarFrameEncoder::objectPayload(o), payload.data());
            area.append(RadarFrameEncoder::rawFrame(id, 7, payload.left(7)));
            continue;
        }
        area.append(RadarFrameEncoder::frame(id, RadarFrameEncoder::objectPayload(o)));
    }
    if (f.malformedFrames) {
        if (objects.isEmpty())
            area.append(
                RadarFrameEncoder::rawFrame(v.synchronizationCanId(), 7, QByteArray(7, '\0')));
        // A torn tail: a frame header promising eight bytes followed by three.
        area.append(RadarFrameEncoder::rawFrame(v.roadObjectCanIdMin(), 8, QByteArray(3, '\x5A')));
    }
    emit radarMessage(area);

    if (m_restartRequested) {
        m_restartRequested = false;
        m_restarting = true;
        m_restartTimer.start(m_settings.restartMs);
        qInfo("Radar restarting: silent for %d ms", m_settings.restartMs);
        emit restartStarted();
    }
}

void RadarEmulator::doFinishRestart()
{
    m_restarting = false;
    m_store.revertToSaved();
    m_calibrationDoneAt = -1;
    m_pendingAcks.clear();
    m_pendingResponses.clear();
    m_busyFrame.clear();
    doApplyModes();
    m_uptime.restart();
    m_cycle = 0;
    qInfo("Radar back from restart: uptime and cycle reset, unsaved values reverted");
    emit restartFinished();
}
