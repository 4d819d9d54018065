#include "cameramodel.h"

#include <QJsonValue>
#include <QtMath>

#include <cmath>

namespace {

constexpr double MinCameraHeight = 1.0; // m
constexpr double MinAngle = 0.001; // rad: smallest tilt, view angle and depression
constexpr double MinSine = 1.0e-6;
constexpr int MinFrameSize = 64; // px
constexpr double ViewRangeMargin = 5.5; // m beyond the frame edges still drawn
// Offsets farther out than this are no picture point; keeps rounding inside int.
constexpr double MaxPixelOffset = 1.0e6;

double finiteNumber(const QJsonValue &value)
{
    const double number = value.toDouble(0.0);
    return std::isfinite(number) ? number : 0.0;
}

int roundedOffset(double value, bool *ok)
{
    if (!(std::abs(value) <= MaxPixelOffset)) {
        *ok = false;
        return 0;
    }
    return static_cast<int>(std::lround(value));
}

} // namespace

void CameraModel::setConfig(const QJsonObject &config)
{
    m_xOffset = finiteNumber(config.value(QLatin1String(XOffsetKey)));
    m_yOffset = finiteNumber(config.value(QLatin1String(YOffsetKey)));
    m_zOffset = finiteNumber(config.value(QLatin1String(ZOffsetKey)));
    m_azimuthMisalignment
        = qDegreesToRadians(finiteNumber(config.value(QLatin1String(AzimuthMisalignmentKey))));
    m_altitudeMisalignment
        = qDegreesToRadians(finiteNumber(config.value(QLatin1String(AltitudeMisalignmentKey))));
    // A missing view angle is a camera not set up yet: no picture until it is.
    const QJsonValue viewAngle = config.value(QLatin1String(HorizontalViewAngleKey));
    m_halfViewAngle
        = viewAngle.isUndefined() ? 0.0 : qDegreesToRadians(usableViewAngle(viewAngle)) / 2.0;
    m_videoDelay = qMax(0, config.value(QLatin1String(VideoDelayKey)).toInt(0));
}

double CameraModel::usableViewAngle(const QJsonValue &value)
{
    const double degrees = value.toDouble(DefaultViewAngle);
    return degrees >= MinViewAngle && degrees <= MaxViewAngle ? degrees : DefaultViewAngle;
}

void CameraModel::setHalfViewAngle(double radians)
{
    m_halfViewAngle = radians;
}

void CameraModel::setRadarPosition(
    double height, double x, double y, double azimuth, double altitude)
{
    m_radarHeight = height;
    m_radarX = x;
    m_radarY = y;
    m_radarAzimuth = azimuth;
    m_radarAltitude = altitude;
}

bool CameraModel::rescale(int width, int height)
{
    m_valid = false;
    m_sightArea.clear();
    m_width = width;
    m_height = height;
    m_cx = width / 2;
    m_cy = height / 2;
    m_camera = QPointF(m_radarX + m_xOffset, m_radarY + m_yOffset);
    m_cameraHeight = m_radarHeight + m_zOffset;
    const double azimuth = m_radarAzimuth + m_azimuthMisalignment;
    m_tilt = m_radarAltitude + m_altitudeMisalignment;
    m_uBottom = m_uTop = m_k0 = m_k1 = m_aimDistance = 0.0;
    m_aim = m_camera;

    // Non-finite input (NaN passes every "less than" stop) and a camera looking up,
    // straight down or backwards give no model.
    if (!std::isfinite(m_camera.x()) || !std::isfinite(m_camera.y())
        || !std::isfinite(m_cameraHeight) || !std::isfinite(azimuth) || !std::isfinite(m_tilt)
        || !std::isfinite(m_halfViewAngle))
        return false;
    if (m_cameraHeight < MinCameraHeight || m_tilt < MinAngle || std::sin(m_tilt) < MinSine
        || m_tilt >= M_PI_2)
        return false;

    const double slant = m_cameraHeight / std::sin(m_tilt);
    m_aimDistance = slant * std::cos(m_tilt);
    m_sinA = std::sin(azimuth);
    m_cosA = std::cos(azimuth);
    m_aim = m_camera + m_aimDistance * QPointF(m_cosA, m_sinA);

    // A half angle of 90 degrees or more is no camera.
    if (m_halfViewAngle < MinAngle || m_halfViewAngle >= M_PI_2 || width < MinFrameSize
        || height < MinFrameSize)
        return false;

    const double tanHorizontal = std::tan(m_halfViewAngle);
    const double halfVertical
        = std::atan(static_cast<double>(height) / static_cast<double>(width) * tanHorizontal);

    const double bottomTilt = m_tilt + halfVertical;
    if (std::sin(bottomTilt) < MinSine)
        return false;
    const double bottomSlant = m_cameraHeight / std::sin(bottomTilt);
    const double bottomDistance = bottomSlant * std::cos(bottomTilt);

    double topTilt = m_tilt - halfVertical;
    double halfTop = halfVertical;
    if (topTilt < MinAngle) {
        // The upper edge is above the horizon: cut the view just below it.
        topTilt = MinAngle;
        halfTop = m_tilt - MinAngle;
    } else if (std::sin(topTilt) < MinSine) {
        return false;
    }
    const double topSlant = m_cameraHeight / std::sin(topTilt);
    const double topDistance = topSlant * std::cos(topTilt);

    m_uBottom = bottomDistance - m_aimDistance;
    m_uTop = topDistance - m_aimDistance;

    const double aimHalfWidth = slant * tanHorizontal;
    const double bottomHalfWidth = std::cos(halfVertical) * bottomSlant * tanHorizontal;
    const double topHalfWidth = std::cos(halfTop) * topSlant * tanHorizontal;
    m_k0 = aimHalfWidth;
    m_k1 = (topHalfWidth - bottomHalfWidth) / (m_uTop - m_uBottom);
    m_tanHalfVertical = std::tan(halfVertical);

    if (!std::isfinite(m_k0) || !std::isfinite(m_k1) || !std::isfinite(m_uBottom)
        || !std::isfinite(m_uTop) || !std::isfinite(m_aim.x()) || !std::isfinite(m_aim.y())
        || m_tanHalfVertical <= 0.0)
        return false;

    m_valid = true;
    m_sightArea = QPolygonF(
        { translatedBack(-bottomHalfWidth, m_uBottom), translatedBack(-topHalfWidth, m_uTop),
            translatedBack(topHalfWidth, m_uTop), translatedBack(bottomHalfWidth, m_uBottom) });
    return true;
}

