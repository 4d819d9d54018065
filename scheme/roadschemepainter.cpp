#include "roadschemepainter.h"

#include "objectcolor.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {
const QColor BackgroundColor(0, 0, 0);
const QColor SurfaceColor(34, 36, 40);
const QColor RoadBorderColor(235, 235, 235);
const QColor LaneBorderColor(190, 190, 190);
const QColor AxisColor(235, 190, 40);
const QColor MinorMarkColor(52, 54, 58);
const QColor MajorMarkColor(95, 98, 104);
const QColor MarkLabelColor(175, 178, 184);
const QColor RadarColor(0, 200, 255);
const QColor SightColor(255, 255, 255);
const QColor PolygonColor(255, 70, 70);
const QColor AverageTrackColor(255, 160, 0);

// Distance steps tried for the distance lines, metres.
const int MarkSteps[] = { 1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000, 2000, 5000, 10000 };
constexpr double MinMarkSpacing = 12.0; // pixels between drawn distance lines
constexpr double MinLabelSpacing = 56.0; // pixels between labelled distance lines
constexpr int ExposureAlpha = 70;
constexpr double MaxExposureStep = 20.0; // metres an object may move between two frames
constexpr double TrackTolerance = 0.35; // pixels a simplified track may deviate

int markStep(double pixelsPerMetre, double minSpacing)
{
    for (int step : MarkSteps) {
        if (step * pixelsPerMetre >= minSpacing)
            return step;
    }
    return MarkSteps[std::size(MarkSteps) - 1];
}

// Road coordinates beyond this are garbage; painting them would only stall the rasterizer.
constexpr double MaxCoordinate = 1.0e6;
constexpr double MaxObjectLength = 1000.0;

bool isSane(const QPointF &p)
{
    return qIsFinite(p.x()) && qIsFinite(p.y()) && std::abs(p.x()) <= MaxCoordinate
        && std::abs(p.y()) <= MaxCoordinate;
}

bool isDrawable(const RoadObject &o)
{
    return isSane(QPointF(o.xRange, o.yRange)) && qIsFinite(o.xSpeed) && qIsFinite(o.ySpeed)
        && qIsFinite(o.length) && o.length <= MaxObjectLength;
}

QPointF unit(const QPointF &v)
{
    const double len = std::hypot(v.x(), v.y());
    return len > 1e-9 ? v / len : QPointF();
}

// Drops the vertices that lie within tolerance pixels of the line through the last kept
// vertex and its successor (Reumann-Witkam): a vehicle's track along a lane collapses to
// a few segments, which is what makes drawing tens of thousands of track points cheap.
QPolygonF simplified(const QPolygonF &line, double tolerance)
{
    if (line.size() < 3)
        return line;
    QPolygonF kept;
    kept.reserve(line.size());
    kept << line.constFirst();
    int anchor = 0;
    QPointF dir;
    int key = 1;
    for (int i = 1; i < line.size(); ++i) {
        if (i == key) {
            dir = unit(line.at(i) - line.at(anchor));
            if (dir.isNull())
                ++key;
            continue;
        }
        const QPointF v = line.at(i) - line.at(anchor);
        if (std::abs(v.x() * dir.y() - v.y() * dir.x()) > tolerance
            || v.x() * dir.x() + v.y() * dir.y() < 0) {
            anchor = i - 1;
            kept << line.at(anchor);
            key = i;
            dir = unit(line.at(i) - line.at(anchor));
            if (dir.isNull())
                ++key;
        }
    }
    kept << line.constLast();
    return kept;
}

QPen cosmeticPen(const QColor &color, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(color, width, style, Qt::FlatCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    return pen;
}
} // namespace

RoadSchemePainter::RoadSchemePainter() = default;

void RoadSchemePainter::setRoadRect(const QRectF &rect)
{
    m_roadRect = rect;
    m_axis.clear();
    m_laneBorders.clear();
    m_roadBorders.clear();
    m_distanceLines.clear();
    m_tanAngles.clear();
    doInvalidateStatic();
    resetExposure();
}

void RoadSchemePainter::setRoadAxisLine(const QPolygonF &axis)
{
    m_axis = axis;
    doInvalidateStatic();
}

void RoadSchemePainter::setLaneBorderLines(const QList<QPolygonF> &lines)
{
    m_laneBorders = lines;
    doInvalidateStatic();
}

