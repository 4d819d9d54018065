#include "ivantorclient.h"

#include "radarcommandtable.h"
#include "timestampheader.h"

#include <QJsonDocument>
#include <QSignalBlocker>

#include <cmath>
#include <limits>
#include <utility>

IVantorClient::IVantorClient(QObject *parent)
    : QObject(parent)
    , m_link(this)
    , m_offlineTimer(this)
    , m_commands(&m_link, this)
{
    connect(&m_link, &ServerLink::connecting, this, &IVantorClient::connecting);
    connect(&m_link, &ServerLink::connected, this, &IVantorClient::connected);
    connect(&m_link, &ServerLink::notconnected, this, &IVantorClient::notconnected);
    connect(&m_link, &ServerLink::disconnected, this, &IVantorClient::disconnected);
    connect(&m_link, &ServerLink::pingLatency, this, &IVantorClient::pingLatency);
    connect(&m_link, &ServerLink::connectingTimedOut, this, &IVantorClient::connectingTimedOut);
    connect(&m_link, &ServerLink::messageTooLarge, this, &IVantorClient::messageTooLarge);
    connect(&m_link, &ServerLink::pingTimedOut, this, &IVantorClient::pingTimedOut);
    connect(&m_link, &ServerLink::textMessageReceived, this, &IVantorClient::onServerTextReceived);
    connect(
        &m_link, &ServerLink::binaryMessageReceived, this, &IVantorClient::onServerDataReceived);
    connect(&m_commands, &RadarCommandQueue::commandStateChanged, this,
        &IVantorClient::onRadarCommandStateChanged);

    // Coarse timers may fire 5 % early; the link's time-outs are meant as stated.
    m_offlineTimer.setTimerType(Qt::PreciseTimer);
    m_offlineTimer.setSingleShot(true);
    connect(&m_offlineTimer, &QTimer::timeout, this, [this] {
        doSetMessagesUnreadable(false);
        doMarkRadarOffline();
    });
    setTimingForTests(m_timing);
}

IVantorClient::~IVantorClient()
{
    // Receivers must not call back into a half-destroyed client.
    const QSignalBlocker blocker(this);
    disconnectFromServer();
}

void IVantorClient::setEmitStatsEnabled(bool enabled)
{
    m_emitStats = enabled;
}

void IVantorClient::setEmitObjectsEnabled(bool enabled)
{
    m_emitObjects = enabled;
}

int IVantorClient::lastRadarCommand() const
{
    return m_commands.headCommand();
}

void IVantorClient::setTimingForTests(const Timing &timing)
{
    m_timing = timing;
    m_link.setPingInterval(m_timing.pingIntervalMs);
    m_offlineTimer.setInterval(m_timing.offlineTimeoutMs);
    m_commands.setSendDelay(m_timing.sendDelayMs);
    m_commands.setCommandTimeout(m_timing.commandTimeoutMs);
    m_link.setConnectTimeout(m_timing.connectTimeoutMs);
}

bool IVantorClient::isOnline(int state)
{
    return Radar::isOnline(state);
}

bool IVantorClient::isWorking(int state)
{
    return Radar::isWorking(state);
}

double IVantorClient::protocolToDouble(int value)
{
    return value / 1000000.0;
}

int IVantorClient::doubleToProtocol(double value)
{
    const double scaled = std::round(value * 1000000.0);
    if (std::isnan(scaled))
        return 0;
    if (scaled >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (scaled <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(scaled);
}

bool IVantorClient::connectToServer(const QUrl &url, int reconnectTimeoutMs, int *error)
{
    if (m_link.isOpen()) {
        if (error)
            *error = -2;
        return false;
    }
    // QWebSocket refuses any other scheme without a state change, so such a link would
    // neither connect nor retry; a URL without a host could only fail again and again.
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("ws") && scheme != QLatin1String("wss"))
        || url.host().isEmpty()) {
        if (error)
            *error = -1;
        return false;
    }
    if (error)
        *error = 0;

    m_commands.setArmed(true);
    m_link.open(url, reconnectTimeoutMs);
    return true;
}

void IVantorClient::disconnectFromServer()
{
    doMarkRadarOffline();
    doDeleteObjects();
    doDeleteRadarCommands();
    m_commands.setArmed(false);
    m_offlineTimer.stop();
    doSetMessagesUnreadable(false);
    m_link.close();
}

