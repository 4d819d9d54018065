#pragma once

class GeneralInfoWidget;
class HistoryTableWidget;
class ImitatorObjectWidget;
class ObjectsHelper;
class ObjectsTableWidget;
class ProjectionWidget;
class RadarStateWidget;
class RadarTuningWidget;
class RoadBuilder;
class RoadConfigWidget;
class RoadObjectsWidget;
class SaveAndRestartWidget;
class SendCommandsWidget;
class ServerConnectionWidget;
class ServerPingWidget;
class ServerProtocolWidget;
class ServerStateWidget;
class SetPolygonWidget;
class SetPositionWidget;
class TvmsConfigWidget;

// The displays, panels and editors of the main window, as the radar wiring and the
// profile binding connect them. The window owns them all.
struct MainViews
{
    ServerPingWidget *serverPing = nullptr;
    ServerConnectionWidget *serverConnection = nullptr;
    ServerStateWidget *serverState = nullptr;
    ServerProtocolWidget *serverProtocol = nullptr;
    RadarStateWidget *radarState = nullptr;

    RoadObjectsWidget *scheme = nullptr;
    ObjectsTableWidget *objectsTable = nullptr;
    ImitatorObjectWidget *imitator = nullptr;
    GeneralInfoWidget *generalInfo = nullptr;
    HistoryTableWidget *history = nullptr;
    ProjectionWidget *projection = nullptr;
    RoadBuilder *roadBuilder = nullptr;
    ObjectsHelper *objectsHelper = nullptr;

    SendCommandsWidget *sendCommands = nullptr;
    SaveAndRestartWidget *saveAndRestart = nullptr;
    SetPositionWidget *setPosition = nullptr;
    RadarTuningWidget *radarTuning = nullptr;
    SetPolygonWidget *setPolygon = nullptr;

    RoadConfigWidget *roadConfig = nullptr;
    TvmsConfigWidget *tvmsConfig = nullptr;
};
