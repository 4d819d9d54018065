#pragma once

#include "radarparameters.h"
#include "valuestatus.h"

#include <QAbstractTableModel>
#include <QDeadlineTimer>
#include <QHash>
#include <QJsonArray>
#include <QVector>

class QTimer;

// The parameters of the eight limitation polygons, with where each value stands. It shows
// one polygon at a time, a row per parameter: the treat parameters, the speed parameters,
// then the points as X and Y pairs. A value neither read from the radar nor entered is
// shown empty and is not known (see ValueStatus).
class PolygonValuesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Column { Name, Value, State, Count };

    static constexpr int TreatCount = 2;
    static constexpr int SpeedCount = 4;
    static constexpr int PointParamCount = 16;
    static constexpr int RowCount = TreatCount + SpeedCount + PointParamCount;
    // What may be entered is what the commands carry: treat values are bytes (0..255);
    // speeds and points are signed 32-bit millionths, so within +-2147.48 at the two
    // decimals entered here. The radar reports nothing outside these.
    static constexpr double FixedPointLimit = 2147.48;
    static constexpr int Decimals = 2;

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
    static QString nameOfRow(int row);
    // What may be entered for the parameter.
    static double minimumOf(RadarParameters::PolygonParam kind);
    static double maximumOf(RadarParameters::PolygonParam kind);
    // Whether the value may be entered for the parameter; the reason otherwise.
    static bool checkValue(RadarParameters::PolygonParam kind, double value, QString *reason);
    // The value with its unit, in the language's number format.
    static QString formatValue(RadarParameters::PolygonParam kind, double value);

    double value(int id, int row) const;
    const ValueStatus &status(int id, int row) const;
    // Every value of the polygon is known, so the whole polygon may be sent.
    bool isPolygonKnown(int id) const;
    // Nothing of the polygon is known, asked for or entered.
    bool isPolygonUntouched(int id) const;
    // Rows of the polygon whose values the user entered and has not sent.
    QVector<int> unsentRows(int id) const;

    // A value from the radar; false when no such polygon parameter exists.
    bool showValue(RadarParameters::PolygonParam kind, int id, int param, double value);
    void applyCommandState(int command, int state, int error);
    void markWaiting(int id, int row);
    // The radar's polygons changed unread: every value is unknown until read again.
    void markAllUnknown();

    // The values of all polygons, for presets: an array of objects with "treat", "speed"
    // and "points" arrays.
    QJsonArray toJson() const;
    static bool checkJson(const QJsonArray &polygons);
    // Fills every polygon from checked JSON and marks the values changed.
    void fillFromJson(const QJsonArray &polygons);

signals:
    // A value or a state of polygon `id` changed, shown or not.
    void polygonChanged(int id);

private:
    struct Entry
    {
        double value = 0.0;
        ValueStatus status;
    };

    static int indexOf(int id, int row) { return id * RowCount + row; }
    Entry &entry(int id, int row) { return m_entries[indexOf(id, row)]; }
    const Entry &entry(int id, int row) const { return m_entries.at(indexOf(id, row)); }
    void doEmitRowChanged(int id, int row);
    void doEmitAllChanged();
    void onAnswerTimerTicked();

    QVector<Entry> m_entries;
    int m_polygon = 0;
    // Acknowledged reads still waiting for their answer, by entry index.
    QHash<int, QDeadlineTimer> m_answersDue;
    QTimer *m_answerTimer = nullptr;
};
