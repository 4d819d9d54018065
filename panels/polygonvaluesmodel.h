#pragma once

#include "radarparameters.h"
#include "valuestatus.h"

#include <QAbstractTableModel>
#include <QJsonArray>
#include <QVector>

// The parameters of the eight limitation polygons, with where each value stands. It shows
// one polygon at a time, a row per parameter: the treat parameters, the speed parameters,
// then the points as X and Y pairs.
class PolygonValuesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Column { Name, Value, State, Count };

    static constexpr int TreatCount = 2;
    static constexpr int SpeedCount = 4;
    static constexpr int PointParamCount = 16;
    static constexpr int RowCount = TreatCount + SpeedCount + PointParamCount;
    static constexpr double SpeedLimit = 300.0;
    static constexpr double PointLimit = 2000.0;

    explicit PolygonValuesModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    int currentPolygon() const { return m_polygon; }
    void setCurrentPolygon(int id);

    static RadarParameters::PolygonParam kindOfRow(int row);
    static int paramOfRow(int row);
    static int rowOf(RadarParameters::PolygonParam kind, int param);
    // Whether the value fits the parameter; the reason otherwise.
    static bool checkValue(RadarParameters::PolygonParam kind, double value, QString *reason);

    double value(int id, int row) const;
    const ValueStatus &status(int id, int row) const;

    // A value from the radar; false when no such polygon parameter exists.
    bool showValue(RadarParameters::PolygonParam kind, int id, int param, double value);
    void applyCommandState(int command, int state, int error);
    void markWaiting(int id, int row);

    // The values of all polygons, for presets: an array of objects with "treat", "speed"
    // and "points" arrays.
    QJsonArray toJson() const;
    static bool checkJson(const QJsonArray &polygons);
    // Fills every polygon from checked JSON and marks the values changed.
    void fillFromJson(const QJsonArray &polygons);

private:
    struct Entry
    {
        double value = 0.0;
        ValueStatus status;
    };

    Entry &entry(int id, int row) { return m_entries[id * RowCount + row]; }
    const Entry &entry(int id, int row) const { return m_entries.at(id * RowCount + row); }
    void doEmitRowChanged(int id, int row);

    QVector<Entry> m_entries;
    int m_polygon = 0;
};
