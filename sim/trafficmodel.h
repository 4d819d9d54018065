#pragma once

#include "simobject.h"

#include <QMap>
#include <QPolygonF>
#include <QRandomGenerator>
#include <QVector>
#include <QtGlobal>

// Vehicles driving along the lane centre lines of a road. Lanes on the -Y side (negative
// part keys) carry traffic away from the radar, lanes on the +Y side towards it (traffic
// keeps to the right). Vehicles appear at the near or far edge of the field of view,
// follow the vehicle ahead at a safe gap and disappear at the other edge. Identifiers
// 0..63 are reused oldest-freed first, so that a reused identifier has long been dropped
// by any client. A wrong-way vehicle (Settings::wrongWaySeconds) enters its lane at the
// exit, drives to the entry and is passed through by the other traffic of the lane.
class TrafficModel
{
public:
    enum class VehicleType { Car, Van, Truck, Motorcycle };

    struct Settings
    {
        double rangeM = 250.0; // field of view along each lane, from the radar
        int maxObjects = 24; // vehicles at once, at most 64
        double perLanePerMinute = 10; // mean arrivals per lane
        bool maxLoad = false; // 64 vehicles at all times, wrapping round the lanes
        double noise = 1.0; // scale of the measurement noise; 0 for none
        quint32 seed = 1;
        // Every this many seconds one vehicle drives its lane the wrong way; 0 for never.
        double wrongWaySeconds = 0.0;
    };

    static constexpr int MaxIds = 64;

    explicit TrafficModel(const Settings &settings);

    // Replaces the road; all vehicles are removed.
    void setLanes(const QMap<int, QPolygonF> &centreLines);
    // Identifiers from count up are kept free (for other targets); vehicles holding them
    // are removed.
    void setIdLimit(int count);
    void reset();

    // Advances the traffic by dt seconds (clamped to one second).
    void step(double dtSeconds);

    int laneCount() const { return m_lanes.size(); }
    int vehicleCount() const { return m_vehicles.size(); }
    // Wrong-way vehicles sent so far.
    int wrongWayCount() const { return m_wrongWayCount; }
    // The vehicles as the radar measures them, noise included, in ascending identifier order.
    QVector<SimObject> measuredObjects();
    // The same without noise.
    QVector<SimObject> trueObjects() const;

private:
    struct Lane
    {
        QPolygonF line;
        QVector<double> cumulative; // arc length at each point
        double visibleEnd = 0.0; // arc length where the field of view ends
        bool away = true; // travel towards growing arc length
        double nextArrival = 0.0; // seconds until the next vehicle is due
    };
    struct Vehicle
    {
        quint8 id = 0;
        int lane = 0;
        double s = 0.0; // arc length of the reference point
        double speed = 0.0;
        double desiredSpeed = 0.0;
        double length = 4.5;
        VehicleType type = VehicleType::Car;
        bool wrongWay = false;
    };

    void doFillMaxLoad();
    bool doSpawn(int laneIndex, bool wrongWay = false);
    // Travel towards growing arc length.
    bool isAway(const Vehicle &vehicle) const;
    void doRandomVehicle(Vehicle *vehicle);
    bool takeId(quint8 *id);
    void releaseId(quint8 id);
    double nextArrivalDelay();
    double gaussian();
    SimObject objectOf(const Vehicle &vehicle) const;
    // Gap from vehicle to the next one ahead in its lane (metres), or a large number.
    double gapAhead(int index) const;

    Settings m_settings;
    QRandomGenerator m_random;
    QVector<Lane> m_lanes;
    QVector<Vehicle> m_vehicles;
    QVector<quint8> m_freeIds; // oldest freed first
    int m_idLimit = MaxIds;
    double m_nextWrongWay = 0.0; // seconds
    int m_wrongWayCount = 0;
};
