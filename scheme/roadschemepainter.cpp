#include "roadschemepainter.h"

#include "objectcolor.h"
#include "polylinesimplifier.h"
#include "schemelabelplacer.h"

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
const QColor NoRoadTextColor(175, 178, 184);

// Distance steps tried for the distance lines, metres.
const int MarkSteps[] = { 1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000, 2000, 5000, 10000 };
constexpr double MinMarkSpacing = 12.0; // pixels between drawn distance lines
constexpr double MinLabelSpacing = 56.0; // pixels between labelled distance lines
constexpr int ExposureAlpha = 70;
constexpr double MaxExposureStep = 20.0; // metres an object may move between two frames
constexpr double TrackTolerance = 0.35; // pixels a simplified track may deviate
constexpr double AverageTrackSlack = 0.25; // pixels an average track moves before it is redrawn
// The exposure image is drawn anew at the view's resolution once the view outgrows it by this.
constexpr double MaxExposureUpscale = 1.5;

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

// Whether every point of a is within slack pixels of its point in b.
bool isNear(const QVector<QPolygonF> &a, const QVector<QPolygonF> &b, double slack)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const QPolygonF &pa = a.at(i);
        const QPolygonF &pb = b.at(i);
        if (pa.size() != pb.size())
            return false;
        for (int k = 0; k < pa.size(); ++k) {
            const QPointF d = pa.at(k) - pb.at(k);
            if (std::abs(d.x()) > slack || std::abs(d.y()) > slack)
                return false;
        }
    }
    return true;
}

