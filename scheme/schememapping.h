#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

// Maps road coordinates (metres, radar at the origin, X along the road, +Y to the left)
// to the pixels of a paint device. Horizontal: the road runs from left to right with +Y
// up. Vertical: it runs from bottom to top with +Y to the left. Either way an observer
// looking along +X sees the road's left side on their left.
class SchemeMapping
{
public:
    // Blank border around the road, pixels; the right-hand (-Y) side gets more room for
    // the distance labels.
    static constexpr double Margin = 10.0;
    static constexpr double LabelRoomHorizontal = 20.0;
    static constexpr double LabelRoomVertical = 52.0;
    // The view always shows the radar and at least this much road ahead and to each side.
    static constexpr double MinAhead = 5.0;
    static constexpr double MinSide = 2.0;

    SchemeMapping() = default;
    SchemeMapping(const QRectF &world, const QSizeF &device, bool vertical, bool keepAspectRatio);

    // The road's rectangle widened to hold the radar and the minimum area around it;
    // non-finite or absurd values give the minimum area.
    static QRectF viewRect(const QRectF &road);

    QRectF world() const { return m_world; }
    bool isVertical() const { return m_vertical; }
    // Pixels per metre along the road and across it.
    double scaleAlong() const { return m_scaleAlong; }
    double scaleAcross() const { return m_scaleAcross; }

    const QTransform &transform() const { return m_transform; }
    QPointF toDevice(const QPointF &road) const { return m_transform.map(road); }
    QPolygonF toDevice(const QPolygonF &road) const { return m_transform.map(road); }
    QPointF toRoad(const QPointF &device) const { return m_transform.inverted().map(device); }

private:
    QRectF m_world;
    bool m_vertical = false;
    double m_scaleAlong = 1.0;
    double m_scaleAcross = 1.0;
    QTransform m_transform;
};
