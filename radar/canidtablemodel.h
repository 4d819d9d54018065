#pragma once

#include "canidstatistics.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

// The CAN identifiers a radar client has seen, one row each in ascending order: the
// identifier and the last payload in hex, the count, the rate and the seconds since the
// identifier last came. Takes every canMessageInfo but refreshes its rows only a few
// times a second.
class CanIdTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { IdColumn, CountColumn, RateColumn, PayloadColumn, LastSeenColumn, ColumnCount };

    static constexpr int RefreshMs = 500;

    explicit CanIdTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const CanIdStatistics &statistics() const { return m_statistics; }
    // Refreshing stops while nobody looks.
    void setRefreshing(bool refreshing);

    static QString idText(quint16 id);
    static QString payloadText(const QByteArray &payload);

public slots:
    void onCanMessageInfo(
        quint16 id, quint64 count, const QByteArray &serialized, const QDateTime &dateTime);
    // Brings the rows up to date with the reports taken since the last refresh.
    void refresh();
    void clear();

private:
    CanIdStatistics m_statistics;
    QVector<quint16> m_rows;
    QElapsedTimer m_clock;
    QTimer m_refreshTimer;
};
