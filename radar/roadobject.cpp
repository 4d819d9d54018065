#include "roadobject.h"

#include <QtMath>
#include <cmath>

RoadObject::RoadObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
    double length, const QDateTime &lastDetected)
    : id(id)
    , xSpeed(xSpeed)
    , ySpeed(ySpeed)
    , xRange(xRange)
    , yRange(yRange)
    , length(length)
    , lastDetected(lastDetected)
{ }

void RoadObject::update(double xSpeed, double ySpeed, double xRange, double yRange, double length,
    const QDateTime &lastDetected)
{
    this->xSpeed = xSpeed;
    this->ySpeed = ySpeed;
    this->xRange = xRange;
    this->yRange = yRange;
    this->length = length;
    this->lastDetected = lastDetected;
}

double RoadObject::headingAngle() const
{
    const double a = xSpeed;
    const double b = ySpeed;
    double direction;
    if (std::abs(a) < 1e-6) {
        if (std::abs(b) > 1e-6)
            direction = b > 0 ? M_PI_2 : -M_PI_2;
        else
            direction = 0.0;
    } else {
        direction = std::atan(b / a);
        if (a < 0)
            direction += M_PI;
        if (direction > M_PI)
            direction -= 2 * M_PI;
    }
    // Turn an approaching velocity line round so the body always extends away from the
    // radar. A speed along X below the noise counts as none: turning there would point a
    // crossing or resting object's body at the radar.
    if (a <= -1e-6)
        direction += M_PI;
    return direction;
}

QPolygonF RoadObject::drawingDimensionsM() const
{
    if (!(length >= 0.001))
        return {};
    const double theta = headingAngle();
    const QPointF u(std::cos(theta), std::sin(theta));
    const QPointF n(std::sin(theta), -std::cos(theta));
    const double halfWidth = length < 2.0 ? 0.5 : 1.0;
    const QPointF p(xRange, yRange);
    return QPolygonF({ p + halfWidth * n, p + length * u + halfWidth * n,
        p + length * u - halfWidth * n, p - halfWidth * n });
}
