#pragma once

#include <QPolygonF>
#include <QVector>

// Drops the vertices of a polyline that lie within a tolerance of the segment kept across
// them, in the units of the points given (sleeve fitting): from each kept vertex the line
// runs to the farthest vertex such that every vertex in between lies within the tolerance
// of that segment. A track along a lane, in device pixels, collapses to a few segments even
// with measurement noise, which is what makes drawing tens of thousands of track points
// cheap. The first and last vertices are kept.
//
// Kept as an object, it holds a line that grows at its end and loses points at its start
// (a track) and works only on what changed: the new points, and after a loss at the start
// the first segments until they meet the vertices kept before. result() is always what
// simplified() gives for points().
class PolylineSimplifier
{
public:
    explicit PolylineSimplifier(double tolerance = 0.0);

    static QPolygonF simplified(const QPolygonF &line, double tolerance);

    double tolerance() const { return m_tolerance; }
    const QVector<QPointF> &points() const { return m_points; }
    void clear();
    void append(const QPointF &point);
    void removeFirst(int count);
    // The simplified line, written into line (which keeps its capacity).
    void result(QPolygonF &line) const;

private:
    // The segment being fitted from the last kept vertex.
    struct Run
    {
        int anchor = 0;
        int next = 1; // the first point not yet looked at
        int candidate = -1; // the farthest point the segment may end at
        bool bounded = false; // whether a point beyond the tolerance narrowed the directions
        QPointF right; // the directions the segment may take, clockwise bound
        QPointF left; // and counter-clockwise bound
        double reach = 0.0; // the farthest squared distance of a point from the anchor
    };

    // Fits the points up to the last; with stopAtVertex it returns true after keeping a
    // vertex, before looking further.
    bool doAdvance(Run &run, QVector<int> &kept, bool stopAtVertex) const;
    void doStart(Run &run, int anchor) const;

    double m_tolerance;
    QVector<QPointF> m_points;
    QVector<int> m_kept; // the kept vertices ending a segment, the last one is the run's anchor
    Run m_run;
};
