#include "polylinesimplifier.h"

#include <algorithm>
#include <cmath>

namespace {

double cross(const QPointF &a, const QPointF &b)
{
    return a.x() * b.y() - a.y() * b.x();
}

// Whether direction v lies in the arc from right counter-clockwise to left (under 180°);
// the vectors need not have unit length.
bool inArc(const QPointF &v, const QPointF &right, const QPointF &left)
{
    return cross(right, v) >= 0 && cross(v, left) >= 0;
}

} // namespace

PolylineSimplifier::PolylineSimplifier(double tolerance)
    : m_tolerance(tolerance)
{ }

QPolygonF PolylineSimplifier::simplified(const QPolygonF &line, double tolerance)
{
    PolylineSimplifier simplifier(tolerance);
    simplifier.m_points.reserve(line.size());
    for (const QPointF &p : line)
        simplifier.append(p);
    QPolygonF kept;
    simplifier.result(kept);
    return kept;
}

void PolylineSimplifier::clear()
{
    m_points.clear();
    m_kept.clear();
    m_run = Run();
}

void PolylineSimplifier::append(const QPointF &point)
{
    m_points.append(point);
    if (m_kept.isEmpty()) {
        m_kept.append(0);
        doStart(m_run, 0);
    }
    doAdvance(m_run, m_kept, false);
}

void PolylineSimplifier::removeFirst(int count)
{
    if (count <= 0)
        return;
    if (count >= m_points.size()) {
        clear();
        return;
    }
    m_points.remove(0, count);
    // The vertices kept beyond the cut stay as they are once the fitting from the new start
    // keeps one of them: from a kept vertex on, the fitting depends on nothing before it.
    QVector<int> old;
    old.reserve(m_kept.size());
    for (int index : qAsConst(m_kept)) {
        if (index > count)
            old.append(index - count);
    }
    const Run oldRun = m_run;
    m_kept.clear();
    m_kept.append(0);
    doStart(m_run, 0);
    auto next = old.cbegin();
    while (doAdvance(m_run, m_kept, true)) {
        const int anchor = m_kept.constLast();
        while (next != old.cend() && *next < anchor)
            ++next;
        if (next != old.cend() && *next == anchor) {
            for (++next; next != old.cend(); ++next)
                m_kept.append(*next);
            m_run = oldRun;
            m_run.anchor -= count;
            m_run.next -= count;
            if (m_run.candidate >= 0)
                m_run.candidate -= count;
            return;
        }
    }
}

void PolylineSimplifier::result(QPolygonF &line) const
{
    line.clear();
    const int n = m_points.size();
    if (n < 3) {
        for (const QPointF &p : m_points)
            line.append(p);
        return;
    }
    // The open segment ends at the last point only if that may end it; otherwise it ends
    // at its candidate and the fitting goes on from there.
    QVector<int> tail;
    Run run = m_run;
    while (run.candidate != n - 1) {
        tail.append(run.candidate);
        doStart(run, run.candidate);
        doAdvance(run, tail, false);
    }
    line.reserve(m_kept.size() + tail.size() + 1);
    for (int index : m_kept)
        line.append(m_points.at(index));
    for (int index : qAsConst(tail))
        line.append(m_points.at(index));
    line.append(m_points.constLast());
}

void PolylineSimplifier::doStart(Run &run, int anchor) const
{
    run = Run();
    run.anchor = anchor;
    run.next = anchor + 1;
}

bool PolylineSimplifier::doAdvance(Run &run, QVector<int> &kept, bool stopAtVertex) const
{
    const int n = m_points.size();
    const double tolerance2 = m_tolerance * m_tolerance;
    while (run.next < n) {
        const int i = run.next;
        // The segment may always end at the anchor's successor, even one whose
        // coordinates are not numbers.
        if (i == run.anchor + 1)
            run.candidate = i;
        const QPointF v = m_points.at(i) - m_points.at(run.anchor);
        const double d = v.x() * v.x() + v.y() * v.y(); // squared, as is the reach
        if (d > tolerance2) {
            // The directions that pass within the tolerance of this point: v turned either
            // way by asin(tolerance / |v|), scaled by |v|.
            const double w = std::sqrt(d - tolerance2);
            const QPointF side(v.y() * m_tolerance, -v.x() * m_tolerance);
            const QPointF right = v * w + side;
            const QPointF left = v * w - side;
            if (!run.bounded) {
                if (d >= run.reach)
                    run.candidate = i;
                run.right = right;
                run.left = left;
                run.bounded = true;
            } else {
                if (d >= run.reach && inArc(v, run.right, run.left))
                    run.candidate = i;
                // Two arcs under 180° meet in one arc or not at all.
                const bool rightIn = inArc(run.right, right, left);
                const bool leftIn = inArc(run.left, right, left);
                const bool newRightIn = inArc(right, run.right, run.left);
                const bool newLeftIn = inArc(left, run.right, run.left);
                if ((!rightIn && !newRightIn) || (!leftIn && !newLeftIn)) {
                    // No segment from the anchor passes all points so far: end it at the
                    // farthest point it may end at and fit the next one from there.
                    kept.append(run.candidate);
                    doStart(run, run.candidate);
                    if (stopAtVertex)
                        return true;
                    continue;
                }
                if (!rightIn)
                    run.right = right;
                if (!leftIn)
                    run.left = left;
            }
        } else if (d >= run.reach) {
            run.candidate = i;
        }
        run.reach = std::max(run.reach, d);
        ++run.next;
    }
    return false;
}
