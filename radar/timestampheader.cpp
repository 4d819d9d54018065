#include "timestampheader.h"

namespace {

const char Marker[3] = { '#', 'D', 'T' };

int byteAt(const char *bytes, int index)
{
    return quint8(bytes[index]);
}

int littleEndian16(const char *bytes, int index)
{
    return byteAt(bytes, index) | byteAt(bytes, index + 1) << 8;
}

} // namespace

bool TimeStampHeader::isPresent(const QByteArray &message)
{
    return message.size() > Size && message.at(0) == Marker[0] && message.at(1) == Marker[1]
        && message.at(2) == Marker[2];
}

QDateTime TimeStampHeader::decode(const char *header)
{
    const int day = byteAt(header, 3);
    const int month = byteAt(header, 4);
    const int year = littleEndian16(header, 5);
    const int hour = byteAt(header, 7);
    const int minute = byteAt(header, 8);
    const int second = byteAt(header, 9);
    const int millisecond = littleEndian16(header, 10);
    // Checked separately: QDateTime would quietly turn an invalid time into midnight.
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second, millisecond))
        return {};
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, millisecond), Qt::UTC);
}

QDateTime TimeStampHeader::frameTime(const QByteArray &message, const QDateTime &receptionTime)
{
    if (isPresent(message)) {
        const QDateTime stamped = decode(message.constData());
        if (stamped.isValid())
            return stamped;
    }
    return receptionTime;
}

int TimeStampHeader::frameAreaOffset(const QByteArray &message)
{
    return isPresent(message) ? Size : 0;
}

QByteArray TimeStampHeader::encode(const QDateTime &dateTime)
{
    const QDateTime utc = dateTime.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    QByteArray header(Size, '\0');
    header[0] = Marker[0];
    header[1] = Marker[1];
    header[2] = Marker[2];
    header[3] = char(date.day());
    header[4] = char(date.month());
    header[5] = char(date.year() & 0xFF);
    header[6] = char(date.year() >> 8 & 0xFF);
    header[7] = char(time.hour());
    header[8] = char(time.minute());
    header[9] = char(time.second());
    header[10] = char(time.msec() & 0xFF);
    header[11] = char(time.msec() >> 8);
    return header;
}
