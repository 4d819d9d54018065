#pragma once

#include "laneframe.h"
#include "roadobjectframe.h"
#include "roadobjectframecollector.h"

#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QPolygonF>
#include <QRectF>
#include <QVector>

// Takes each radar frame, orders its objects, extends their current tracks and updates the
// average tracks of the lanes, and hands the frame on in drawing order (frameSorted).
// The per-object slots collect a frame and take it at finishFilling.
//
// Order: objects moving away (xSpeed >= 0) first, farthest first, then the others,
// nearest first; equal ranges keep the frame's order (the report order).
//
// Current tracks: the reference points of each object, oldest first, one point per
// MinTrackStep metres of movement, at most MaxTrackPoints; a track is forgotten once its
// object has been missing for TrackExpiryFrames frames, when the radar stops working or
// when its cycle counter goes backwards (restart). A jump of more than MaxTrackJump
// metres between two frames (an identifier reused for another object) starts a new
// track. Every track gets a new number, handed on with the frame's objects on the lanes
// (laneFrame), so that counting can tell a reused identifier from the same vehicle.
//
// Average tracks: every lane centre line carries one station per metre (its points from
// the road builder). An object within MaxLaneDistance of a station is assigned to the
// lane of the nearest station; its signed lateral offset from the centre line there (+
// to the left) is added once per station it passes: when it moves several stations in
// one frame (but not farther than MaxTrackJump), the stations in between take the
// linearly interpolated offset. Each station
// keeps the running mean of those offsets, which after MeanWindow samples becomes an
// exponential mean over about that many objects, so it follows lasting changes and its
// memory never grows. The average track of a lane is the centre line moved sideways by
// the mean offset at every station that has seen an object.
class ObjectsHelper : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxTrackPoints = 300;
    static constexpr double MinTrackStep = 0.25;
    static constexpr int TrackExpiryFrames = 20;
    static constexpr double MaxTrackJump = 20.0;
    static constexpr double MaxLaneDistance = 5.0;
    static constexpr int MeanWindow = 200;
    // Positions farther than this from the radar are ignored.
    static constexpr double MaxCoordinate = 1.0e6;

    explicit ObjectsHelper(QObject *parent = nullptr);

    static double calcDistance(const QPointF &a, const QPointF &b);

    QVector<quint8> sortedObjectIds() const { return m_sorted.ids(); }
    const RoadObjectFrame &sortedFrame() const { return m_sorted; }
    QMap<quint8, QPolygonF> currentTrackMap() const;
    QMap<int, QPolygonF> averageTrackMap() const;

public slots:
    void startApplyingRoad(const QRectF &dimensions);
    void setLaneCenterLines(const QMap<int, QPolygonF> &lines);
    void finishApplyingRoad();

    void setRadarState(int state);
    // Tracks are forgotten when the frame's cycle number goes backwards (a restart).
    void sortFrame(const RoadObjectFrame &frame);

    void setCycleNumber(quint64 number);
    void setFrameDateTimeUtc(const QDateTime &dateTime);
    void startFilling();
    void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected);
    void finishFilling();

    void resetAverageTracks();

signals:
    void currentTracks(const QMap<quint8, QPolygonF> &tracks);
    // The frame in drawing order, the last object on top; sortingFinished names the same
    // objects.
    void frameSorted(const RoadObjectFrame &frame);
    void sortingFinished(const QVector<quint8> &sortedObjectIds);
    void averageTracks(const QMap<int, QPolygonF> &tracks);
    // After frameSorted: the frame's objects that lie on a lane, with their tracks.
    void laneFrame(const LaneFrame &frame);

private:
    struct Track
    {
        QPolygonF points;
        int lastFrame = 0;
        int lane = 0; // 0: not on a lane
        int station = -1;
        double offset = 0.0;
        quint64 number = 0;
    };
    struct Station
    {
        QPointF centre;
        QPointF normal; // unit vector to the left of the lane's direction
        double mean = 0.0;
        int count = 0;
    };
    struct StationRef
    {
        int lane;
        int index;
    };

    void doSortObjects(const RoadObjectFrame &frame);
    // Returns the frame's objects on the lanes.
    LaneFrame doUpdateTracks(const RoadObjectFrame &frame);
    // offset: lateral, + to the left; along: along the lane's direction from the station.
    bool doFindStation(
        const QPointF &p, int &lane, int &index, double &offset, double &along) const;
    void doAddSample(int lane, int index, double offset);
    void doClearCurrentTracks();
    static qint64 cellKey(int cx, int cy);

    RoadObjectFrameCollector m_filling;
    RoadObjectFrame m_sorted;
    QHash<quint8, Track> m_tracks;
    int m_frame = 0;
    quint64 m_cycleNumber = 0;
    quint64 m_lastTrackNumber = 0;
    bool m_working = false;

    QMap<int, QVector<Station>> m_lanes;
    // Stations of all lanes by grid cell of MaxLaneDistance metres.
    QHash<qint64, QVector<StationRef>> m_grid;
    bool m_averageChanged = false;
};
