#pragma once

#include "lanestatistics.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

// The rows of LaneStatistics as a table: the finished intervals, oldest first, then the
// interval in progress, whose rows change in place with every frame.
class LaneStatisticsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Column {
        Start,
        Lane,
        Approaching,
        Receding,
        MeanSpeed,
        Speed85,
        Occupancy,
        Motorcycles,
        Cars,
        Vans,
        Trucks,
        Count
    };

    explicit LaneStatisticsModel(LaneStatistics *statistics, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The finished rows followed by those in progress.
    QVector<LaneStatistics::Row> rows() const { return m_finished + m_current; }
    // The last count of those rows, cheaper than all of them on every frame.
    QVector<LaneStatistics::Row> latestRows(int count) const;
    int finishedCount() const { return m_finished.size(); }

public slots:
    // Reads every row again, after the statistics were cleared.
    void reload();

private:
    void onIntervalFinished(const QVector<LaneStatistics::Row> &rows);
    void onCurrentChanged();
    void doReplaceCurrent(const QVector<LaneStatistics::Row> &rows);
    const LaneStatistics::Row &rowAt(int row) const;

    QPointer<LaneStatistics> m_statistics;
    QVector<LaneStatistics::Row> m_finished;
    QVector<LaneStatistics::Row> m_current;
};
