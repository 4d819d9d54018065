#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// A 4-byte acknowledgement from the radar. It has no length byte on the wire and is
// recognised only by its identifier.
class AckMessage
{
public:
    enum Result : quint8 { Accepted = 0, Busy = 255 };

    AckMessage() = default;
    AckMessage(quint16 id, quint8 byte2, quint8 result)
        : id(id)
        , byte2(byte2)
        , result(result)
    { }

    // Returns null unless 4 bytes are there and, when `acceptedIds` is not empty,
    // the identifier is one of them. The caller owns the record.
    static AckMessage *extract(const quint8 *bytes, int size, const QList<quint16> &acceptedIds);
    // The same test, filling `ack`; false where extract returns null.
    static bool read(
        const quint8 *bytes, int size, const QList<quint16> &acceptedIds, AckMessage *ack);

    QByteArray serialize() const;

    quint16 id = 0;
    quint8 byte2 = 0; // carried unchanged, not interpreted
    quint8 result = 0; // 0 accepted, 255 busy, anything else an error code
};
