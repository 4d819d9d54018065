#include "roadobjectstore.h"

void RoadObjectStore::add(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
    double length, const QDateTime &lastDetected)
{
    const auto it = m_objects.find(id);
    if (it != m_objects.end())
        it->update(xSpeed, ySpeed, xRange, yRange, length, lastDetected);
    else
        m_objects.insert(id, RoadObject(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected));
}

void RoadObjectStore::expire(const QDateTime &now)
{
    // Objects stamped more than the expiry ahead of the frame time are dropped as well:
    // after the server's clock steps back they would otherwise linger until it catches up.
    const qint64 nowMs = now.toMSecsSinceEpoch();
    for (auto it = m_objects.begin(); it != m_objects.end();) {
        const qint64 ageMs = nowMs - it->lastDetected.toMSecsSinceEpoch();
        if (ageMs > ExpiryMs || ageMs < -ExpiryMs)
            it = m_objects.erase(it);
        else
            ++it;
    }
}
