#include "trafficmodel.h"

#include <QLineF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double EntryGapM = 8.0; // free road needed behind the entry to let a vehicle in
constexpr double MinGapM = 4.0; // standstill gap to the vehicle ahead
constexpr double HeadwayS = 1.2; // time gap a driver keeps
constexpr double AccelMps2 = 1.5;
constexpr double BrakeMps2 = 6.0;
constexpr double NoGap = 1e9;

struct TypeProfile
{
    double share;
    double minLength;
    double maxLength;
    double minSpeedKmh;
    double maxSpeedKmh;
};

// Cars, vans, trucks and motorcycles in the order of TrafficModel::VehicleType.
const TypeProfile profiles[] = {
    { 0.68, 3.8, 4.9, 60, 110 },
    { 0.15, 5.0, 6.6, 55, 95 },
    { 0.11, 9.5, 18.5, 50, 85 },
    { 0.06, 1.9, 2.4, 60, 120 },
};

} // namespace

TrafficModel::TrafficModel(const Settings &settings)
    : m_settings(settings)
    , m_random(settings.seed)
{
    m_settings.maxObjects = qBound(0, m_settings.maxObjects, MaxIds);
    m_settings.rangeM = qBound(1.0, m_settings.rangeM, 500.0);
    m_settings.perLanePerMinute = qBound(0.0, m_settings.perLanePerMinute, 600.0);
    m_settings.noise = qBound(0.0, m_settings.noise, 10.0);
    m_settings.wrongWaySeconds = qBound(0.0, m_settings.wrongWaySeconds, 86400.0);
    reset();
}

void TrafficModel::setLanes(const QMap<int, QPolygonF> &centreLines)
{
    m_lanes.clear();
    for (auto it = centreLines.cbegin(); it != centreLines.cend(); ++it) {
        const QPolygonF &line = it.value();
        if (line.size() < 2)
            continue;
        Lane lane;
        lane.line = line;
        lane.away = it.key() < 0;
        lane.cumulative.reserve(line.size());
        double length = 0.0;
        lane.cumulative.append(0.0);
        for (int i = 1; i < line.size(); ++i) {
            length += QLineF(line[i - 1], line[i]).length();
            lane.cumulative.append(length);
        }
        // The field of view ends where the lane first leaves the radar's range.
        lane.visibleEnd = length;
        for (int i = 0; i < line.size(); ++i) {
            if (std::hypot(line[i].x(), line[i].y()) > m_settings.rangeM) {
                lane.visibleEnd = lane.cumulative[i];
                break;
            }
        }
        if (lane.visibleEnd > 1.0)
            m_lanes.append(lane);
    }
    reset();
}

void TrafficModel::setIdLimit(int count)
{
    m_idLimit = qBound(0, count, MaxIds);
    for (int i = m_vehicles.size() - 1; i >= 0; --i) {
        if (m_vehicles[i].id >= m_idLimit) {
            releaseId(m_vehicles[i].id);
            m_vehicles.remove(i);
        }
    }
    if (m_settings.maxLoad)
        doFillMaxLoad();
}

void TrafficModel::reset()
{
    m_vehicles.clear();
    m_freeIds.clear();
    for (int id = 0; id < MaxIds; ++id)
        m_freeIds.append(quint8(id));
    for (Lane &lane : m_lanes)
        lane.nextArrival = m_random.bounded(1.0) * nextArrivalDelay();
    m_nextWrongWay = m_settings.wrongWaySeconds;
    if (m_settings.maxLoad)
        doFillMaxLoad();
}

void TrafficModel::doFillMaxLoad()
{
    if (m_lanes.isEmpty())
        return;
    const int target = qMin(m_idLimit, MaxIds);
    const int perLane = (target - m_vehicles.size() + m_lanes.size() - 1) / m_lanes.size();
    for (int l = 0; l < m_lanes.size() && m_vehicles.size() < target; ++l) {
        const Lane &lane = m_lanes[l];
        for (int k = 0; k < perLane && m_vehicles.size() < target; ++k) {
            Vehicle v;
            if (!takeId(&v.id))
                return;
            doRandomVehicle(&v);
            v.lane = l;
            v.s = lane.visibleEnd * (k + 0.5) / perLane;
            // Evenly spaced vehicles keep one speed per lane, so that nobody brakes.
            v.desiredSpeed = 20.0 + 2.0 * l;
            v.speed = v.desiredSpeed;
            m_vehicles.append(v);
        }
    }
}

