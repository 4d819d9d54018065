#include "projectedline.h"

#include "cameramodel.h"
#include "polylinesimplifier.h"

#include <algorithm>

namespace {

bool same(const QPointF &a, const QPointF &b)
{
    return a.x() == b.x() && a.y() == b.y();
}

} // namespace

void ProjectedLine::update(const QPolygonF &points, const CameraModel &model, double tolerance)
{
    if (points.constData() == m_points.constData() && points.size() == m_points.size())
        return;
    // The old points line up with the new ones from where the new first point was; a line
    // that lost no points lines up from its start.
    int shift = 0;
    if (!points.isEmpty()) {
        const auto first = std::find_if(m_points.cbegin(), m_points.cend(),
            [&points](const QPointF &point) { return same(point, points.constFirst()); });
        if (first != m_points.cend())
            shift = int(first - m_points.cbegin());
    }
    m_pixels.remove(0, shift);
    m_pixels.resize(points.size());
    for (int i = 0; i < points.size(); ++i) {
        const int old = i + shift;
        if (old < m_points.size() && same(m_points.at(old), points.at(i)))
            continue;
        Pixel &p = m_pixels[i];
        p.pixel = model.xyToScreen(points.at(i), &p.ok);
    }
    m_points = points;

    m_nextLine.clear();
    m_nextLine.reserve(m_pixels.size());
    for (const Pixel &p : qAsConst(m_pixels)) {
        if (p.ok)
            m_nextLine.append(p.pixel);
    }
    // Far from the camera many points share a pixel, and average tracks seldom move by one.
    if (m_nextLine == m_line)
        return;
    m_line.swap(m_nextLine);
    m_simplified = PolylineSimplifier::simplified(m_line, tolerance);
}