CameraModel::Sight CameraModel::sight() const
{
    return Sight { m_camera, m_aim, m_sightArea };
}

QPointF CameraModel::translated(double x, double y) const
{
    const double dx = x - m_aim.x();
    const double dy = y - m_aim.y();
    return QPointF(m_sinA * dx - m_cosA * dy, m_cosA * dx + m_sinA * dy);
}

QPointF CameraModel::translatedBack(double l, double u) const
{
    return QPointF(m_sinA * l + m_cosA * u + m_aim.x(), m_sinA * u - m_cosA * l + m_aim.y());
}

QPoint CameraModel::projected(double l, double u, bool *ok) const
{
    *ok = false;
    if (!(u >= m_uBottom - ViewRangeMargin && u <= m_uTop + ViewRangeMargin))
        return QPoint();
    // Points behind the camera, or where the view has no width, would come out mirrored.
    const double distance = u + m_aimDistance;
    const double halfWidth = m_k1 * u + m_k0;
    if (distance <= 0.0 || halfWidth <= 0.0)
        return QPoint();
    const double depression = std::atan(m_cameraHeight / distance);
    bool inside = true;
    const int py = roundedOffset(
        m_height * std::tan(m_tilt - depression) / m_tanHalfVertical * 0.5, &inside);
    const int px = roundedOffset(m_width * l / halfWidth * 0.5, &inside);
    if (!inside)
        return QPoint();
    *ok = true;
    return QPoint(px, py);
}

QPointF CameraModel::projectedBack(double px, double py, bool *ok) const
{
    *ok = false;
    const double a = std::atan(2.0 * py / m_height * m_tanHalfVertical);
    const double b = m_tilt - a;
    if (!(b >= MinAngle))
        return QPointF();
    const double u = m_cameraHeight / std::tan(b) - m_aimDistance;
    const double l = 2.0 * px / m_width * (m_k1 * u + m_k0);
    if (!std::isfinite(u) || !std::isfinite(l))
        return QPointF();
    *ok = true;
    return QPointF(l, u);
}

QPointF CameraModel::screenPointOf(const QPointF &point, bool *ok) const
{
    *ok = false;
    if (!m_valid)
        return QPointF();
    const QPointF ground = translated(point);
    const double distance = ground.y() + m_aimDistance;
    const double halfWidth = m_k1 * ground.y() + m_k0;
    if (!(distance > 0.0 && halfWidth > 0.0))
        return QPointF();
    const double py = m_height * std::tan(m_tilt - std::atan(m_cameraHeight / distance))
        / m_tanHalfVertical * 0.5;
    const double px = m_width * ground.x() / halfWidth * 0.5;
    if (!std::isfinite(px) || !std::isfinite(py))
        return QPointF();
    *ok = true;
    return QPointF(m_cx + px, m_cy - py);
}

QPoint CameraModel::xyToScreen(double x, double y, bool *ok) const
{
    *ok = false;
    if (!m_valid)
        return QPoint();
    const QPoint offset = projected(translated(x, y), ok);
    return *ok ? screenPos(offset) : QPoint();
}

QPointF CameraModel::xyFromScreen(int sx, int sy, bool *ok) const
{
    *ok = false;
    if (!m_valid)
        return QPointF();
    const QPointF ground = projectedBack(screenPosBack(sx, sy), ok);
    return *ok ? translatedBack(ground) : QPointF();
}

QPolygon CameraModel::fittedLine(const QPolygonF &line) const
{
    QPolygon fitted;
    fitted.reserve(line.size());
    for (const QPointF &point : line) {
        bool ok = false;
        const QPoint pixel = xyToScreen(point, &ok);
        if (ok)
            fitted.append(pixel);
    }
    return fitted;
}
