// Puts a camera configuration (JSON, as a work profile holds it under "tvms_config"), a radar
// position and a frame size through the camera model, maps the marked checkpoints back and
// forth, and on request runs the pick-up of the radar position from those checkpoints as
// the projection view does (with the view angle, only its grid search).
//
// Checked besides memory errors and undefined behaviour: a valid model has a finite view
// footprint and puts picture points on finite road points that map back to the same pixel;
// a camera the pick-up offers is finite, and a picked one puts every checkpoint within
// CameraPickup::MaxMiss pixels of its mark.

#include "cameramodel.h"
#include "camerapickup.h"
#include "fuzzcheck.h"
#include "fuzzreader.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineF>
#include <QtMath>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool isFinite(const QPointF &point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

bool isFinite(const CameraParams &p)
{
    return std::isfinite(p.xOffset) && std::isfinite(p.yOffset) && std::isfinite(p.height)
        && std::isfinite(p.azimuth) && std::isfinite(p.altitude) && std::isfinite(p.roll)
        && std::isfinite(p.viewAngle);
}

// Far from the radar the doubles of the road coordinates no longer hold a pixel's worth of
// precision, so the round trip is only checked within this distance.
constexpr double RoundTripRange = 1.0e5;

void checkModel(const CameraModel &model, const PickupSearch::Checkpoints &checkpoints)
{
    if (!model.isValid())
        return;
    const CameraModel::Sight sight = model.sight();
    FUZZ_CHECK(isFinite(sight.camera) && isFinite(sight.aim) && sight.area.size() == 4);
    for (const QPointF &corner : sight.area)
        FUZZ_CHECK(isFinite(corner));
    for (const auto &mark : checkpoints) {
        bool ok = false;
        const QPointF road = model.xyFromScreen(mark.first, &ok);
        if (!ok)
            continue;
        FUZZ_CHECK(isFinite(road));
        const bool inside = mark.first.x() >= 0 && mark.first.x() < model.width()
            && mark.first.y() >= 0 && mark.first.y() < model.height();
        if (!inside || QLineF(sight.camera, road).length() > RoundTripRange
            || std::abs(sight.camera.x()) > RoundTripRange
            || std::abs(sight.camera.y()) > RoundTripRange)
            continue;
        const QPointF exact = model.screenPointOf(road, &ok);
        FUZZ_CHECK(ok && QLineF(exact, QPointF(mark.first)).length() < 1.0);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    return 0;
}

// Byte 0: bit 1 runs the pick-up of the radar position, bit 0 with the view angle (mode 2;
// then only the grid search). Then the frame
// width and height (16 bits each), the radar's height, X, Y, azimuth and altitude (doubles,
// metres and degrees), the previous radar X and half view angle (doubles), six checkpoints
// (16-bit X and Y pixel, double value) and the camera configuration as JSON text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzReader in(data, size);
    const auto flags = in.take<uint8_t>();
    const int width = in.take<uint16_t>();
    const int height = in.take<uint16_t>();
    double position[5];
    for (double &value : position)
        value = in.take<double>();
    CameraParams previous;
    previous.xOffset = in.take<double>();
    previous.viewAngle = in.take<double>();
    PickupSearch::Checkpoints checkpoints;
    for (int i = 0; i < 6; ++i) {
        const int x = in.take<int16_t>();
        const int y = in.take<int16_t>();
        checkpoints.append({ QPoint(x, y), in.take<double>() });
    }
    if (!in.isComplete())
        return 0;

    const QJsonObject config = QJsonDocument::fromJson(in.rest()).object();
    CameraModel model;
    model.setConfig(config);
    FUZZ_CHECK(model.videoDelay() >= 0 && std::isfinite(model.halfViewAngle()));
    model.setRadarPosition(position[0], position[1], position[2], qDegreesToRadians(position[3]),
        qDegreesToRadians(position[4]));
    const bool valid = model.rescale(width, height);
    FUZZ_CHECK(valid == model.isValid());
    checkModel(model, checkpoints);

    if (!(flags & 2))
        return 0;
    if (flags & 1) {
        // With the view angle, the whole pick-up takes seconds under the sanitizers (the
        // wide search): only the grid search's two passes run.
        PickupSearch search(model, PickupSearch::RadarPositionAndViewAngle, checkpoints, previous);
        if (!search.run(false))
            return 0;
        FUZZ_CHECK(isFinite(search.picked()));
        if (!search.run(true, search.picked()))
            return 0;
        FUZZ_CHECK(isFinite(search.picked()));
        CameraModel picked = model;
        if (PickupSearch::applyTrial(picked, search.picked()))
            checkModel(picked, checkpoints);
        return 0;
    }
    const auto mode = PickupSearch::RadarPosition;
    const CameraPickup::Result result = CameraPickup::pick(model, mode, checkpoints, previous);
    if (result.outcome == CameraPickup::Outcome::Failed)
        return 0;
    FUZZ_CHECK(isFinite(result.params));
    FUZZ_CHECK(result.fit.misses.size() == PickupSearch::requiredCheckpoints(mode));
    if (result.outcome != CameraPickup::Outcome::Picked)
        return 0;
    FUZZ_CHECK(!result.onEdge && result.fit.worstMiss <= CameraPickup::MaxMiss);
    for (int i = 0; i < result.fit.misses.size(); ++i)
        FUZZ_CHECK(result.fit.misses.at(i) >= 0.0
            && result.fit.misses.at(i) <= CameraPickup::MaxMiss
            && isFinite(result.fit.pixels.at(i)));
    CameraModel picked = model;
    FUZZ_CHECK(PickupSearch::applyTrial(picked, result.params));
    checkModel(picked, checkpoints);
    return 0;
}
