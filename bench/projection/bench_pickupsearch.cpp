#include "pickupsearch.h"

#include <QJsonObject>
#include <QtMath>

#include <benchmark/benchmark.h>

namespace {

// A 1280x720 picture of a camera 8 m over the road, marks on two lanes 20 to 80 m out
// and a 25 m segment along the middle.
struct Scene
{
    CameraModel model;
    PickupSearch::Checkpoints marks;
    CameraParams previous;

    Scene()
    {
        model.setConfig(QJsonObject { { QStringLiteral("horizontal_view_angle"), 24.0 } });
        model.setRadarPosition(8.0, 2.0, 3.0, qDegreesToRadians(-3.0), qDegreesToRadians(10.0));
        model.rescale(1280, 720);
        const QPointF points[]
            = { { 20, -3.5 }, { 25, 3.5 }, { 70, -3.5 }, { 80, 3.5 }, { 30, 0 }, { 55, 0 } };
        for (const QPointF &point : points) {
            bool ok = false;
            marks.append({ model.xyToScreen(point, &ok), point.y() });
        }
        marks[4].second = 0.0;
        marks[5].second = 25.0;
        previous.xOffset = 2.0;
        previous.viewAngle = 12.0;
    }
};

void pickup(benchmark::State &state, PickupSearch::Mode mode)
{
    const Scene scene;
    int scored = 0;
    for (auto _ : state) {
        PickupSearch search(scene.model, mode, scene.marks, scene.previous);
        bool picked = search.run(false) && search.run(true, search.picked());
        benchmark::DoNotOptimize(picked);
        scored = search.scoredTrials();
    }
    state.counters["scored_trials"] = scored;
}

void BM_PickupRadarPosition(benchmark::State &state)
{
    pickup(state, PickupSearch::RadarPosition);
}

void BM_PickupRadarPositionAndViewAngle(benchmark::State &state)
{
    pickup(state, PickupSearch::RadarPositionAndViewAngle);
}

} // namespace

BENCHMARK(BM_PickupRadarPosition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickupRadarPositionAndViewAngle)->Unit(benchmark::kMillisecond);
