#pragma once

// Identifiers under which the radar client queues the commands the panels request and
// reports their progress in radarCommandStateChanged. Polygon commands are tracked under
// RadarParameters::fullPolygonCmdId of their base identifier.
class RadarCommandId
{
public:
    static constexpr int GetHardwareInfo = 1;
    static constexpr int GetFirmwareInfo = 2;
    static constexpr int SelfDiagnostics = 3;
    static constexpr int SetImitatorMode = 4;
    static constexpr int GetImitatorMode = 5;
    static constexpr int SetFakeTargetsMode = 6;
    static constexpr int GetFakeTargetsMode = 7;
    static constexpr int SaveToFlash = 8;
    static constexpr int Restart = 9;
    // Position values, each reported separately: set, then get.
    static constexpr int SetHeight = 10;
    static constexpr int GetHeight = 11;
    static constexpr int SetXOffset = 12;
    static constexpr int GetXOffset = 13;
    static constexpr int SetYOffset = 14;
    static constexpr int GetYOffset = 15;
    static constexpr int SetAzimuth = 16;
    static constexpr int GetAzimuth = 17;
    static constexpr int SetAltitude = 18;
    static constexpr int GetAltitude = 19;
    static constexpr int SetRoll = 20;
    static constexpr int GetRoll = 21;
    static constexpr int SetRadarSensitivity = 22;
    static constexpr int GetRadarSensitivity = 23;
    static constexpr int SetFrequencyIndex = 24;
    static constexpr int GetFrequencyIndex = 25;
    static constexpr int SetPolygonUsage = 26;
    static constexpr int GetPolygonUsage = 27;
    static constexpr int SetPolygonTreatParam = 28;
    static constexpr int GetPolygonTreatParam = 29;
    static constexpr int SetPolygonSpeedParam = 30;
    static constexpr int GetPolygonSpeedParam = 31;
    static constexpr int SetPolygonPointParam = 32;
    static constexpr int GetPolygonPointParam = 33;
    static constexpr int ReinitPolygons = 34;
};
