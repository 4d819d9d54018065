#pragma once

#include "laneframe.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QMap>
#include <QObject>
#include <QPolygonF>
#include <QVector>

// Traffic figures of every lane per interval of 1, 5 or 15 minutes, from the objects on
// the lanes (ObjectsHelper::laneFrame) and the lane centre lines.
//
// Measuring zone: on every lane the stretch from ZoneStart to ZoneStart + ZoneLength
// metres along the road axis (on a shorter lane, the middle ZoneLength metres of it); the
// counting line is across the zone's middle.
// Counting: a vehicle is counted when its track crosses the counting line, once per track
// however often it crosses back and forth; the radar's identifiers are reused, so a track
// is one identifier seen without a gap of more than ObjectsHelper::TrackExpiryFrames frames
// or a jump of more than ObjectsHelper::MaxTrackJump metres. Its direction is the direction
// of the crossing, its speed the speed measured in the frame of the crossing, its length the
// mean of the lengths measured along its track up to then.
// Occupancy: the share of the observed time of the interval during which the body of at
// least one vehicle (from its reference point, the end nearer the radar, to its length
// farther away) overlapped the measuring zone; each frame stands for the time since the
// previous one, at most MaxFrameGapMs.
// Intervals are aligned to the clock (UTC) and follow the frames' time; an interval ends
// with the first frame beyond it, and intervals without frames are not listed.
class LaneStatistics : public QObject
{
    Q_OBJECT

public:
    enum Direction { Approaching, Receding, DirectionCount };
    enum LengthClass { Motorcycle, Car, Van, Truck, LengthClassCount };

    static constexpr int DefaultIntervalMinutes = 5;
    static constexpr double ZoneStart = 30.0;
    static constexpr double ZoneLength = 10.0;
    static constexpr qint64 MaxFrameGapMs = 1000;
    // Upper bounds of the length classes in metres; longer objects are trucks. Objects
    // without a measured length are counted but not classed.
    static constexpr double MotorcycleMaxLength = 3.0;
    static constexpr double CarMaxLength = 5.5;
    static constexpr double VanMaxLength = 8.0;
    // Finished intervals kept: a day of one-minute intervals on eight lanes.
    static constexpr int MaxFinishedRows = 24 * 60 * 8;

    // The figures of one lane in one interval.
    struct Row
    {
        QDateTime start; // UTC
        int minutes = 0;
        int lane = 0;
        int count[DirectionCount] = {};
        int classes[LengthClassCount] = {};
        double meanSpeedKmh = 0.0; // 0 without vehicles
        double p85SpeedKmh = 0.0;
        double occupancy = 0.0; // 0 to 1
        int total() const { return count[Approaching] + count[Receding]; }
    };

    explicit LaneStatistics(QObject *parent = nullptr);

    static bool isAllowedInterval(int minutes);
    static LengthClass lengthClass(double length);
    // The speed that 85 % of the speeds do not exceed (nearest rank); 0 for none.
    static double percentile85(QVector<double> speeds);

    int intervalMinutes() const { return m_minutes; }
    QVector<int> lanes() const { return m_zones.keys().toVector(); }
    // The finished intervals, oldest first, lanes in ascending key order within each.
    const QVector<Row> &finishedRows() const { return m_finished; }
    // The interval in progress, one row per lane; empty before the first frame.
    QVector<Row> currentRows() const;

    // The rows as CSV for a spreadsheet in the locale's language: its decimal point, and
    // ';' between the fields where the decimal point is a comma, ',' otherwise; a header
    // line first, times in UTC as ISO 8601.
    static QByteArray toCsv(const QVector<Row> &rows, const QLocale &locale);

public slots:
    // 1, 5 or 15; other values are ignored. The interval in progress is finished.
    void setIntervalMinutes(int minutes);
    // A new road finishes the interval in progress; the same road again changes nothing.
    void setLaneCenterLines(const QMap<int, QPolygonF> &lines);
    void showLaneFrame(const LaneFrame &frame);
    // Forgets every interval.
    void clear();

signals:
    void intervalFinished(const QVector<Row> &rows);
    // The interval in progress has new figures.
    void currentChanged();

private:
    struct Zone
    {
        double from = 0.0;
        double to = 0.0;
        double line() const { return (from + to) / 2; }
    };
    struct Tally
    {
        int count[DirectionCount] = {};
        int classes[LengthClassCount] = {};
        QVector<double> speedsKmh;
        qint64 occupiedMs = 0;
    };
    struct TrackState
    {
        quint64 track = 0;
        int lane = 0;
        double along = 0.0;
        double lengthSum = 0.0;
        int lengthCount = 0;
        bool counted = false;
        int lastFrame = 0;
    };

    void doFinishInterval();
    void doStartInterval(const QDateTime &time);
    void doCount(const LaneObject &object, TrackState &state, Direction direction);
    Row rowOf(int lane, const Tally &tally) const;

    int m_minutes = DefaultIntervalMinutes;
    QMap<int, QPolygonF> m_lines;
    QMap<int, Zone> m_zones;
    QHash<quint8, TrackState> m_tracks;
    int m_frame = 0;
    QDateTime m_start; // invalid: no interval in progress
    QDateTime m_lastFrameTime;
    qint64 m_observedMs = 0;
    QMap<int, Tally> m_tallies;
    QVector<Row> m_finished;
};

Q_DECLARE_METATYPE(LaneStatistics::Row)
