#include "ackmessage.h"

AckMessage *AckMessage::extract(const quint8 *bytes, int size, const QList<quint16> &acceptedIds)
{
    AckMessage ack;
    return read(bytes, size, acceptedIds, &ack) ? new AckMessage(ack) : nullptr;
}

bool AckMessage::read(
    const quint8 *bytes, int size, const QList<quint16> &acceptedIds, AckMessage *ack)
{
    if (!bytes || size < 4)
        return false;
    const quint16 id = quint16(bytes[0] << 8 | bytes[1]);
    if (!acceptedIds.isEmpty() && !acceptedIds.contains(id))
        return false;
    *ack = AckMessage(id, bytes[2], bytes[3]);
    return true;
}

QByteArray AckMessage::serialize() const
{
    QByteArray out(4, Qt::Uninitialized);
    out[0] = char(id >> 8);
    out[1] = char(id & 0xFF);
    out[2] = char(byte2);
    out[3] = char(result);
    return out;
}
