#pragma once

#include "simoptions.h"

#include <QObject>
#include <QUrl>

class MessageRecorder;
class ProxyBridge;
class RadarEmulator;
class RecordingPlayer;
class SimServer;

// The whole simulator as the options describe it: the server, and behind it the emulated
// radar on its road, a proxy to a real server (recording it), or a recording being replayed.
class RadarSimulator : public QObject
{
    Q_OBJECT

public:
    explicit RadarSimulator(const SimOptions &options, QObject *parent = nullptr);
    ~RadarSimulator() override;

    bool start(QString *error);
    void stop();

    quint16 port() const;
    QUrl url() const;
    SimServer *server() const { return m_server; }
    // Null unless the radar is emulated.
    RadarEmulator *radar() const { return m_radar; }
    RecordingPlayer *player() const { return m_player; }

private:
    bool doStartRadar(QString *error);
    bool doStartProxy(QString *error);
    bool doStartReplay(QString *error);
    void doStartReplayWhenReady();

    SimOptions m_options;
    SimServer *m_server = nullptr;
    RadarEmulator *m_radar = nullptr;
    RecordingPlayer *m_player = nullptr;
    ProxyBridge *m_proxy = nullptr;
    MessageRecorder *m_recorder = nullptr;
};
