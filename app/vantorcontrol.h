#pragma once

// Panels of the main window that can be shown, hidden and collapsed. The values are
// stored in the work profiles and must not change.
enum VantorControl {
    ObjectsViewControl = 0,
    TrafficSchemeControl = 1,
    RoadObjectsControl = 2,
    ImitatorControl = 3,
    SendCommandsControl = 4,
    LimitationsControl = 5,
    RadarPositionControl = 6,
    FineTuningControl = 7,
    SaveAndRestartControl = 8,
    GeneralInfoControl = 9,
    ObjectsHistoryControl = 12,
    ProjectionControl = 13,
};