void RoadSchemePainter::setRoadBorderLines(const QList<QPolygonF> &lines)
{
    m_roadBorders = lines;
    doInvalidateStatic();
}

void RoadSchemePainter::setDistanceLines(const QMap<int, QPolygonF> &lines)
{
    m_distanceLines = lines;
    doInvalidateStatic();
}

void RoadSchemePainter::setRoadTanAngles(const QMap<int, double> &angles)
{
    m_tanAngles = angles;
    doInvalidateStatic();
}

void RoadSchemePainter::setDrawVertical(bool value)
{
    if (m_vertical == value)
        return;
    m_vertical = value;
    doInvalidateStatic();
    resetExposure();
}

void RoadSchemePainter::setKeepAspectRatio(bool value)
{
    if (m_keepAspectRatio == value)
        return;
    m_keepAspectRatio = value;
    doInvalidateStatic();
    resetExposure();
}

void RoadSchemePainter::setShowSightLine(bool value)
{
    m_showSightLine = value;
    doInvalidateStatic();
}

void RoadSchemePainter::setShowSightArea(bool value)
{
    m_showSightArea = value;
    doInvalidateStatic();
}

void RoadSchemePainter::setShowCurrentTracks(bool value)
{
    m_showCurrentTracks = value;
}

void RoadSchemePainter::setShowAverageTracks(bool value)
{
    m_showAverageTracks = value;
}

void RoadSchemePainter::setTracksDisplayMode(int mode)
{
    const int valid = (mode == StatisticalMode || mode == MixedMode) ? mode : NormalMode;
    if (valid == m_mode)
        return;
    m_mode = valid;
    resetExposure();
}

void RoadSchemePainter::setPaintObjects(bool value)
{
    m_paintObjects = value;
}

void RoadSchemePainter::setRadarPosition(const QPointF &position, double azimuth)
{
    if (!isSane(position) || !qIsFinite(azimuth))
        return;
    m_radarPosition = position;
    m_radarAzimuth = azimuth;
    doInvalidateStatic();
}

void RoadSchemePainter::setSight(
    const QPointF &camera, const QPointF &centre, const QPolygonF &area)
{
    m_camera = camera;
    m_sightCentre = centre;
    m_sightArea = area;
    m_hasSight = isSane(camera) && isSane(centre);
    if (!std::all_of(area.cbegin(), area.cend(), isSane))
        m_sightArea.clear();
    doInvalidateStatic();
}

void RoadSchemePainter::setPolygonUsage(quint8 mask)
{
    m_polygonUsage = mask;
    doInvalidateStatic();
}

void RoadSchemePainter::setPolygonPoint(quint8 id, quint8 param, double value)
{
    if (id >= PolygonCount || param >= 2 * PolygonPoints || !qIsFinite(value)
        || std::abs(value) > MaxCoordinate)
        return;
    QPointF &point = m_polygons[id][param / 2];
    if (param % 2 == 0)
        point.setX(value);
    else
        point.setY(value);
    m_polygonReceived[id] |= quint16(1u << param);
    doInvalidateStatic();
}

QPolygonF RoadSchemePainter::polygon(int id) const
{
    QPolygonF vertices;
    for (int k = 0; k < PolygonPoints; ++k) {
        if ((m_polygonReceived[id] >> (2 * k) & 3) == 3)
            vertices << m_polygons[id][k];
    }
    while (!vertices.isEmpty() && vertices.constLast().isNull())
        vertices.removeLast();
    return vertices;
}

void RoadSchemePainter::setObjects(const QVector<RoadObject> &objects)
{
    m_objects = objects;
}

void RoadSchemePainter::setCurrentTracks(const QMap<quint8, QPolygonF> &tracks)
{
    m_currentTracks = tracks;
}

void RoadSchemePainter::setAverageTracks(const QMap<int, QPolygonF> &tracks)
{
    m_averageTracks = tracks;
}

void RoadSchemePainter::clearObjects()
{
    m_objects.clear();
    m_currentTracks.clear();
    m_exposedPositions.clear();
}

SchemeMapping RoadSchemePainter::mapping(const QSize &size) const
{
    return SchemeMapping(m_roadRect, size, m_vertical, m_keepAspectRatio);
}

