#include "radarcommandtable.h"

#include "radarparameters.h"

namespace {

using T = RadarCommandTable;
using E = RadarCommandTable::Entry;
using A = RadarCommandTable::Addressing;
using P = RadarCommandTable::ParamType;

} // namespace

// clang-format off
// Fields: command, paramType, action, paramNumber, paramValue, addressing.
const E T::GetHardwareInfo         { 1,   P::ReadInteger,     0,   40, 8192, A::Fixed };
const E T::GetFirmwareInfo         { 2,   P::ReadInteger,     0,   40, 128,  A::Fixed };
const E T::SelfDiagnostics         { 3,   P::ReadInteger,     150, 0,  1,    A::Fixed };
const E T::SetImitatorMode         { 4,   P::WriteByte,       151, 0,  0,    A::Fixed };
const E T::GetImitatorMode         { 5,   P::ReadInteger,     151, 0,  0,    A::Fixed };
const E T::SetFakeTargetsMode      { 6,   P::WriteByte,       0,   68, 0,    A::Fixed };
const E T::GetFakeTargetsMode      { 7,   P::ReadInteger,     0,   68, 0,    A::Fixed };
const E T::SaveToFlash             { 8,   P::WriteInteger,    136, 0,  0,    A::Fixed };
const E T::Restart                 { 9,   P::WriteInteger,    129, 0,  0,    A::Fixed };
const E T::SetRadarSensitivity     { 22,  P::WriteInteger,    148, 4,  0,    A::Fixed };
const E T::GetRadarSensitivity     { 23,  P::ReadInteger,     148, 4,  0,    A::Fixed };
const E T::SetFrequencyIndex       { 24,  P::WriteInteger,    65,  36, 0,    A::Fixed };
const E T::GetFrequencyIndex       { 25,  P::ReadInteger,     65,  36, 0,    A::Fixed };
const E T::SetPolygonUsage         { 26,  P::WriteByte,       70,  0,  0,    A::Fixed };
const E T::GetPolygonUsage         { 27,  P::ReadInteger,     70,  0,  0,    A::Fixed };
const E T::SetPolygonTreatParam    { 28,  P::WriteInteger,    70,  0,  0,    A::PolygonTreat };
const E T::GetPolygonTreatParam    { 29,  P::ReadInteger,     70,  0,  0,    A::PolygonTreat };
const E T::SetPolygonSpeedParam    { 30,  P::WriteFixedPoint, 70,  0,  0,    A::PolygonSpeed };
const E T::GetPolygonSpeedParam    { 31,  P::ReadFixedPoint,  70,  0,  0,    A::PolygonSpeed };
const E T::SetPolygonPointParam    { 32,  P::WriteFixedPoint, 71,  0,  0,    A::PolygonPoint };
const E T::GetPolygonPointParam    { 33,  P::ReadFixedPoint,  71,  0,  0,    A::PolygonPoint };
const E T::ReinitPolygons          { 34,  P::WriteInteger,    70,  1,  1,    A::Fixed };
const E T::SetCalibrationCommand   { 35,  P::WriteInteger,    254, 0,  0,    A::Fixed };
const E T::GetCalibrationCommand   { 36,  P::ReadInteger,     254, 0,  0,    A::Fixed };
const E T::GetCalibrationState     { 37,  P::ReadInteger,     254, 1,  0,    A::Fixed };
const E T::SetCalibrationLastParam { 38,  P::WriteInteger,    254, 8,  0,    A::CalibrationParam };
const E T::GetCalibrationLastParam { 39,  P::ReadInteger,     254, 8,  0,    A::CalibrationParam };
const E T::GetCalibrationCurrParam { 40,  P::ReadInteger,     254, 16, 0,    A::CalibrationParam };
const E T::ResetCalibrationParams  { 41,  P::WriteInteger,    254, 7,  0,    A::Fixed };
const E T::ApplyCalibrationParams  { 42,  P::WriteInteger,    254, 7,  1,    A::Fixed };
const E T::SetDebugVariableValue   { 43,  P::WriteInteger,    255, 0,  0,    A::Variable };
const E T::GetDebugVariableValue   { 43,  P::ReadInteger,     255, 0,  0,    A::Variable };
const E T::GetPosition             { 103, P::WriteInteger,    0,   42, 2,    A::Fixed };
// clang-format on

const QList<int> &RadarCommandTable::positionValueCommands(int command)
{
    static const QList<int> offsets { SetXOffset, SetYOffset };
    static const QList<int> heightAndAngles { SetHeight, SetAzimuth, SetAltitude };
    static const QList<int> roll { SetRollValue };
    static const QList<int> position { GetXOffset, GetYOffset, GetHeight, GetAzimuth, GetAltitude,
        GetRollValue };
    static const QList<int> none;
    if (command == SetOffsets)
        return offsets;
    if (command == SetHeightAndAngles)
        return heightAndAngles;
    if (command == SetRoll)
        return roll;
    if (command == GetPosition.command)
        return position;
    return none;
}

int RadarCommandTable::paramNumber(const Entry &entry, quint8 id, quint8 param)
{
    switch (entry.addressing) {
    case A::PolygonTreat:
        return RadarParameters::polygonParamNo(RadarParameters::PolygonTreatParam, id, param);
    case A::PolygonSpeed:
        return RadarParameters::polygonParamNo(RadarParameters::PolygonSpeedParam, id, param);
    case A::PolygonPoint:
        return RadarParameters::polygonParamNo(RadarParameters::PolygonPointParam, id, param);
    case A::CalibrationParam:
        return param < RadarParameters::CalibrationParamCount ? entry.paramNumber + param : -1;
    case A::Variable:
        return id;
    case A::Fixed:
        break;
    }
    return entry.paramNumber;
}

int RadarCommandTable::commandId(const Entry &entry, quint8 id, quint8 param)
{
    switch (entry.addressing) {
    case A::PolygonTreat:
    case A::PolygonSpeed:
    case A::PolygonPoint:
        return RadarParameters::fullPolygonCmdId(entry.command, id, param);
    case A::CalibrationParam:
        return RadarParameters::fullCalibrationCmdId(entry.command, param);
    case A::Variable:
        return RadarParameters::fullDebugVariableCmdId(id);
    case A::Fixed:
        break;
    }
    return entry.command;
}

bool RadarCommandTable::findParam(const Entry &entry, quint8 number, quint8 *id, quint8 *param)
{
    *id = 0;
    *param = 0;
    switch (entry.addressing) {
    case A::PolygonTreat:
        return RadarParameters::getPolygonTreatParam(number, id, param);
    case A::PolygonSpeed:
        return RadarParameters::getPolygonSpeedParam(number, id, param);
    case A::PolygonPoint:
        return RadarParameters::getPolygonPointParam(number, id, param);
    case A::CalibrationParam:
        if (number < entry.paramNumber
            || number - entry.paramNumber >= RadarParameters::CalibrationParamCount)
            return false;
        *param = quint8(number - entry.paramNumber);
        return true;
    case A::Variable:
        *id = number;
        return true;
    case A::Fixed:
        break;
    }
    return number == entry.paramNumber;
}
