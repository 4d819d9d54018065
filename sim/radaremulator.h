#pragma once

#include "faultinjection.h"
#include "parameterstore.h"
#include "radarvariant.h"
#include "trafficmodel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>

// The emulated radar: one measurement cycle every cycleMs milliseconds, each sent as one
// frame area (synchronisation, sensor control with the uptime, object control with the
// cycle number, one frame per object), with the acknowledgements and responses owed to
// the commands received since the previous cycle in front of it. Commands are read with
// the simulator's own parameter types and numbers, not the client's command table, so
// that the two check each other.
class RadarEmulator : public QObject
{
    Q_OBJECT

public:
    enum FaultyUnit : quint16 { Amp1 = 0x02, Amp2 = 0x04, Padc = 0x08, Trsc = 0x10 };
    static constexpr quint16 FunctioningNormally = 0x01;
    static constexpr int MaxPendingAcks = 64;
    static constexpr int MaxPendingResponses = 32;
    static constexpr int ImitatorMaxTargets = 8;
    static constexpr int FakeTargets = 4;

    struct Settings
    {
        RadarVariant variant;
        int cycleMs = 100;
        int restartMs = 5000;
        int calibrationMs = 3000;
        QString stateFile;
        QByteArray hardwareInfo = "VANTOR RS-24 HW rev.3";
        QByteArray firmwareInfo = "FW 2.7.1 simulator";
        quint16 faultyUnits = 0; // FaultyUnit bits
        FaultInjection faults;
        TrafficModel::Settings traffic;
    };

    explicit RadarEmulator(const Settings &settings, QObject *parent = nullptr);

    // Loads the saved parameters from the state file, when one is set and exists. A
    // missing file is not an error; an unreadable or foreign one is, and leaves the defaults.
    bool loadState(QString *error);

    void setLanes(const QMap<int, QPolygonF> &centreLines);
    void start();
    void stop();

    const Settings &settings() const { return m_settings; }
    ParameterStore &parameters() { return m_store; }
    quint32 cycle() const { return m_cycle; }
    quint32 uptimeMs() const;
    bool isRestarting() const { return m_restarting; }
    int vehicleCount() const { return m_traffic.vehicleCount(); }
    // The traffic as it stands after the last cycle, for tests that compare with its truth.
    const TrafficModel &traffic() const { return m_traffic; }
    quint16 selfDiagnosticsWord() const;

public slots:
    // One command frame from a client, in wire form.
    void receiveFrame(const QByteArray &wire);
    // One measurement cycle; the cycle timer calls it, benchmarks may too.
    void runCycle();
    // One measurement cycle after the traffic moved on by the given simulated time, so
    // that tests can run minutes of traffic in moments.
    void runCycleAfter(double seconds);

signals:
    void radarMessage(const QByteArray &frameArea);
    void restartStarted();
    void restartFinished();

private:
    enum class ResponseKind { ReadParam, Position, HardwareInfo, FirmwareInfo };
    struct ResponseGroup
    {
        ResponseKind kind;
        QVector<quint64> payloads;
    };

    void doFinishRestart();
    void doHandleCommand(const QByteArray &wire, quint64 p);
    quint8 doExecuteCommand(quint8 paramType, quint8 action, quint8 paramNumber, qint32 paramValue);
    quint8 doExecuteSetup(quint64 p);
    quint8 doSaveToFlash();
    void doApplyModes();
    void doAdvanceCalibration();
    void queueAck(quint8 result);
    void queueResponse(ResponseKind kind, const QVector<quint64> &payloads);
    QVector<SimObject> doCollectObjects();

    Settings m_settings;
    ParameterStore m_store;
    TrafficModel m_traffic;
    QTimer m_cycleTimer;
    QTimer m_restartTimer;
    QElapsedTimer m_uptime;
    QElapsedTimer m_stepClock;
    quint32 m_cycle = 0;
    bool m_restarting = false;
    bool m_restartRequested = false;
    qint64 m_calibrationDoneAt = -1;
    QVector<quint8> m_pendingAcks;
    QVector<ResponseGroup> m_pendingResponses;
    QByteArray m_busyFrame;
    int m_busyCount = 0;
};
