#include "roadobjectstore.h"

#include "roadobjectframe.h"

#include <algorithm>

void RoadObjectStore::add(const RoadObject &object)
{
    const int index = RoadObjectFrame::insertOrUpdate(m_objects, object);
    const auto at = m_objects.begin() + index;
    // A new identifier comes in at the end; it moves to its place in identifier order. The
    // records before it are in that order, so a known identifier stays where it is.
    const auto place = std::upper_bound(
        m_objects.begin(), at, object.id, [](quint8 id, const RoadObject &o) { return id < o.id; });
    std::rotate(place, at, at + 1);
}

void RoadObjectStore::expire(const QDateTime &now)
{
    // Objects stamped more than the expiry ahead of the frame time are dropped as well:
    // after the server's clock steps back they would otherwise linger until it catches up.
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const auto expired = [nowMs](const RoadObject &o) {
        const qint64 ageMs = nowMs - o.lastDetected.toMSecsSinceEpoch();
        return ageMs > ExpiryMs || ageMs < -ExpiryMs;
    };
    m_objects.erase(std::remove_if(m_objects.begin(), m_objects.end(), expired), m_objects.end());
}
