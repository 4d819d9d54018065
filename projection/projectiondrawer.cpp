#include "projectiondrawer.h"

#include "objectcolor.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QtMath>

#include <cmath>
#include <limits>

namespace {

constexpr int ObjectRadius = 12; // px
constexpr int DistanceLineInterval = 10; // m between two drawn distance lines
constexpr int MaxWaitingFrames = 1000; // a long delay at a high frame rate
constexpr int RadarWorking = 2;
// Pixels a drawn track may deviate from its points: a track's hundreds of points on whole
// pixels become a few segments, which is most of what drawing it costs.
constexpr double TrackTolerance = 0.5;

QPen linePen(const QColor &colour, qreal width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A line two pixels wide, drawn as two one-pixel cosmetic lines side by side: the raster
// engine draws those without its stroker, which costs ten times as much for the hundreds
// of track points and dashes of every frame. Dashes keep the lengths of a 2 px pen.
void drawWideLine(
    QPainter &painter, const QPolygonF &line, const QColor &colour, Qt::PenStyle style)
{
    if (line.size() < 2)
        return;
    QPen pen(colour, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    if (style == Qt::DashLine)
        pen.setDashPattern({ 8, 4 });
    else if (style == Qt::DotLine)
        pen.setDashPattern({ 2, 4 });
    painter.setPen(pen);
    painter.drawPolyline(line);
    const QPointF span = line.constLast() - line.constFirst();
    const QPointF beside = std::abs(span.x()) < std::abs(span.y()) ? QPointF(1, 0) : QPointF(0, 1);
    painter.drawPolyline(line.translated(beside));
}

void drawWideLine(QPainter &painter, const QPolygon &line, const QColor &colour, Qt::PenStyle style)
{
    QPolygonF points;
    points.reserve(line.size());
    for (const QPoint &point : line)
        points.append(point);
    drawWideLine(painter, points, colour, style);
}

// An object's disc with its identifier.
void drawDisc(QPainter &painter, const QPoint &centre, quint8 colour, const QStaticText &id)
{
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(ObjectColor::base(colour));
    painter.drawEllipse(centre, ObjectRadius, ObjectRadius);
    painter.setPen(ObjectColor::text(colour));
    painter.drawStaticText(
        QPointF(centre) - QPointF(id.size().width(), id.size().height()) / 2, id);
}

// A transparent image to draw into and copy onto the device at its pixels, with the
// device's resolution so that text keeps its size; null when memory runs out.
QImage layerFor(const QPaintDevice *device, const QSize &size)
{
    const qreal ratio = device->devicePixelRatioF();
    QImage layer(size * ratio, QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return layer;
    layer.setDevicePixelRatio(ratio);
    layer.setDotsPerMeterX(qRound(device->logicalDpiX() / 0.0254));
    layer.setDotsPerMeterY(qRound(device->logicalDpiY() / 0.0254));
    layer.fill(Qt::transparent);
    return layer;
}

} // namespace

ProjectionDrawer::ProjectionDrawer(QPaintDevice *device, QObject *parent)
    : QObject(parent)
    , m_device(device)
{
    m_clock.start();
    m_delayTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &ProjectionDrawer::doShowDueFrames);
}

void ProjectionDrawer::setTvmsConfig(const QJsonObject &config)
{
    m_tvmsConfig = config;
    m_model.setConfig(config);
    rescale();
}

void ProjectionDrawer::showPosition(double height, double xOffset, double yOffset, double azimuth,
    double altitude, double roll, bool isFromRadar)
{
    Q_UNUSED(roll)
    m_model.setRadarPosition(
        height, xOffset, yOffset, qDegreesToRadians(azimuth), qDegreesToRadians(altitude));
    const QSize size = pictureSize();
    doRescale(size.width(), size.height(), isFromRadar);
    if (isFromRadar) {
        doProjectRoad();
        emit updated();
    }
}

void ProjectionDrawer::showPosition(
    double height, double xOffset, double yOffset, double azimuth, double altitude, double roll)
{
    showPosition(height, xOffset, yOffset, azimuth, altitude, roll, true);
}

void ProjectionDrawer::rescale()
{
    const QSize size = pictureSize();
    doRescale(size.width(), size.height(), true);
    doProjectRoad();
    emit updated();
}

void ProjectionDrawer::setPictureSize(const QSize &size)
{
    if (size == m_pictureSize)
        return;
    m_pictureSize = size;
    rescale();
}

QSize ProjectionDrawer::pictureSize() const
{
    return m_pictureSize.isValid() ? m_pictureSize : QSize(m_device->width(), m_device->height());
}

void ProjectionDrawer::doRescale(int width, int height, bool emitSight)
{
    m_model.rescale(width, height);
    doDropProjections();
    if (emitSight) {
        const CameraModel::Sight s = m_model.sight();
        emit sight(s.camera, s.aim, s.area);
    }
}

void ProjectionDrawer::doProjectRoad()
{
    doDropRoadLayer();
    m_laneBorderPixels.clear();
    m_roadBorderPixels.clear();
    m_distancePixels.clear();
    for (const QPolygonF &line : qAsConst(m_laneBorderLines))
        m_laneBorderPixels.append(m_model.fittedLine(line));
    for (const QPolygonF &line : qAsConst(m_roadBorderLines))
        m_roadBorderPixels.append(m_model.fittedLine(line));
    for (auto it = m_distanceLines.cbegin(); it != m_distanceLines.cend(); ++it) {
        if (it.key() > 0 && it.key() % DistanceLineInterval == 0)
            m_distancePixels.insert(it.key(), m_model.fittedLine(it.value()));
    }
}

void ProjectionDrawer::setShowLaneLines(bool show)
{
    m_showLaneLines = show;
    doDropRoadLayer();
    emit updated();
}

void ProjectionDrawer::setShowDistLines(bool show)
{
    m_showDistLines = show;
    doDropRoadLayer();
    emit updated();
}

void ProjectionDrawer::setShowObjectDimensions(bool show)
{
    m_showObjectDimensions = show;
    emit updated();
}

void ProjectionDrawer::setShowCurrentTracks(bool show)
{
    m_showCurrentTracks = show;
    emit updated();
}

void ProjectionDrawer::setShowAverageTracks(bool show)
{
    m_showAverageTracks = show;
    emit updated();
}

void ProjectionDrawer::setPaintObjects(bool paint)
{
    m_paintObjects = paint;
    emit updated();
}

void ProjectionDrawer::startApplyingRoad(const QRectF &dimensions)
{
    Q_UNUSED(dimensions)
    m_laneBorderLines.clear();
    m_roadBorderLines.clear();
    m_distanceLines.clear();
}

void ProjectionDrawer::setRoadAxisLine(const QPolygonF &axis)
{
    // The video shows the lanes and their borders; the axis lies inside the median strip.
    Q_UNUSED(axis)
}

void ProjectionDrawer::setLaneBorderLines(const QList<QPolygonF> &lines)
{
    m_laneBorderLines = lines;
}

void ProjectionDrawer::setRoadBorderLines(const QList<QPolygonF> &lines)
{
    m_roadBorderLines = lines;
}

void ProjectionDrawer::setDistanceLines(const QMap<int, QPolygonF> &lines)
{
    m_distanceLines = lines;
}

void ProjectionDrawer::finishApplyingRoad()
{
    rescale();
}

void ProjectionDrawer::showRadarState(int state)
{
    // Objects of a radar that stopped working would stay frozen on the picture.
    if (state != RadarWorking) {
        doClearFrames();
        emit updated();
    }
}

void ProjectionDrawer::showFrame(const RoadObjectFrame &frame)
{
    Frame waiting;
    waiting.dueMs = m_clock.elapsed() + m_model.videoDelay();
    waiting.frame = frame;
    waiting.tracks = m_currentTracks;
    if (m_waiting.size() >= MaxWaitingFrames)
        m_waiting.removeFirst();
    m_waiting.append(waiting);
    doShowDueFrames();
}

void ProjectionDrawer::startFilling()
{
    m_filling.onFrameStarted();
    m_currentTracks.clear();
}

void ProjectionDrawer::setFrameDateTimeUtc(const QDateTime &dateTime)
{
    m_filling.onFrameDateTimeUtc(dateTime);
}

void ProjectionDrawer::addObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    m_filling.onObjectData(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected);
}

void ProjectionDrawer::setCurrentTracks(const QMap<quint8, QPolygonF> &tracks)
{
    m_currentTracks = tracks;
}

void ProjectionDrawer::finishFilling(const QVector<quint8> &sortedObjectIds)
{
    showFrame(m_filling.frame().inOrder(sortedObjectIds));
}

void ProjectionDrawer::setAverageTracks(const QMap<int, QPolygonF> &tracks)
{
    m_averageTracks = tracks;
    m_averageLinesDue = true;
}

void ProjectionDrawer::doShowDueFrames()
{
    const qint64 now = m_clock.elapsed();
    int due = 0;
    while (due < m_waiting.size() && m_waiting.at(due).dueMs <= now)
        ++due;
    if (due > 0) {
        m_shown = m_waiting.at(due - 1);
        m_waiting.remove(0, due);
        emit updated();
    }
    if (!m_waiting.isEmpty())
        m_delayTimer.start(int(qMax<qint64>(0, m_waiting.first().dueMs - now)));
}

void ProjectionDrawer::doClearFrames()
{
    m_delayTimer.stop();
    m_waiting.clear();
    m_shown = Frame();
}

void ProjectionDrawer::doDropProjections()
{
    doDropRoadLayer();
    m_trackLines.clear();
    m_averageLines.clear();
    m_averageLinesDue = true;
}

void ProjectionDrawer::stashPreviousParameters()
{
    m_previous.xOffset = m_model.radarX();
    m_previous.yOffset = m_model.radarY();
    m_previous.height = m_model.radarHeight();
    m_previous.azimuth = qRadiansToDegrees(m_model.radarAzimuth());
    m_previous.altitude = qRadiansToDegrees(m_model.radarAltitude());
    m_previous.roll = 0.0;
    m_previous.viewAngle = qRadiansToDegrees(m_model.halfViewAngle());
    showPosition(0.0, 0.0, 0.0, 0.0, 0.0, 0.0, true);
}

void ProjectionDrawer::applyPreviousParameters()
{
    m_model.setHalfViewAngle(qDegreesToRadians(m_previous.viewAngle));
    showPosition(m_previous.height, m_previous.xOffset, m_previous.yOffset, m_previous.azimuth,
        m_previous.altitude, m_previous.roll, true);
}

void ProjectionDrawer::pickupParameters(int mode, const Checkpoints &checkpoints)
{
    if (mode != PickupSearch::RadarPosition && mode != PickupSearch::RadarPositionAndViewAngle)
        return;
    m_pickupMode = static_cast<ParametersPickupMode>(mode);
    m_checkpoints = checkpoints;

    // The search works on its own copy of the model, so that the window, repainting
    // between trials, never draws a half-tried camera.
    CameraModel model = m_model;
    const QSize size = pictureSize();
    model.rescale(size.width(), size.height());
    m_lastPickup = CameraPickup::pick(
        model, m_pickupMode, m_checkpoints, m_previous, [] { QCoreApplication::processEvents(); });

    const bool isPicked = m_lastPickup.outcome == CameraPickup::Outcome::Picked;
    double viewAngle = 0.0;
    if (isPicked) {
        m_picked = m_lastPickup.params;
        emit pickedRadarPosition(m_picked.height, m_picked.xOffset, m_picked.yOffset,
            m_picked.azimuth, m_picked.altitude, 0.0);
        if (m_pickupMode == PickupSearch::RadarPositionAndViewAngle)
            viewAngle = 2.0 * m_picked.viewAngle;
    }
    emit pickupResult(isPicked, viewAngle);
    m_model.invalidate();
    doDropProjections();
}

void ProjectionDrawer::paint(QPainter &painter) const
{
    if (!m_model.isValid())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawRoadLayer(painter);
    if (m_showAverageTracks)
        drawAverageTracks(painter);
    if (m_showCurrentTracks)
        drawCurrentTracks(painter);
    drawObjects(painter);
    painter.restore();
}

void ProjectionDrawer::drawRoadLayer(QPainter &painter) const
{
    const QPaintDevice *device = painter.device();
    if (m_roadLayer.isNull() || m_roadLayer.devicePixelRatio() != device->devicePixelRatioF()
        || m_roadLayerFont != painter.font()) {
        m_roadLayerFont = painter.font();
        m_roadLayer = layerFor(device, QSize(m_model.width(), m_model.height()));
        if (m_roadLayer.isNull()) {
            drawRoad(painter);
            return;
        }
        QPainter layer(&m_roadLayer);
        layer.setRenderHint(QPainter::Antialiasing);
        layer.setFont(painter.font());
        drawRoad(layer);
    }
    painter.drawImage(QPoint(), m_roadLayer);
}

void ProjectionDrawer::drawRoad(QPainter &painter) const
{
    if (m_showLaneLines) {
        for (const QPolygon &line : m_laneBorderPixels)
            drawWideLine(painter, line, QColor(255, 255, 255, 200), Qt::DashLine);
        for (const QPolygon &line : m_roadBorderPixels)
            drawWideLine(painter, line, QColor(255, 255, 0, 220), Qt::SolidLine);
    }
    if (m_showDistLines) {
        painter.setPen(linePen(QColor(0, 255, 255, 180), 1.0));
        // Far lines crowd towards the horizon: keep only those with room for a label.
        const int spacing = QFontMetrics(painter.font()).height();
        int lastY = std::numeric_limits<int>::max();
        for (auto it = m_distancePixels.cbegin(); it != m_distancePixels.cend(); ++it) {
            const QPolygon &line = it.value();
            if (line.size() < 2 || std::abs(line.last().y() - lastY) < spacing)
                continue;
            lastY = line.last().y();
            painter.drawPolyline(line);
            painter.drawText(QPoint(qMax(0, line.last().x()) + 4, line.last().y() + 4),
                tr("%1 m").arg(it.key()));
        }
    }
}

void ProjectionDrawer::drawAverageTracks(QPainter &painter) const
{
    if (m_averageLinesDue)
        doUpdateAverageLines();
    for (const ProjectedLine &line : qAsConst(m_averageLines))
        drawWideLine(painter, line.simplified(), QColor(255, 127, 0, 200), Qt::DotLine);
}

void ProjectionDrawer::doUpdateAverageLines() const
{
    m_averageLinesDue = false;
    for (auto it = m_averageLines.begin(); it != m_averageLines.end();) {
        if (m_averageTracks.contains(it.key()))
            ++it;
        else
            it = m_averageLines.erase(it);
    }
    for (auto it = m_averageTracks.cbegin(); it != m_averageTracks.cend(); ++it)
        m_averageLines[it.key()].update(it.value(), m_model, TrackTolerance);
}

void ProjectionDrawer::drawCurrentTracks(QPainter &painter) const
{
    for (auto it = m_shown.tracks.cbegin(); it != m_shown.tracks.cend(); ++it) {
        ProjectedLine &line = m_trackLines[it.key()];
        line.update(it.value(), m_model, TrackTolerance);
        drawWideLine(
            painter, line.simplified(), ObjectColor::base(colourId(it.key())), Qt::SolidLine);
    }
    // The tracks of objects gone are not kept.
    for (auto it = m_trackLines.begin(); it != m_trackLines.end();) {
        if (m_shown.tracks.contains(it.key()))
            ++it;
        else
            it = m_trackLines.erase(it);
    }
}

void ProjectionDrawer::drawObjects(QPainter &painter) const
{
    const QFont font = painter.font();
    for (const RoadObject &object : m_shown.frame.objects) {
        const quint8 colour = colourId(object.id);
        if (m_showObjectDimensions) {
            const QPolygon body = m_model.fittedLine(object.drawingDimensionsM());
            if (body.size() == 4) {
                painter.setPen(linePen(ObjectColor::base(colour), 2.0));
                painter.setBrush(Qt::NoBrush);
                painter.drawPolygon(body);
            }
        }
        bool ok = false;
        const QPoint centre = m_model.xyToScreen(object.xRange, object.yRange, &ok);
        if (!ok)
            continue;
        const QImage &sprite = objectSprite(object.id, font, painter.device());
        if (sprite.isNull()) {
            drawDisc(painter, centre, colour, m_idTexts.text(QString::number(object.id), font));
        } else {
            const int half = qRound(sprite.width() / sprite.devicePixelRatio()) / 2;
            painter.drawImage(centre - QPoint(half, half), sprite);
        }

        const QStaticText &label
            = m_speedTexts.text(tr("%1 km/h").arg(object.xSpeed * 3.6, 0, 'f', 1), font);
        const QSize labelSize = label.size().toSize();
        QRect box = QRect(QPoint(), labelSize).adjusted(-3, -1, 3, 1);
        box.moveTopLeft(QPoint(centre.x() + ObjectRadius + 3, centre.y() - box.height() / 2));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 160));
        painter.drawRect(box);
        painter.setPen(ObjectColor::base(colour));
        painter.drawStaticText(box.topLeft() + QPoint(3, 1), label);
    }
}

const QImage &ProjectionDrawer::objectSprite(
    quint8 id, const QFont &font, const QPaintDevice *device) const
{
    if (font != m_spriteFont || device->devicePixelRatioF() != m_spriteRatio) {
        m_sprites.clear();
        m_spriteFont = font;
        m_spriteRatio = device->devicePixelRatioF();
    }
    const quint8 colour = colourId(id);
    const quint16 key = quint16(colour << 8 | id);
    auto it = m_sprites.find(key);
    if (it == m_sprites.end()) {
        // Its own text: a cached one, moved about from frame to frame, may land a pixel off.
        QStaticText text(QString::number(id));
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font);
        const int half = qMax(
            ObjectRadius + 2, qCeil(qMax(text.size().width(), text.size().height()) / 2.0) + 1);
        QImage sprite = layerFor(device, QSize(2 * half, 2 * half));
        if (!sprite.isNull()) {
            QPainter painter(&sprite);
            painter.setRenderHint(QPainter::Antialiasing);
            drawDisc(painter, QPoint(half, half), colour, text);
        }
        it = m_sprites.insert(key, sprite);
    }
    return *it;
}
