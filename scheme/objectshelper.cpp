#include "objectshelper.h"

#include "radarstate.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

ObjectsHelper::ObjectsHelper(QObject *parent)
    : QObject(parent)
{
    // For queued delivery. quint8 is spelt out in the signatures, so the aliases must be
    // registered by name.
    qRegisterMetaType<QVector<quint8>>("QVector<quint8>");
    qRegisterMetaType<QMap<quint8, QPolygonF>>("QMap<quint8,QPolygonF>");
    qRegisterMetaType<QMap<int, QPolygonF>>();
    qRegisterMetaType<LaneFrame>();
    connect(&m_filling, &RoadObjectFrameCollector::frameCollected, this, &ObjectsHelper::sortFrame);
}

double ObjectsHelper::calcDistance(const QPointF &a, const QPointF &b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

QMap<quint8, QPolygonF> ObjectsHelper::currentTrackMap() const
{
    QMap<quint8, QPolygonF> tracks;
    for (const RoadObject &o : m_sorted.objects) {
        const auto it = m_tracks.constFind(o.id);
        if (it != m_tracks.constEnd())
            tracks.insert(o.id, it->points);
    }
    return tracks;
}

QMap<int, QPolygonF> ObjectsHelper::averageTrackMap() const
{
    QMap<int, QPolygonF> tracks;
    for (auto lane = m_lanes.cbegin(); lane != m_lanes.cend(); ++lane) {
        QPolygonF line(lane->size());
        QPointF *point = line.data();
        for (const Station &s : lane.value()) {
            if (s.count > 0)
                *point++ = s.centre + s.mean * s.normal;
        }
        line.resize(int(point - line.constData()));
        if (!line.isEmpty())
            tracks.insert(lane.key(), line);
    }
    return tracks;
}

void ObjectsHelper::startApplyingRoad(const QRectF &)
{
    m_lanes.clear();
    m_grid.clear();
}

void ObjectsHelper::setLaneCenterLines(const QMap<int, QPolygonF> &lines)
{
    m_lanes.clear();
    m_grid.clear();
    for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
        const QPolygonF &line = it.value();
        QVector<Station> stations;
        stations.reserve(line.size());
        for (int i = 0; i < line.size(); ++i) {
            // Direction from the neighbours, so curves get the tangent at the station.
            const QPointF d = line.at(qMin(i + 1, line.size() - 1)) - line.at(qMax(i - 1, 0));
            const double len = std::hypot(d.x(), d.y());
            Station s;
            s.centre = line.at(i);
            s.normal = len > 1e-9 ? QPointF(-d.y() / len, d.x() / len) : QPointF(0, 1);
            // Garbage centre lines (say from an absurd Y offset) would overflow the grid.
            if (!qIsFinite(s.centre.x()) || !qIsFinite(s.centre.y())
                || qAbs(s.centre.x()) > MaxCoordinate || qAbs(s.centre.y()) > MaxCoordinate)
                continue;
            const int cx = qFloor(s.centre.x() / MaxLaneDistance);
            const int cy = qFloor(s.centre.y() / MaxLaneDistance);
            m_grid[cellKey(cx, cy)].append({ it.key(), int(stations.size()) });
            stations.append(s);
        }
        m_lanes.insert(it.key(), stations);
    }
    for (Track &t : m_tracks)
        t.lane = 0;
}

void ObjectsHelper::finishApplyingRoad()
{
    m_averageChanged = false;
    emit averageTracks({});
}

void ObjectsHelper::setRadarState(int state)
{
    const bool working = Radar::isWorking(state);
    if (working == m_working)
        return;
    m_working = working;
    if (!working) {
        m_sorted = RoadObjectFrame();
        doClearCurrentTracks();
        emit currentTracks({});
        emit frameSorted(m_sorted);
        emit sortingFinished({});
    }
}

void ObjectsHelper::sortFrame(const RoadObjectFrame &frame)
{
    if (frame.cycleNumber < m_cycleNumber)
        doClearCurrentTracks();
    m_cycleNumber = frame.cycleNumber;
    ++m_frame;
    doSortObjects(frame);
    const LaneFrame onLanes = doUpdateTracks(frame);
    emit currentTracks(currentTrackMap());
    emit frameSorted(m_sorted);
    emit sortingFinished(m_sorted.ids());
    if (m_averageChanged) {
        m_averageChanged = false;
        emit averageTracks(averageTrackMap());
    }
    emit laneFrame(onLanes);
}

void ObjectsHelper::setCycleNumber(quint64 number)
{
    m_filling.onCycleNumber(number);
}

void ObjectsHelper::setFrameDateTimeUtc(const QDateTime &dateTime)
{
    m_filling.onFrameDateTimeUtc(dateTime);
}

void ObjectsHelper::startFilling()
{
    m_filling.onFrameStarted();
}

void ObjectsHelper::addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
    double length, const QDateTime &lastDetected)
{
    m_filling.onObjectData(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected);
}

void ObjectsHelper::finishFilling()
{
    m_filling.onFrameFinished();
}

void ObjectsHelper::resetAverageTracks()
{
    for (QVector<Station> &lane : m_lanes) {
        for (Station &s : lane) {
            s.mean = 0.0;
            s.count = 0;
        }
    }
    for (Track &t : m_tracks)
        t.lane = 0;
    m_averageChanged = false;
    emit averageTracks({});
}

