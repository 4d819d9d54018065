#include "canidtablemodel.h"

#include <algorithm>

CanIdTableModel::CanIdTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    m_clock.start();
    m_refreshTimer.setInterval(RefreshMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CanIdTableModel::refresh);
}

int CanIdTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int CanIdTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString CanIdTableModel::idText(quint16 id)
{
    return QStringLiteral("0x")
        + QString::number(id, 16).toUpper().rightJustified(3, QLatin1Char('0'));
}

QString CanIdTableModel::payloadText(const QByteArray &payload)
{
    return QString::fromLatin1(payload.toHex(' ').toUpper());
}

QVariant CanIdTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const quint16 id = m_rows.at(index.row());
    if (role == Qt::TextAlignmentRole) {
        return index.column() == PayloadColumn ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                               : int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    const CanIdStatistics::Entry entry = m_statistics.entry(id);
    switch (index.column()) {
    case IdColumn:
        return idText(id);
    case CountColumn:
        return entry.count;
    case RateColumn:
        return QString::number(m_statistics.rate(id), 'f', 1);
    case PayloadColumn:
        return payloadText(entry.payload);
    case LastSeenColumn:
        return QString::number((m_clock.elapsed() - entry.lastSeenMs) / 1000.0, 'f', 1);
    default:
        return QVariant();
    }
}

QVariant CanIdTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case IdColumn:
        return tr("CAN ID");
    case CountColumn:
        return tr("Frames");
    case RateColumn:
        return tr("Rate, 1/s");
    case PayloadColumn:
        return tr("Last payload");
    case LastSeenColumn:
        return tr("Last seen, s ago");
    default:
        return QVariant();
    }
}

void CanIdTableModel::setRefreshing(bool refreshing)
{
    if (refreshing) {
        refresh();
        m_refreshTimer.start();
    } else {
        m_refreshTimer.stop();
    }
}

void CanIdTableModel::onCanMessageInfo(
    quint16 id, quint64 count, const QByteArray &serialized, const QDateTime &dateTime)
{
    m_statistics.add(id, count, serialized, dateTime.toMSecsSinceEpoch(), m_clock.elapsed());
}

void CanIdTableModel::refresh()
{
    const QList<quint16> ids = m_statistics.ids();
    // Identifiers only ever join (clear() resets); both lists are in ascending order.
    for (int i = 0; i < ids.size(); ++i) {
        if (i < m_rows.size() && m_rows.at(i) == ids.at(i))
            continue;
        beginInsertRows(QModelIndex(), i, i);
        m_rows.insert(i, ids.at(i));
        endInsertRows();
    }
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, ColumnCount - 1));
}

void CanIdTableModel::clear()
{
    beginResetModel();
    m_statistics.clear();
    m_rows.clear();
    endResetModel();
}
