#include "canmessage.h"

#include <cstring>

CanMessage::CanMessage(quint16 id, quint8 length, const quint8 *source, bool reverse)
    : id(id)
    , length(qMin<quint8>(length, 8))
{
    if (!source || this->length == 0) {
        std::memset(data, 0, sizeof data);
        return;
    }
    doCopyData(data, source, this->length, reverse);
}

void CanMessage::doCopyData(quint8 *destination, const quint8 *source, int count, bool reverse)
{
    for (int i = 0; i < count; ++i)
        destination[i] = reverse ? source[count - 1 - i] : source[i];
}

CanMessage *CanMessage::extract(const quint8 *bytes, int size)
{
    CanMessage frame;
    return read(bytes, size, &frame) ? new CanMessage(frame) : nullptr;
}

bool CanMessage::read(const quint8 *bytes, int size, CanMessage *frame)
{
    if (!bytes || size <= 2)
        return false;
    const quint8 length = bytes[2];
    if (length > 8 || size <= length + 2)
        return false;
    const quint16 id = quint16(bytes[0] << 8 | bytes[1]);
    *frame = CanMessage(id, length, bytes + 3, true);
    return true;
}

QByteArray CanMessage::serialize() const
{
    QByteArray out(length + 3, Qt::Uninitialized);
    out[0] = char(id >> 8);
    out[1] = char(id & 0xFF);
    out[2] = char(length);
    for (int i = 0; i < length; ++i)
        out[3 + i] = char(data[length - 1 - i]);
    return out;
}

quint64 CanMessage::payload() const
{
    quint64 value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | data[i];
    return value;
}
