#pragma once

#include "cameramodel.h"
#include "cameraparams.h"
#include "pickupsearch.h"

#include <array>

// A search for the radar position (and the view angle) over every camera a roadside
// mast carries: full view angles of about 8 to 110 degrees, camera heights of 1 to
// 30 m, azimuths of +-60 and tilts of up to 80 degrees.
//
// The camera height and the Y position need no search: every back-projected point is
// the camera's ground position plus the camera height times a vector that only the
// angles decide, so for given angles the height and Y that fit the marks best follow
// from a small linear least-squares problem. What is searched are the angles: a coarse
// grid over the whole range, then a damped Gauss-Newton descent (Levenberg-Marquardt)
// from the best grid points. Misses are scored in metres, as the grid search scores them.
class WidePickupSearch
{
public:
    // The range searched, in the radar's terms (degrees, metres).
    static constexpr double MinAzimuth = -60.0;
    static constexpr double MaxAzimuth = 60.0;
    static constexpr double MinAltitude = 0.2;
    static constexpr double MaxAltitude = 80.0;
    static constexpr double MinHalfViewAngle = 4.0;
    static constexpr double MaxHalfViewAngle = 55.0;
    static constexpr double MinCameraHeight = 1.0;
    static constexpr double MaxCameraHeight = 30.0;
    static constexpr double MaxYOffset = 100.0;

    // As PickupSearch: `model` gives the camera configuration and the frame size,
    // `previous` the radar X and, in mode 1, the view angle.
    WidePickupSearch(const CameraModel &model, PickupSearch::Mode mode,
        const PickupSearch::Checkpoints &checkpoints, const CameraParams &previous);

    // False when there are too few checkpoints or no camera in the range sees them all.
    bool run();
    CameraParams picked() const { return m_picked; }
    // The sum of squared misses (m) of the picked parameters.
    double pickedScore() const { return m_pickedScore; }
    // True when the picked parameters lie on a bound of the range: the best fit may be
    // beyond it.
    bool isOnEdge() const { return m_onEdge; }
    int evaluations() const { return m_evaluations; }

private:
    static constexpr int MaxAngles = 3; // azimuth, altitude, half view angle
    static constexpr int MaxResiduals = 5;
    using Angles = std::array<double, MaxAngles>;

    struct Trial
    {
        bool valid = false;
        double score = 0.0;
        std::array<double, MaxResiduals> residuals {};
        double yOffset = 0.0;
        double height = 0.0;
        bool clamped = false; // height or Y held at a bound of the range
    };

    Trial evaluate(const Angles &angles);
    Trial descend(Angles &angles);
    Angles clamped(const Angles &angles) const;
    CameraParams paramsOf(const Angles &angles, const Trial &trial) const;
    bool isOnBound(const Angles &angles) const;

    CameraModel m_model;
    PickupSearch::Mode m_mode;
    PickupSearch::Checkpoints m_checkpoints;
    CameraParams m_previous;
    int m_angleCount = 2;
    int m_residualCount = 4;
    Angles m_low {};
    Angles m_high {};
    CameraParams m_picked;
    double m_pickedScore = 0.0;
    bool m_onEdge = false;
    int m_evaluations = 0;
};
