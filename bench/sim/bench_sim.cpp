#include "radaremulator.h"
#include "roadbuilder.h"
#include "roadconfigfile.h"
#include "trafficmodel.h"

#include <benchmark/benchmark.h>

namespace {

QMap<int, QPolygonF> defaultLanes()
{
    QMap<int, QPolygonF> lanes;
    RoadBuilder builder;
    QObject::connect(&builder, &RoadBuilder::laneCenterLines,
        [&lanes](const QMap<int, QPolygonF> &lines) { lanes = lines; });
    builder.setRoadConfig(RoadConfigFile::defaultRoad());
    return lanes;
}

// One 100 ms step of 64 vehicles on the default road, measured with noise.
void BM_TrafficStepMaxLoad(benchmark::State &state)
{
    TrafficModel::Settings settings;
    settings.maxLoad = true;
    TrafficModel model(settings);
    model.setLanes(defaultLanes());
    for (auto _ : state) {
        model.step(0.1);
        benchmark::DoNotOptimize(model.measuredObjects());
    }
    state.counters["cycles"]
        = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TrafficStepMaxLoad);

// A whole radar cycle with 64 objects: traffic, frames and the message handed on.
void BM_RadarCycleMaxLoad(benchmark::State &state)
{
    RadarEmulator::Settings settings;
    settings.traffic.maxLoad = true;
    RadarEmulator radar(settings);
    radar.setLanes(defaultLanes());
    qint64 bytes = 0;
    QObject::connect(&radar, &RadarEmulator::radarMessage,
        [&bytes](const QByteArray &area) { bytes += area.size(); });
    for (auto _ : state)
        radar.runCycle();
    benchmark::DoNotOptimize(bytes);
    state.counters["cycles"]
        = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["bytes/cycle"] = double(bytes) / double(qMax<qint64>(1, state.iterations()));
}
BENCHMARK(BM_RadarCycleMaxLoad);

} // namespace
