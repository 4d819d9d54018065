#pragma once

#include "cameramodel.h"
#include "pickupsearch.h"

#include <QPointF>
#include <QVector>

// How well a camera puts the marked checkpoints back where they were marked, in pixels
// of its frame. A checkpoint belongs at its back-projected X and its entered Y; the
// segment's second end belongs at the entered length from the first end, in the marked
// direction (the first end fits by definition).
struct CheckpointFit
{
    // One entry per checkpoint: where the camera puts it, and its distance from the
    // mark (px, -1 where the camera cannot put it anywhere).
    QVector<QPointF> pixels;
    QVector<double> misses;
    // The largest miss; infinite when a checkpoint could not be put anywhere or the
    // model is invalid.
    double worstMiss = 0.0;

    static CheckpointFit measure(
        const CameraModel &model, const PickupSearch::Checkpoints &checkpoints, bool withSegment);
};
