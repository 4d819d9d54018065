#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

// Statistics of one CAN identifier: how many frames came, the last one in wire form and
// its frame time.
class CanMsgInfo
{
public:
    quint64 count = 0;
    QByteArray serialized;
    QDateTime dateTime;
};