void IVantorClient::forceServerToChangeProtocol(int protocol)
{
    QJsonObject object;
    object.insert(QStringLiteral("radar_protocol"), protocol);
    doSendCommandToServer(RadarProtocolSelection, object);
}

void IVantorClient::sendDataToRadar(const QByteArray &data)
{
    m_link.sendBinary(data);
}

void IVantorClient::sendJsonToServer(const QJsonObject &obj)
{
    if (m_link.isConnected())
        m_link.sendText(QString::fromUtf8(QJsonDocument(obj).toJson(QJsonDocument::Compact)));
}

void IVantorClient::resetStatistics()
{
    m_totalFrames = 0;
    m_validFrames = 0;
}

void IVantorClient::sendAnyCmdWithNoArgs(int command)
{
    using T = RadarCommandTable;
    static const std::pair<const T::Entry *, void (IVantorClient::*)()> noArgSlots[] {
        { &T::GetHardwareInfo, &IVantorClient::sendCmdGetHardwareInfo },
        { &T::GetFirmwareInfo, &IVantorClient::sendCmdGetFirmwareInfo },
        { &T::SelfDiagnostics, &IVantorClient::sendCmdSelfDiagnostics },
        { &T::GetImitatorMode, &IVantorClient::sendCmdGetImitatorMode },
        { &T::GetFakeTargetsMode, &IVantorClient::sendCmdGetFakeTargetsMode },
        { &T::SaveToFlash, &IVantorClient::sendCmdSaveToFlash },
        { &T::Restart, &IVantorClient::sendCmdRestart },
        { &T::GetRadarSensitivity, &IVantorClient::sendCmdGetRadarSensitivity },
        { &T::GetFrequencyIndex, &IVantorClient::sendCmdGetFrequencyIndex },
        { &T::GetPolygonUsage, &IVantorClient::sendCmdGetPolygonUsage },
        { &T::ReinitPolygons, &IVantorClient::sendCmdReinitPolygons },
        { &T::GetCalibrationCommand, &IVantorClient::sendCmdGetCalibrationCommand },
        { &T::GetCalibrationState, &IVantorClient::sendCmdGetCalibrationState },
        { &T::ResetCalibrationParams, &IVantorClient::sendCmdResetCalibrationParams },
        { &T::ApplyCalibrationParams, &IVantorClient::sendCmdApplyCalibrationParams },
    };
    for (const auto &[entry, slot] : noArgSlots) {
        if (entry->command == command) {
            (this->*slot)();
            return;
        }
    }
}

void IVantorClient::sendAnySwitchCmd(int command, quint8 mode)
{
    if (command == RadarCommandTable::SetImitatorMode.command)
        sendCmdSetImitatorMode(mode);
    else if (command == RadarCommandTable::SetFakeTargetsMode.command)
        sendCmdSetFakeTargetsMode(mode != 0);
    else if (command == RadarCommandTable::SetPolygonUsage.command)
        sendCmdSetPolygonUsage(mode);
}

int IVantorClient::doHandleRadarDataMessage(const QDateTime &frameTime, const QByteArray &frameArea)
{
    Q_UNUSED(frameTime)
    Q_UNUSED(frameArea)
    return Offline;
}

void IVantorClient::doHandleRadarCommandState(int command, CommandState state, int error)
{
    Q_UNUSED(command)
    Q_UNUSED(state)
    Q_UNUSED(error)
}

void IVantorClient::doQueueRadarCommand(int command, const QByteArray &data, int attempts)
{
    m_commands.enqueue(command, data, attempts);
}

void IVantorClient::doFinishRadarCommand(CommandState state, int error)
{
    m_commands.finish(Radar::CommandState(state), error);
}

void IVantorClient::doAddObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    m_objects.add(RoadObject(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected));
}

void IVantorClient::doUpdateObjects(const QDateTime &now)
{
    m_objects.expire(now);
}

void IVantorClient::doEmitObjects()
{
    if (!m_emitObjects || !isOnline(m_radarState))
        return;
    for (const RoadObject &object : m_objects.objects())
        emit objectData(object.id, object.xSpeed, object.ySpeed, object.xRange, object.yRange,
            object.length, object.lastDetected);
}

