#pragma once

#include <QList>
#include <QtGlobal>

#include <vector>

class AckMessage;
class CanMessage;

// Takes the frame area of a binary message apart into acknowledgements and CAN frames.
class FrameArea
{
public:
    // At every position acknowledgements (recognised by an identifier in `ackIds`) are
    // taken before a CAN frame is tried; the first position that holds neither ends the
    // parsing and the rest is ignored. The records are appended to `acks` and `frames`
    // and belong to the caller. Returns the number of bytes consumed.
    static int split(const quint8 *bytes, int size, const QList<quint16> &ackIds,
        QList<AckMessage *> &acks, QList<CanMessage *> &frames);

    // The same split into records held by value, without an allocation per record.
    static int split(const quint8 *bytes, int size, const QList<quint16> &ackIds,
        std::vector<AckMessage> &acks, std::vector<CanMessage> &frames);
};
