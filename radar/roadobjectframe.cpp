#include "roadobjectframe.h"

#include <algorithm>

int RoadObjectFrame::insertOrUpdate(QVector<RoadObject> &objects, const RoadObject &object)
{
    const auto sameId = [&object](const RoadObject &o) { return o.id == object.id; };
    const auto it = std::find_if(objects.begin(), objects.end(), sameId);
    if (it != objects.end()) {
        it->update(object.xSpeed, object.ySpeed, object.xRange, object.yRange, object.length,
            object.lastDetected);
        return int(it - objects.begin());
    }
    objects.append(object);
    return objects.size() - 1;
}

RoadObjectFrame RoadObjectFrame::inOrder(const QVector<quint8> &ids) const
{
    RoadObjectFrame frame;
    frame.dateTimeUtc = dateTimeUtc;
    frame.cycleNumber = cycleNumber;
    frame.objects.reserve(ids.size());
    for (quint8 id : ids) {
        const auto it = std::find_if(
            objects.cbegin(), objects.cend(), [id](const RoadObject &o) { return o.id == id; });
        if (it != objects.cend())
            frame.objects.append(*it);
    }
    return frame;
}

QVector<quint8> RoadObjectFrame::ids() const
{
    QVector<quint8> result;
    result.reserve(objects.size());
    for (const RoadObject &o : objects)
        result.append(o.id);
    return result;
}
