#pragma once

#include <QByteArray>

// One queued radar command: the serialised CAN frame and how many tries are left.
class RadarCommand
{
public:
    RadarCommand(int command, const QByteArray &data, int attempts)
        : attempts(attempts)
        , command(command)
        , data(data)
    { }

    int attempts = 0;
    int command = 0;
    QByteArray data;
};
