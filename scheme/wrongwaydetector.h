#pragma once

#include "laneframe.h"

#include <QDateTime>
#include <QHash>
#include <QMetaType>
#include <QObject>

// One vehicle found driving against the direction of its lane.
struct WrongWayAlarm
{
    QDateTime dateTimeUtc; // the frame in which the distance was reached
    int lane = 0;
    quint8 id = 0;
    double distance = 0.0; // metres driven the wrong way when the alarm was raised
};

Q_DECLARE_METATYPE(WrongWayAlarm)

// Raises one alarm for every track that moves against the direction of its lane
// (LaneFrame::isRecedingLane) by more than the minimum distance, measured along the lane
// from the farthest point it reached in the right direction since it came onto the lane.
// Measurement noise and a vehicle standing still move far less than the minimum; a track
// that changes lanes starts measuring again.
class WrongWayDetector : public QObject
{
    Q_OBJECT

public:
    static constexpr double DefaultMinDistance = 20.0;
    static constexpr double MinMinDistance = 5.0;
    static constexpr double MaxMinDistance = 200.0;

    explicit WrongWayDetector(QObject *parent = nullptr);

    double minDistance() const { return m_minDistance; }

public slots:
    // Held within MinMinDistance and MaxMinDistance.
    void setMinDistance(double metres);
    void showLaneFrame(const LaneFrame &frame);

signals:
    void wrongWayDetected(const WrongWayAlarm &alarm);

private:
    struct TrackState
    {
        quint64 track = 0;
        int lane = 0;
        double best = 0.0; // the farthest along the lane's direction, as a signed position
        bool alarmed = false;
        int lastFrame = 0;
    };

    double m_minDistance = DefaultMinDistance;
    QHash<quint8, TrackState> m_tracks;
    int m_frame = 0;
};
