#include "widepickupsearch.h"

#include <QLineF>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The height the angles are tried at; the fitted height scales the result.
constexpr double ReferenceHeight = 10.0; // m

// The coarse grid over the angles (degrees).
constexpr double AzimuthGridStep = 5.0;
constexpr double AltitudeGridFirst = 1.0;
constexpr double AltitudeGridStep = 3.0;
constexpr double HalfAngleGridFirst = 5.0;
constexpr double HalfAngleGridStep = 4.0;
// Grid points the descent starts from.
constexpr int DescentStarts = 16;

constexpr int MaxDescentSteps = 200;
constexpr double DerivativeStep = 1.0e-6; // degrees
constexpr double InitialDamping = 1.0e-3;
constexpr double MaxDamping = 1.0e12;
constexpr double SmallestStep = 1.0e-10; // degrees
constexpr double BoundTolerance = 1.0e-6; // degrees

// Solves the n x n system a x = b (n <= 3) by elimination with partial pivoting.
template<int N>
bool solved(std::array<std::array<double, N>, N> a, std::array<double, N> b, int n,
    std::array<double, N> *x)
{
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int row = col + 1; row < n; ++row) {
            if (std::abs(a[row][col]) > std::abs(a[pivot][col]))
                pivot = row;
        }
        if (!(std::abs(a[pivot][col]) > 0.0))
            return false;
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (int row = col + 1; row < n; ++row) {
            const double factor = a[row][col] / a[col][col];
            for (int k = col; k < n; ++k)
                a[row][k] -= factor * a[col][k];
            b[row] -= factor * b[col];
        }
    }
    for (int row = n - 1; row >= 0; --row) {
        double sum = b[row];
        for (int k = row + 1; k < n; ++k)
            sum -= a[row][k] * (*x)[k];
        (*x)[row] = sum / a[row][row];
    }
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite((*x)[i]))
            return false;
    }
    return true;
}

} // namespace

WidePickupSearch::WidePickupSearch(const CameraModel &model, PickupSearch::Mode mode,
    const PickupSearch::Checkpoints &checkpoints, const CameraParams &previous)
    : m_model(model)
    , m_mode(mode)
    , m_checkpoints(checkpoints)
    , m_previous(previous)
{
    const bool withAngle = mode == PickupSearch::RadarPositionAndViewAngle;
    m_angleCount = withAngle ? 3 : 2;
    m_residualCount = withAngle ? 5 : 4;
    m_low = { MinAzimuth, MinAltitude, MinHalfViewAngle };
    m_high = { MaxAzimuth, MaxAltitude, MaxHalfViewAngle };
    if (!withAngle)
        m_low[2] = m_high[2] = previous.viewAngle;
}

bool WidePickupSearch::run()
{
    m_evaluations = 0;
    m_onEdge = false;
    if (m_mode != PickupSearch::RadarPosition && m_mode != PickupSearch::RadarPositionAndViewAngle)
        return false;
    if (m_checkpoints.size() < PickupSearch::requiredCheckpoints(m_mode))
        return false;

    struct Start
    {
        double score;
        Angles angles;
    };
    std::vector<Start> starts;
    // Counted, not stepped up to the last value: in mode 1 the angle is the configured one,
    // which may be so large that adding a step leaves it as it is.
    const int halfCount
        = m_angleCount == 3 ? int((m_high[2] - HalfAngleGridFirst) / HalfAngleGridStep) + 1 : 1;
    for (int h = 0; h < halfCount; ++h) {
        const double half
            = m_angleCount == 3 ? HalfAngleGridFirst + h * HalfAngleGridStep : m_low[2];
        for (double azimuth = MinAzimuth; azimuth <= MaxAzimuth; azimuth += AzimuthGridStep) {
            for (double altitude = AltitudeGridFirst; altitude <= MaxAltitude;
                 altitude += AltitudeGridStep) {
                const Angles angles { azimuth, altitude, half };
                const Trial trial = evaluate(angles);
                if (trial.valid)
                    starts.push_back({ trial.score, angles });
            }
        }
    }
    m_model.invalidate();
    if (starts.empty())
        return false;

    const auto last = starts.begin() + std::min<size_t>(DescentStarts, starts.size());
    std::partial_sort(starts.begin(), last, starts.end(),
        [](const Start &a, const Start &b) { return a.score < b.score; });
    bool found = false;
    Angles best {};
    Trial bestTrial;
    for (auto it = starts.begin(); it != last; ++it) {
        Angles angles = it->angles;
        const Trial trial = descend(angles);
        if (trial.valid && (!found || trial.score < bestTrial.score)) {
            found = true;
            best = angles;
            bestTrial = trial;
        }
    }
    m_model.invalidate();
    if (!found)
        return false;
    m_picked = paramsOf(best, bestTrial);
    m_pickedScore = bestTrial.score;
    m_onEdge = bestTrial.clamped || isOnBound(best);
    return true;
}

