#include "ivantorclient.h"

#include "radarcommand.h"
#include "roadobject.h"
#include "timestampheader.h"

#include <QJsonDocument>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>
#include <QWebSocket>

#include <cmath>
#include <limits>

IVantorClient::IVantorClient(QObject *parent)
    : QObject(parent)
{ }

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
    return m_commands.isEmpty() ? 0 : m_commands.first()->command;
}

void IVantorClient::setTimingForTests(const Timing &timing)
{
    m_timing = timing;
    if (m_pingTimer)
        m_pingTimer->setInterval(m_timing.pingIntervalMs);
    if (m_offlineTimer)
        m_offlineTimer->setInterval(m_timing.offlineTimeoutMs);
    if (m_sendTimer)
        m_sendTimer->setInterval(m_timing.sendDelayMs);
    if (m_commandTimeoutTimer)
        m_commandTimeoutTimer->setInterval(m_timing.commandTimeoutMs);
}

bool IVantorClient::isOnline(int state)
{
    return state == Busy || state == Working;
}

bool IVantorClient::isWorking(int state)
{
    return state == Working;
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
    if (m_socket) {
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

    m_url = url;
    m_reconnectTimeoutMs = reconnectTimeoutMs;
    m_pingSent = 0;
    m_pongReceived = 0;
    m_sessionEstablished = false;

    m_pingTimer = doCreateTimer(m_timing.pingIntervalMs, false, &IVantorClient::doPingServer);
    m_offlineTimer
        = doCreateTimer(m_timing.offlineTimeoutMs, true, &IVantorClient::doMarkRadarOffline);
    m_sendTimer = doCreateTimer(m_timing.sendDelayMs, true, &IVantorClient::doSendNextRadarCommand);
    m_commandTimeoutTimer = doCreateTimer(
        m_timing.commandTimeoutMs, true, &IVantorClient::doMarkRadarCommandTimedOut);

    m_socket = new QWebSocket(QString(), QWebSocketProtocol::Version13, this);
    m_socket->setMaxAllowedIncomingMessageSize(MaxIncomingMessageSize);
    m_socket->setMaxAllowedIncomingFrameSize(MaxIncomingMessageSize);
    connect(m_socket, &QWebSocket::stateChanged, this, &IVantorClient::onSocketStateChanged);
    connect(m_socket, &QWebSocket::pong, this, &IVantorClient::onServerPongReceived);
    connect(m_socket, &QWebSocket::textMessageReceived, this, &IVantorClient::onServerTextReceived);
    connect(
        m_socket, &QWebSocket::binaryMessageReceived, this, &IVantorClient::onServerDataReceived);
    doOpenSocket();
    return true;
}

void IVantorClient::disconnectFromServer()
{
    doMarkRadarOffline();
    doDeleteObjects();
    doDeleteRadarCommands();
    m_reconnectTimeoutMs = 0;

    const bool established = m_sessionEstablished;
    m_connected = false;
    m_sessionEstablished = false;
    if (m_socket) {
        disconnect(m_socket, nullptr, this, nullptr);
        if (m_socket->state() == QAbstractSocket::ConnectedState)
            m_socket->close(QWebSocketProtocol::CloseCodeNormal, QString());
        else
            m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    doReleaseTimer(m_pingTimer);
    doReleaseTimer(m_offlineTimer);
    doReleaseTimer(m_sendTimer);
    doReleaseTimer(m_commandTimeoutTimer);
    if (established)
        emit disconnected();
}

void IVantorClient::forceServerToChangeProtocol(int protocol)
{
    QJsonObject object;
    object.insert(QStringLiteral("radar_protocol"), protocol);
    doSendCommandToServer(RadarProtocolSelection, object);
}

void IVantorClient::sendDataToRadar(const QByteArray &data)
{
    if (m_socket && m_connected)
        m_socket->sendBinaryMessage(data);
}

void IVantorClient::sendJsonToServer(const QJsonObject &obj)
{
    if (m_socket && m_connected)
        m_socket->sendTextMessage(
            QString::fromUtf8(QJsonDocument(obj).toJson(QJsonDocument::Compact)));
}

void IVantorClient::resetStatistics()
{
    m_totalFrames = 0;
    m_validFrames = 0;
}

void IVantorClient::sendAnyCmdWithNoArgs(int command)
{
    switch (command) {
    case 1:
        sendCmdGetHardwareInfo();
        break;
    case 2:
        sendCmdGetFirmwareInfo();
        break;
    case 3:
        sendCmdSelfDiagnostics();
        break;
    case 5:
        sendCmdGetImitatorMode();
        break;
    case 7:
        sendCmdGetFakeTargetsMode();
        break;
    case 8:
        sendCmdSaveToFlash();
        break;
    case 9:
        sendCmdRestart();
        break;
    case 23:
        sendCmdGetRadarSensitivity();
        break;
    case 25:
        sendCmdGetFrequencyIndex();
        break;
    case 27:
        sendCmdGetPolygonUsage();
        break;
    case 34:
        sendCmdReinitPolygons();
        break;
    case 36:
        sendCmdGetCalibrationCommand();
        break;
    case 37:
        sendCmdGetCalibrationState();
        break;
    case 41:
        sendCmdResetCalibrationParams();
        break;
    case 42:
        sendCmdApplyCalibrationParams();
        break;
    default:
        break;
    }
}

void IVantorClient::sendAnySwitchCmd(int command, quint8 mode)
{
    switch (command) {
    case 4:
        sendCmdSetImitatorMode(mode);
        break;
    case 6:
        sendCmdSetFakeTargetsMode(mode != 0);
        break;
    case 26:
        sendCmdSetPolygonUsage(mode);
        break;
    default:
        break;
    }
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
    const bool wasEmpty = m_commands.isEmpty();
    m_commands.append(new RadarCommand(command, data, attempts));
    doReportCommandState(command, Queued, 0);
    if (wasEmpty)
        doSendNextRadarCommand();
}

void IVantorClient::doFinishRadarCommand(CommandState state, int error)
{
    if (m_commandTimeoutTimer)
        m_commandTimeoutTimer->stop();
    if (m_commands.isEmpty())
        return;
    // The head is not touched after a report: a receiver may clear the queue.
    RadarCommand *head = m_commands.first();
    const int command = head->command;
    if (state == Error) {
        if (--head->attempts > 0) {
            doReportCommandState(command, InProgress, error);
        } else {
            delete m_commands.takeFirst();
            doReportCommandState(command, Error, error);
        }
    } else if (state == Received) {
        delete m_commands.takeFirst();
        doReportCommandState(command, Received, error);
    } else {
        doReportCommandState(command, state, error);
    }
    if (m_commands.isEmpty())
        return;
    if (m_sendTimer)
        m_sendTimer->start();
    else
        doSendNextRadarCommand();
}

void IVantorClient::doAddObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    RoadObject *&object = m_objects[id];
    if (object)
        object->update(xSpeed, ySpeed, xRange, yRange, length, lastDetected);
    else
        object = new RoadObject(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected);
}

void IVantorClient::doUpdateObjects(const QDateTime &now)
{
    // Objects stamped more than the expiry ahead of the frame time are dropped as well:
    // after the server's clock steps back they would otherwise linger until it catches up.
    const qint64 nowMs = now.toMSecsSinceEpoch();
    for (auto it = m_objects.begin(); it != m_objects.end();) {
        const qint64 ageMs = nowMs - it.value()->lastDetected.toMSecsSinceEpoch();
        if (ageMs > ObjectExpiryMs || ageMs < -ObjectExpiryMs) {
            delete it.value();
            it = m_objects.erase(it);
        } else {
            ++it;
        }
    }
}

void IVantorClient::doEmitObjects()
{
    if (!m_emitObjects || !isOnline(m_radarState))
        return;
    for (const RoadObject *object : qAsConst(m_objects))
        emit objectData(object->id, object->xSpeed, object->ySpeed, object->xRange, object->yRange,
            object->length, object->lastDetected);
}

void IVantorClient::doDeleteObjects()
{
    qDeleteAll(m_objects);
    m_objects.clear();
}

void IVantorClient::doDeleteRadarCommands()
{
    // A pending resend or time-out would otherwise act on a command queued later.
    if (m_sendTimer)
        m_sendTimer->stop();
    if (m_commandTimeoutTimer)
        m_commandTimeoutTimer->stop();
    const QList<RadarCommand *> commands = m_commands;
    m_commands.clear();
    for (RadarCommand *command : commands) {
        doReportCommandState(command->command, Discarded, 255);
        delete command;
    }
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

void IVantorClient::onSocketStateChanged(QAbstractSocket::SocketState state)
{
    m_connected = state == QAbstractSocket::ConnectedState;
    switch (state) {
    case QAbstractSocket::ConnectingState:
        emit connecting();
        break;
    case QAbstractSocket::ConnectedState:
        m_sessionEstablished = true;
        // A ping left unanswered by an earlier connection must not end this one.
        m_pongReceived = m_pingSent;
        emit connected();
        break;
    case QAbstractSocket::UnconnectedState: {
        const bool established = m_sessionEstablished;
        m_sessionEstablished = false;
        if (established)
            emit disconnected();
        else
            emit notconnected();
        if (m_reconnectTimeoutMs > 0) {
            const QPointer<QWebSocket> socket = m_socket;
            QTimer::singleShot(m_reconnectTimeoutMs, this, [this, socket] {
                if (socket && socket == m_socket)
                    doOpenSocket();
            });
        }
        break;
    }
    default:
        break;
    }
    if (m_pingTimer) {
        if (m_connected)
            m_pingTimer->start();
        else
            m_pingTimer->stop();
    }
}

void IVantorClient::onServerPongReceived(quint64 elapsedTime, const QByteArray &payload)
{
    if (!m_connected || payload.size() != 1)
        return;
    m_pongReceived = quint8(payload.at(0));
    if (m_pongReceived == m_pingSent)
        emit pingLatency(elapsedTime);
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
        emit serverCommandResult(
            -1, false, -11, tr("Wrong response message received from Vantor server."));
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
    const int offset = TimeStampHeader::frameAreaOffset(data);
    QDateTime frameTime;
    if (offset > 0)
        frameTime = TimeStampHeader::decode(data.constData());
    if (!frameTime.isValid())
        frameTime = QDateTime::currentDateTimeUtc();

    ++m_totalFrames;
    if (m_offlineTimer) {
        m_offlineTimer->stop();
        m_offlineTimer->start();
    }

    const QByteArray frameArea
        = QByteArray::fromRawData(data.constData() + offset, data.size() - offset);
    const int result = doHandleRadarDataMessage(frameTime, frameArea);

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
    } else if (result != m_radarState) {
        m_radarState = result;
        emit radarStateChanged(result);
    }
}

void IVantorClient::doMarkRadarOffline()
{
    const bool wasOnline = m_radarState != Offline;
    m_radarState = Offline;
    m_candidateState = Offline;
    m_confirmationsLeft = 2;
    if (m_offlineTimer)
        m_offlineTimer->stop();
    if (wasOnline) {
        doDeleteObjects();
        doDeleteRadarCommands();
        emit radarStateChanged(Offline);
    }
}

void IVantorClient::doPingServer()
{
    if (!m_socket || !m_connected)
        return;
    if (m_pongReceived != m_pingSent) {
        // The previous ping went unanswered: drop the link; the state change reconnects.
        m_pongReceived = m_pingSent;
        doCloseSocket();
        return;
    }
    ++m_pingSent;
    m_socket->ping(QByteArray(1, char(m_pingSent)));
}

void IVantorClient::doOpenSocket()
{
    if (m_socket && m_socket->state() == QAbstractSocket::UnconnectedState)
        m_socket->open(m_url);
}

void IVantorClient::doCloseSocket()
{
    if (m_socket)
        m_socket->close(QWebSocketProtocol::CloseCodeNormal, QString());
}

void IVantorClient::doSendNextRadarCommand()
{
    while (!m_commands.isEmpty()) {
        RadarCommand *head = m_commands.first();
        if (isLinkReady()) {
            m_commandTimeoutTimer->start();
            sendDataToRadar(head->data);
            doReportCommandState(head->command, InProgress, 0);
            return;
        }
        if (m_sendTimer && m_commandTimeoutTimer) {
            doFinishRadarCommand(Error, -3);
            return;
        }
        // The link has been released: no timer is left to retry, so the command fails now
        // and the next one falls due.
        const int command = head->command;
        delete m_commands.takeFirst();
        doReportCommandState(command, Error, -3);
    }
}

void IVantorClient::doMarkRadarCommandTimedOut()
{
    doFinishRadarCommand(Error, -7);
}

QTimer *IVantorClient::doCreateTimer(int intervalMs, bool singleShot, void (IVantorClient::*slot)())
{
    auto *timer = new QTimer(this);
    // Coarse timers may fire 5 % early; the link's time-outs are meant as stated.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(intervalMs);
    timer->setSingleShot(singleShot);
    connect(timer, &QTimer::timeout, this, slot);
    return timer;
}

void IVantorClient::doReleaseTimer(QTimer *&timer)
{
    if (!timer)
        return;
    timer->stop();
    disconnect(timer, nullptr, this, nullptr);
    timer->deleteLater();
    timer = nullptr;
}

void IVantorClient::doReportCommandState(int command, CommandState state, int error)
{
    doHandleRadarCommandState(command, state, error);
}

bool IVantorClient::isLinkReady() const
{
    return m_socket && m_connected && m_commandTimeoutTimer;
}
