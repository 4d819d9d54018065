#include "camerapickup.h"

#include "widepickupsearch.h"

namespace {

CameraPickup::Result judged(const CameraModel &model, PickupSearch::Mode mode,
    const PickupSearch::Checkpoints &checkpoints, const CameraParams &params, bool onEdge)
{
    CameraPickup::Result result;
    result.params = params;
    result.onEdge = onEdge;
    CameraModel camera = model;
    PickupSearch::applyTrial(camera, params);
    result.fit = CheckpointFit::measure(
        camera, checkpoints, mode == PickupSearch::RadarPositionAndViewAngle);
    result.outcome = result.fit.worstMiss <= CameraPickup::MaxMiss && !onEdge
        ? CameraPickup::Outcome::Picked
        : CameraPickup::Outcome::NoFit;
    return result;
}

// The better of two results: a fit before a miss, a smaller miss before a larger one.
const CameraPickup::Result &better(const CameraPickup::Result &a, const CameraPickup::Result &b)
{
    if (a.outcome != b.outcome)
        return a.outcome < b.outcome ? a : b;
    return b.fit.worstMiss < a.fit.worstMiss ? b : a;
}

} // namespace

CameraPickup::Result CameraPickup::pick(const CameraModel &model, PickupSearch::Mode mode,
    const PickupSearch::Checkpoints &checkpoints, const CameraParams &previous,
    const std::function<void()> &progress)
{
    Result result;
    PickupSearch search(model, mode, checkpoints, previous);
    search.setProgressCallback(progress);
    if (search.run(false) && search.run(true, search.picked())) {
        result = judged(model, mode, checkpoints, search.picked(), search.isOnEdge());
        if (result.outcome == Outcome::Picked)
            return result;
    }

    if (progress)
        progress();
    WidePickupSearch wide(model, mode, checkpoints, previous);
    if (wide.run()) {
        Result wideResult = judged(model, mode, checkpoints, wide.picked(), wide.isOnEdge());
        wideResult.wide = true;
        result = better(result, wideResult);
    }
    return result;
}
