#include "roadbuilder.h"

#include <QMetaType>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Keeps mark numbers far inside the int range whatever distances come in.
constexpr double MarkLimit = 1.0e9;

void registerMetaTypes()
{
    [[maybe_unused]] static const bool registered = [] {
        qRegisterMetaType<QList<QPolygonF>>();
        qRegisterMetaType<QMap<int, QPolygonF>>();
        qRegisterMetaType<QMap<int, double>>();
        return true;
    }();
}

} // namespace

RoadBuilder::RoadBuilder(QObject *parent)
    : QObject(parent)
{
    registerMetaTypes();
}

QMap<int, QMap<int, QPointF>> RoadBuilder::innerEdgePoints() const
{
    QMap<int, QMap<int, QPointF>> points;
    const int partCount = m_partKeys.size();
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        QMap<int, QPointF> &row = points[it.key()];
        if (it->slot < 0)
            continue;
        for (int i = 0; i < partCount; ++i)
            row.insert(m_partKeys.at(i), m_innerEdges.at(it->slot * partCount + i));
    }
    return points;
}

QMap<int, QMap<int, QPointF>> RoadBuilder::centrePoints() const
{
    QMap<int, QMap<int, QPointF>> points;
    const int partCount = m_partKeys.size();
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        QMap<int, QPointF> &row = points[it.key()];
        row.insert(0, it->axis);
        if (it->slot < 0)
            continue;
        for (int i = 0; i < partCount; ++i)
            row.insert(m_partKeys.at(i), m_centres.at(it->slot * partCount + i));
    }
    return points;
}

QPointF RoadBuilder::orthoPoint(const QPointF &point, double angle, double offset)
{
    return point + offset * QPointF(-std::sin(angle), std::cos(angle));
}

void RoadBuilder::setRoadConfig(const QJsonObject &config)
{
    // The editor's reading: the road drawn is the road the editor shows.
    const RoadDraft road = RoadDraft::fromJson(config);
    m_originOffset = road.originOffset;
    doSetupParts(road);
    doBuildRoad(road);
    doApplyRoad();
}

void RoadBuilder::doSetupParts(const RoadDraft &road)
{
    m_parts.clear();
    m_partKeys.clear();
    m_partInner.clear();
    m_partCentre.clear();
    m_partIsLane.clear();
    // The stored points are laid out per part: they are void once the parts change.
    clearMarks();

    // The median strip is centred on the axis and never a lane.
    const RoadPart median(0, -road.medianWidth / 2.0, road.medianWidth, false);
    m_parts.insert(0, median);

    // Each side counted outwards, every part starting at the outer edge of the one before.
    RoadPart last = median;
    for (int i = 0; i < road.left.size(); ++i) {
        const RoadDraft::Part &part = road.left.at(i);
        last = RoadPart(i + 1, last.upperEdge(), part.width, part.type == RoadDraft::Lane);
        m_parts.insert(last.id(), last);
    }
    last = median;
    for (int i = 0; i < road.right.size(); ++i) {
        const RoadDraft::Part &part = road.right.at(i);
        last = RoadPart(-i - 1, last.lowerEdge(), -part.width, part.type == RoadDraft::Lane);
        m_parts.insert(last.id(), last);
    }

    for (const RoadPart &part : qAsConst(m_parts)) {
        if (part.id() == 0)
            continue;
        m_partKeys.append(part.id());
        m_partInner.append(part.innCoord());
        m_partCentre.append(part.centre());
        m_partIsLane.append(part.isLane());
    }
}

