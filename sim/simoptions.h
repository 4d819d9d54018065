#pragma once

#include "radaremulator.h"
#include "simserver.h"

#include <QString>
#include <QUrl>

// Everything the simulator is started with.
struct SimOptions
{
    enum class Source { Radar, Proxy, Replay };

    Source source = Source::Radar;
    SimServer::Settings server;
    RadarEmulator::Settings radar;
    QString roadFile;
    QUrl proxyUrl;
    QString recordFile;
    QString replayFile;
    double replaySpeed = 1.0;
    bool replayLoop = false;
    bool replayRestamp = false;
    bool verbose = false;
};