void RoadSchemePainter::exposeObjects(const QSize &size)
{
    if (m_mode == NormalMode)
        return;
    doPrepareLayers(size);
    const SchemeMapping m = mapping(size);
    QPainter exposure(&m_exposureLayer);
    QPainter composed(&m_composedLayer);
    for (QPainter *p : { &exposure, &composed }) {
        p->setRenderHint(QPainter::Antialiasing);
        p->setCompositionMode(QPainter::CompositionMode_Plus);
    }
    QHash<quint8, QPointF> positions;
    for (const RoadObject &o : m_objects) {
        const QPointF now(o.xRange, o.yRange);
        if (!isDrawable(o))
            continue;
        positions.insert(o.id, now);
        const auto before = m_exposedPositions.constFind(o.id);
        // A jump is an identifier taken over by another object, not a movement.
        if (before == m_exposedPositions.constEnd()
            || std::hypot(now.x() - before->x(), now.y() - before->y()) > MaxExposureStep)
            continue;
        QColor c = ObjectColor::base(colorId(o.id));
        c.setAlpha(ExposureAlpha);
        const QPen pen(c, 2.0, Qt::SolidLine, Qt::RoundCap);
        const QLineF line(m.toDevice(*before), m.toDevice(now));
        exposure.setPen(pen);
        exposure.drawLine(line);
        composed.setPen(pen);
        composed.drawLine(line);
    }
    m_exposedPositions = positions;
}

void RoadSchemePainter::resetExposure()
{
    m_exposureLayer = QImage();
    m_composedLayer = QImage();
    m_composedValid = false;
    m_exposedPositions.clear();
}

void RoadSchemePainter::doInvalidateStatic()
{
    m_staticValid = false;
    m_composedValid = false;
}

void RoadSchemePainter::doPrepareLayers(const QSize &size)
{
    if (m_staticLayer.size() != size) {
        m_staticValid = false;
        resetExposure();
    }
    if (!m_staticValid) {
        m_staticLayer = QImage(size, QImage::Format_RGB32);
        m_staticLayer.fill(BackgroundColor);
        QPainter p(&m_staticLayer);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const SchemeMapping m = mapping(size);
        doPaintRoad(p, m);
        doPaintDistanceLines(p, m);
        doPaintPolygons(p, m);
        doPaintSight(p, m);
        doPaintRadar(p, m);
        m_staticValid = true;
        m_composedValid = false;
    }
    if (m_mode == NormalMode)
        return;
    if (m_exposureLayer.size() != size) {
        m_exposureLayer = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_exposureLayer.fill(Qt::transparent);
    }
    if (!m_composedValid) {
        m_composedLayer = m_staticLayer.copy();
        QPainter p(&m_composedLayer);
        p.setCompositionMode(QPainter::CompositionMode_Plus);
        p.drawImage(0, 0, m_exposureLayer);
        m_composedValid = true;
    }
}

void RoadSchemePainter::paint(QPainter &painter, const QSize &size)
{
    if (size.isEmpty())
        return;
    doPrepareLayers(size);
    painter.drawImage(0, 0, m_mode == NormalMode ? m_staticLayer : m_composedLayer);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const SchemeMapping m = mapping(size);
    doPaintTracks(painter, m);
    if (m_mode != StatisticalMode)
        doPaintObjects(painter, m);
    painter.restore();
}

