#include "checkpointfit.h"

#include <QLineF>

#include <limits>

namespace {

constexpr double Unplaced = -1.0;

} // namespace

CheckpointFit CheckpointFit::measure(
    const CameraModel &model, const PickupSearch::Checkpoints &checkpoints, bool withSegment)
{
    CheckpointFit fit;
    const int count = qMin(checkpoints.size(), withSegment ? 6 : 4);
    const auto add = [&fit](const QPointF &mark, const QPointF &pixel, bool ok) {
        fit.pixels.append(ok ? pixel : mark);
        const double miss = ok ? QLineF(mark, pixel).length() : Unplaced;
        fit.misses.append(miss);
        fit.worstMiss = ok ? qMax(fit.worstMiss, miss) : std::numeric_limits<double>::infinity();
    };

    QPointF segmentStart;
    bool segmentStartOk = false;
    for (int i = 0; i < count; ++i) {
        const QPointF mark = checkpoints.at(i).first;
        bool ok = false;
        const QPointF road = model.xyFromScreen(checkpoints.at(i).first, &ok);
        QPointF pixel;
        if (i < 4 && ok) {
            pixel = model.screenPointOf(QPointF(road.x(), checkpoints.at(i).second), &ok);
        } else if (i == 4) {
            // The first end is where the segment is measured from.
            segmentStart = road;
            segmentStartOk = ok;
            pixel = mark;
        } else if (i == 5 && ok && segmentStartOk) {
            const QLineF marked(segmentStart, road);
            ok = marked.length() > 0.0;
            if (ok) {
                QLineF entered = marked;
                entered.setLength(checkpoints.at(i).second);
                pixel = model.screenPointOf(entered.p2(), &ok);
            }
        } else {
            ok = false;
        }
        add(mark, pixel, ok);
    }
    if (count == 0 || !model.isValid())
        fit.worstMiss = std::numeric_limits<double>::infinity();
    return fit;
}
