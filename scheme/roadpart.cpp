#include "roadpart.h"

#include <algorithm>

RoadPart::RoadPart(int id, double start, double width, bool isLane)
    : m_id(id)
    , m_lower(std::min(start, start + width))
    , m_upper(std::max(start, start + width))
    , m_centre((m_lower + m_upper) / 2.0)
    , m_isLane(isLane)
{ }

double RoadPart::innCoord() const
{
    if (m_id == 0)
        return m_centre;
    return m_centre > 0.0 ? m_lower : m_upper;
}

double RoadPart::outCoord() const
{
    if (m_id == 0)
        return m_centre;
    return m_centre < 0.0 ? m_lower : m_upper;
}
