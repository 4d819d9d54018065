#pragma once

#include "radarcommandqueue.h"
#include "radarstate.h"
#include "roadobjectstore.h"
#include "serverlink.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

// The abstract radar client, a façade over its parts: the link to the serial-port server
// (NEPS, ServerLink), the objects of the current frames (RoadObjectStore) and the queue of
// radar commands (RadarCommandQueue). It handles the server's JSON messages and debounces
// the radar state. Subclasses decode the radar's CAN traffic (doHandleRadarDataMessage)
// and build the commands (the sendCmd slots).
class IVantorClient : public QObject
{
    Q_OBJECT

public:
    // The states and predicates of radarstate.h, under the client's names.
    enum CommandState {
        Discarded = Radar::Discarded,
        Queued = Radar::Queued,
        InProgress = Radar::InProgress,
        Received = Radar::Received,
        Error = Radar::Error,
    };
    Q_ENUM(CommandState)

    enum RnepCommand {
        ServerStateReport = 1,
        RadarProtocolSelection = 2,
    };
    Q_ENUM(RnepCommand)

    enum RadarState {
        WrongProtocol = Radar::WrongProtocol,
        Offline = Radar::Offline,
        Busy = Radar::Busy,
        Working = Radar::Working,
    };

    // Timer periods in milliseconds. The defaults are the product's; tests may shorten
    // them with setTimingForTests().
    struct Timing
    {
        int pingIntervalMs = 2000;
        int offlineTimeoutMs = 2000;
        int sendDelayMs = 100;
        int commandTimeoutMs = 900;
        int connectTimeoutMs = ServerLink::DefaultConnectTimeoutMs;
    };

    // Incoming WebSocket messages and frames above this size are refused.
    static constexpr qint64 MaxIncomingMessageSize = ServerLink::MaxIncomingMessageSize;
    // The server's JSON messages are a few dozen bytes; longer text is not one of them.
    static constexpr int MaxServerTextSize = 64 * 1024;
    static constexpr int ObjectExpiryMs = RoadObjectStore::ExpiryMs;
    static constexpr int CommandAttempts = 5;

    explicit IVantorClient(QObject *parent = nullptr);
    ~IVantorClient() override;

    void setEmitStatsEnabled(bool enabled);
    void setEmitObjectsEnabled(bool enabled);
    bool isEmitStatsEnabled() const { return m_emitStats; }
    bool isEmitObjectsEnabled() const { return m_emitObjects; }

    // Identifier of the command at the head of the queue, 0 when the queue is empty.
    int lastRadarCommand() const;
    int radarState() const { return m_radarState; }
    bool isConnected() const { return m_link.isConnected(); }
    QUrl url() const { return m_link.url(); }
    quint64 totalFrames() const { return m_totalFrames; }
    quint64 validFrames() const { return m_validFrames; }
    int objectCount() const { return m_objects.size(); }
    int queuedCommandCount() const { return m_commands.size(); }

    // Applies to the timers of the current and of later connections.
    void setTimingForTests(const Timing &timing);
    Timing timing() const { return m_timing; }

    static bool isOnline(int state);
    static bool isWorking(int state);
    // Protocol values carry fixed-point numbers in millionths.
    static double protocolToDouble(int value);
    static int doubleToProtocol(double value);

signals:
    void connecting();
    void connected();
    void notconnected();
    void disconnected();
    void pingLatency(quint64 latency);
    void radarStateChanged(int state);
    void frameStarted();
    void frameDateTimeUtc(const QDateTime &dateTime);
    void uptimeInfo(int days, int hours, int minutes, int seconds, int milliseconds);
    void cycleNumber(quint64 cycle);
    void objectData(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected);
    void frameStats(quint64 total, quint64 valid);
    void frameFinished();
    void radarCommandStateChanged(int command, int state, int error);
    void hardwareInfo(const QString &info);
    void firmwareInfo(const QString &info);
    void selfDiagnosticsResult(quint16 data);
    void imitatorModeChanged(quint8 mode);
    void fakeTargetsModeChanged(bool enabled);
    void radarPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll);
    void frequencyIndex(int value);
    void radarSensitivity(int value);
    void polygonUsage(quint8 mask);
    void polygonTreatParam(quint8 id, quint8 param, quint8 value);
    void polygonSpeedParam(quint8 id, quint8 param, double value);
    void polygonPointParam(quint8 id, quint8 param, double value);
    void calibrationCommand(int command);
    void calibrationState(int state);
    void calibrationLastParam(quint8 param, int value);
    void calibrationCurrParam(quint8 param, int value);
    void debugVariableValue(quint8 id, int value);
    void freeCommandValue(quint8 id0, quint8 id1, quint8 id2, int value);
    void serverCommandResult(int command, bool result, int error, const QString &comment);
    void usedProtocolChanged(int protocol);
    void serverStateChanged(int state, const QString &nepsUrl, const QString &portName);
    // The server accepted the connection but did not complete the handshake in time; the
    // link tries again after the reconnect time-out.
    void connectingTimedOut();
    // The server sent a message above MaxIncomingMessageSize: the link was closed and
    // reconnects after the reconnect time-out.
    void messageTooLarge();
    // The server left a ping unanswered: the link was closed and reconnects after the
    // reconnect time-out.
    void pingTimedOut();
    // Binary messages arrive that hold nothing the radar sends (random bytes, another
    // device): true on such a message, false on a readable message without frames, once a
    // radar state other than offline is accepted, after silence and on disconnecting. The
    // radar state display shows it while the state is offline.
    void messagesUnreadableChanged(bool unreadable);

