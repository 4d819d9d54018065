#pragma once

// One entry of the road's cross-section: the median strip (id 0), a lane or a roadside.
// Edges are lateral offsets from the road axis in metres, +Y to the left of travel.
class RoadPart
{
public:
    RoadPart() = default;
    // A negative width puts the part on the other side of its start edge.
    RoadPart(int id, double start, double width, bool isLane);

    int id() const { return m_id; }
    double lowerEdge() const { return m_lower; }
    double upperEdge() const { return m_upper; }
    double centre() const { return m_centre; }
    bool isLane() const { return m_isLane; }

    // The edge nearer the road axis; the centre for the median strip.
    double innCoord() const;
    // The edge farther from the road axis; the centre for the median strip.
    double outCoord() const;

private:
    int m_id = 0;
    double m_lower = 0.0;
    double m_upper = 0.0;
    double m_centre = 0.0;
    bool m_isLane = false;
};
