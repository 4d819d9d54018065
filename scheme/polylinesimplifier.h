#pragma once

#include <QPolygonF>

// Drops the vertices of a polyline that lie within a tolerance of the line through the
// last kept vertex and its successor (Reumann-Witkam), in the units of the points given:
// a track along a lane, in device pixels, collapses to a few segments, which is what makes
// drawing tens of thousands of track points cheap. The first and last vertices are kept,
// and so is every vertex where the line turns back.
class PolylineSimplifier
{
public:
    static QPolygonF simplified(const QPolygonF &line, double tolerance);
};