public slots:
    // Error output: -1 invalid URL, -2 a connection already exists.
    bool connectToServer(const QUrl &url, int reconnectTimeoutMs = 1000, int *error = nullptr);
    void disconnectFromServer();
    void forceServerToChangeProtocol(int protocol);
    void sendDataToRadar(const QByteArray &data);
    void sendJsonToServer(const QJsonObject &obj);
    virtual void resetStatistics();
    virtual void sendAnyCmdWithNoArgs(int command);
    virtual void sendAnySwitchCmd(int command, quint8 mode);
    // The server's messages; a recording's player feeds them here too, with the link closed.
    void onServerTextReceived(const QString &text);
    void onServerDataReceived(const QByteArray &data);

    virtual void sendCmdGetHardwareInfo() = 0;
    virtual void sendCmdGetFirmwareInfo() = 0;
    virtual void sendCmdSelfDiagnostics() = 0;
    virtual void sendCmdSetImitatorMode(quint8 mode) = 0;
    virtual void sendCmdGetImitatorMode() = 0;
    virtual void sendCmdSetFakeTargetsMode(bool enabled) = 0;
    virtual void sendCmdGetFakeTargetsMode() = 0;
    virtual void sendCmdSaveToFlash() = 0;
    virtual void sendCmdRestart() = 0;
    virtual void sendCmdSetRadarSensitivity(int value) = 0;
    virtual void sendCmdGetRadarSensitivity() = 0;
    virtual void sendCmdSetFrequencyIndex(int value) = 0;
    virtual void sendCmdGetFrequencyIndex() = 0;
    virtual void sendCmdSetPolygonUsage(quint8 mask) = 0;
    virtual void sendCmdGetPolygonUsage() = 0;
    virtual void sendCmdSetPolygonTreatParam(quint8 id, quint8 param, quint8 value) = 0;
    virtual void sendCmdGetPolygonTreatParam(quint8 id, quint8 param) = 0;
    virtual void sendCmdSetPolygonSpeedParam(quint8 id, quint8 param, double value) = 0;
    virtual void sendCmdGetPolygonSpeedParam(quint8 id, quint8 param) = 0;
    virtual void sendCmdSetPolygonPointParam(quint8 id, quint8 param, double value) = 0;
    virtual void sendCmdGetPolygonPointParam(quint8 id, quint8 param) = 0;
    virtual void sendCmdReinitPolygons() = 0;
    virtual void sendCmdSetCalibrationCommand(int command) = 0;
    virtual void sendCmdGetCalibrationCommand() = 0;
    virtual void sendCmdGetCalibrationState() = 0;
    virtual void sendCmdSetCalibrationLastParam(quint8 param, int value) = 0;
    virtual void sendCmdGetCalibrationLastParam(quint8 param) = 0;
    virtual void sendCmdGetCalibrationCurrParam(quint8 param) = 0;
    virtual void sendCmdResetCalibrationParams() = 0;
    virtual void sendCmdApplyCalibrationParams() = 0;
    virtual void sendCmdSetDebugVariableValue(quint8 id, int value) = 0;
    virtual void sendCmdGetDebugVariableValue(quint8 id) = 0;
    virtual void sendCmdSetPosition(
        double height, double xOffset, double yOffset, double azimuth, double altitude, double roll)
        = 0;
    virtual void sendCmdGetPosition() = 0;
    virtual void sendCmdFreeCommand(
        quint8 paramType, quint8 action, quint8 paramNumber, int paramValue)
        = 0;

protected:
    // Returns the radar state the frame area yields (-1, 0, 1 or 2).
    virtual int doHandleRadarDataMessage(const QDateTime &frameTime, const QByteArray &frameArea);
    virtual void doHandleRadarCommandState(
        int command, IVantorClient::CommandState state, int error);

    void doQueueRadarCommand(int command, const QByteArray &data, int attempts);
    void doFinishRadarCommand(IVantorClient::CommandState state, int error);
    void doAddObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected);
    void doUpdateObjects(const QDateTime &now);
    void doEmitObjects();
    void doDeleteObjects();
    void doDeleteRadarCommands();
    void doStatValidFrame();
    void doEmitFrameStats();
    void doSendCommandToServer(IVantorClient::RnepCommand command, const QJsonObject &object);
    // Called from doHandleRadarDataMessage for a message with bytes of which not one
    // acknowledgement or frame could be read.
    void doReportUnreadableMessage();

private slots:
    void onRadarCommandStateChanged(int command, int state, int error);
    void doMarkRadarOffline();

private:
    void doSetMessagesUnreadable(bool unreadable);

    bool m_emitStats = false;
    bool m_emitObjects = true;
    ServerLink m_link;
    QTimer m_offlineTimer;
    int m_radarState = 0;
    int m_candidateState = 0;
    int m_confirmationsLeft = 2;
    bool m_messageUnreadable = false;
    bool m_messagesUnreadable = false;
    quint64 m_totalFrames = 0;
    quint64 m_validFrames = 0;
    RoadObjectStore m_objects;
    RadarCommandQueue m_commands;
    Timing m_timing;
};