void TrafficModel::doRandomVehicle(Vehicle *v)
{
    double pick = m_random.bounded(1.0);
    int type = 0;
    for (; type < 3; ++type) {
        if (pick < profiles[type].share)
            break;
        pick -= profiles[type].share;
    }
    const TypeProfile &p = profiles[type];
    v->type = VehicleType(type);
    v->length = p.minLength + m_random.bounded(1.0) * (p.maxLength - p.minLength);
    v->desiredSpeed
        = (p.minSpeedKmh + m_random.bounded(1.0) * (p.maxSpeedKmh - p.minSpeedKmh)) / 3.6;
    v->speed = v->desiredSpeed;
}

bool TrafficModel::isAway(const Vehicle &vehicle) const
{
    return m_lanes[vehicle.lane].away != vehicle.wrongWay;
}

bool TrafficModel::doSpawn(int laneIndex, bool wrongWay)
{
    if (m_vehicles.size() >= m_settings.maxObjects)
        return false;
    const Lane &lane = m_lanes[laneIndex];
    const bool away = lane.away != wrongWay;
    const double entry = away ? 0.0 : lane.visibleEnd;
    double nearestSpeed = -1.0;
    double nearest = NoGap;
    for (const Vehicle &v : qAsConst(m_vehicles)) {
        if (v.lane != laneIndex || v.wrongWay != wrongWay)
            continue;
        const double d = std::abs(v.s - entry);
        if (d < nearest) {
            nearest = d;
            nearestSpeed = v.speed;
        }
    }
    Vehicle v;
    doRandomVehicle(&v);
    if (nearest < v.length + EntryGapM)
        return false;
    if (!takeId(&v.id))
        return false;
    v.lane = laneIndex;
    v.s = entry;
    v.wrongWay = wrongWay;
    if (nearestSpeed >= 0.0 && nearest < 60.0)
        v.speed = qMin(v.speed, nearestSpeed);
    m_vehicles.append(v);
    return true;
}

double TrafficModel::gapAhead(int index) const
{
    const Vehicle &me = m_vehicles[index];
    const bool away = isAway(me);
    double best = NoGap;
    for (int i = 0; i < m_vehicles.size(); ++i) {
        const Vehicle &other = m_vehicles[i];
        // Wrong-way vehicles and the lane's traffic pass through each other.
        if (i == index || other.lane != me.lane || other.wrongWay != me.wrongWay)
            continue;
        // Reference points are the near ends: the body of a receding vehicle lies ahead of
        // its point, that of an approaching one behind it.
        double gap = away ? other.s - me.s - me.length : me.s - other.s - other.length;
        if ((away && other.s <= me.s) || (!away && other.s >= me.s))
            continue;
        best = qMin(best, gap);
    }
    return best;
}

void TrafficModel::step(double dtSeconds)
{
    const double dt = qBound(0.0, dtSeconds, 1.0);
    if (dt <= 0.0 || m_lanes.isEmpty())
        return;

    QVector<double> newSpeeds(m_vehicles.size());
    for (int i = 0; i < m_vehicles.size(); ++i) {
        const Vehicle &v = m_vehicles[i];
        // Max-load traffic is evenly spaced at one speed per lane and never brakes.
        const double safe
            = m_settings.maxLoad ? NoGap : qMax(0.0, (gapAhead(i) - MinGapM) / HeadwayS);
        const double wanted = qMin(v.desiredSpeed, safe);
        newSpeeds[i] = wanted > v.speed ? qMin(wanted, v.speed + AccelMps2 * dt)
                                        : qMax(wanted, v.speed - BrakeMps2 * dt);
    }
    for (int i = m_vehicles.size() - 1; i >= 0; --i) {
        Vehicle &v = m_vehicles[i];
        const Lane &lane = m_lanes[v.lane];
        v.speed = newSpeeds[i];
        v.s += (isAway(v) ? 1.0 : -1.0) * v.speed * dt;
        const bool gone = v.s < 0.0 || v.s > lane.visibleEnd;
        if (!gone)
            continue;
        if (m_settings.maxLoad) {
            v.s = lane.away ? v.s - lane.visibleEnd : v.s + lane.visibleEnd;
            v.s = qBound(0.0, v.s, lane.visibleEnd);
            continue;
        }
        releaseId(v.id);
        m_vehicles.remove(i);
    }

    if (m_settings.maxLoad)
        return;
    if (m_settings.wrongWaySeconds > 0.0) {
        m_nextWrongWay -= dt;
        // A full road or a blocked exit retries on the next step.
        if (m_nextWrongWay <= 0.0 && doSpawn(m_random.bounded(m_lanes.size()), true)) {
            ++m_wrongWayCount;
            m_nextWrongWay = m_settings.wrongWaySeconds;
        }
    }
    for (int l = 0; l < m_lanes.size(); ++l) {
        Lane &lane = m_lanes[l];
        lane.nextArrival -= dt;
        if (lane.nextArrival > 0.0)
            continue;
        // A blocked entry retries on the next step.
        if (doSpawn(l) || m_vehicles.size() >= m_settings.maxObjects)
            lane.nextArrival = nextArrivalDelay();
    }
}

