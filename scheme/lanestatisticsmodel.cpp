#include "lanestatisticsmodel.h"

#include <QFont>
#include <QLocale>

LaneStatisticsModel::LaneStatisticsModel(LaneStatistics *statistics, QObject *parent)
    : QAbstractTableModel(parent)
    , m_statistics(statistics)
{
    connect(statistics, &LaneStatistics::intervalFinished, this,
        &LaneStatisticsModel::onIntervalFinished);
    connect(
        statistics, &LaneStatistics::currentChanged, this, &LaneStatisticsModel::onCurrentChanged);
    m_finished = statistics->finishedRows();
    m_current = statistics->currentRows();
}

int LaneStatisticsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_finished.size() + m_current.size();
}

int LaneStatisticsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(Column::Count);
}

QVariant LaneStatisticsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LaneStatistics::Row &r = rowAt(index.row());
    const auto column = Column(index.column());
    const QLocale locale;
    if (role == Qt::TextAlignmentRole)
        return column == Column::Start ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                       : int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == Column::Start)
        return tr("%n minute(s) from %1", nullptr, r.minutes)
            .arg(locale.toString(r.start.toLocalTime(), QLocale::LongFormat));
    if (role == Qt::FontRole && index.row() >= m_finished.size()) {
        QFont font;
        font.setItalic(true);
        return font;
    }
    if (role != Qt::DisplayRole)
        return {};
    const bool counted = r.total() > 0;
    switch (column) {
    case Column::Start:
        return locale.toString(r.start.toLocalTime(), QLocale::ShortFormat);
    case Column::Lane:
        return LaneFrame::isRecedingLane(r.lane) ? tr("%1, away").arg(r.lane)
                                                 : tr("%1, towards").arg(r.lane);
    case Column::Approaching:
        return r.count[LaneStatistics::Approaching];
    case Column::Receding:
        return r.count[LaneStatistics::Receding];
    case Column::MeanSpeed:
        return counted ? locale.toString(r.meanSpeedKmh, 'f', 1) : QString();
    case Column::Speed85:
        return counted ? locale.toString(r.p85SpeedKmh, 'f', 1) : QString();
    case Column::Occupancy:
        return locale.toString(100.0 * r.occupancy, 'f', 1);
    case Column::Motorcycles:
        return r.classes[LaneStatistics::Motorcycle];
    case Column::Cars:
        return r.classes[LaneStatistics::Car];
    case Column::Vans:
        return r.classes[LaneStatistics::Van];
    case Column::Trucks:
        return r.classes[LaneStatistics::Truck];
    case Column::Count:
        break;
    }
    return {};
}

QVariant LaneStatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(Column::Count))
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto column = Column(section);
    if (role == Qt::DisplayRole) {
        switch (column) {
        case Column::Start:
            return tr("Interval");
        case Column::Lane:
            return tr("Lane");
        case Column::Approaching:
            return tr("Towards");
        case Column::Receding:
            return tr("Away");
        case Column::MeanSpeed:
            return tr("Mean, km/h");
        case Column::Speed85:
            return tr("85 %, km/h");
        case Column::Occupancy:
            return tr("Occupancy, %");
        case Column::Motorcycles:
            return tr("Motorcycles");
        case Column::Cars:
            return tr("Cars");
        case Column::Vans:
            return tr("Vans");
        case Column::Trucks:
            return tr("Trucks");
        case Column::Count:
            break;
        }
    }
    if (role != Qt::ToolTipRole)
        return {};
    const QString counting
        = tr("Vehicles whose track crossed the lane's counting line, %1 m along the road, "
             "towards or away from the radar. Each track is counted once; an identifier the "
             "radar reuses after a gap or a jump is another vehicle.")
              .arg(LaneStatistics::ZoneStart + LaneStatistics::ZoneLength / 2);
    switch (column) {
    case Column::Start:
        return tr("Start of the interval in local time; the interval in progress is in italics.");
    case Column::Lane:
        return tr("The lane of the road configuration and its direction of travel.");
    case Column::Approaching:
    case Column::Receding:
        return counting;
    case Column::MeanSpeed:
        return tr("Mean speed of the counted vehicles as they crossed the counting line.");
    case Column::Speed85:
        return tr("The speed 85 % of the counted vehicles did not exceed.");
    case Column::Occupancy:
        return tr("Share of the observed time in which a vehicle's body was in the lane's "
                  "measuring zone, %1 to %2 m along the road.")
            .arg(LaneStatistics::ZoneStart)
            .arg(LaneStatistics::ZoneStart + LaneStatistics::ZoneLength);
    case Column::Motorcycles:
        return tr("Counted vehicles shorter than %1 m.").arg(LaneStatistics::MotorcycleMaxLength);
    case Column::Cars:
        return tr("Counted vehicles from %1 m to less than %2 m.")
            .arg(LaneStatistics::MotorcycleMaxLength)
            .arg(LaneStatistics::CarMaxLength);
    case Column::Vans:
        return tr("Counted vehicles from %1 m to less than %2 m.")
            .arg(LaneStatistics::CarMaxLength)
            .arg(LaneStatistics::VanMaxLength);
    case Column::Trucks:
        return tr("Counted vehicles of %1 m and longer.").arg(LaneStatistics::VanMaxLength);
    case Column::Count:
        break;
    }
    return {};
}

QVector<LaneStatistics::Row> LaneStatisticsModel::latestRows(int count) const
{
    const int fromFinished = qBound(0, count - m_current.size(), m_finished.size());
    return m_finished.mid(m_finished.size() - fromFinished)
        + m_current.mid(qMax(0, m_current.size() - count));
}

void LaneStatisticsModel::reload()
{
    beginResetModel();
    m_finished = m_statistics ? m_statistics->finishedRows() : QVector<LaneStatistics::Row>();
    m_current = m_statistics ? m_statistics->currentRows() : QVector<LaneStatistics::Row>();
    endResetModel();
}

void LaneStatisticsModel::onIntervalFinished(const QVector<LaneStatistics::Row> &rows)
{
    // The rows in progress become finished ones with their final figures.
    doReplaceCurrent(rows);
    m_finished += m_current;
    m_current.clear();
    const int excess = m_finished.size() - LaneStatistics::MaxFinishedRows;
    if (excess > 0) {
        beginRemoveRows({}, 0, excess - 1);
        m_finished.remove(0, excess);
        endRemoveRows();
    }
}

void LaneStatisticsModel::onCurrentChanged()
{
    if (m_statistics)
        doReplaceCurrent(m_statistics->currentRows());
}

void LaneStatisticsModel::doReplaceCurrent(const QVector<LaneStatistics::Row> &rows)
{
    const int first = m_finished.size();
    if (rows.size() == m_current.size()) {
        m_current = rows;
        if (!rows.isEmpty())
            emit dataChanged(
                index(first, 0), index(first + rows.size() - 1, int(Column::Count) - 1));
        return;
    }
    if (!m_current.isEmpty()) {
        beginRemoveRows({}, first, first + m_current.size() - 1);
        m_current.clear();
        endRemoveRows();
    }
    if (!rows.isEmpty()) {
        beginInsertRows({}, first, first + rows.size() - 1);
        m_current = rows;
        endInsertRows();
    }
}

const LaneStatistics::Row &LaneStatisticsModel::rowAt(int row) const
{
    return row < m_finished.size() ? m_finished.at(row) : m_current.at(row - m_finished.size());
}
