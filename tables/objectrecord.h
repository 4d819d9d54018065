#pragma once

#include "roadobject.h"

#include <QtGlobal>

// One object report as the tables keep it: speeds in m/s, ranges and length in metres,
// the time of detection in milliseconds since the epoch (UTC).
struct ObjectRecord
{
    double xSpeed = 0.0;
    double ySpeed = 0.0;
    double xRange = 0.0;
    double yRange = 0.0;
    double length = 0.0;
    qint64 lastDetectedMs = 0;
    quint8 id = 0;

    static ObjectRecord fromObject(const RoadObject &o)
    {
        return { o.xSpeed, o.ySpeed, o.xRange, o.yRange, o.length,
            o.lastDetected.toMSecsSinceEpoch(), o.id };
    }
};
