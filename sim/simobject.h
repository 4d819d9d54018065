#pragma once

#include <QtGlobal>

// One target as the radar reports it: road coordinates in metres and m/s, the reference
// point being the end of the body nearer the radar.
struct SimObject
{
    quint8 id = 0;
    double xSpeed = 0.0;
    double ySpeed = 0.0;
    double xRange = 0.0;
    double yRange = 0.0;
    double length = 0.0;
};
