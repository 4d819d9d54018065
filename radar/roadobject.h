#pragma once

#include <QDateTime>
#include <QPolygonF>
#include <QtGlobal>

// One detected road object as reported with objectData. Road coordinates: metres,
// radar at the origin, X along the road away from the radar, Y across it (+Y left).
class RoadObject
{
public:
    RoadObject() = default;
    RoadObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange, double length,
        const QDateTime &lastDetected);

    // Overwrites everything but the identifier, as a new report of the same object does.
    void update(double xSpeed, double ySpeed, double xRange, double yRange, double length,
        const QDateTime &lastDetected);

    // Orientation of the velocity line in radians, always pointing towards growing X.
    double headingAngle() const;

    // The four footprint corners, or an empty polygon when no length was measured.
    QPolygonF drawingDimensionsM() const;

    quint8 id = 0;
    double xSpeed = 0.0;
    double ySpeed = 0.0;
    double xRange = 0.0;
    double yRange = 0.0;
    double length = 0.0; // below 0.001 means not measured
    QDateTime lastDetected;
};
