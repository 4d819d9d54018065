#pragma once

#include "cameramodel.h"
#include "cameraparams.h"

#include <QPair>
#include <QPoint>
#include <QVector>

#include <functional>

// The coarse-to-fine grid search for the radar position (and the view angle) that makes
// the marked checkpoints back-project onto their known Y coordinates.
//
// One pass halves the steps until the azimuth step reaches the tolerance. Every
// iteration tries each candidate with each grid offset; a trial within the tolerance of
// one already scored in the iteration is skipped; the best trials, ties in the order
// they were scored, become the next candidates.
//
// Trials repeat a lot (neighbouring candidates share half of their offsets), so repeats
// are found by their exact values first and near ones through a cell index of the
// tolerance, instead of comparing each trial with every scored one.
class PickupSearch
{
public:
    enum Mode { RadarPosition = 1, RadarPositionAndViewAngle = 2 };
    // Entries 0 to 3: a screen pixel and its Y (m); 4 and 5: the ends of a segment along
    // X, the second carrying its length (m).
    using Checkpoints = QVector<QPair<QPoint, double>>;

    // `model` gives the camera configuration and the frame size; `previous` the radar X
    // and, in mode 1, the view angle, which the search does not change.
    PickupSearch(const CameraModel &model, Mode mode, const Checkpoints &checkpoints,
        const CameraParams &previous);

    // Called after every 100th scored trial, to keep the window alive.
    void setProgressCallback(std::function<void()> callback);

    // One pass: coarse from the fixed start values, or refined around `start`. Returns
    // false when there are too few checkpoints or no trial gives a valid model.
    bool run(bool refine, const CameraParams &start = CameraParams());
    CameraParams picked() const { return m_picked; }
    // True when the last pass picked a value at the bound of what it could reach in some
    // field: the best fit may lie beyond.
    bool isOnEdge() const { return m_onEdge; }
    int scoredTrials() const { return m_scoredTrials; }

    static int requiredCheckpoints(Mode mode) { return mode == RadarPositionAndViewAngle ? 6 : 4; }
    // Puts the trial's radar position and half view angle into `model` and rescales it.
    static bool applyTrial(CameraModel &model, const CameraParams &trial);
    // Sum of squared misses of the marked Y values (and the segment length); the
    // largest double when a mark does not back-project.
    static double score(const CameraModel &model, const Checkpoints &checkpoints, bool withSegment);
    // The grid multipliers, angle outermost, altitude innermost; in mode 1 the angle's is
    // always 0. Fields: height, Y, azimuth, altitude, view angle.
    static QVector<CameraParams> gridOffsets(Mode mode);

private:
    CameraModel m_model;
    Mode m_mode;
    Checkpoints m_checkpoints;
    CameraParams m_previous;
    CameraParams m_picked;
    bool m_onEdge = false;
    std::function<void()> m_progress;
    int m_scoredTrials = 0;
};
