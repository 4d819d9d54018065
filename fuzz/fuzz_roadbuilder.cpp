// Builds the road from a road configuration parsed from the fuzz bytes (JSON; anything but
// an object is skipped), as the traffic scheme and the projection view receive it from a
// work profile.
//
// Checked besides memory errors and undefined behaviour: one complete set of geometry
// signals, mark numbers within the bounded road length, road directions within [-pi, pi],
// and the point tables agreeing with each other.

#include "fuzzcheck.h"
#include "roadbuilder.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtMath>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size)));
    if (!document.isObject())
        return 0;

    RoadBuilder builder;
    int finished = 0;
    int axisPoints = -1;
    QObject::connect(&builder, &RoadBuilder::roadAxisLine,
        [&axisPoints](const QPolygonF &axis) { axisPoints = axis.size(); });
    QObject::connect(&builder, &RoadBuilder::applyingRoadFinished, [&finished] { ++finished; });
    builder.setRoadConfig(document.object());
    FUZZ_CHECK(finished == 1);

    const QMap<int, QMap<int, QPointF>> centres = builder.centrePoints();
    const QMap<int, QMap<int, QPointF>> edges = builder.innerEdgePoints();
    FUZZ_CHECK(axisPoints == centres.size() && centres.size() == edges.size());
    // Marks run from the lead-in at -2 m to the lead-out behind at most 100 km of sections,
    // forwards or backwards.
    const int markBound = int(RoadBuilder::MaxRoadLength + 2 * RoadBuilder::LeadLength) + 1;
    FUZZ_CHECK(
        centres.isEmpty() || (centres.firstKey() >= -markBound && centres.lastKey() <= markBound));
    const int partsBesideAxis = builder.parts().size() - 1;
    FUZZ_CHECK(partsBesideAxis >= 0 && partsBesideAxis <= 2 * RoadBuilder::MaxPartsPerSide);
    for (auto it = edges.cbegin(); it != edges.cend(); ++it)
        FUZZ_CHECK(it->isEmpty() || it->size() == partsBesideAxis);

    const QMap<int, double> angles = builder.tanAngles();
    for (auto it = angles.cbegin(); it != angles.cend(); ++it) {
        FUZZ_CHECK(centres.contains(it.key()));
        FUZZ_CHECK(!std::isfinite(*it) || std::abs(*it) <= M_PI + 1e-9);
    }
    return 0;
}