void RoadBuilder::doBuildRoad(const RoadDraft &road)
{
    clearMarks();

    QPointF point;
    double angle = 0.0;
    double distance = 0.0;
    doAddStraightSection(
        LeadLength, true, QPointF(-LeadLength, 0.0), 0.0, -LeadLength, point, angle, distance);

    for (const RoadDraft::Section &section : road.sections) {
        switch (section.type) {
        case RoadDraft::Straight:
            doAddStraightSection(
                section.length, false, point, angle, distance, point, angle, distance);
            break;
        case RoadDraft::LeftCurve:
        case RoadDraft::RightCurve: {
            const double radius
                = section.type == RoadDraft::LeftCurve ? section.radius : -section.radius;
            doAddCurvedSection(
                section.length, radius, false, point, angle, distance, point, angle, distance);
            break;
        }
        }
    }

    doAddStraightSection(LeadLength, true, point, angle, distance, point, angle, distance);
}

void RoadBuilder::doApplyRoad()
{
    const QPointF shift(0.0, m_originOffset);
    const int partCount = m_partKeys.size();

    QPolygonF axis;
    axis.reserve(m_marks.size());
    QVector<QPolygonF> edgeLines(partCount);
    QVector<QPolygonF> centreLines(partCount);
    for (int i = 0; i < partCount; ++i) {
        edgeLines[i].reserve(m_slotCount);
        if (m_partIsLane.at(i))
            centreLines[i].reserve(m_slotCount);
    }
    QMap<int, QPolygonF> across;

    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        axis.append(it->axis + shift);
        QPolygonF line;
        if (it->slot >= 0 && partCount > 0) {
            line.reserve(partCount);
            const QPointF *inner = m_innerEdges.constData() + it->slot * partCount;
            const QPointF *centre = m_centres.constData() + it->slot * partCount;
            for (int i = 0; i < partCount; ++i) {
                const QPointF point = inner[i] + shift;
                edgeLines[i].append(point);
                line.append(point);
                if (m_partIsLane.at(i))
                    centreLines[i].append(centre[i] + shift);
            }
        }
        across.insert(across.cend(), it.key(), line);
    }

    // The edges of the median strip and the two outer road edges are borders.
    const int lowestKey = m_parts.isEmpty() ? 0 : m_parts.firstKey();
    const int highestKey = m_parts.isEmpty() ? 0 : m_parts.lastKey();
    const QVector<int> borderKeys { -1, 1, lowestKey, highestKey };
    QList<QPolygonF> laneBorders;
    QList<QPolygonF> roadBorders;
    QMap<int, QPolygonF> laneCentres;
    for (int i = 0; i < partCount; ++i) {
        const int key = m_partKeys.at(i);
        if (borderKeys.contains(key))
            roadBorders.append(edgeLines.at(i));
        else
            laneBorders.append(edgeLines.at(i));
        if (m_partIsLane.at(i))
            laneCentres.insert(key, centreLines.at(i));
    }

    emit applyingRoadStarted(m_dimensions.translated(shift), shift);
    emit roadAxisLine(axis);
    emit laneBorderLines(laneBorders);
    emit roadBorderLines(roadBorders);
    emit laneCenterLines(laneCentres);
    emit distanceLines(across);
    emit roadTanAngles(m_tanAngles);
    emit applyingRoadFinished();
}

void RoadBuilder::doAddStraightSection(double length, bool axisOnly, QPointF startPoint,
    double startAngle, double startDistance, QPointF &endPoint, double &endAngle,
    double &endDistance)
{
    const QPointF direction(std::cos(startAngle), std::sin(startAngle));
    int first = 0;
    int last = -1;
    doCalcLimitMarks(startDistance, startDistance + length, first, last);
    for (int mark = first; mark <= last; ++mark)
        doFillMarkPoints(
            mark, startPoint + (mark - startDistance) * direction, startAngle, axisOnly);

    endPoint = startPoint + length * direction;
    endAngle = startAngle;
    endDistance = startDistance + length;
}

