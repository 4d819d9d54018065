#include "roadobjectswidget.h"

#include "radarstate.h"

#include <QPainter>

RoadObjectsWidget::RoadObjectsWidget(QWidget *parent)
    : GroupedWidget(parent)
    , m_repaints(this)
{
    // quint8 is spelt out in the signatures, so the aliases must be registered by name.
    qRegisterMetaType<QVector<quint8>>("QVector<quint8>");
    qRegisterMetaType<QMap<quint8, QPolygonF>>("QMap<quint8,QPolygonF>");
    qRegisterMetaType<QMap<int, QPolygonF>>();
    qRegisterMetaType<QMap<int, double>>();
    qRegisterMetaType<QList<QPolygonF>>();

    connect(
        &m_filling, &RoadObjectFrameCollector::frameCollected, this, &RoadObjectsWidget::showFrame);

    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize RoadObjectsWidget::sizeHint() const
{
    return m_painter.drawVertical() ? QSize(260, 520) : QSize(640, 240);
}

QSize RoadObjectsWidget::minimumSizeHint() const
{
    return QSize(120, 80);
}

void RoadObjectsWidget::startApplyingRoad(const QRectF &dimensions)
{
    m_painter.setRoadRect(dimensions);
}

void RoadObjectsWidget::setRoadAxisLine(const QPolygonF &axis)
{
    m_painter.setRoadAxisLine(axis);
}

void RoadObjectsWidget::setLaneBorderLines(const QList<QPolygonF> &lines)
{
    m_painter.setLaneBorderLines(lines);
}

void RoadObjectsWidget::setRoadBorderLines(const QList<QPolygonF> &lines)
{
    m_painter.setRoadBorderLines(lines);
}

void RoadObjectsWidget::setDistanceLines(const QMap<int, QPolygonF> &lines)
{
    m_painter.setDistanceLines(lines);
}

void RoadObjectsWidget::setRoadTanAngles(const QMap<int, double> &angles)
{
    m_painter.setRoadTanAngles(angles);
}

void RoadObjectsWidget::finishApplyingRoad()
{
    update();
}

void RoadObjectsWidget::setDrawVertical(bool value)
{
    m_painter.setDrawVertical(value);
    updateGeometry();
    update();
}

void RoadObjectsWidget::setKeepAspectRatio(bool value)
{
    m_painter.setKeepAspectRatio(value);
    update();
}

void RoadObjectsWidget::setShowSightLine(bool value)
{
    m_painter.setShowSightLine(value);
    update();
}

void RoadObjectsWidget::setShowSightArea(bool value)
{
    m_painter.setShowSightArea(value);
    update();
}

void RoadObjectsWidget::setShowCurrentTracks(bool value)
{
    m_painter.setShowCurrentTracks(value);
    update();
}

void RoadObjectsWidget::setShowAverageTracks(bool value)
{
    m_painter.setShowAverageTracks(value);
    update();
}

void RoadObjectsWidget::setTracksDisplayMode(int mode)
{
    m_painter.setTracksDisplayMode(mode);
    update();
}

void RoadObjectsWidget::setPaintObjects(bool value)
{
    GroupedWidget::setPaintObjects(value);
    m_painter.setPaintObjects(value);
    update();
}

void RoadObjectsWidget::showPosition(
    double, double xOffset, double yOffset, double azimuth, double, double)
{
    m_painter.setRadarPosition(QPointF(xOffset, yOffset), azimuth);
    update();
}

void RoadObjectsWidget::setSight(
    const QPointF &cameraPoint, const QPointF &sightCenter, const QPolygonF &sightArea)
{
    m_painter.setSight(cameraPoint, sightCenter, sightArea);
    update();
}

void RoadObjectsWidget::showPolygonUsage(quint8 mask)
{
    m_painter.setPolygonUsage(mask);
    update();
}

void RoadObjectsWidget::showPolygonPointParam(quint8 id, quint8 param, double value)
{
    m_painter.setPolygonPoint(id, param, value);
    update();
}

void RoadObjectsWidget::showRadarState(int state)
{
    if (Radar::isWorking(state))
        return;
    m_filling.reset();
    m_painter.clearObjects();
    m_painter.resetExposure();
    update();
}

void RoadObjectsWidget::showFrame(const RoadObjectFrame &frame)
{
    m_painter.setObjects(frame.objects);
    if (!isVisible())
        return;
    m_painter.exposeObjects(size(), devicePixelRatioF());
    m_repaints.schedule();
}

void RoadObjectsWidget::setFrameDateTimeUtc(const QDateTime &dateTime)
{
    m_filling.onFrameDateTimeUtc(dateTime);
}

void RoadObjectsWidget::startFilling()
{
    m_filling.onFrameStarted();
}

void RoadObjectsWidget::addObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    m_filling.onObjectData(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected);
}

void RoadObjectsWidget::finishFilling()
{
    m_filling.onFrameFinished();
}

void RoadObjectsWidget::finishFilling(const QVector<quint8> &sortedObjectIds)
{
    showFrame(m_filling.frame().inOrder(sortedObjectIds));
}

void RoadObjectsWidget::setCurrentTracks(const QMap<quint8, QPolygonF> &tracks)
{
    m_painter.setCurrentTracks(tracks);
}

void RoadObjectsWidget::setAverageTracks(const QMap<int, QPolygonF> &tracks)
{
    if (tracks.isEmpty())
        m_painter.resetExposure();
    m_painter.setAverageTracks(tracks);
    update();
}

void RoadObjectsWidget::paintEvent(QPaintEvent *)
{
    m_repaints.painted();
    QPainter painter(this);
    m_painter.paint(painter, size());
}

void RoadObjectsWidget::resizeEvent(QResizeEvent *event)
{
    GroupedWidget::resizeEvent(event);
    update();
}
