#include "radarparameters.h"

#include "radarcommandtable.h"

namespace {

bool findCalibrationParam(const RadarCommandTable::Entry &entry, quint8 number, quint8 *param)
{
    quint8 id = 0;
    quint8 found = 0;
    if (!RadarCommandTable::findParam(entry, number, &id, &found))
        return false;
    if (param)
        *param = found;
    return true;
}

} // namespace

int RadarParameters::paramCount(PolygonParam kind)
{
    switch (kind) {
    case PolygonTreatParam:
        return 2;
    case PolygonSpeedParam:
        return 4;
    case PolygonPointParam:
        return 16;
    }
    return 0;
}

int RadarParameters::polygonParamNo(PolygonParam kind, quint8 id, quint8 param)
{
    if (id >= PolygonCount || param >= paramCount(kind))
        return -1;
    switch (kind) {
    case PolygonTreatParam:
        return param * 16 + id + 2;
    case PolygonSpeedParam:
        return param * 16 + id + 34;
    case PolygonPointParam:
        return param < 8 ? id * 8 + param : id * 8 + param + 120;
    }
    return -1;
}

bool RadarParameters::getPolygonTreatParam(quint8 number, quint8 *id, quint8 *param)
{
    return doFindPolygonParam(PolygonTreatParam, number, id, param);
}

bool RadarParameters::getPolygonSpeedParam(quint8 number, quint8 *id, quint8 *param)
{
    return doFindPolygonParam(PolygonSpeedParam, number, id, param);
}

bool RadarParameters::getPolygonPointParam(quint8 number, quint8 *id, quint8 *param)
{
    return doFindPolygonParam(PolygonPointParam, number, id, param);
}

bool RadarParameters::getCalibrationLastParam(quint8 number, quint8 *param)
{
    return findCalibrationParam(RadarCommandTable::GetCalibrationLastParam, number, param);
}

bool RadarParameters::getCalibrationCurrParam(quint8 number, quint8 *param)
{
    return findCalibrationParam(RadarCommandTable::GetCalibrationCurrParam, number, param);
}

int RadarParameters::fullPolygonCmdId(int baseCommand, quint8 id, quint8 param)
{
    return int((quint32(id) << 24) + (quint32(param) << 16) + quint32(baseCommand));
}

int RadarParameters::fullCalibrationCmdId(int baseCommand, quint8 param)
{
    return int((quint32(param) << 16) + quint32(baseCommand));
}

int RadarParameters::fullDebugVariableCmdId(quint8 id)
{
    return int((quint32(id) << 24) + quint32(RadarCommandTable::SetDebugVariableValue.command));
}

int RadarParameters::fullFreeCommandCmdId(quint8 paramType, quint8 action, quint8 paramNumber)
{
    return int((quint32(action) << 24) + (quint32(paramNumber) << 16) + (quint32(paramType) << 12)
        + 0x800u);
}

bool RadarParameters::doFindPolygonParam(
    PolygonParam kind, quint8 number, quint8 *id, quint8 *param)
{
    for (quint8 i = 0; i < PolygonCount; ++i) {
        for (quint8 p = 0; p < paramCount(kind); ++p) {
            if (polygonParamNo(kind, i, p) == number) {
                if (id)
                    *id = i;
                if (param)
                    *param = p;
                return true;
            }
        }
    }
    return false;
}