double TrafficModel::nextArrivalDelay()
{
    if (m_settings.perLanePerMinute <= 0.0)
        return 1e9;
    // Exponential inter-arrival times, with at least a second between two vehicles.
    const double mean = 60.0 / m_settings.perLanePerMinute;
    const double u = qMax(1e-9, 1.0 - m_random.bounded(1.0));
    return qMax(1.0, -std::log(u) * mean);
}

bool TrafficModel::takeId(quint8 *id)
{
    for (int i = 0; i < m_freeIds.size(); ++i) {
        if (m_freeIds[i] < m_idLimit) {
            *id = m_freeIds[i];
            m_freeIds.remove(i);
            return true;
        }
    }
    return false;
}

void TrafficModel::releaseId(quint8 id)
{
    if (!m_freeIds.contains(id))
        m_freeIds.append(id);
}

double TrafficModel::gaussian()
{
    // Box-Muller.
    const double u1 = qMax(1e-12, m_random.bounded(1.0));
    const double u2 = m_random.bounded(1.0);
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

SimObject TrafficModel::objectOf(const Vehicle &v) const
{
    const Lane &lane = m_lanes[v.lane];
    const QVector<double> &c = lane.cumulative;
    const int last = c.size() - 1;
    int i = int(std::upper_bound(c.cbegin(), c.cend(), v.s) - c.cbegin()) - 1;
    i = qBound(0, i, last - 1);
    const QPointF a = lane.line[i];
    const QPointF b = lane.line[i + 1];
    const double segment = c[i + 1] - c[i];
    const double t = segment > 0.0 ? (v.s - c[i]) / segment : 0.0;
    const QPointF point = a + (b - a) * t;
    const QPointF unit = segment > 0.0 ? (b - a) / segment : QPointF(1.0, 0.0);
    const double direction = isAway(v) ? 1.0 : -1.0;

    SimObject o;
    o.id = v.id;
    o.xRange = point.x();
    o.yRange = point.y();
    o.xSpeed = unit.x() * v.speed * direction;
    o.ySpeed = unit.y() * v.speed * direction;
    o.length = v.length;
    return o;
}

QVector<SimObject> TrafficModel::trueObjects() const
{
    QVector<SimObject> out;
    out.reserve(m_vehicles.size());
    for (const Vehicle &v : m_vehicles)
        out.append(objectOf(v));
    std::sort(
        out.begin(), out.end(), [](const SimObject &a, const SimObject &b) { return a.id < b.id; });
    return out;
}

QVector<SimObject> TrafficModel::measuredObjects()
{
    QVector<SimObject> out = trueObjects();
    if (m_settings.noise <= 0.0)
        return out;
    const double n = m_settings.noise;
    for (SimObject &o : out) {
        o.xRange += 0.15 * n * gaussian();
        o.yRange += 0.10 * n * gaussian();
        o.xSpeed += 0.15 * n * gaussian();
        o.ySpeed += 0.05 * n * gaussian();
        o.length = qMax(0.2, o.length + 0.2 * n * gaussian());
    }
    return out;
}
