#pragma once

#include "roaddraft.h"
#include "roadpart.h"

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QVector>

// Turns a road configuration (cross-section parts and a chain of straight and curved
// sections), read and bounded as the road editor reads it, into road geometry: one mark per whole
// metre along the axis, each with the axis point, the inner edge and centre of every part, and the
// road direction there. Road coordinates are metres with the radar at the origin, X along the road,
// +Y to the left; every point handed out is shifted by (0, origin_offset).
class RoadBuilder : public QObject
{
    Q_OBJECT

public:
    using RoadPart = ::RoadPart;

    // The road is read and bounded by RoadDraft, as the editor shows it.
    static constexpr double MaxRoadLength = RoadDraft::MaxRoadLength;
    static constexpr int MaxPartsPerSide = RoadDraft::MaxPartsPerSide;
    static constexpr double LeadLength = 2.0;
    static constexpr double MinCurveRadius = RoadDraft::MinRadius;
    static constexpr double MarkTolerance = 0.01;

    explicit RoadBuilder(QObject *parent = nullptr);

    double originOffset() const { return m_originOffset; }
    QMap<int, RoadPart> parts() const { return m_parts; }
    // Mark -> part key -> point on that part's inner edge; an empty map for marks that
    // only carry an axis point (lead-in and lead-out).
    QMap<int, QMap<int, QPointF>> innerEdgePoints() const;
    // Mark -> part key -> point on that part's centre line; key 0 is the axis point.
    QMap<int, QMap<int, QPointF>> centrePoints() const;
    // Mark -> road direction in radians within [-pi, pi], from +X towards +Y.
    QMap<int, double> tanAngles() const { return m_tanAngles; }
    // Unshifted rectangle holding the origin and every roadside point.
    QRectF dimensions() const { return m_dimensions; }

    // The point at the signed distance offset to the left of the line through point
    // with direction angle (radians).
    static QPointF orthoPoint(const QPointF &point, double angle, double offset);

public slots:
    void setRoadConfig(const QJsonObject &config);

signals:
    void applyingRoadStarted(const QRectF &dimensions, const QPointF &shift);
    void roadAxisLine(const QPolygonF &axis);
    void laneBorderLines(const QList<QPolygonF> &lines);
    void roadBorderLines(const QList<QPolygonF> &lines);
    void laneCenterLines(const QMap<int, QPolygonF> &lines);
    void distanceLines(const QMap<int, QPolygonF> &lines);
    void roadTanAngles(const QMap<int, double> &angles);
    void applyingRoadFinished();

protected:
    void doSetupParts(const RoadDraft &road);
    void doBuildRoad(const RoadDraft &road);
    void doApplyRoad();

    void doAddStraightSection(double length, bool axisOnly, QPointF startPoint, double startAngle,
        double startDistance, QPointF &endPoint, double &endAngle, double &endDistance);
    void doAddCurvedSection(double length, double radius, bool axisOnly, QPointF startPoint,
        double startAngle, double startDistance, QPointF &endPoint, double &endAngle,
        double &endDistance);
    // First and last whole metre within [from, to], allowing MarkTolerance at both ends.
    // An empty range gives last < first.
    void doCalcLimitMarks(double from, double to, int &firstMark, int &lastMark) const;
    void doFillMarkPoints(int mark, const QPointF &axisPoint, double angle, bool axisOnly);
    void doExpandDimesionsByPoint(const QPointF &point);
    void doExpandDimesionsByRoadside(const QPointF &axisPoint, double angle);

private:
    // Arcs tighter than MinCurveRadius are dropped.
    static bool isDroppedArc(double radius);
    void clearMarks();

    // The points of a mark's parts live in m_innerEdges and m_centres at
    // slot * m_partKeys.size(), in the order of m_partKeys; slot -1: axis point only.
    struct Mark
    {
        QPointF axis;
        int slot = -1;
    };

    double m_originOffset = 0.0;
    QMap<int, RoadPart> m_parts;
    QVector<int> m_partKeys; // every key but 0, ascending
    QVector<double> m_partInner;
    QVector<double> m_partCentre;
    QVector<bool> m_partIsLane;

    QMap<int, Mark> m_marks;
    int m_slotCount = 0;
    QVector<QPointF> m_innerEdges;
    QVector<QPointF> m_centres;
    QMap<int, double> m_tanAngles;
    QRectF m_dimensions;
};
