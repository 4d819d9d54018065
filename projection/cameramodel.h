#pragma once

#include <QJsonObject>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>

// The roadside camera as a pinhole over the flat road: maps road coordinates (metres,
// radar at the origin) to pixels of a frame of the given size and back.
//
// The camera sits on the radar, shifted by the offsets of the camera configuration
// ("tvms_config"), turned by its misalignments. Every change of the radar position,
// the configuration or the frame size needs rescale(); until a rescale succeeds the
// model is invalid and maps nothing.
class CameraModel
{
public:
    // The camera's position, aim point and view footprint on the road of the last rescale.
    struct Sight
    {
        QPointF camera;
        QPointF aim;
        QPolygonF area; // empty when the rescale stopped
    };

    // Keys of the camera configuration: metres, degrees and milliseconds.
    static constexpr const char XOffsetKey[] = "x_offset";
    static constexpr const char YOffsetKey[] = "y_offset";
    static constexpr const char ZOffsetKey[] = "z_offset";
    static constexpr const char AzimuthMisalignmentKey[] = "azimuth_misalignment";
    static constexpr const char AltitudeMisalignmentKey[] = "altitude_misalignment";
    static constexpr const char HorizontalViewAngleKey[] = "horizontal_view_angle";
    static constexpr const char VideoDelayKey[] = "video_delay";

    // The camera editor's range and default of the full horizontal view angle, degrees.
    static constexpr double MinViewAngle = 1.0;
    static constexpr double MaxViewAngle = 90.0;
    static constexpr double DefaultViewAngle = 12.0;
    // A stored view angle that is no number or lies outside the editor's range reads as
    // the default; so does a missing one.
    static double usableViewAngle(const QJsonValue &value);

    // Reads the camera configuration; missing, mistyped or non-finite numbers read as 0,
    // except a view angle that is present (usableViewAngle()).
    void setConfig(const QJsonObject &config);
    int videoDelay() const { return m_videoDelay; }

    // Half of the horizontal view angle, radians.
    double halfViewAngle() const { return m_halfViewAngle; }
    void setHalfViewAngle(double radians);

    // Height (m), X and Y (m), azimuth and altitude (radians) of the radar.
    void setRadarPosition(double height, double x, double y, double azimuth, double altitude);
    double radarHeight() const { return m_radarHeight; }
    double radarX() const { return m_radarX; }
    double radarY() const { return m_radarY; }
    double radarAzimuth() const { return m_radarAzimuth; }
    double radarAltitude() const { return m_radarAltitude; }

    // Recomputes the derived model for a frame of width x height pixels; returns isValid().
    bool rescale(int width, int height);
    bool isValid() const { return m_valid; }
    void invalidate() { m_valid = false; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    Sight sight() const;
    // The camera's ground position and height over the road (m) of the last rescale.
    QPointF cameraPosition() const { return m_camera; }
    double cameraHeight() const { return m_cameraHeight; }

    // Camera ground coordinates (l to the right of the view direction, u along it from
    // the aim point).
    QPointF translated(double x, double y) const;
    QPointF translated(const QPointF &point) const { return translated(point.x(), point.y()); }
    QPointF translatedBack(double l, double u) const;
    QPointF translatedBack(const QPointF &point) const
    {
        return translatedBack(point.x(), point.y());
    }

    // Pixel offsets from the frame centre, Y up.
    QPoint projected(double l, double u, bool *ok) const;
    QPoint projected(const QPointF &point, bool *ok) const
    {
        return projected(point.x(), point.y(), ok);
    }
    QPointF projectedBack(double px, double py, bool *ok) const;
    QPointF projectedBack(const QPoint &offset, bool *ok) const
    {
        return projectedBack(offset.x(), offset.y(), ok);
    }

    QPoint screenPos(int px, int py) const { return QPoint(px + m_cx, m_cy - py); }
    QPoint screenPos(const QPoint &offset) const { return screenPos(offset.x(), offset.y()); }
    QPoint screenPosBack(int sx, int sy) const { return QPoint(sx - m_cx, m_cy - sy); }
    QPoint screenPosBack(const QPoint &pixel) const { return screenPosBack(pixel.x(), pixel.y()); }

    QPoint xyToScreen(double x, double y, bool *ok) const;
    QPoint xyToScreen(const QPointF &point, bool *ok) const
    {
        return xyToScreen(point.x(), point.y(), ok);
    }
    QPointF xyFromScreen(int sx, int sy, bool *ok) const;
    QPointF xyFromScreen(const QPoint &pixel, bool *ok) const
    {
        return xyFromScreen(pixel.x(), pixel.y(), ok);
    }

    // The exact screen position of a road point, also outside the frame: for measuring
    // how far a point lies from a pixel. Fails only for points the camera cannot see at
    // all (at or beyond the horizon, behind the camera).
    QPointF screenPointOf(const QPointF &point, bool *ok) const;

    // The vertices that project, in order.
    QPolygon fittedLine(const QPolygonF &line) const;

private:
    // Configuration.
    double m_xOffset = 0.0;
    double m_yOffset = 0.0;
    double m_zOffset = 0.0;
    double m_azimuthMisalignment = 0.0;
    double m_altitudeMisalignment = 0.0;
    double m_halfViewAngle = 0.0;
    int m_videoDelay = 0;

    // Radar position.
    double m_radarHeight = 0.0;
    double m_radarX = 0.0;
    double m_radarY = 0.0;
    double m_radarAzimuth = 0.0;
    double m_radarAltitude = 0.0;

    // Derived by rescale().
    bool m_valid = false;
    int m_width = 0;
    int m_height = 0;
    int m_cx = 0;
    int m_cy = 0;
    QPointF m_camera;
    double m_cameraHeight = 0.0;
    double m_tilt = 0.0;
    double m_sinA = 0.0;
    double m_cosA = 1.0;
    QPointF m_aim;
    double m_aimDistance = 0.0;
    double m_tanHalfVertical = 0.0;
    double m_uBottom = 0.0;
    double m_uTop = 0.0;
    double m_k0 = 0.0;
    double m_k1 = 0.0;
    QPolygonF m_sightArea;
};
