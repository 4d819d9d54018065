#include "radarsimulator.h"

#include "messagerecorder.h"
#include "proxybridge.h"
#include "radaremulator.h"
#include "recordingplayer.h"
#include "roadbuilder.h"
#include "roadconfigfile.h"
#include "simserver.h"

RadarSimulator::RadarSimulator(const SimOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
{ }

RadarSimulator::~RadarSimulator()
{
    stop();
    delete m_proxy;
    delete m_server;
    if (m_recorder)
        m_recorder->close();
    delete m_recorder;
}

bool RadarSimulator::start(QString *error)
{
    if (m_server) {
        *error = QStringLiteral("already started");
        return false;
    }
    m_server = new SimServer(m_options.server);
    switch (m_options.source) {
    case SimOptions::Source::Radar:
        return doStartRadar(error);
    case SimOptions::Source::Proxy:
        return doStartProxy(error);
    case SimOptions::Source::Replay:
        return doStartReplay(error);
    }
    return false;
}

bool RadarSimulator::doStartRadar(QString *error)
{
    QJsonObject road = RoadConfigFile::defaultRoad();
    if (!m_options.roadFile.isEmpty() && !RoadConfigFile::read(m_options.roadFile, &road, error))
        return false;

    m_radar = new RadarEmulator(m_options.radar, this);
    if (!m_radar->loadState(error))
        return false;

    QMap<int, QPolygonF> lanes;
    RoadBuilder builder;
    connect(&builder, &RoadBuilder::laneCenterLines, this,
        [&lanes](const QMap<int, QPolygonF> &lines) { lanes = lines; });
    builder.setRoadConfig(road);
    if (lanes.isEmpty()) {
        qWarning("The road has no lanes; the traffic uses the default road instead");
        builder.setRoadConfig(RoadConfigFile::defaultRoad());
    }
    m_radar->setLanes(lanes);

    if (!m_server->listen(error))
        return false;
    connect(m_radar, &RadarEmulator::radarMessage, m_server, &SimServer::sendRadarMessage);
    connect(m_server, &SimServer::commandFrameReceived, m_radar, &RadarEmulator::receiveFrame);
    m_radar->start();
    return true;
}

bool RadarSimulator::doStartProxy(QString *error)
{
    if (!m_options.recordFile.isEmpty()) {
        m_recorder = new MessageRecorder;
        if (!m_recorder->open(m_options.recordFile, error))
            return false;
        qInfo("Recording the server's messages to %s", qPrintable(m_options.recordFile));
    }
    m_proxy = new ProxyBridge(m_server, m_options.proxyUrl, m_recorder);
    if (!m_server->listen(error))
        return false;
    qInfo("Forwarding to %s", qPrintable(m_options.proxyUrl.toString()));
    return true;
}

bool RadarSimulator::doStartReplay(QString *error)
{
    m_player = new RecordingPlayer(this);
    if (!m_player->open(m_options.replayFile, error))
        return false;
    m_player->setSpeed(m_options.replaySpeed);
    m_player->setLoop(m_options.replayLoop);
    m_player->setRestamp(m_options.replayRestamp);
    // The server's own state reports stand in for the recorded ones.
    m_player->setPlayText(false);
    connect(m_player, &RecordingPlayer::binaryMessage, m_server, &SimServer::sendRecordedMessage);
    connect(m_server, &SimServer::commandFrameReceived, this, [](const QByteArray &frame) {
        qInfo("Replaying: command frame %s not answered", frame.toHex(' ').constData());
    });
    if (!m_server->listen(error))
        return false;
    // The recording starts once the server works on its port and a client listens.
    connect(m_server, &SimServer::clientConnected, this, &RadarSimulator::doStartReplayWhenReady);
    connect(
        m_server, &SimServer::serverStateChanged, this, &RadarSimulator::doStartReplayWhenReady);
    qInfo("Replaying %s at %.2fx%s, from the first client on", qPrintable(m_options.replayFile),
        m_options.replaySpeed, m_options.replayLoop ? ", looping" : "");
    return true;
}

void RadarSimulator::doStartReplayWhenReady()
{
    if (!m_player || m_player->isPlaying() || m_player->playedCount() > 0)
        return;
    if (m_server->serverState() == SimServer::WorkingOnPort && m_server->clientCount() > 0)
        m_player->start();
}

void RadarSimulator::stop()
{
    if (m_radar)
        m_radar->stop();
    if (m_player)
        m_player->stop();
}

quint16 RadarSimulator::port() const
{
    return m_server ? m_server->port() : 0;
}

QUrl RadarSimulator::url() const
{
    return m_server ? m_server->url() : QUrl();
}
