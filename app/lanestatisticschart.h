#pragma once

#include "lanestatistics.h"

#include <QVector>
#include <QWidget>

// A small bar chart of the vehicles counted per lane in the latest intervals, the one in
// progress last. Repaints at most once per event loop pass, however often rows arrive.
class LaneStatisticsChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxIntervals = 12;

    explicit LaneStatisticsChart(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    // Rows of any number of intervals, oldest first; the latest MaxIntervals are drawn.
    void setRows(const QVector<LaneStatistics::Row> &rows);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static QColor laneColor(int index);

    QVector<int> m_lanes;
    QVector<QDateTime> m_starts;
    // Per interval, the counts in the order of m_lanes.
    QVector<QVector<int>> m_counts;
};
