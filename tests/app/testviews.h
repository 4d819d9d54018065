#pragma once

#include "generalinfowidget.h"
#include "historytablewidget.h"
#include "imitatorobjectwidget.h"
#include "lanestatisticswindow.h"
#include "mainviews.h"
#include "objectstablewidget.h"
#include "projectionwidget.h"
#include "radarstatewidget.h"
#include "radartuningwidget.h"
#include "roadconfigwidget.h"
#include "roadobjectframecollector.h"
#include "roadobjectswidget.h"
#include "roadscene.h"
#include "saveandrestartwidget.h"
#include "sendcommandswidget.h"
#include "serverconnectionwidget.h"
#include "serverpingwidget.h"
#include "serverprotocolwidget.h"
#include "serverstatewidget.h"
#include "setpolygonwidget.h"
#include "setpositionwidget.h"
#include "tvmsconfigwidget.h"

// The main window's displays, panels and editors, built without the window.
struct TestViews
{
    ServerPingWidget serverPing;
    ServerConnectionWidget serverConnection;
    ServerStateWidget serverState;
    ServerProtocolWidget serverProtocol;
    RadarStateWidget radarState;
    RoadObjectsWidget scheme;
    ObjectsTableWidget objectsTable;
    ImitatorObjectWidget imitator;
    GeneralInfoWidget generalInfo;
    HistoryTableWidget history;
    ProjectionWidget projection;
    RoadObjectFrameCollector frameCollector;
    RoadScene roadScene;
    SendCommandsWidget sendCommands;
    SaveAndRestartWidget saveAndRestart;
    SetPositionWidget setPosition;
    RadarTuningWidget radarTuning;
    SetPolygonWidget setPolygon;
    RoadConfigWidget roadConfig;
    TvmsConfigWidget tvmsConfig;
    LaneStatisticsWindow laneStatistics;

    MainViews views()
    {
        return { &serverPing, &serverConnection, &serverState, &serverProtocol, &radarState,
            &scheme, &objectsTable, &imitator, &generalInfo, &history, &projection, &frameCollector,
            &roadScene, &sendCommands, &saveAndRestart, &setPosition, &radarTuning, &setPolygon,
            &roadConfig, &tvmsConfig, &laneStatistics };
    }
};
