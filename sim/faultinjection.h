#pragma once

#include <QtGlobal>

// Faults the simulator can be told to show, for tests and rehearsals.
struct FaultInjection
{
    int busyAcks = 0;           // each command is answered "busy" this many times first
    quint8 errorCode = 0;       // non-zero: every command is refused with this code
    bool noAcks = false;        // commands are neither executed nor acknowledged
    bool stuckCycle = false;    // the measurement cycle number stops advancing
    bool silent = false;        // the radar sends nothing at all
    int dropAfterMs = 0;        // non-zero: each connection is closed after this long
    bool refusePings = false;   // pings from clients are never answered
    bool wrongVariant = false;  // the radar sends under the other variant's identifiers
    bool malformedFrames = false; // every cycle carries a short object frame and a torn tail
};
