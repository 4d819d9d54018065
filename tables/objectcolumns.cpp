#include "objectcolumns.h"

#include "objectcolor.h"

#include <QBrush>
#include <QDateTime>

#include <limits>

namespace {

// m/s to km/h
constexpr double KmhPerMps = 3.6;
constexpr qint64 MsPerDay = 24 * 3600 * 1000;
// Clocks change at whole quarter hours.
constexpr qint64 OffsetSpanMs = 15 * 60 * 1000;

qint64 floorDiv(qint64 value, qint64 divisor)
{
    return value / divisor - ((value % divisor) < 0 ? 1 : 0);
}

// The local time of day as "hh:mm:ss.zzz". Converting through QDateTime asks the C library
// for the time zone, which reads the zone file, on every call: the offset from UTC is
// looked up once per quarter hour instead.
QString localTimeOfDayText(qint64 ms)
{
    // Times beyond a million years either way would overflow the arithmetic below; Qt
    // formats them as before, however slowly.
    constexpr qint64 SaneMs = 1000LL * 3600 * 24 * 366 * 1000000;
    if (ms < -SaneMs || ms > SaneMs) {
        return QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime)
            .toString(QStringLiteral("hh:mm:ss.zzz"));
    }
    thread_local qint64 span = std::numeric_limits<qint64>::min();
    thread_local qint64 offsetMs = 0;
    const qint64 thisSpan = floorDiv(ms, OffsetSpanMs);
    if (thisSpan != span) {
        span = thisSpan;
        offsetMs = 1000
            * qint64(
                QDateTime::fromMSecsSinceEpoch(span * OffsetSpanMs, Qt::LocalTime).offsetFromUtc());
    }
    const qint64 ofDay = ms + offsetMs - floorDiv(ms + offsetMs, MsPerDay) * MsPerDay;
    return QString::asprintf("%02d:%02d:%02d.%03d", int(ofDay / 3600000), int(ofDay / 60000 % 60),
        int(ofDay / 1000 % 60), int(ofDay % 1000));
}

// The locale's number format without group separators; the last one made is kept, as
// every cell asks for the same.
const QLocale &numberLocale(const QLocale &locale)
{
    thread_local bool made = false;
    thread_local QLocale source;
    thread_local QLocale numbers;
    if (!made || !(source == locale)) {
        made = true;
        source = locale;
        numbers = locale;
        numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    }
    return numbers;
}

} // namespace

QString ObjectColumns::headerLabel(int column)
{
    return headerText(column).replace(QStringLiteral(", "), QStringLiteral(",\n"));
}

QString ObjectColumns::headerText(int column)
{
    switch (column) {
    case Id:
        return tr("id");
    case XSpeed:
        return tr("X speed, km/h");
    case YSpeed:
        return tr("Y speed, km/h");
    case XRange:
        return tr("X range, m");
    case YRange:
        return tr("Y range, m");
    case Length:
        return tr("Length, m");
    case Updated:
        return tr("Updated");
    default:
        return QString();
    }
}

QString ObjectColumns::cellText(const ObjectRecord &record, int column, const QLocale &locale)
{
    const QLocale &numbers = numberLocale(locale);
    switch (column) {
    case Id:
        return QString::number(record.id);
    case XSpeed:
        return numbers.toString(record.xSpeed * KmhPerMps, 'f', 1);
    case YSpeed:
        return numbers.toString(record.ySpeed * KmhPerMps, 'f', 1);
    case XRange:
        return numbers.toString(record.xRange, 'f', 2);
    case YRange:
        return numbers.toString(record.yRange, 'f', 2);
    case Length:
        return numbers.toString(record.length, 'f', 1);
    case Updated:
        return localTimeOfDayText(record.lastDetectedMs);
    default:
        return QString();
    }
}

QVariant ObjectColumns::data(const ObjectRecord &record, int column, int role, bool paintObjects)
{
    if (role == Qt::DisplayRole)
        return cellText(record, column);
    if (role == FileTextRole)
        return cellText(record, column, QLocale::c());
    if (column != Id)
        return QVariant();
    const quint8 colourId = paintObjects ? record.id : 0;
    if (role == Qt::BackgroundRole)
        return QBrush(ObjectColor::base(colourId));
    if (role == Qt::ForegroundRole)
        return QBrush(ObjectColor::text(colourId));
    return QVariant();
}