// Pixels per metre along road X and road Y.
QPointF scales(const QTransform &t)
{
    return QPointF(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
}

QSize devicePixels(const QSize &size, qreal ratio)
{
    return QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
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
    m_drawnTracks.clear();
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
}

void RoadSchemePainter::setKeepAspectRatio(bool value)
{
    if (m_keepAspectRatio == value)
        return;
    m_keepAspectRatio = value;
    doInvalidateStatic();
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
    if (m_showAverageTracks == value)
        return;
    m_showAverageTracks = value;
    doInvalidateStatic();
}

void RoadSchemePainter::setTracksDisplayMode(int mode)
{
    const int valid = (mode == StatisticalMode || mode == MixedMode) ? mode : NormalMode;
    if (valid == m_mode)
        return;
    // Statistical and mixed mode show the same exposure; normal mode ends it.
    if (valid == NormalMode || m_mode == NormalMode)
        resetExposure();
    m_mode = valid;
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
    m_drawnTracks.clear();
    m_exposed.reset();
}

SchemeMapping RoadSchemePainter::mapping(const QSize &size) const
{
    return SchemeMapping(m_roadRect, size, m_vertical, m_keepAspectRatio);
}

void RoadSchemePainter::exposeObjects(const QSize &size, qreal devicePixelRatio)
{
    if (m_mode == NormalMode || !hasRoad() || size.isEmpty())
        return;
    doPrepareLayers(size, devicePixelRatio);
    const SchemeMapping m = mapping(size);
    QPainter exposure(&m_exposureLayer);
    QPainter composed(&m_composedLayer);
    for (QPainter *p : { &exposure, &composed }) {
        p->setRenderHint(QPainter::Antialiasing);
        p->setCompositionMode(QPainter::CompositionMode_Plus);
    }
    exposure.setTransform(m_exposureTransform);
    std::bitset<256> exposed;
    for (const RoadObject &o : m_objects) {
        const QPointF now(o.xRange, o.yRange);
        if (!isDrawable(o))
            continue;
        const bool seen = m_exposed.test(o.id);
        const QPointF before = m_exposedAt[o.id];
        exposed.set(o.id);
        m_exposedAt[o.id] = now;
        // A jump is an identifier taken over by another object, not a movement.
        if (!seen || std::hypot(now.x() - before.x(), now.y() - before.y()) > MaxExposureStep)
            continue;
        QColor c = ObjectColor::base(colorId(o.id));
        c.setAlpha(ExposureAlpha);
        QPen pen(c, 2.0 * m_exposureRatio, Qt::SolidLine, Qt::RoundCap);
        pen.setCosmetic(true);
        exposure.setPen(pen);
        exposure.drawLine(before, now);
        pen.setWidthF(2.0);
        composed.setPen(pen);
        composed.drawLine(m.toDevice(before), m.toDevice(now));
    }
    m_exposed = exposed;
}

void RoadSchemePainter::resetExposure()
{
    m_exposureLayer = QImage();
    m_exposureTransform.reset();
    m_composedLayer = QImage();
    m_composedValid = false;
    m_exposed.reset();
}

void RoadSchemePainter::doInvalidateStatic()
{
    m_staticValid = false;
    m_composedValid = false;
}

void RoadSchemePainter::doPrepareLayers(const QSize &size, qreal ratio)
{
    if (m_staticLayer.size() != devicePixels(size, ratio)
        || m_staticLayer.devicePixelRatioF() != ratio)
        m_staticValid = false;
    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    const SchemeMapping m = mapping(size);
    // The average tracks change by fractions of a pixel from frame to frame: they are
    // drawn into the static layer, and the layer is drawn anew once one of their points
    // has moved by AverageTrackSlack.
    QVector<QPolygonF> average;
    if (m_showAverageTracks && hasRoad()) {
        average.reserve(m_averageTracks.size());
        for (const QPolygonF &track : m_averageTracks)
            average.append(m.toDevice(track));
    }
    if (!isNear(average, m_averageDrawn, AverageTrackSlack))
        m_staticValid = false;
    if (!m_staticValid) {
        m_staticLayer = QImage(devicePixels(size, ratio), QImage::Format_RGB32);
        m_staticLayer.setDevicePixelRatio(ratio);
        m_staticLayer.fill(BackgroundColor);
        QPainter p(&m_staticLayer);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        if (hasRoad()) {
            doPaintRoad(p, m);
            doPaintDistanceLines(p, m, bounds);
            doPaintPolygons(p, m);
            doPaintSight(p, m);
            doPaintRadar(p, m);
            doPaintAverageTracks(p, average, m.isVertical());
        } else {
            doPaintNoRoad(p, bounds);
        }
        m_averageDrawn = average;
        m_staticValid = true;
        m_composedValid = false;
    }
    if (m_mode == NormalMode || !hasRoad())
        return;
    doPrepareExposure(m, size, ratio);
    if (!m_composedValid) {
        m_composedLayer = m_staticLayer.copy();
        QPainter p(&m_composedLayer);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setCompositionMode(QPainter::CompositionMode_Plus);
        p.setTransform(m_exposureTransform.inverted() * m.transform());
        p.drawImage(0, 0, m_exposureLayer);
        m_composedValid = true;
    }
}

void RoadSchemePainter::doPrepareExposure(const SchemeMapping &m, const QSize &size, qreal ratio)
{
    const QTransform wanted = m.transform() * QTransform::fromScale(ratio, ratio);
    if (!m_exposureLayer.isNull()) {
        const QPointF have = scales(m_exposureTransform);
        const QPointF want = scales(wanted);
        if (want.x() <= MaxExposureUpscale * have.x() && want.y() <= MaxExposureUpscale * have.y())
            return;
    }
    // Start at the view's resolution, carrying over what has been exposed so far.
    QImage layer(devicePixels(size, ratio), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    if (!m_exposureLayer.isNull()) {
        QPainter p(&layer);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setTransform(m_exposureTransform.inverted() * wanted);
        p.drawImage(0, 0, m_exposureLayer);
    }
    m_exposureLayer = layer;
    m_exposureTransform = wanted;
    m_exposureRatio = ratio;
    m_composedValid = false;
}

void RoadSchemePainter::paint(QPainter &painter, const QSize &size)
{
    if (size.isEmpty())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    doPrepareLayers(size, ratio);
    const bool exposed = m_mode != NormalMode && hasRoad();
    painter.drawImage(QPointF(0, 0), exposed ? m_composedLayer : m_staticLayer);
    if (!hasRoad())
        return;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const SchemeMapping m = mapping(size);
    doPrepareTracks(m);
    doPaintTracks(painter);
    if (m_mode != StatisticalMode)
        doPaintObjects(painter, m, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.restore();
}

void RoadSchemePainter::doPaintNoRoad(QPainter &p, const QRectF &bounds) const
{
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(NoRoadTextColor);
    p.drawText(bounds.adjusted(SchemeMapping::Margin, SchemeMapping::Margin, -SchemeMapping::Margin,
                   -SchemeMapping::Margin),
        Qt::AlignCenter | Qt::TextWordWrap,
        tr("No road set up: View → Traffic scheme → Customize traffic scheme"));
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

void RoadSchemePainter::doPaintDistanceLines(
    QPainter &p, const SchemeMapping &m, const QRectF &bounds) const
{
    const int step = markStep(m.scaleAlong(), MinMarkSpacing);
    const int labelStep = qMax(step, markStep(m.scaleAlong(), MinLabelSpacing));
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QFontMetricsF metrics(font);

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

void RoadSchemePainter::doPaintAverageTracks(
    QPainter &p, const QVector<QPolygonF> &tracks, bool vertical) const
{
    // Tracks are drawn with 1 px cosmetic pens, which the raster engine draws without
    // stroking; the average track gets its weight from a second line beside the first.
    p.setBrush(Qt::NoBrush);
    p.setPen(cosmeticPen(AverageTrackColor, 1.0));
    const QPointF beside = vertical ? QPointF(1, 0) : QPointF(0, 1);
    for (const QPolygonF &track : tracks) {
        QPolygonF device = PolylineSimplifier::simplified(track, TrackTolerance);
        p.drawPolyline(device);
        device.translate(beside);
        p.drawPolyline(device);
    }
}

void RoadSchemePainter::doPrepareTracks(const SchemeMapping &m)
{
    if (!m_showCurrentTracks || m_mode == StatisticalMode) {
        m_drawnTracks.clear();
        return;
    }
    if (m.transform() != m_trackTransform) {
        m_drawnTracks.clear();
        m_trackTransform = m.transform();
    }
    for (auto it = m_drawnTracks.begin(); it != m_drawnTracks.end();) {
        if (m_currentTracks.contains(it.key()))
            ++it;
        else
            it = m_drawnTracks.erase(it);
    }
    for (auto it = m_currentTracks.cbegin(); it != m_currentTracks.cend(); ++it) {
        const QPolygonF &track = it.value();
        auto drawn = m_drawnTracks.find(it.key());
        if (drawn == m_drawnTracks.end())
            drawn = m_drawnTracks.insert(it.key(), { {}, PolylineSimplifier(TrackTolerance), {} });
        const QPolygonF &before = drawn->road;
        if (track.constData() == before.constData() && track.size() == before.size())
            continue;
        // A track gains points at its end and loses them at its start; anything else (a new
        // object under the same identifier) is simplified anew.
        const int cut = track.isEmpty() ? -1 : before.indexOf(track.constFirst());
        const int kept = before.size() - cut;
        if (cut >= 0 && kept <= track.size()
            && std::equal(before.cbegin() + cut, before.cend(), track.cbegin())) {
            drawn->device.removeFirst(cut);
        } else {
            drawn->device.clear();
        }
        for (int i = drawn->device.points().size(); i < track.size(); ++i)
            drawn->device.append(m.toDevice(track.at(i)));
        drawn->road = track;
        drawn->device.result(drawn->line);
    }
}

void RoadSchemePainter::doPaintTracks(QPainter &p) const
{
    p.setBrush(Qt::NoBrush);
    if (m_showCurrentTracks && m_mode != StatisticalMode) {
        for (auto it = m_currentTracks.cbegin(); it != m_currentTracks.cend(); ++it) {
            const auto drawn = m_drawnTracks.constFind(it.key());
            if (drawn == m_drawnTracks.cend())
                continue;
            QColor c = ObjectColor::base(colorId(it.key()));
            c.setAlpha(210);
            p.setPen(cosmeticPen(c, 1.0));
            p.drawPolyline(drawn->line);
        }
    }
}

void RoadSchemePainter::doPaintObjects(
    QPainter &p, const SchemeMapping &m, const QRectF &bounds) const
{
    QFont idFont = p.font();
    idFont.setPixelSize(11);
    idFont.setBold(true);
    QFont speedFont = idFont;
    speedFont.setBold(false);
    const QFontMetricsF idMetrics(idFont);
    const QFontMetricsF speedMetrics(speedFont);
    const double tagHeight = qMax(idMetrics.height(), speedMetrics.height()) + 2;

    // Bodies first, then the labels above all of them where the placer puts them.
    struct Tag
    {
        quint8 colorId;
        QString id;
        QString speed;
    };
    QVector<Tag> tags;
    QVector<SchemeLabelPlacer::Label> labels;
    tags.reserve(m_objects.size());
    labels.reserve(m_objects.size());
    p.setPen(cosmeticPen(BackgroundColor, 1.0));
    for (const RoadObject &o : m_objects) {
        if (!isDrawable(o))
            continue;
        const quint8 cid = colorId(o.id);
        p.setBrush(ObjectColor::base(cid));
        const QPolygonF footprint = o.drawingDimensionsM();
        QRectF extent;
        if (footprint.isEmpty()) {
            const QPointF c = m.toDevice(QPointF(o.xRange, o.yRange));
            p.drawEllipse(c, 4.0, 4.0);
            extent = QRectF(c - QPointF(4, 4), QSizeF(8, 8));
        } else {
            const QPolygonF device = m.toDevice(footprint);
            p.drawPolygon(device);
            extent = device.boundingRect();
        }
        const Tag tag { cid, QString::number(o.id), tr("%1 km/h").arg(o.xSpeed * 3.6, 0, 'f', 1) };
        const double idWidth = m_idTexts.text(tag.id, idFont).size().width();
        const double speedWidth = m_speedTexts.text(tag.speed, speedFont).size().width();
        labels.append({ extent, QSizeF(idWidth + speedWidth + 14, tagHeight),
            QSizeF(idWidth + 8, tagHeight) });
        tags.append(tag);
    }
    p.setBrush(Qt::NoBrush);

    const QVector<SchemeLabelPlacer::Placement> placements
        = SchemeLabelPlacer(bounds, m.isVertical()).place(labels);
    for (int i = 0; i < placements.size(); ++i) {
        const SchemeLabelPlacer::Placement &placed = placements.at(i);
        if (placed.shown && !placed.leader.isNull()) {
            p.setPen(cosmeticPen(ObjectColor::base(tags.at(i).colorId), 1.0));
            p.drawLine(placed.leader);
        }
    }
    for (int i = 0; i < placements.size(); ++i) {
        const SchemeLabelPlacer::Placement &placed = placements.at(i);
        if (!placed.shown)
            continue;
        const Tag &tag = tags.at(i);
        // A plain tag on whole pixels stays crisp and needs no antialiasing.
        const QRect pixels = placed.rect.toAlignedRect();
        p.fillRect(pixels, ObjectColor::base(tag.colorId));
        p.setPen(ObjectColor::text(tag.colorId));
        const double baseline = pixels.top() + 1 + idMetrics.ascent();
        p.setFont(idFont);
        p.drawStaticText(QPointF(pixels.left() + 4, baseline - idMetrics.ascent()),
            m_idTexts.text(tag.id, idFont));
        if (placed.brief)
            continue;
        p.setFont(speedFont);
        p.drawStaticText(QPointF(pixels.left() + m_idTexts.text(tag.id, idFont).size().width() + 10,
                             baseline - speedMetrics.ascent()),
            m_speedTexts.text(tag.speed, speedFont));
    }
}