WidePickupSearch::Trial WidePickupSearch::evaluate(const Angles &angles)
{
    ++m_evaluations;
    Trial trial;
    m_model.setHalfViewAngle(qDegreesToRadians(angles[2]));
    m_model.setRadarPosition(ReferenceHeight, m_previous.xOffset, 0.0, qDegreesToRadians(angles[0]),
        qDegreesToRadians(angles[1]));
    if (!m_model.rescale(m_model.width(), m_model.height()))
        return trial;
    const QPointF camera = m_model.cameraPosition();
    const double cameraHeight = m_model.cameraHeight();

    // Each marked Y is camera Y + shift + scale * a, the entered segment length
    // scale * d: fit shift (the radar's Y) and scale (of the camera height).
    std::array<double, 4> a {};
    std::array<double, 4> b {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const QPointF point = m_model.xyFromScreen(m_checkpoints.at(i).first, &ok);
        if (!ok)
            return trial;
        a[i] = point.y() - camera.y();
        b[i] = m_checkpoints.at(i).second - camera.y();
    }
    double d = 0.0;
    double length = 0.0;
    if (m_residualCount == 5) {
        bool firstOk = false;
        bool secondOk = false;
        const QPointF first = m_model.xyFromScreen(m_checkpoints.at(4).first, &firstOk);
        const QPointF second = m_model.xyFromScreen(m_checkpoints.at(5).first, &secondOk);
        if (!firstOk || !secondOk)
            return trial;
        d = QLineF(first, second).length();
        length = m_checkpoints.at(5).second;
    }

    double sumA = 0.0;
    double sumAA = d * d;
    double sumB = 0.0;
    double sumAB = d * length;
    for (int i = 0; i < 4; ++i) {
        sumA += a[i];
        sumAA += a[i] * a[i];
        sumB += b[i];
        sumAB += a[i] * b[i];
    }
    const double det = 4.0 * sumAA - sumA * sumA;
    if (!(std::abs(det) > 1.0e-12 * (1.0 + sumAA)))
        return trial;
    double shift = (sumAA * sumB - sumA * sumAB) / det;
    double scale = (4.0 * sumAB - sumA * sumB) / det;

    const double minScale = MinCameraHeight / cameraHeight;
    const double maxScale = MaxCameraHeight / cameraHeight;
    if (scale < minScale || scale > maxScale) {
        scale = qBound(minScale, scale, maxScale);
        shift = (sumB - scale * sumA) / 4.0;
        trial.clamped = true;
    }
    if (std::abs(shift) > MaxYOffset) {
        shift = qBound(-MaxYOffset, shift, MaxYOffset);
        scale = qBound(minScale, (sumAB - shift * sumA) / sumAA, maxScale);
        trial.clamped = true;
    }

    double score = 0.0;
    for (int i = 0; i < 4; ++i) {
        trial.residuals[i] = shift + scale * a[i] - b[i];
        score += trial.residuals[i] * trial.residuals[i];
    }
    if (m_residualCount == 5) {
        trial.residuals[4] = scale * d - length;
        score += trial.residuals[4] * trial.residuals[4];
    }
    if (!std::isfinite(score))
        return trial;
    trial.score = score;
    trial.yOffset = shift;
    // The configured camera offset over the radar stays as it is.
    trial.height = scale * cameraHeight - (cameraHeight - ReferenceHeight);
    trial.valid = true;
    return trial;
}