void IVantorClient::doDeleteObjects()
{
    m_objects.clear();
}

void IVantorClient::doDeleteRadarCommands()
{
    m_commands.clear();
}

void IVantorClient::doStatValidFrame()
{
    ++m_validFrames;
}

void IVantorClient::doEmitFrameStats()
{
    if (m_emitStats)
        emit frameStats(m_totalFrames, m_validFrames);
}

void IVantorClient::doSendCommandToServer(RnepCommand command, const QJsonObject &object)
{
    QJsonObject message = object;
    message.remove(QStringLiteral("command"));
    message.insert(QStringLiteral("command"), int(command));
    sendJsonToServer(message);
}

void IVantorClient::onServerTextReceived(const QString &text)
{
    // Oversized text takes the error path unparsed: Qt's parser leaks memory on repeated
    // keys, so parsing whatever a misbehaving server sends would let it grow the program.
    const QJsonObject message = text.size() <= MaxServerTextSize
        ? QJsonDocument::fromJson(text.toUtf8()).object()
        : QJsonObject();
    const QString commandKey = QStringLiteral("command");
    const QString resultKey = QStringLiteral("result");
    if (!message.contains(commandKey) || !message.contains(resultKey)) {
        emit serverCommandResult(-1, false, Radar::WrongServerResponse,
            tr("Wrong response message received from Vantor server."));
        return;
    }
    const int command = message.value(commandKey).toInt(-1);
    const int result = message.value(resultKey).toInt(0);
    emit serverCommandResult(
        command, result == 0, result, message.value(QStringLiteral("comment")).toString());
    if (command == ServerStateReport) {
        emit serverStateChanged(message.value(QStringLiteral("server_state")).toInt(-1),
            message.value(QStringLiteral("nep_server_url")).toString(),
            message.value(QStringLiteral("port_name")).toString());
    } else if (command == RadarProtocolSelection) {
        emit usedProtocolChanged(message.value(QStringLiteral("radar_protocol")).toInt(-1));
    }
}

void IVantorClient::onServerDataReceived(const QByteArray &data)
{
    // Without a usable time-stamp header the frame time is the reception time.
    QDateTime frameTime = TimeStampHeader::frameTime(data, QDateTime());
    if (!frameTime.isValid())
        frameTime = QDateTime::currentDateTimeUtc();
    const int offset = TimeStampHeader::frameAreaOffset(data);

    ++m_totalFrames;
    // The offline time-out runs only while a link exists.
    if (m_link.isOpen())
        m_offlineTimer.start();

    const QByteArray frameArea
        = QByteArray::fromRawData(data.constData() + offset, data.size() - offset);
    m_messageUnreadable = false;
    const int result = doHandleRadarDataMessage(frameTime, frameArea);
    // Messages that yield no frame tell random bytes apart from a silent radar.
    if (result == Offline)
        doSetMessagesUnreadable(m_messageUnreadable);

    // A new state is accepted on the third consecutive message that reports it.
    if (result != m_candidateState) {
        m_candidateState = result;
        m_confirmationsLeft = 2;
        return;
    }
    if (m_confirmationsLeft > 0) {
        --m_confirmationsLeft;
        if (m_confirmationsLeft > 0)
            return;
    }
    if (result == Offline) {
        doMarkRadarOffline();
        return;
    }
    doSetMessagesUnreadable(false);
    if (result != m_radarState) {
        m_radarState = result;
        emit radarStateChanged(result);
    }
}

void IVantorClient::doReportUnreadableMessage()
{
    m_messageUnreadable = true;
}

void IVantorClient::doSetMessagesUnreadable(bool unreadable)
{
    if (unreadable == m_messagesUnreadable)
        return;
    m_messagesUnreadable = unreadable;
    emit messagesUnreadableChanged(unreadable);
}

void IVantorClient::doMarkRadarOffline()
{
    const bool wasOnline = m_radarState != Offline;
    m_radarState = Offline;
    m_candidateState = Offline;
    m_confirmationsLeft = 2;
    m_offlineTimer.stop();
    if (wasOnline) {
        doDeleteObjects();
        doDeleteRadarCommands();
        emit radarStateChanged(Offline);
    }
}

void IVantorClient::onRadarCommandStateChanged(int command, int state, int error)
{
    doHandleRadarCommandState(command, CommandState(state), error);
}
