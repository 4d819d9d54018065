#pragma once

#include "cameramodel.h"
#include "cameraparams.h"
#include "camerapickup.h"
#include "pickupsearch.h"
#include "projectedline.h"
#include "roadobjectframecollector.h"
#include "statictextcache.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QTimer>
#include <QVector>

class QPaintDevice;
class QPainter;

// Draws the road and the detected objects over the camera picture, and picks up the
// radar position from checkpoints marked on it. The camera model maps road metres to
// pixels of the camera picture: the whole paint device given at construction, or the
// picture size set for it; paint() draws with a painter whose origin is the picture's
// top left corner.
//
// Objects arrive frame by frame in drawing order (showFrame, with the current tracks set
// just before); a frame is shown once the configured video delay has passed, so the
// drawing keeps pace with a picture that lags behind the radar. The per-object slots
// collect a frame and show it at finishFilling in the order given.
class ProjectionDrawer : public QObject
{
    Q_OBJECT

public:
    using Params = CameraParams;
    using ParametersPickupMode = PickupSearch::Mode;
    using Checkpoints = PickupSearch::Checkpoints;

    explicit ProjectionDrawer(QPaintDevice *device, QObject *parent = nullptr);

    const CameraModel &model() const { return m_model; }
    QJsonObject tvmsConfig() const { return m_tvmsConfig; }

    QPointF translated(double x, double y) const { return m_model.translated(x, y); }
    QPointF translated(const QPointF &point) const { return m_model.translated(point); }
    QPointF translatedBack(double l, double u) const { return m_model.translatedBack(l, u); }
    QPointF translatedBack(const QPointF &point) const { return m_model.translatedBack(point); }
    QPoint projected(double l, double u, bool *ok) const { return m_model.projected(l, u, ok); }
    QPoint projected(const QPointF &point, bool *ok) const { return m_model.projected(point, ok); }
    QPointF projectedBack(double px, double py, bool *ok) const
    {
        return m_model.projectedBack(px, py, ok);
    }
    QPointF projectedBack(const QPoint &offset, bool *ok) const
    {
        return m_model.projectedBack(offset, ok);
    }
    QPoint screenPos(int px, int py) const { return m_model.screenPos(px, py); }
    QPoint screenPos(const QPoint &offset) const { return m_model.screenPos(offset); }
    QPoint screenPosBack(int sx, int sy) const { return m_model.screenPosBack(sx, sy); }
    QPoint screenPosBack(const QPoint &pixel) const { return m_model.screenPosBack(pixel); }
    QPoint xyToScreen(double x, double y, bool *ok) const { return m_model.xyToScreen(x, y, ok); }
    QPoint xyToScreen(const QPointF &point, bool *ok) const
    {
        return m_model.xyToScreen(point, ok);
    }
    QPointF xyFromScreen(int sx, int sy, bool *ok) const
    {
        return m_model.xyFromScreen(sx, sy, ok);
    }
    QPointF xyFromScreen(const QPoint &pixel, bool *ok) const
    {
        return m_model.xyFromScreen(pixel, ok);
    }
    QPolygon fittedLine(const QPolygonF &line) const { return m_model.fittedLine(line); }

    void paint(QPainter &painter) const;

    // The size of the camera picture on the paint device; an invalid size: the whole device.
    void setPictureSize(const QSize &size);
    QSize pictureSize() const;

    // The pick-up: marking starts with stashPreviousParameters(); pickupParameters()
    // searches and reports; applyPreviousParameters() brings the projection back.
    void stashPreviousParameters();
    void applyPreviousParameters();
    void pickupParameters(int mode, const Checkpoints &checkpoints);
    Params previousParameters() const { return m_previous; }
    Params pickedParameters() const { return m_picked; }
    // The last pick-up: its outcome, and (unless it failed) where its best camera puts
    // each checkpoint and how far from the mark.
    CameraPickup::Result lastPickup() const { return m_lastPickup; }
    QVector<QPointF> pickedCheckpointPixels() const { return m_lastPickup.fit.pixels; }
    QVector<double> checkpointResiduals() const { return m_lastPickup.fit.misses; }

public slots:
    void setTvmsConfig(const QJsonObject &config);
    void showPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll, bool isFromRadar);
    // The radar's report (and the position panel's preview): from the radar.
    void showPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll);
    void rescale();

    void setShowLaneLines(bool show);
    void setShowDistLines(bool show);
    void setShowObjectDimensions(bool show);
    void setShowCurrentTracks(bool show);
    void setShowAverageTracks(bool show);
    void setPaintObjects(bool paint);

    void startApplyingRoad(const QRectF &dimensions);
    void setRoadAxisLine(const QPolygonF &axis);
    void setLaneBorderLines(const QList<QPolygonF> &lines);
    void setRoadBorderLines(const QList<QPolygonF> &lines);
    void setDistanceLines(const QMap<int, QPolygonF> &lines);
    void finishApplyingRoad();

    void showRadarState(int state);
    void showFrame(const RoadObjectFrame &frame);
    void startFilling();
    void setFrameDateTimeUtc(const QDateTime &dateTime);
    void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected);
    void setCurrentTracks(const QMap<quint8, QPolygonF> &tracks);
    void finishFilling(const QVector<quint8> &sortedObjectIds);
    void setAverageTracks(const QMap<int, QPolygonF> &tracks);