void RoadSchemePainter::doPaintRoad(QPainter &p, const SchemeMapping &m) const
{
    // The surface lies between the outermost border lines.
    if (m_roadBorders.size() >= 2) {
        QPolygonF surface = m_roadBorders.constFirst();
        const QPolygonF &last = m_roadBorders.constLast();
        for (int i = last.size() - 1; i >= 0; --i)
            surface << last.at(i);
        p.setPen(Qt::NoPen);
        p.setBrush(SurfaceColor);
        p.drawPolygon(m.toDevice(surface));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(cosmeticPen(LaneBorderColor, 1.0, Qt::DashLine));
    for (const QPolygonF &line : m_laneBorders)
        p.drawPolyline(m.toDevice(line));
    p.setPen(cosmeticPen(AxisColor, 1.0, Qt::DashDotLine));
    p.drawPolyline(m.toDevice(m_axis));
    p.setPen(cosmeticPen(RoadBorderColor, 2.0));
    for (const QPolygonF &line : m_roadBorders)
        p.drawPolyline(m.toDevice(line));
}

void RoadSchemePainter::doPaintDistanceLines(QPainter &p, const SchemeMapping &m) const
{
    const int step = markStep(m.scaleAlong(), MinMarkSpacing);
    const int labelStep = qMax(step, markStep(m.scaleAlong(), MinLabelSpacing));
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QFontMetricsF metrics(font);
    const QRectF bounds(QPointF(0, 0), QSizeF(p.device()->width(), p.device()->height()));

    for (auto it = m_distanceLines.cbegin(); it != m_distanceLines.cend(); ++it) {
        const int mark = it.key();
        const QPolygonF &line = it.value();
        if (mark % step != 0 || line.size() < 2)
            continue;
        const bool labelled = mark % labelStep == 0;
        p.setPen(cosmeticPen(labelled ? MajorMarkColor : MinorMarkColor, 1.0));
        const QPolygonF device = m.toDevice(line);
        p.drawPolyline(device);
        if (!labelled)
            continue;

        // The label sits beyond the right-hand (-Y) road edge, along the mark's line.
        const QString text = tr("%1 m").arg(mark);
        const QSizeF textSize = metrics.size(Qt::TextSingleLine, text);
        QPointF outward = unit(device.constFirst() - device.constLast());
        const auto angle = m_tanAngles.constFind(mark);
        if (angle != m_tanAngles.constEnd()) {
            const QPointF normal(std::sin(*angle), -std::cos(*angle));
            outward = unit(m.toDevice(line.constFirst() + normal) - device.constFirst());
        }
        const double reach = 6.0 + std::abs(outward.x()) * textSize.width() / 2
            + std::abs(outward.y()) * textSize.height() / 2;
        const QPointF centre = device.constFirst() + outward * reach;
        QRectF box(QPointF(), textSize);
        box.moveCenter(centre);
        // A label cut by the edge (the radar's "0 m") is pushed inside; one beyond is left out.
        if (!bounds.intersects(box))
            continue;
        box.moveLeft(qBound(bounds.left(), box.left(), bounds.right() - box.width()));
        box.moveTop(qBound(bounds.top(), box.top(), bounds.bottom() - box.height()));
        p.setPen(MarkLabelColor);
        p.drawText(box, Qt::AlignCenter, text);
    }
}

void RoadSchemePainter::doPaintPolygons(QPainter &p, const SchemeMapping &m) const
{
    QColor fill = PolygonColor;
    fill.setAlpha(36);
    for (int id = 0; id < PolygonCount; ++id) {
        if (!(m_polygonUsage & (1 << id)))
            continue;
        const QPolygonF vertices = polygon(id);
        if (vertices.size() < 3)
            continue;
        const QPolygonF device = m.toDevice(vertices);
        p.setPen(cosmeticPen(PolygonColor, 1.5));
        p.setBrush(fill);
        p.drawPolygon(device);
        p.setBrush(Qt::NoBrush);
        p.drawText(device.boundingRect().adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
            QString::number(id));
    }
}

void RoadSchemePainter::doPaintSight(QPainter &p, const SchemeMapping &m) const
{
    if (!m_hasSight)
        return;
    if (m_showSightArea && m_sightArea.size() >= 3) {
        QColor fill = SightColor;
        fill.setAlpha(16);
        QColor border = SightColor;
        border.setAlpha(110);
        p.setPen(cosmeticPen(border, 1.0));
        p.setBrush(fill);
        p.drawPolygon(m.toDevice(m_sightArea));
        p.setBrush(Qt::NoBrush);
    }
    if (m_showSightLine) {
        QColor line = SightColor;
        line.setAlpha(170);
        p.setPen(cosmeticPen(line, 1.0, Qt::DashLine));
        p.drawLine(m.toDevice(m_camera), m.toDevice(m_sightCentre));
        p.setPen(cosmeticPen(line, 1.5));
        const QPointF c = m.toDevice(m_sightCentre);
        p.drawLine(c - QPointF(5, 5), c + QPointF(5, 5));
        p.drawLine(c - QPointF(5, -5), c + QPointF(5, -5));
    }
}

void RoadSchemePainter::doPaintRadar(QPainter &p, const SchemeMapping &m) const
{
    const QPointF centre = m.toDevice(m_radarPosition);
    const double a = qDegreesToRadians(m_radarAzimuth);
    const QPointF ahead = m.toDevice(m_radarPosition + QPointF(std::cos(a), std::sin(a)));
    const QPointF dir = unit(ahead - centre);
    const QPointF side(-dir.y(), dir.x());

    // A wedge pointing where the radar looks.
    QPolygonF wedge;
    wedge << centre + dir * 16 << centre - dir * 5 + side * 8 << centre - dir * 5 - side * 8;
    p.setPen(cosmeticPen(BackgroundColor, 1.0));
    p.setBrush(RadarColor);
    p.drawPolygon(wedge);
    p.setBrush(BackgroundColor);
    p.drawEllipse(centre, 2.5, 2.5);
    p.setBrush(Qt::NoBrush);
}

void RoadSchemePainter::doPaintTracks(QPainter &p, const SchemeMapping &m) const
{
    // Tracks are drawn with 1 px cosmetic pens, which the raster engine draws without
    // stroking; the average track gets its weight from a second line beside the first.
    p.setBrush(Qt::NoBrush);
    if (m_showAverageTracks) {
        p.setPen(cosmeticPen(AverageTrackColor, 1.0));
        const QPointF beside = m.isVertical() ? QPointF(1, 0) : QPointF(0, 1);
        for (const QPolygonF &track : m_averageTracks) {
            QPolygonF device = simplified(m.toDevice(track), TrackTolerance);
            p.drawPolyline(device);
            device.translate(beside);
            p.drawPolyline(device);
        }
    }
    if (m_showCurrentTracks && m_mode != StatisticalMode) {
        for (auto it = m_currentTracks.cbegin(); it != m_currentTracks.cend(); ++it) {
            QColor c = ObjectColor::base(colorId(it.key()));
            c.setAlpha(210);
            p.setPen(cosmeticPen(c, 1.0));
            p.drawPolyline(simplified(m.toDevice(it.value()), TrackTolerance));
        }
    }
}

void RoadSchemePainter::doPaintObjects(QPainter &p, const SchemeMapping &m) const
{
    QFont idFont = p.font();
    idFont.setPixelSize(11);
    idFont.setBold(true);
    QFont speedFont = idFont;
    speedFont.setBold(false);
    const QFontMetricsF idMetrics(idFont);
    const QFontMetricsF speedMetrics(speedFont);
    const QRectF bounds(0, 0, p.device()->width(), p.device()->height());

    for (const RoadObject &o : m_objects) {
        const QPointF ref(o.xRange, o.yRange);
        if (!isDrawable(o))
            continue;
        const quint8 cid = colorId(o.id);
        const QColor body = ObjectColor::base(cid);
        const QColor text = ObjectColor::text(cid);

        const QPolygonF footprint = o.drawingDimensionsM();
        QRectF extent;
        p.setPen(cosmeticPen(BackgroundColor, 1.0));
        p.setBrush(body);
        if (footprint.isEmpty()) {
            const QPointF c = m.toDevice(ref);
            p.drawEllipse(c, 4.0, 4.0);
            extent = QRectF(c - QPointF(4, 4), QSizeF(8, 8));
        } else {
            const QPolygonF device = m.toDevice(footprint);
            p.drawPolygon(device);
            extent = device.boundingRect();
        }

        // Label: identifier and speed on a tag of the object's colour.
        const QString id = QString::number(o.id);
        const QString speed = tr("%1 km/h").arg(o.xSpeed * 3.6, 0, 'f', 1);
        const double idWidth = idMetrics.horizontalAdvance(id);
        const QSizeF tagSize(idWidth + speedMetrics.horizontalAdvance(speed) + 14,
            qMax(idMetrics.height(), speedMetrics.height()) + 2);
        QRectF tag(QPointF(), tagSize);
        if (m.isVertical())
            tag.moveTopLeft(
                QPointF(extent.right() + 4, extent.center().y() - tagSize.height() / 2));
        else
            tag.moveBottomLeft(QPointF(extent.left(), extent.top() - 3));
        tag.moveLeft(qBound(bounds.left(), tag.left(), bounds.right() - tag.width()));
        tag.moveTop(qBound(bounds.top(), tag.top(), bounds.bottom() - tag.height()));

        // A plain tag on whole pixels stays crisp and needs no antialiasing.
        const QRect pixels = tag.toAlignedRect();
        p.fillRect(pixels, body);
        p.setPen(text);
        const double baseline = pixels.top() + 1 + idMetrics.ascent();
        p.setFont(idFont);
        p.drawText(QPointF(pixels.left() + 4, baseline), id);
        p.setFont(speedFont);
        p.drawText(QPointF(pixels.left() + idWidth + 10, baseline), speed);
    }
    p.setBrush(Qt::NoBrush);
}
