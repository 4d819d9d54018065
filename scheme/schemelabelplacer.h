#pragma once

#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QVector>

// Places the objects' labels on the scheme so that no two overlap. Each label tries the
// places right beside its object, in full and then brief (the identifier alone), then
// places further aside, which get a leader line back to the object; all of them first
// clear of every object, then, in brief, over other objects. A label with no free place
// is left out. Labels later in the list get
// the first pick, as their objects are drawn on top.
class SchemeLabelPlacer
{
public:
    struct Label
    {
        QRectF object; // the object's extent, pixels
        QSizeF full;
        QSizeF brief;
    };
    struct Placement
    {
        bool shown = false;
        bool brief = false;
        QRectF rect;
        QLineF leader; // from the label to the object; null when the label touches it
    };

    // Pixels between an object and a label beside it.
    static constexpr double Gap = 3.0;

    // bounds: the area labels must stay inside; vertical: the road runs up the view, so
    // labels go beside objects rather than above them.
    SchemeLabelPlacer(const QRectF &bounds, bool vertical);

    QVector<Placement> place(const QVector<Label> &labels) const;

private:
    struct Attempt
    {
        bool brief;
        bool aside;
        bool clearOfObjects;
    };
    bool doTryPlace(const Label &label, const Attempt &attempt, const QVector<QRectF> &taken,
        const QVector<QRectF> &bodies, Placement &placement) const;

    QRectF m_bounds;
    bool m_vertical = false;
};
