#include "wrongwaydetector.h"

#include <QtMath>

namespace {

// Only bounds the memory: a reused identifier comes back as a new track anyway.
constexpr int ForgetAfterFrames = 100;

} // namespace

WrongWayDetector::WrongWayDetector(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<LaneFrame>();
    qRegisterMetaType<WrongWayAlarm>();
}

void WrongWayDetector::setMinDistance(double metres)
{
    if (qIsFinite(metres))
        m_minDistance = qBound(MinMinDistance, metres, MaxMinDistance);
}

void WrongWayDetector::showLaneFrame(const LaneFrame &frame)
{
    ++m_frame;
    for (const LaneObject &o : frame.objects) {
        if (!qIsFinite(o.along))
            continue;
        // Positions measured in the lane's direction of travel.
        const double position = LaneFrame::isRecedingLane(o.lane) ? o.along : -o.along;
        TrackState &state = m_tracks[o.id];
        if (state.track != o.track)
            state = TrackState { o.track, o.lane, position, false, m_frame };
        else if (state.lane != o.lane) {
            state.lane = o.lane;
            state.best = position;
        }
        state.lastFrame = m_frame;
        state.best = qMax(state.best, position);
        const double against = state.best - position;
        if (!state.alarmed && against > m_minDistance) {
            state.alarmed = true;
            emit wrongWayDetected({ frame.dateTimeUtc, o.lane, o.id, against });
        }
    }
    for (auto it = m_tracks.begin(); it != m_tracks.end();) {
        if (m_frame - it->lastFrame > ForgetAfterFrames)
            it = m_tracks.erase(it);
        else
            ++it;
    }
}
