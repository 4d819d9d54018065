#include "camerapickup.h"
#include "pickupsearch.h"
#include "widepickupsearch.h"

#include <QJsonObject>
#include <QLineF>
#include <QtMath>

#include <benchmark/benchmark.h>

namespace {

// A 1280x720 picture of a camera over the road with four checkpoints on lane lines and a
// segment along X, all made by projecting known road points with the camera model.
struct Scene
{
    CameraModel model;
    PickupSearch::Checkpoints marks;
    CameraParams previous;
    bool inPicture = true;

    Scene(double viewAngle, double height, double y, double azimuth, double altitude,
        const QVector<QPointF> &points)
    {
        // The lens itself: the configuration holds no more than 90 degrees.
        model.setHalfViewAngle(qDegreesToRadians(viewAngle) / 2.0);
        model.setRadarPosition(
            height, 2.0, y, qDegreesToRadians(azimuth), qDegreesToRadians(altitude));
        model.rescale(1280, 720);
        for (const QPointF &point : points) {
            bool ok = false;
            marks.append({ model.xyToScreen(point, &ok), point.y() });
            inPicture = inPicture && ok;
        }
        marks[4].second = 0.0;
        marks[5].second = QLineF(points.at(4), points.at(5)).length();
        previous.xOffset = 2.0;
        previous.viewAngle = viewAngle / 2.0;
    }
};

// Within the grid search's reach: 24 degrees, 8 m over the road, marks 35 to 90 m out.
const Scene &gridScene()
{
    static const Scene scene(24.0, 8.0, 3.0, -3.0, 10.0,
        { { 35, -3.5 }, { 40, 3.5 }, { 80, -3.5 }, { 90, 3.5 }, { 45, 0 }, { 70, 0 } });
    return scene;
}

// Beyond it: 40, 60 and 90 degree lenses 5 m over the road, a 100 degree lens on a 25 m
// mast.
const Scene &wideScene(int viewAngle)
{
    static const Scene lens40(40.0, 5.0, 4.0, -8.0, 18.0,
        { { 12, 0 }, { 14, 5.25 }, { 40, -3.5 }, { 45, 5.25 }, { 15, 1.75 }, { 35, 1.75 } });
    static const Scene lens60(60.0, 5.0, 4.0, -8.0, 18.0,
        { { 10, 0 }, { 12, 7 }, { 35, -3.5 }, { 40, 7 }, { 12, 3.5 }, { 30, 3.5 } });
    static const Scene lens90(90.0, 5.0, 4.0, -8.0, 18.0,
        { { 7, 0 }, { 8, 7 }, { 30, -3.5 }, { 35, 7 }, { 8, 3.5 }, { 25, 3.5 } });
    static const Scene mast(100.0, 25.0, -6.0, 20.0, 40.0,
        { { 15, 0 }, { 20, 7 }, { 60, -3.5 }, { 70, 7 }, { 20, 3.5 }, { 50, 3.5 } });
    switch (viewAngle) {
    case 40:
        return lens40;
    case 60:
        return lens60;
    case 90:
        return lens90;
    default:
        return mast;
    }
}

// The whole pick-up as the projection view runs it: the grid search, its judgement and,
// when its camera misses, the wide search.
void pickup(benchmark::State &state, const Scene &scene, PickupSearch::Mode mode)
{
    if (!scene.inPicture) {
        state.SkipWithError("a checkpoint lies outside the picture");
        return;
    }
    const PickupSearch::Checkpoints marks
        = scene.marks.mid(0, PickupSearch::requiredCheckpoints(mode));
    CameraPickup::Result result;
    for (auto _ : state) {
        result = CameraPickup::pick(scene.model, mode, marks, scene.previous);
        benchmark::DoNotOptimize(result);
    }
    state.counters["picked"] = result.outcome == CameraPickup::Outcome::Picked;
    state.counters["wide"] = result.wide;
    state.counters["worst_miss_px"] = result.fit.worstMiss;
}

void BM_PickupRadarPosition(benchmark::State &state)
{
    pickup(state, gridScene(), PickupSearch::RadarPosition);
}

void BM_PickupRadarPositionAndViewAngle(benchmark::State &state)
{
    pickup(state, gridScene(), PickupSearch::RadarPositionAndViewAngle);
}

void BM_PickupWideLens(benchmark::State &state)
{
    pickup(state, wideScene(int(state.range(0))), PickupSearch::RadarPositionAndViewAngle);
}

void BM_PickupMastRadarPosition(benchmark::State &state)
{
    pickup(state, wideScene(100), PickupSearch::RadarPosition);
}

// The wide search alone, as the pick-up runs it after a grid search that missed.
void BM_WideSearchOnly(benchmark::State &state)
{
    const Scene &scene = wideScene(int(state.range(0)));
    int evaluations = 0;
    for (auto _ : state) {
        WidePickupSearch search(
            scene.model, PickupSearch::RadarPositionAndViewAngle, scene.marks, scene.previous);
        bool picked = search.run();
        benchmark::DoNotOptimize(picked);
        evaluations = search.evaluations();
    }
    state.counters["evaluations"] = evaluations;
}

} // namespace

BENCHMARK(BM_PickupRadarPosition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickupRadarPositionAndViewAngle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickupWideLens)->Arg(40)->Arg(60)->Arg(90)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickupMastRadarPosition)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideSearchOnly)->Arg(40)->Arg(90)->Unit(benchmark::kMillisecond);
