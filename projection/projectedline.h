#pragma once

#include <QPoint>
#include <QPolygonF>
#include <QVector>

class CameraModel;

// A line of road points as drawn over the camera picture: the pixels of the points that
// project, simplified within a tolerance. Kept from frame to frame, it projects again only
// the points that changed: a current track gains points at its head and loses its oldest
// ones, an average track moves some of its stations. The result is always that of
// projecting every point anew; a new camera model needs a new line.
class ProjectedLine
{
public:
    // Takes the line's points as they are now.
    void update(const QPolygonF &points, const CameraModel &model, double tolerance);
    const QPolygonF &simplified() const { return m_simplified; }

private:
    struct Pixel
    {
        QPoint pixel;
        bool ok = false;
    };

    QPolygonF m_points;
    QVector<Pixel> m_pixels; // one per point
    QPolygonF m_line; // the pixels of the points that project
    QPolygonF m_nextLine; // kept for its memory
    QPolygonF m_simplified;
};