signals:
    void updated();
    void sight(const QPointF &cameraPoint, const QPointF &sightCenter, const QPolygonF &sightArea);
    void pickedRadarPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll);
    void pickupResult(bool isPicked, double viewAngle);

private:
    // One radar frame as it will be drawn.
    struct Frame
    {
        qint64 dueMs = 0;
        RoadObjectFrame frame; // in drawing order
        QMap<quint8, QPolygonF> tracks;
    };

    void doRescale(int width, int height, bool emitSight);
    void doProjectRoad();
    void doShowDueFrames();
    void doClearFrames();
    // Everything drawn from the camera model must be drawn anew.
    void doDropProjections();
    void doDropRoadLayer() { m_roadLayer = QImage(); }

    // The road, drawn into a layer that every frame copies: it changes only with the
    // camera, the road or a setting.
    void drawRoadLayer(QPainter &painter) const;
    void drawRoad(QPainter &painter) const;
    void drawAverageTracks(QPainter &painter) const;
    void drawCurrentTracks(QPainter &painter) const;
    // Projects the points of the average tracks that moved since they were last drawn.
    void doUpdateAverageLines() const;
    void drawObjects(QPainter &painter) const;
    // The object's disc with its identifier, centred on the image's centre.
    const QImage &objectSprite(quint8 id, const QFont &font, const QPaintDevice *device) const;
    quint8 colourId(quint8 id) const { return m_paintObjects ? id : 0; }

    QPaintDevice *m_device;
    CameraModel m_model;
    QJsonObject m_tvmsConfig;

    bool m_showLaneLines = true;
    bool m_showDistLines = false;
    bool m_showObjectDimensions = false;
    bool m_showCurrentTracks = true;
    bool m_showAverageTracks = false;
    bool m_paintObjects = true;

    // The road in metres, and as last projected.
    QList<QPolygonF> m_laneBorderLines;
    QList<QPolygonF> m_roadBorderLines;
    QMap<int, QPolygonF> m_distanceLines;
    QList<QPolygon> m_laneBorderPixels;
    QList<QPolygon> m_roadBorderPixels;
    QMap<int, QPolygon> m_distancePixels;

    // The frame being filled and the tracks of the next frame, frames waiting for the
    // video delay, the frame shown.
    RoadObjectFrameCollector m_filling;
    QMap<quint8, QPolygonF> m_currentTracks;
    QVector<Frame> m_waiting;
    Frame m_shown;
    QMap<int, QPolygonF> m_averageTracks;
    QElapsedTimer m_clock;
    QTimer m_delayTimer;

    ParametersPickupMode m_pickupMode = PickupSearch::RadarPosition;
    Checkpoints m_checkpoints;
    Params m_previous;
    Params m_picked;
    CameraPickup::Result m_lastPickup;
    QSize m_pictureSize;
    // The objects' labels, laid out once per text.
    mutable StaticTextCache m_idTexts;
    mutable StaticTextCache m_speedTexts;

    // What paint() keeps from frame to frame; emptied with every change of what it shows.
    mutable QImage m_roadLayer;
    mutable QFont m_roadLayerFont;
    mutable QHash<quint8, ProjectedLine> m_trackLines;
    mutable QMap<int, ProjectedLine> m_averageLines;
    mutable bool m_averageLinesDue = true;
    mutable QHash<quint16, QImage> m_sprites; // by colour identifier and identifier
    mutable QFont m_spriteFont;
    mutable qreal m_spriteRatio = 0.0;
};
