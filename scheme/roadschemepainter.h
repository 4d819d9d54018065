#pragma once

#include "polylinesimplifier.h"
#include "roadobject.h"
#include "schememapping.h"
#include "statictextcache.h"

#include <QCoreApplication>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPolygonF>
#include <QTransform>
#include <QVector>

#include <array>
#include <bitset>

class QPainter;

// Paints the traffic scheme onto any paint device: the road with its distance marks,
// the radar, the camera's sight, the limitation polygons, the tracks and the objects.
// The road and everything that changes rarely is cached in an image at the device's pixel
// ratio, rebuilt only when the size, the orientation or that content changes; so are the
// average tracks, redrawn once they have moved by a quarter of a pixel. The long exposure
// accumulates in its own image tied to road coordinates, so that it survives a new size or
// orientation and is lost only with the road or when its mode ends. Each current track
// keeps its simplified line in device pixels from frame to frame, so that a frame
// simplifies only the points it added and the start it cut. Without a road the view says
// how to set one up.
class RoadSchemePainter
{
    Q_DECLARE_TR_FUNCTIONS(RoadSchemePainter)

public:
    enum TracksDisplayMode {
        NormalMode = 0,
        StatisticalMode = 1, // tracks accumulate like a long photographic exposure
        MixedMode = 2,
    };
    static constexpr int PolygonCount = 8;
    // Point parameters 2k and 2k + 1 are the X and Y (m) of vertex k. A polygon has the
    // vertices received so far, without trailing ones at the origin (unused slots).
    static constexpr int PolygonPoints = 8;

    RoadSchemePainter();

    void setRoadRect(const QRectF &rect);
    void setRoadAxisLine(const QPolygonF &axis);
    void setLaneBorderLines(const QList<QPolygonF> &lines);
    void setRoadBorderLines(const QList<QPolygonF> &lines);
    void setDistanceLines(const QMap<int, QPolygonF> &lines);
    void setRoadTanAngles(const QMap<int, double> &angles);

    void setDrawVertical(bool value);
    void setKeepAspectRatio(bool value);
    void setShowSightLine(bool value);
    void setShowSightArea(bool value);
    void setShowCurrentTracks(bool value);
    void setShowAverageTracks(bool value);
    void setTracksDisplayMode(int mode);
    void setPaintObjects(bool value);

    // Radar position (m) and direction (degrees from +X towards +Y).
    void setRadarPosition(const QPointF &position, double azimuth);
    void setSight(const QPointF &camera, const QPointF &centre, const QPolygonF &area);
    void setPolygonUsage(quint8 mask);
    void setPolygonPoint(quint8 id, quint8 param, double value);

    // Objects in drawing order (the last one on top).
    void setObjects(const QVector<RoadObject> &objects);
    void setCurrentTracks(const QMap<quint8, QPolygonF> &tracks);
    void setAverageTracks(const QMap<int, QPolygonF> &tracks);
    void clearObjects();

    // Adds the movement of every object since the previous call to the long exposure;
    // size and ratio are those of the device the scheme is painted on.
    void exposeObjects(const QSize &size, qreal devicePixelRatio = 1.0);
    void resetExposure();

    // A road has been set up: it has lanes or roadsides, so a surface between two borders
    // (the builder always lays an axis, even for an empty configuration).
    bool hasRoad() const { return m_roadBorders.size() >= 2; }
    bool drawVertical() const { return m_vertical; }
    int tracksDisplayMode() const { return m_mode; }
    SchemeMapping mapping(const QSize &size) const;

    void paint(QPainter &painter, const QSize &size);

private:
    void doInvalidateStatic();
    void doPrepareLayers(const QSize &size, qreal ratio);
    void doPrepareExposure(const SchemeMapping &m, const QSize &size, qreal ratio);
    void doPrepareTracks(const SchemeMapping &m);
    void doPaintNoRoad(QPainter &p, const QRectF &bounds) const;
    void doPaintRoad(QPainter &p, const SchemeMapping &m) const;
    void doPaintDistanceLines(QPainter &p, const SchemeMapping &m, const QRectF &bounds) const;
    void doPaintPolygons(QPainter &p, const SchemeMapping &m) const;
    void doPaintSight(QPainter &p, const SchemeMapping &m) const;
    void doPaintRadar(QPainter &p, const SchemeMapping &m) const;
    void doPaintAverageTracks(QPainter &p, const QVector<QPolygonF> &tracks, bool vertical) const;
    void doPaintTracks(QPainter &p) const;
    void doPaintObjects(QPainter &p, const SchemeMapping &m, const QRectF &bounds) const;
    quint8 colorId(quint8 id) const { return m_paintObjects ? id : 0; }
    QPolygonF polygon(int id) const;

    QRectF m_roadRect;
    QPolygonF m_axis;
    QList<QPolygonF> m_laneBorders;
    QList<QPolygonF> m_roadBorders;
    QMap<int, QPolygonF> m_distanceLines;
    QMap<int, double> m_tanAngles;

    bool m_vertical = false;
    bool m_keepAspectRatio = false;
    bool m_showSightLine = true;
    bool m_showSightArea = true;
    bool m_showCurrentTracks = true;
    bool m_showAverageTracks = false;
    int m_mode = NormalMode;
    bool m_paintObjects = true;

    QPointF m_radarPosition;
    double m_radarAzimuth = 0.0;
    QPointF m_camera;
    QPointF m_sightCentre;
    QPolygonF m_sightArea;
    bool m_hasSight = false;
    quint8 m_polygonUsage = 0;
    QPointF m_polygons[PolygonCount][PolygonPoints];
    quint16 m_polygonReceived[PolygonCount] = {}; // bit per point parameter

    QVector<RoadObject> m_objects;
    QMap<quint8, QPolygonF> m_currentTracks;
    QMap<int, QPolygonF> m_averageTracks;

    // Cached layers: the static road, the exposure on transparent ground, and the two
    // composed, which is what the exposure modes show. The exposure's pixels map from road
    // coordinates through m_exposureTransform, at the pixel ratio m_exposureRatio.
    QImage m_staticLayer;
    QImage m_exposureLayer;
    QTransform m_exposureTransform;
    qreal m_exposureRatio = 1.0;
    QImage m_composedLayer;
    bool m_staticValid = false;
    bool m_composedValid = false;
    // The position (m) of each identifier at the last exposure step, kept without
    // allocating on every frame.
    std::array<QPointF, 256> m_exposedAt;
    std::bitset<256> m_exposed;
    // The average tracks in the static layer, in device pixels.
    QVector<QPolygonF> m_averageDrawn;
    // The current tracks as drawn: the points of each (road coordinates) and their
    // simplified line in device pixels, valid for m_trackTransform.
    struct DrawnTrack
    {
        QPolygonF road;
        PolylineSimplifier device;
        QPolygonF line;
    };
    QHash<quint8, DrawnTrack> m_drawnTracks;
    QTransform m_trackTransform;
    // The objects' labels, laid out once per text.
    mutable StaticTextCache m_idTexts;
    mutable StaticTextCache m_speedTexts;
};
