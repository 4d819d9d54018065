#include "ackmessage.h"

AckMessage *AckMessage::extract(const quint8 *bytes, int size, const QList<quint16> &acceptedIds)
{
    if (!bytes || size < 4)
        return nullptr;
    const quint16 id = quint16(bytes[0] << 8 | bytes[1]);
    if (!acceptedIds.isEmpty() && !acceptedIds.contains(id))
        return nullptr;
    return new AckMessage(id, bytes[2], bytes[3]);
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
