#pragma once

#include <QtGlobal>

// The radar's mounting position as the radar stores it: lengths in signed hundredths of
// a metre, angles in hundredths of a degree within 0..35999.
struct RadarPosition
{
    qint32 height = 600;
    qint32 xOffset = 0;
    qint32 yOffset = 0;
    quint16 azimuth = 0;
    quint16 altitude = 0;
    quint16 roll = 0;

    bool operator==(const RadarPosition &o) const
    {
        return height == o.height && xOffset == o.xOffset && yOffset == o.yOffset
            && azimuth == o.azimuth && altitude == o.altitude && roll == o.roll;
    }
};