WidePickupSearch::Trial WidePickupSearch::descend(Angles &angles)
{
    Trial current = evaluate(angles);
    if (!current.valid)
        return current;
    const int n = m_angleCount;
    double damping = InitialDamping;
    for (int step = 0; step < MaxDescentSteps && current.score > 0.0; ++step) {
        std::array<std::array<double, MaxAngles>, MaxResiduals> jacobian {};
        for (int j = 0; j < n; ++j) {
            Angles probe = angles;
            double h = DerivativeStep;
            if (probe[j] + h > m_high[j])
                h = -h;
            probe[j] += h;
            const Trial moved = evaluate(probe);
            if (!moved.valid)
                continue;
            for (int i = 0; i < m_residualCount; ++i)
                jacobian[i][j] = (moved.residuals[i] - current.residuals[i]) / h;
        }
        std::array<std::array<double, MaxAngles>, MaxAngles> normal {};
        std::array<double, MaxAngles> gradient {};
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k) {
                for (int i = 0; i < m_residualCount; ++i)
                    normal[j][k] += jacobian[i][j] * jacobian[i][k];
            }
            for (int i = 0; i < m_residualCount; ++i)
                gradient[j] -= jacobian[i][j] * current.residuals[i];
        }

        bool improved = false;
        double largestMove = 0.0;
        while (!improved && damping < MaxDamping) {
            std::array<std::array<double, MaxAngles>, MaxAngles> damped = normal;
            for (int j = 0; j < n; ++j)
                damped[j][j] += damping * (normal[j][j] + 1.0e-12);
            std::array<double, MaxAngles> delta {};
            if (!solved<MaxAngles>(damped, gradient, n, &delta)) {
                damping *= 4.0;
                continue;
            }
            Angles next = angles;
            for (int j = 0; j < n; ++j)
                next[j] += delta[j];
            next = clamped(next);
            largestMove = 0.0;
            for (int j = 0; j < n; ++j)
                largestMove = qMax(largestMove, std::abs(next[j] - angles[j]));
            const Trial trial = evaluate(next);
            if (trial.valid && trial.score < current.score) {
                angles = next;
                current = trial;
                damping = qMax(damping / 3.0, 1.0e-12);
                improved = true;
            } else {
                damping *= 4.0;
            }
            if (largestMove < SmallestStep)
                break;
        }
        if (!improved || largestMove < SmallestStep)
            break;
    }
    return current;
}

WidePickupSearch::Angles WidePickupSearch::clamped(const Angles &angles) const
{
    Angles result = angles;
    for (int j = 0; j < MaxAngles; ++j)
        result[j] = qBound(m_low[j], result[j], m_high[j]);
    return result;
}

bool WidePickupSearch::isOnBound(const Angles &angles) const
{
    for (int j = 0; j < m_angleCount; ++j) {
        if (angles[j] - m_low[j] < BoundTolerance || m_high[j] - angles[j] < BoundTolerance)
            return true;
    }
    return false;
}

CameraParams WidePickupSearch::paramsOf(const Angles &angles, const Trial &trial) const
{
    CameraParams p;
    p.xOffset = m_previous.xOffset;
    p.yOffset = trial.yOffset;
    p.height = trial.height;
    p.azimuth = angles[0];
    p.altitude = angles[1];
    p.roll = 0.0;
    p.viewAngle = m_angleCount == 3 ? angles[2] : m_previous.viewAngle;
    return p;
}
