#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QVector>
#include <QtGlobal>

// One object of a radar frame as the lanes see it: the lane it is on and how far along it.
struct LaneObject
{
    quint8 id = 0;
    // A new number for every track: an identifier reused after a gap or a jump (another
    // vehicle) gets a new one.
    quint64 track = 0;
    int lane = 0; // the lane's part key
    // Metres along the lane from its first station, one station per metre of the road axis;
    // grows away from the radar.
    double along = 0.0;
    double speed = 0.0; // m/s, the magnitude of the velocity
    double length = 0.0; // below 0.001 means not measured
};

// The objects of one radar frame that lie on a lane, in the frame's order.
struct LaneFrame
{
    QDateTime dateTimeUtc;
    QVector<LaneObject> objects;

    // Traffic keeps to the right: the lanes on the -Y side (negative part keys) carry it
    // away from the radar, those on the +Y side towards it.
    static bool isRecedingLane(int lane) { return lane < 0; }
};

Q_DECLARE_METATYPE(LaneFrame)
