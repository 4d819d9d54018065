#pragma once

#include "cameramodel.h"
#include "pickupsearch.h"

#include <QJsonObject>
#include <QtMath>

// A camera over a known radar position, and the marks an installer would make on its
// picture: four points of known Y and a segment along X.
struct PickupScene
{
    double viewAngle = 40.0; // full, degrees
    CameraParams radar; // the truth the pick-up should find (view angle: half)
    QVector<QPointF> points; // four road points, then the two ends of the segment
    int width = 800;
    int height = 600;

    QJsonObject config() const
    {
        return QJsonObject { { QStringLiteral("horizontal_view_angle"), viewAngle },
            { QStringLiteral("z_offset"), 0.1 } };
    }

    CameraModel model() const
    {
        CameraModel m;
        m.setConfig(config());
        m.setRadarPosition(radar.height, radar.xOffset, radar.yOffset,
            qDegreesToRadians(radar.azimuth), qDegreesToRadians(radar.altitude));
        m.rescale(width, height);
        return m;
    }

    // Marks as whole pixels; false when a point is out of the picture.
    bool checkpoints(PickupSearch::Checkpoints *marks) const
    {
        const CameraModel m = model();
        marks->clear();
        for (int i = 0; i < points.size(); ++i) {
            bool ok = false;
            const QPoint pixel = m.xyToScreen(points.at(i), &ok);
            if (!ok)
                return false;
            double value = points.at(i).y();
            if (i == 4)
                value = 0.0;
            if (i == 5)
                value = std::hypot(
                    points.at(5).x() - points.at(4).x(), points.at(5).y() - points.at(4).y());
            marks->append({ pixel, value });
        }
        return true;
    }

    // The search's "previous parameters": the radar X and the configured half angle.
    CameraParams previous() const
    {
        CameraParams p;
        p.xOffset = radar.xOffset;
        p.viewAngle = viewAngle / 2.0;
        return p;
    }

    static QVector<PickupScene> samples()
    {
        PickupScene a;
        a.radar.height = 7.0;
        a.radar.xOffset = 3.0;
        a.radar.yOffset = 1.5;
        a.radar.azimuth = 4.0;
        a.radar.altitude = 12.0;
        a.points = { { 25, -2 }, { 25, 5 }, { 70, -2 }, { 70, 5 }, { 30, 1.5 }, { 50, 1.5 } };

        PickupScene b;
        b.viewAngle = 25.0;
        b.radar.height = 11.0;
        b.radar.xOffset = -4.0;
        b.radar.yOffset = -6.0;
        b.radar.azimuth = 12.0;
        b.radar.altitude = 9.0;
        b.points = { { 40, -3.5 }, { 55, 3.5 }, { 110, -3.5 }, { 120, 7 }, { 60, 0 }, { 90, 0 } };

        PickupScene c;
        c.viewAngle = 60.0;
        c.radar.height = 5.0;
        c.radar.yOffset = 4.0;
        c.radar.azimuth = -8.0;
        c.radar.altitude = 18.0;
        c.points = { { 12, 0 }, { 14, 7 }, { 35, 0 }, { 40, 7 }, { 15, 3.5 }, { 30, 3.5 } };
        return { a, b, c };
    }

    // Cameras beyond the reach of the grid search from its fixed start values: a 16:9
    // picture of lanes from a 5 m mast with 40, 60 and 90 degree lenses, and a 90 degree
    // lens, the widest the camera configuration holds, on a 25 m mast.
    static QVector<PickupScene> wideSamples()
    {
        PickupScene base;
        base.width = 1280;
        base.height = 720;
        base.radar.height = 5.0;
        base.radar.xOffset = 2.0;
        base.radar.yOffset = 4.0;
        base.radar.azimuth = -8.0;
        base.radar.altitude = 18.0;

        PickupScene narrow = base;
        narrow.viewAngle = 40.0;
        narrow.points
            = { { 12, 0 }, { 14, 5.25 }, { 40, -3.5 }, { 45, 5.25 }, { 15, 1.75 }, { 35, 1.75 } };
        PickupScene normal = base;
        normal.viewAngle = 60.0;
        normal.points = { { 10, 0 }, { 12, 7 }, { 35, -3.5 }, { 40, 7 }, { 12, 3.5 }, { 30, 3.5 } };
        PickupScene wide = base;
        wide.viewAngle = 90.0;
        wide.points = { { 7, 0 }, { 8, 7 }, { 30, -3.5 }, { 35, 7 }, { 8, 3.5 }, { 25, 3.5 } };
        PickupScene mast = base;
        mast.viewAngle = 90.0;
        mast.radar.height = 25.0;
        mast.radar.yOffset = -6.0;
        mast.radar.azimuth = 20.0;
        mast.radar.altitude = 40.0;
        mast.points = { { 15, 0 }, { 20, 7 }, { 60, -3.5 }, { 70, 7 }, { 20, 3.5 }, { 50, 3.5 } };
        return { narrow, normal, wide, mast };
    }
};
Q_DECLARE_METATYPE(PickupScene)
