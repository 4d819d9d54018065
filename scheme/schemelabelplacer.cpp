#include "schemelabelplacer.h"

#include <QVarLengthArray>
#include <QtGlobal>

#include <algorithm>

namespace {
// How many label heights a label may move aside from its place beside the object.
constexpr int MaxAsideSteps = 4;
constexpr double StackSpacing = 2.0;

QPointF clamped(const QPointF &p, const QRectF &r)
{
    return QPointF(qBound(r.left(), p.x(), r.right()), qBound(r.top(), p.y(), r.bottom()));
}
} // namespace

SchemeLabelPlacer::SchemeLabelPlacer(const QRectF &bounds, bool vertical)
    : m_bounds(bounds)
    , m_vertical(vertical)
{ }

QVector<SchemeLabelPlacer::Placement> SchemeLabelPlacer::place(const QVector<Label> &labels) const
{
    // Labels first keep clear of every object, then where none is left only of the
    // other labels, and only in brief.
    static constexpr Attempt Attempts[] = {
        { false, false, true },
        { true, false, true },
        { false, true, true },
        { true, true, true },
        { true, false, false },
        { true, true, false },
    };
    QVector<QRectF> bodies;
    bodies.reserve(labels.size());
    for (const Label &label : labels)
        bodies << label.object;
    QVector<Placement> placements(labels.size());
    QVector<QRectF> taken;
    taken.reserve(labels.size());
    // Each kind of place goes round all labels before the next, so that no label is moved
    // aside into the place another needs right beside its object.
    for (const Attempt &attempt : Attempts) {
        for (int i = labels.size() - 1; i >= 0; --i) {
            Placement &placement = placements[i];
            if (!placement.shown && doTryPlace(labels.at(i), attempt, taken, bodies, placement))
                taken << placement.rect;
        }
    }
    return placements;
}

bool SchemeLabelPlacer::doTryPlace(const Label &label, const Attempt &attempt,
    const QVector<QRectF> &taken, const QVector<QRectF> &bodies, Placement &placement) const
{
    const bool brief = attempt.brief;
    const QRectF &o = label.object;
    const QSizeF size = brief ? label.brief : label.full;
    if (size.isEmpty() || size.width() > m_bounds.width() || size.height() > m_bounds.height())
        return false;
    const double w = size.width();
    const double h = size.height();
    const double middle = o.center().y() - h / 2;

    // Top-left corners of the places beside the object, best first, and the direction
    // each moves aside in.
    struct Place
    {
        QPointF corner;
        double asideSign; // 0: up and down alike
    };
    const Place above { QPointF(o.left(), o.top() - Gap - h), -1.0 };
    const Place below { QPointF(o.left(), o.bottom() + Gap), 1.0 };
    const Place right { QPointF(o.right() + Gap, middle), 0.0 };
    const Place left { QPointF(o.left() - Gap - w, middle), 0.0 };
    const Place order[4] = { m_vertical ? right : above, m_vertical ? left : below,
        m_vertical ? above : right, m_vertical ? below : left };

    // The candidate rectangles in order, inside the bounds.
    QVarLengthArray<QRectF, 32> candidates;
    QRectF area;
    const auto add = [&](QPointF corner) {
        corner.setX(qBound(m_bounds.left(), corner.x(), m_bounds.right() - w));
        corner.setY(qBound(m_bounds.top(), corner.y(), m_bounds.bottom() - h));
        candidates.append(QRectF(corner, size));
        area |= candidates.last();
    };
    if (!attempt.aside) {
        for (const Place &p : order)
            add(p.corner);
    } else {
        const double step = h + StackSpacing;
        for (int k = 1; k <= MaxAsideSteps; ++k) {
            for (const Place &p : order) {
                add(p.corner + QPointF(0, (p.asideSign == 0.0 ? -1.0 : p.asideSign) * k * step));
                if (p.asideSign == 0.0)
                    add(p.corner + QPointF(0, k * step));
            }
        }
    }

    // Only what lies near the candidates can block them.
    QVarLengthArray<QRectF, 128> obstacles;
    for (const QRectF &t : taken) {
        if (t.intersects(area))
            obstacles.append(t);
    }
    if (attempt.clearOfObjects) {
        for (const QRectF &b : bodies) {
            if (b.intersects(area))
                obstacles.append(b);
        }
    }

    const QRectF reach = o.adjusted(-Gap - 0.5, -Gap - 0.5, Gap + 0.5, Gap + 0.5);
    for (const QRectF &r : candidates) {
        if (std::any_of(obstacles.cbegin(), obstacles.cend(),
                [&r](const QRectF &obstacle) { return obstacle.intersects(r); }))
            continue;
        placement.shown = true;
        placement.brief = brief;
        placement.rect = r;
        placement.leader = QLineF();
        if (!r.intersects(reach)) {
            const QPointF from = clamped(o.center(), r);
            placement.leader = QLineF(from, clamped(from, o));
        }
        return true;
    }
    return false;
}
