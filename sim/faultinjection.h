#pragma once

#include <QtGlobal>

// Faults the emulated radar can be told to show, for tests and rehearsals. The
// connection faults (dropped connections, refused pings) belong to SimServer::Settings.
struct FaultInjection
{
    int busyAcks = 0; // each command is answered "busy" this many times first
    quint8 errorCode = 0; // non-zero: every command is refused with this code
    bool noAcks = false; // commands are neither executed nor acknowledged
    bool stuckCycle = false; // the measurement cycle number stops advancing
    bool silent = false; // the radar sends nothing at all
    bool wrongVariant = false; // the radar sends under the other variant's identifiers
    bool malformedFrames = false; // every cycle carries a short object frame and a torn tail
};