void ObjectsHelper::doSortObjects(const RoadObjectFrame &frame)
{
    m_sorted = frame;
    std::stable_sort(m_sorted.objects.begin(), m_sorted.objects.end(),
        [](const RoadObject &a, const RoadObject &b) {
            const bool awayA = a.xSpeed >= 0;
            const bool awayB = b.xSpeed >= 0;
            if (awayA != awayB)
                return awayA;
            return awayA ? a.xRange > b.xRange : a.xRange < b.xRange;
        });
}

LaneFrame ObjectsHelper::doUpdateTracks(const RoadObjectFrame &frame)
{
    LaneFrame onLanes;
    onLanes.dateTimeUtc = frame.dateTimeUtc;
    onLanes.objects.reserve(frame.objects.size());
    for (const RoadObject &o : frame.objects) {
        const QPointF p(o.xRange, o.yRange);
        // Garbage positions would only stretch the tracks off the road.
        if (!qIsFinite(p.x()) || !qIsFinite(p.y()) || qAbs(p.x()) > MaxCoordinate
            || qAbs(p.y()) > MaxCoordinate)
            continue;
        Track &t = m_tracks[o.id];
        t.lastFrame = m_frame;
        if (!t.points.isEmpty() && calcDistance(t.points.constLast(), p) > MaxTrackJump)
            t = Track { {}, m_frame, 0, -1, 0.0, 0 };
        if (t.number == 0)
            t.number = ++m_lastTrackNumber;
        if (t.points.isEmpty() || calcDistance(t.points.constLast(), p) >= MinTrackStep) {
            if (t.points.size() >= MaxTrackPoints)
                t.points.remove(0, t.points.size() - MaxTrackPoints + 1);
            t.points.append(p);
        }

        int lane = 0;
        int index = -1;
        double offset = 0.0;
        double along = 0.0;
        if (!doFindStation(p, lane, index, offset, along)) {
            t.lane = 0;
            continue;
        }
        onLanes.objects.append(
            { o.id, t.number, lane, index + along, std::hypot(o.xSpeed, o.ySpeed), o.length });
        if (t.lane == lane && t.station != index) {
            // Fill every station passed since the last frame, the new one included.
            const int step = index > t.station ? 1 : -1;
            const int n = qAbs(index - t.station);
            for (int k = 1; k <= n; ++k) {
                const double f = double(k) / n;
                doAddSample(lane, t.station + k * step, t.offset + f * (offset - t.offset));
            }
        } else if (t.lane != lane) {
            doAddSample(lane, index, offset);
        }
        t.lane = lane;
        t.station = index;
        t.offset = offset;
    }

    for (auto it = m_tracks.begin(); it != m_tracks.end();) {
        if (m_frame - it->lastFrame >= TrackExpiryFrames)
            it = m_tracks.erase(it);
        else
            ++it;
    }
    return onLanes;
}

bool ObjectsHelper::doFindStation(
    const QPointF &p, int &lane, int &index, double &offset, double &along) const
{
    const int cx = qFloor(p.x() / MaxLaneDistance);
    const int cy = qFloor(p.y() / MaxLaneDistance);
    // Calls found(ref, station, dist2) for each station of a cell nearer than best.
    const auto scan = [this, &p](int x, int y, double &best, const auto &found) {
        const auto cell = m_grid.constFind(cellKey(x, y));
        if (cell == m_grid.constEnd())
            return;
        // A cell's stations come lane by lane: one look-up per lane, not per station.
        int stationsLane = 0;
        const QVector<Station> *stations = nullptr;
        for (const StationRef &ref : *cell) {
            if (!stations || ref.lane != stationsLane) {
                stationsLane = ref.lane;
                stations = &m_lanes.constFind(ref.lane).value();
            }
            const Station &s = stations->at(ref.index);
            const QPointF d = p - s.centre;
            const double dist2 = d.x() * d.x() + d.y() * d.y();
            if (dist2 < best) {
                best = dist2;
                found(ref, s, d);
            }
        }
    };
    // The nearest station of the object's own cell bounds the search: a cell farther away
    // than that holds no nearer one.
    double bound = MaxLaneDistance * MaxLaneDistance;
    scan(cx, cy, bound, [](const StationRef &, const Station &, const QPointF &) {});
    double best = MaxLaneDistance * MaxLaneDistance;
    bool found = false;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const double left = (cx + dx) * MaxLaneDistance;
            const double bottom = (cy + dy) * MaxLaneDistance;
            const double gapX = qMax(0.0, qMax(left - p.x(), p.x() - left - MaxLaneDistance));
            const double gapY = qMax(0.0, qMax(bottom - p.y(), p.y() - bottom - MaxLaneDistance));
            if (gapX * gapX + gapY * gapY > bound)
                continue;
            scan(cx + dx, cy + dy, best,
                [&](const StationRef &ref, const Station &s, const QPointF &d) {
                    lane = ref.lane;
                    index = ref.index;
                    offset = d.x() * s.normal.x() + d.y() * s.normal.y();
                    // The lane's direction is the normal turned to the right.
                    along = d.x() * s.normal.y() - d.y() * s.normal.x();
                    found = true;
                });
        }
    }
    return found;
}

void ObjectsHelper::doAddSample(int lane, int index, double offset)
{
    Station &s = m_lanes[lane][index];
    if (s.count < MeanWindow)
        ++s.count;
    s.mean += (offset - s.mean) / s.count;
    m_averageChanged = true;
}

void ObjectsHelper::doClearCurrentTracks()
{
    m_tracks.clear();
}

qint64 ObjectsHelper::cellKey(int cx, int cy)
{
    return (qint64(cx) << 32) ^ quint32(cy);
}
