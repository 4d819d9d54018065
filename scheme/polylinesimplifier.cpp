#include "polylinesimplifier.h"

#include <cmath>

namespace {

QPointF unit(const QPointF &v)
{
    const double len = std::hypot(v.x(), v.y());
    return len > 1e-9 ? v / len : QPointF();
}

} // namespace

QPolygonF PolylineSimplifier::simplified(const QPolygonF &line, double tolerance)
{
    if (line.size() < 3)
        return line;
    QPolygonF kept;
    kept.reserve(line.size());
    kept << line.constFirst();
    int anchor = 0;
    QPointF dir;
    int key = 1;
    for (int i = 1; i < line.size(); ++i) {
        if (i == key) {
            dir = unit(line.at(i) - line.at(anchor));
            if (dir.isNull())
                ++key;
            continue;
        }
        const QPointF v = line.at(i) - line.at(anchor);
        if (std::abs(v.x() * dir.y() - v.y() * dir.x()) > tolerance
            || v.x() * dir.x() + v.y() * dir.y() < 0) {
            anchor = i - 1;
            kept << line.at(anchor);
            key = i;
            dir = unit(line.at(i) - line.at(anchor));
            if (dir.isNull())
                ++key;
        }
    }
    kept << line.constLast();
    return kept;
}
