#pragma once

class GeneralInfoWidget;
class HistoryTableWidget;
class ImitatorObjectWidget;
class LaneStatisticsWindow;
class ObjectsTableWidget;
class ProjectionWidget;
class RadarStateWidget;
class RadarTuningWidget;
class RoadConfigWidget;
class RoadObjectFrameCollector;
class RoadObjectsWidget;
class RoadScene;
class SaveAndRestartWidget;
class SendCommandsWidget;
class ServerConnectionWidget;
class ServerPingWidget;
class ServerProtocolWidget;
class ServerStateWidget;
class SetPolygonWidget;
class SetPositionWidget;
class TvmsConfigWidget;

namespace Ui {
class MainWindow;
}

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
    RoadObjectFrameCollector *frameCollector = nullptr;
    RoadScene *roadScene = nullptr;

    SendCommandsWidget *sendCommands = nullptr;
    SaveAndRestartWidget *saveAndRestart = nullptr;
    SetPositionWidget *setPosition = nullptr;
    RadarTuningWidget *radarTuning = nullptr;
    SetPolygonWidget *setPolygon = nullptr;

    RoadConfigWidget *roadConfig = nullptr;
    TvmsConfigWidget *tvmsConfig = nullptr;

    LaneStatisticsWindow *laneStatistics = nullptr;

    // Creates the displays and panels that live in the form's boxes.
    void createInForm(Ui::MainWindow &form);
    // Connects the views that feed each other: the road scene to the scheme and the
    // projection and the lane statistics, the projection's picks to the position panel and
    // the scheme.
    void connectDisplays() const;
};
