#include "schememapping.h"

#include <QtMath>

namespace {
// Beyond this the road builder refuses to go; anything larger is a broken rectangle.
constexpr double MaxExtent = 1.0e6;

bool isSane(double v)
{
    return qIsFinite(v) && qAbs(v) <= MaxExtent;
}
} // namespace

SchemeMapping::SchemeMapping(
    const QRectF &world, const QSizeF &device, bool vertical, bool keepAspectRatio)
    : m_world(viewRect(world))
    , m_vertical(vertical)
{
    const double labelRoom = vertical ? LabelRoomVertical : LabelRoomHorizontal;
    const double w = qMax(1.0, device.width() - 2 * Margin - (vertical ? labelRoom : 0.0));
    const double h = qMax(1.0, device.height() - 2 * Margin - (vertical ? 0.0 : labelRoom));
    const double alongPixels = vertical ? h : w;
    const double acrossPixels = vertical ? w : h;
    m_scaleAlong = alongPixels / m_world.width();
    m_scaleAcross = acrossPixels / m_world.height();
    if (keepAspectRatio)
        m_scaleAlong = m_scaleAcross = qMin(m_scaleAlong, m_scaleAcross);

    // Centre the used area in the space left for it.
    const double usedAlong = m_world.width() * m_scaleAlong;
    const double usedAcross = m_world.height() * m_scaleAcross;
    const double padAlong = (alongPixels - usedAlong) / 2;
    const double padAcross = (acrossPixels - usedAcross) / 2;

    if (!vertical) {
        // x' = left + (x - xmin) * sa; y' = top + (ymax - y) * sc
        const double dx = Margin + padAlong - m_world.left() * m_scaleAlong;
        const double dy = Margin + padAcross + m_world.bottom() * m_scaleAcross;
        m_transform = QTransform(m_scaleAlong, 0, 0, -m_scaleAcross, dx, dy);
    } else {
        // x' = left + (ymax - y) * sc; y' = bottom - (x - xmin) * sa
        const double dx = Margin + padAcross + m_world.bottom() * m_scaleAcross;
        const double dy = Margin + padAlong + usedAlong + m_world.left() * m_scaleAlong;
        m_transform = QTransform(0, -m_scaleAlong, -m_scaleAcross, 0, dx, dy);
    }
}

QRectF SchemeMapping::viewRect(const QRectF &road)
{
    QRectF r(0.0, -MinSide, MinAhead, 2 * MinSide);
    if (isSane(road.left()) && isSane(road.top()) && isSane(road.right()) && isSane(road.bottom()))
        r = r.united(road.normalized());
    return r;
}
