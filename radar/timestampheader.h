#pragma once

#include <QByteArray>
#include <QDateTime>

// The optional 12-byte header the server puts in front of a binary message:
// "#DT", day, month, year (little-endian), hour, minute, second, millisecond
// (little-endian), all in UTC. The frame area follows it.
class TimeStampHeader
{
public:
    static constexpr int Size = 12;

    // True when the message is longer than the header and starts with the marker;
    // a message of exactly 12 bytes is all frame area.
    static bool isPresent(const QByteArray &message);

    // The header's date-time as UTC, or an invalid date-time when the date or the
    // time is out of range. `header` must hold at least Size bytes.
    static QDateTime decode(const char *header);

    // Frame time of a message: the header's date-time when present and valid,
    // otherwise the reception time.
    static QDateTime frameTime(const QByteArray &message, const QDateTime &receptionTime);

    // Offset of the frame area: Size when the header is present (valid or not), else 0.
    static int frameAreaOffset(const QByteArray &message);

    // The header for a UTC date-time, as the server sends it.
    static QByteArray encode(const QDateTime &dateTime);
};
