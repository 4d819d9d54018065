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
    QVector<Pixel> pixels(points.size());
    bool changed = points.size() != m_points.size() - shift;
    for (int i = 0; i < points.size(); ++i) {
        const int old = i + shift;
        if (old < m_points.size() && same(m_points.at(old), points.at(i))) {
            pixels[i] = m_pixels.at(old);
            continue;
        }
        Pixel &p = pixels[i];
        p.pixel = model.xyToScreen(points.at(i), &p.ok);
        if (!changed) {
            const Pixel &before = m_pixels.at(old);
            changed = p.ok != before.ok || (p.ok && p.pixel != before.pixel);
        }
    }
    changed = changed || shift > 0;
    m_points = points;
    m_pixels = pixels;
    // Average tracks seldom move by a whole pixel.
    if (!changed)
        return;
    QPolygonF line;
    line.reserve(m_pixels.size());
    for (const Pixel &p : qAsConst(m_pixels)) {
        if (p.ok)
            line.append(p.pixel);
    }
    m_simplified = PolylineSimplifier::simplified(line, tolerance);
}
