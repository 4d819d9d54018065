#pragma once

#include <QtGlobal>

// Parameter numbers of the polygon and calibration parameters, and the composite command
// identifiers that track each polygon, calibration parameter or variable separately.
class RadarParameters
{
public:
    enum PolygonParam {
        PolygonTreatParam, // param 0..1
        PolygonSpeedParam, // param 0..3
        PolygonPointParam, // param 0..15
    };

    static constexpr int PolygonCount = 8;
    static constexpr int CalibrationParamCount = 5;

    // Number of the polygon parameter, or -1 when the polygon or the parameter is out of range.
    static int polygonParamNo(PolygonParam kind, quint8 id, quint8 param);
    static int paramCount(PolygonParam kind);

    // The inverse functions: false when no polygon parameter has that number.
    static bool getPolygonTreatParam(quint8 number, quint8 *id, quint8 *param);
    static bool getPolygonSpeedParam(quint8 number, quint8 *id, quint8 *param);
    static bool getPolygonPointParam(quint8 number, quint8 *id, quint8 *param);

    // Calibration parameter numbers are 8..12 (last) and 16..20 (current) for param 0..4.
    static bool getCalibrationLastParam(quint8 number, quint8 *param);
    static bool getCalibrationCurrParam(quint8 number, quint8 *param);

    // Computed unsigned: an identifier or action of 128 and more reaches the sign bit.
    static int fullPolygonCmdId(int baseCommand, quint8 id, quint8 param);
    static int fullCalibrationCmdId(int baseCommand, quint8 param);
    static int fullDebugVariableCmdId(quint8 id);
    static int fullFreeCommandCmdId(quint8 paramType, quint8 action, quint8 paramNumber);

private:
    static bool doFindPolygonParam(PolygonParam kind, quint8 number, quint8 *id, quint8 *param);
};
