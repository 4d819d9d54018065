#pragma once

#include <QList>
#include <QtGlobal>

// The radar's parameter commands, one named entry each: the command identifier that
// radarCommandStateChanged carries and the fields of the command frame. The command
// slots, sendAnyCmdWithNoArgs / sendAnySwitchCmd and the read response dispatch all
// take their numbers from here.
class RadarCommandTable
{
public:
    // The paramType field of a command frame.
    enum ParamType : quint8 {
        WriteInteger = 0,
        WriteFixedPoint = 1, // the value in millionths
        ReadInteger = 2,
        ReadFixedPoint = 3,
        WriteByte = 4,
    };

    // How the parameter number (and the tracked identifier) of a command is formed.
    enum class Addressing {
        Fixed, // paramNumber as given, identifier as given
        PolygonTreat, // polygon id and param, see RadarParameters
        PolygonSpeed,
        PolygonPoint,
        CalibrationParam, // paramNumber + param, param 0..4
        Variable, // paramNumber = variable id
    };

    struct Entry
    {
        int command;
        quint8 paramType;
        quint8 action;
        quint8 paramNumber;
        qint32 paramValue;
        Addressing addressing;
    };

    static const Entry GetHardwareInfo;
    static const Entry GetFirmwareInfo;
    static const Entry SelfDiagnostics;
    static const Entry SetImitatorMode;
    static const Entry GetImitatorMode;
    static const Entry SetFakeTargetsMode;
    static const Entry GetFakeTargetsMode;
    static const Entry SaveToFlash;
    static const Entry Restart;
    static const Entry SetRadarSensitivity;
    static const Entry GetRadarSensitivity;
    static const Entry SetFrequencyIndex;
    static const Entry GetFrequencyIndex;
    static const Entry SetPolygonUsage;
    static const Entry GetPolygonUsage;
    static const Entry SetPolygonTreatParam;
    static const Entry GetPolygonTreatParam;
    static const Entry SetPolygonSpeedParam;
    static const Entry GetPolygonSpeedParam;
    static const Entry SetPolygonPointParam;
    static const Entry GetPolygonPointParam;
    static const Entry ReinitPolygons;
    static const Entry SetCalibrationCommand;
    static const Entry GetCalibrationCommand;
    static const Entry GetCalibrationState;
    static const Entry SetCalibrationLastParam;
    static const Entry GetCalibrationLastParam;
    static const Entry GetCalibrationCurrParam;
    static const Entry ResetCalibrationParams;
    static const Entry ApplyCalibrationParams;
    static const Entry SetDebugVariableValue;
    static const Entry GetDebugVariableValue;
    static const Entry GetPosition;

    // The identifiers each position value is reported under, set and get.
    enum PositionValueCommand {
        SetHeight = 10,
        GetHeight = 11,
        SetXOffset = 12,
        GetXOffset = 13,
        SetYOffset = 14,
        GetYOffset = 15,
        SetAzimuth = 16,
        GetAzimuth = 17,
        SetAltitude = 18,
        GetAltitude = 19,
        SetRollValue = 20,
        GetRollValue = 21,
    };

    // The three position frames, queued in this order; they carry no parameter fields.
    enum PositionCommand {
        SetOffsets = 100,
        SetHeightAndAngles = 101,
        SetRoll = 102,
    };

    // The identifiers a position command is reported under, one per value it carries;
    // empty for any other command.
    static const QList<int> &positionValueCommands(int command);

    // The parameter number for polygon or variable `id` and parameter `param`, or -1 when
    // they are out of range.
    static int paramNumber(const Entry &entry, quint8 id, quint8 param);
    // The identifier the command is tracked under for that polygon, parameter or variable.
    static int commandId(const Entry &entry, quint8 id, quint8 param);
    // The inverse of paramNumber: false when `number` is not one of the entry's.
    static bool findParam(const Entry &entry, quint8 number, quint8 *id, quint8 *param);

    // The paramType a read response echoes: 2 or 4 for an integer value, 3 or 5 for a
    // fixed-point one.
    static bool isIntegerRead(quint8 echoedParamType)
    {
        return echoedParamType == ReadInteger || echoedParamType == 4;
    }
    static bool isFixedPointRead(quint8 echoedParamType)
    {
        return echoedParamType == ReadFixedPoint || echoedParamType == 5;
    }
};
