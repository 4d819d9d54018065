#include "objectcolumns.h"

#include "objectcolor.h"

#include <QBrush>
#include <QDateTime>

namespace {

// m/s to km/h
constexpr double KmhPerMps = 3.6;

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
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
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
        return QDateTime::fromMSecsSinceEpoch(record.lastDetectedMs, Qt::LocalTime)
            .time()
            .toString(QStringLiteral("hh:mm:ss.zzz"));
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
