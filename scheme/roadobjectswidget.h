#pragma once

#include "groupedwidget.h"
#include "repaintlimiter.h"
#include "roadobjectframecollector.h"
#include "roadschemepainter.h"

// The traffic scheme: the road seen from above with the objects of the current frame,
// their tracks and the average tracks. The view redraws on each frame ObjectsHelper has
// sorted (showFrame), at most at the screen's refresh rate and not at all while hidden.
// The per-object slots collect a frame and show it at finishFilling.
class RoadObjectsWidget : public GroupedWidget
{
    Q_OBJECT

public:
    explicit RoadObjectsWidget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    const RoadSchemePainter &schemePainter() const { return m_painter; }

public slots:
    void startApplyingRoad(const QRectF &dimensions);
    void setRoadAxisLine(const QPolygonF &axis);
    void setLaneBorderLines(const QList<QPolygonF> &lines);
    void setRoadBorderLines(const QList<QPolygonF> &lines);
    void setDistanceLines(const QMap<int, QPolygonF> &lines);
    void setRoadTanAngles(const QMap<int, double> &angles);
    void finishApplyingRoad();

    void setDrawVertical(bool value);
    void setKeepAspectRatio(bool value);
    void setShowSightLine(bool value);
    void setShowSightArea(bool value);
    void setShowCurrentTracks(bool value);
    void setShowAverageTracks(bool value);
    void setTracksDisplayMode(int mode);
    void setPaintObjects(bool value) override;

    // Radar position: height, X and Y (m), azimuth, altitude and roll (degrees).
    void showPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll);
    void setSight(
        const QPointF &cameraPoint, const QPointF &sightCenter, const QPolygonF &sightArea);
    void showPolygonUsage(quint8 mask);
    void showPolygonPointParam(quint8 id, quint8 param, double value);
    void showRadarState(int state);

    // Draws the frame's objects in its order, the last one on top.
    void showFrame(const RoadObjectFrame &frame);

    void setFrameDateTimeUtc(const QDateTime &dateTime);
    void startFilling() override;
    void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected) override;
    // Draws the frame in report order.
    void finishFilling() override;
    // Draws the frame in the given order (the last one on top).
    void finishFilling(const QVector<quint8> &sortedObjectIds);
    void setCurrentTracks(const QMap<quint8, QPolygonF> &tracks);
    // An empty map means the average tracks were reset: the long exposure starts afresh.
    void setAverageTracks(const QMap<int, QPolygonF> &tracks);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    RoadSchemePainter m_painter;
    RoadObjectFrameCollector m_filling;
    RepaintLimiter m_repaints;
};
