#include "schemelabelplacer.h"

#include <QtGlobal>

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
    QVector<Placement> placements(labels.size());
    QVector<QRectF> taken;
    taken.reserve(labels.size());
    for (int i = labels.size() - 1; i >= 0; --i) {
        Placement &placement = placements[i];
        const Label &label = labels.at(i);
        if (doTryPlace(label, false, false, taken, placement)
            || doTryPlace(label, true, false, taken, placement)
            || doTryPlace(label, false, true, taken, placement)
            || doTryPlace(label, true, true, taken, placement))
            taken << placement.rect;
    }
    return placements;
}

bool SchemeLabelPlacer::doTryPlace(const Label &label, bool brief, bool aside,
    const QVector<QRectF> &taken, Placement &placement) const
{
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

    const QRectF reach = o.adjusted(-Gap - 0.5, -Gap - 0.5, Gap + 0.5, Gap + 0.5);
    const auto isFree = [&](const QRectF &r) {
        for (const QRectF &t : taken) {
            if (t.intersects(r))
                return false;
        }
        return true;
    };
    const auto tryAt = [&](QPointF corner) {
        corner.setX(qBound(m_bounds.left(), corner.x(), m_bounds.right() - w));
        corner.setY(qBound(m_bounds.top(), corner.y(), m_bounds.bottom() - h));
        const QRectF r(corner, size);
        if (!isFree(r))
            return false;
        placement.shown = true;
        placement.brief = brief;
        placement.rect = r;
        placement.leader = QLineF();
        if (!r.intersects(reach)) {
            const QPointF from = clamped(o.center(), r);
            placement.leader = QLineF(from, clamped(from, o));
        }
        return true;
    };

    if (!aside) {
        for (const Place &p : order) {
            if (tryAt(p.corner))
                return true;
        }
        return false;
    }
    const double step = h + StackSpacing;
    for (int k = 1; k <= MaxAsideSteps; ++k) {
        for (const Place &p : order) {
            const double sign = p.asideSign == 0.0 ? -1.0 : p.asideSign;
            if (tryAt(p.corner + QPointF(0, sign * k * step)))
                return true;
            if (p.asideSign == 0.0 && tryAt(p.corner + QPointF(0, k * step)))
                return true;
        }
    }
    return false;
}