void RoadBuilder::doAddCurvedSection(double length, double radius, bool axisOnly,
    QPointF startPoint, double startAngle, double startDistance, QPointF &endPoint,
    double &endAngle, double &endDistance)
{
    // Any turn is built: a hairpin or a loop winds on around the same centre.
    if (isDroppedArc(radius)) {
        endPoint = startPoint;
        endAngle = startAngle;
        endDistance = startDistance;
        return;
    }

    // Positive radii turn left (towards +Y): the centre lies left of the direction of travel.
    const QPointF centre = orthoPoint(startPoint, startAngle, radius);
    int first = 0;
    int last = -1;
    doCalcLimitMarks(startDistance, startDistance + length, first, last);
    for (int mark = first; mark <= last; ++mark) {
        const double angle = startAngle + (mark - startDistance) / radius;
        doFillMarkPoints(
            mark, centre + radius * QPointF(std::sin(angle), -std::cos(angle)), angle, axisOnly);
    }

    const double turnedAngle = startAngle + length / radius;
    endPoint = centre + radius * QPointF(std::sin(turnedAngle), -std::cos(turnedAngle));
    endAngle = turnedAngle;
    endDistance = startDistance + length;
}

void RoadBuilder::doCalcLimitMarks(double from, double to, int &firstMark, int &lastMark) const
{
    if (!std::isfinite(from) || !std::isfinite(to)) {
        firstMark = 0;
        lastMark = -1;
        return;
    }
    double first = std::floor(from);
    if (from - first > MarkTolerance)
        first += 1.0;
    double last = std::ceil(to);
    if (last - to > MarkTolerance)
        last -= 1.0;
    firstMark = static_cast<int>(std::clamp(first, -MarkLimit, MarkLimit));
    lastMark = static_cast<int>(std::clamp(last, -MarkLimit, MarkLimit));
}

void RoadBuilder::doFillMarkPoints(int mark, const QPointF &axisPoint, double angle, bool axisOnly)
{
    Mark &entry = m_marks[mark];
    entry.axis = axisPoint;
    if (axisOnly)
        return;

    const int partCount = m_partKeys.size();
    if (entry.slot < 0) {
        entry.slot = m_slotCount++;
        m_innerEdges.resize(m_slotCount * partCount);
        m_centres.resize(m_slotCount * partCount);
    }
    const QPointF normal(-std::sin(angle), std::cos(angle));
    QPointF *inner = m_innerEdges.data() + entry.slot * partCount;
    QPointF *centre = m_centres.data() + entry.slot * partCount;
    for (int i = 0; i < partCount; ++i) {
        inner[i] = axisPoint + m_partInner.at(i) * normal;
        centre[i] = axisPoint + m_partCentre.at(i) * normal;
    }

    doExpandDimesionsByRoadside(axisPoint, angle);

    double tangent = angle;
    if (tangent > M_PI || tangent < -M_PI)
        tangent = std::remainder(tangent, 2.0 * M_PI);
    m_tanAngles.insert(mark, tangent);
}

void RoadBuilder::doExpandDimesionsByPoint(const QPointF &point)
{
    if (point.x() < m_dimensions.left())
        m_dimensions.setLeft(point.x());
    else if (point.x() > m_dimensions.right())
        m_dimensions.setRight(point.x());
    if (point.y() < m_dimensions.top())
        m_dimensions.setTop(point.y());
    else if (point.y() > m_dimensions.bottom())
        m_dimensions.setBottom(point.y());
}

void RoadBuilder::doExpandDimesionsByRoadside(const QPointF &axisPoint, double angle)
{
    if (m_parts.isEmpty()) {
        doExpandDimesionsByPoint(axisPoint);
        return;
    }
    doExpandDimesionsByPoint(orthoPoint(axisPoint, angle, m_parts.first().outCoord()));
    doExpandDimesionsByPoint(orthoPoint(axisPoint, angle, m_parts.last().outCoord()));
}

bool RoadBuilder::isDroppedArc(double radius)
{
    return !(std::abs(radius) >= MinCurveRadius);
}

void RoadBuilder::clearMarks()
{
    m_marks.clear();
    m_slotCount = 0;
    m_innerEdges.clear();
    m_centres.clear();
    m_tanAngles.clear();
    m_dimensions = QRectF();
}
