#pragma once

#include <QByteArray>
#include <QtGlobal>

// One CAN frame. The payload is held in the reverse of its wire order, so that
// data[0..7] read as a little-endian 64-bit number is the payload read big-endian.
class CanMessage
{
public:
    CanMessage() = default;
    CanMessage(quint16 id, quint8 length, const quint8 *source, bool reverse);

    // Parses one serialised frame at the start of `bytes`; returns null when the
    // bytes do not hold a whole frame. The caller owns the record.
    static CanMessage *extract(const quint8 *bytes, int size);
    // The same parse into `frame`; false when the bytes do not hold a whole frame.
    static bool read(const quint8 *bytes, int size, CanMessage *frame);
    static void doCopyData(quint8 *destination, const quint8 *source, int count, bool reverse);

    QByteArray serialize() const;

    // The payload value P: the 8 payload bytes as a big-endian number.
    quint64 payload() const;

    quint16 id = 0;
    quint8 length = 0;
    quint8 data[8] = {};
};
