#pragma once

#include "cameramodel.h"
#include "cameraparams.h"
#include "checkpointfit.h"
#include "pickupsearch.h"

#include <functional>

// The whole pick-up of the radar position (and the view angle) from marked checkpoints.
//
// The grid search runs first, in its two passes from its fixed start values. Its reach
// is small (full view angles up to about 33 degrees, heights up to about 22 m), so its
// camera is taken only when it puts every checkpoint within MaxMiss pixels of its mark
// and does not lie on the edge of what the search reached. Otherwise the wide search
// looks over every camera a roadside mast carries, and its camera is judged the same
// way. A camera that fails the judgement is reported with its worst miss, never offered.
class CameraPickup
{
public:
    // The farthest a picked camera may put a checkpoint from its mark, in pixels of the
    // frame: whole-pixel marks and the searches' last steps stay well inside it.
    static constexpr double MaxMiss = 3.0;

    enum class Outcome {
        Picked, // the camera fits the checkpoints
        // The best camera found misses them (the worst miss may be infinite: a checkpoint
        // it cannot place at all), or lies on the edge of the range searched.
        NoFit,
        Failed, // too few checkpoints, or no camera sees them all
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        CameraParams params; // the best camera found, unless Failed
        CheckpointFit fit; // how params puts the checkpoints, unless Failed
        bool onEdge = false;
        bool wide = false; // found by the wide search
    };

    // `model` gives the camera configuration and the frame size, `previous` the radar X
    // and, in mode 1, the view angle. `progress` is called now and then, to keep the
    // window alive.
    static Result pick(const CameraModel &model, PickupSearch::Mode mode,
        const PickupSearch::Checkpoints &checkpoints, const CameraParams &previous,
        const std::function<void()> &progress = {});
};
