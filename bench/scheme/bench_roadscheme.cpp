#include "objectshelper.h"
#include "roadbuilder.h"
#include "roadschemepainter.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

constexpr int ObjectCount = 64;
constexpr int FrameCount = 400; // frames prepared; the timed loop cycles through them
const QSize FrameSize(1920, 1080);

// A 1 km road: 1 m median strip, two 3.5 m lanes and a 2 m roadside per side, 600 m
// straight and a 400 m arc.
QJsonObject roadConfig()
{
    const QJsonObject lane { { "is_lane", true }, { "width", 3.5 } };
    const QJsonObject roadside { { "is_lane", false }, { "width", 2.0 } };
    return QJsonObject { { "parts",
                             QJsonObject { { "0", QJsonObject { { "width", 1.0 } } }, { "1", lane },
                                 { "2", lane }, { "3", roadside }, { "-1", lane }, { "-2", lane },
                                 { "-3", roadside } } },
        { "sections",
            QJsonArray { QJsonObject { { "is_curved", false }, { "length", 600 } },
                QJsonObject { { "is_curved", true }, { "length", 400 }, { "radius", 800 } } } } };
}

// 64 vehicles driving along the lanes at 10 frames/s, exactly or with the simulator's
// measurement noise (0.15 m along the road, 0.10 m across).
class Traffic
{
public:
    explicit Traffic(bool noisy)
        : m_noisy(noisy)
    { }

    RoadObjectFrame frame(const QMap<int, QPolygonF> &lanes, int f)
    {
        RoadObjectFrame frame;
        frame.cycleNumber = quint64(f);
        for (int i = 0; i < ObjectCount; ++i) {
            const int laneKey = QVector<int> { -2, -1, 1, 2 }.at(i % 4);
            const QPolygonF &centre = lanes.value(laneKey);
            const double speed = 12.0 + (i * 7) % 20;
            const double length = centre.size() - 1;
            double s = std::fmod(i * 15.6 + f * speed * 0.1, length);
            if (laneKey > 0)
                s = length - s; // the left lanes come towards the radar
            const int k = qMin(int(s), centre.size() - 2);
            QPointF p = centre.at(k) + (s - k) * (centre.at(k + 1) - centre.at(k));
            if (m_noisy)
                p += QPointF(m_noise(m_random) * 0.15, m_noise(m_random) * 0.10);
            frame.objects.append(RoadObject(quint8(i + 1), laneKey < 0 ? speed : -speed, 0.0, p.x(),
                p.y(), i % 7 ? 4.5 : 16.0, QDateTime()));
        }
        return frame;
    }

private:
    bool m_noisy;
    std::mt19937 m_random { 1 };
    std::normal_distribution<double> m_noise;
};

struct Frame
{
    QVector<RoadObject> objects;
    QMap<quint8, QPolygonF> tracks;
};

// The road with its traffic; the tracks come from ObjectsHelper as in the program.
class SchemeScene
{
public:
    explicit SchemeScene(bool noisy)
        : m_traffic(noisy)
    {
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadStarted, &m_helper,
            &ObjectsHelper::startApplyingRoad);
        QObject::connect(&m_builder, &RoadBuilder::laneCenterLines, &m_helper,
            &ObjectsHelper::setLaneCenterLines);
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadFinished, &m_helper,
            &ObjectsHelper::finishApplyingRoad);
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadStarted,
            [this](const QRectF &r) { m_painter.setRoadRect(r); });
        QObject::connect(&m_builder, &RoadBuilder::roadAxisLine,
            [this](const QPolygonF &l) { m_painter.setRoadAxisLine(l); });
        QObject::connect(&m_builder, &RoadBuilder::laneBorderLines,
            [this](const QList<QPolygonF> &l) { m_painter.setLaneBorderLines(l); });
        QObject::connect(&m_builder, &RoadBuilder::roadBorderLines,
            [this](const QList<QPolygonF> &l) { m_painter.setRoadBorderLines(l); });
        QObject::connect(&m_builder, &RoadBuilder::distanceLines,
            [this](const QMap<int, QPolygonF> &l) { m_painter.setDistanceLines(l); });
        QObject::connect(&m_builder, &RoadBuilder::roadTanAngles,
            [this](const QMap<int, double> &a) { m_painter.setRoadTanAngles(a); });
        QObject::connect(&m_builder, &RoadBuilder::laneCenterLines,
            [this](const QMap<int, QPolygonF> &l) { m_lanes = l; });
        QObject::connect(&m_helper, &ObjectsHelper::currentTracks,
            [this](const QMap<quint8, QPolygonF> &t) { m_tracks = t; });
        QObject::connect(&m_helper, &ObjectsHelper::averageTracks,
            [this](const QMap<int, QPolygonF> &t) { m_painter.setAverageTracks(t); });

        m_builder.setRoadConfig(roadConfig());

        m_painter.setShowCurrentTracks(true);
        m_painter.setShowAverageTracks(true);
        m_painter.setRadarPosition(QPointF(0, 0), 0.0);
        m_painter.setSight(QPointF(0, 0), QPointF(150, 0),
            QPolygonF(QVector<QPointF> {
                QPointF(10, -5), QPointF(300, -60), QPointF(300, 60), QPointF(10, 5) }));

        // Drive long enough for full tracks, then keep the frames to replay.
        for (int f = 0; f < 2 * ObjectsHelper::MaxTrackPoints + FrameCount; ++f) {
            const Frame frame = doStep(f);
            if (f >= 2 * ObjectsHelper::MaxTrackPoints)
                m_frames.append(frame);
        }
    }

    RoadSchemePainter &painter() { return m_painter; }
    const Frame &frame(int i) const { return m_frames.at(i % m_frames.size()); }

private:
    Frame doStep(int f)
    {
        m_helper.sortFrame(m_traffic.frame(m_lanes, f));
        Frame frame;
        frame.tracks = m_tracks;
        return frame;
    }

    Traffic m_traffic;
    RoadBuilder m_builder;
    ObjectsHelper m_helper;
    RoadSchemePainter m_painter;
    QMap<int, QPolygonF> m_lanes;
    QMap<quint8, QPolygonF> m_tracks;
    QVector<Frame> m_frames;
};

SchemeScene &scene(bool noisy)
{
    static SchemeScene exact(false);
    static SchemeScene measured(true);
    return noisy ? measured : exact;
}

// One frame as the view draws it: the new objects and tracks, the exposure step and the
// paint of the whole 1920 x 1080 image.
void BM_RenderFrame(benchmark::State &state)
{
    SchemeScene &s = scene(state.range(2) != 0);
    RoadSchemePainter &painter = s.painter();
    painter.setTracksDisplayMode(int(state.range(0)));
    painter.setDrawVertical(state.range(1) != 0);
    QImage image(FrameSize, QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        const Frame &frame = s.frame(i++);
        QVector<RoadObject> objects;
        for (auto it = frame.tracks.cbegin(); it != frame.tracks.cend(); ++it) {
            const QPointF p = it.value().constLast();
            objects.append(RoadObject(it.key(), 20.0, 0.0, p.x(), p.y(), 4.5, QDateTime()));
        }
        painter.setObjects(objects);
        painter.setCurrentTracks(frame.tracks);
        painter.exposeObjects(FrameSize);
        QPainter p(&image);
        painter.paint(p, FrameSize);
    }
    state.SetLabel(QString("%1 objects, %2 track points")
                       .arg(s.frame(0).tracks.size())
                       .arg([&] {
                           int n = 0;
                           for (const QPolygonF &t : s.frame(0).tracks)
                               n += t.size();
                           return n;
                       }())
                       .toStdString());
}

} // namespace

// ObjectsHelper's work on one frame of 64 vehicles with full tracks: the order, the
// current tracks, the lanes' stations and the average tracks, handed to receivers that
// keep them until the next frame as the views do.
void BM_SortFrame(benchmark::State &state)
{
    RoadBuilder builder;
    ObjectsHelper helper;
    QMap<int, QPolygonF> lanes;
    QObject::connect(
        &builder, &RoadBuilder::applyingRoadStarted, &helper, &ObjectsHelper::startApplyingRoad);
    QObject::connect(
        &builder, &RoadBuilder::laneCenterLines, &helper, &ObjectsHelper::setLaneCenterLines);
    QObject::connect(
        &builder, &RoadBuilder::applyingRoadFinished, &helper, &ObjectsHelper::finishApplyingRoad);
    QObject::connect(&builder, &RoadBuilder::laneCenterLines,
        [&lanes](const QMap<int, QPolygonF> &l) { lanes = l; });
    builder.setRoadConfig(roadConfig());

    QMap<quint8, QPolygonF> tracks;
    RoadObjectFrame sorted;
    QMap<int, QPolygonF> average;
    LaneFrame onLanes;
    QObject::connect(&helper, &ObjectsHelper::currentTracks,
        [&tracks](const QMap<quint8, QPolygonF> &t) { tracks = t; });
    QObject::connect(
        &helper, &ObjectsHelper::frameSorted, [&sorted](const RoadObjectFrame &f) { sorted = f; });
    QObject::connect(&helper, &ObjectsHelper::averageTracks,
        [&average](const QMap<int, QPolygonF> &t) { average = t; });
    QObject::connect(
        &helper, &ObjectsHelper::laneFrame, [&onLanes](const LaneFrame &f) { onLanes = f; });

    Traffic traffic(state.range(0) != 0);
    QVector<RoadObjectFrame> frames;
    for (int f = 0; f < 2 * ObjectsHelper::MaxTrackPoints + FrameCount; ++f) {
        RoadObjectFrame frame = traffic.frame(lanes, f);
        if (f < 2 * ObjectsHelper::MaxTrackPoints)
            helper.sortFrame(frame);
        else
            frames.append(frame);
    }
    const quint64 start = 2 * ObjectsHelper::MaxTrackPoints;
    quint64 cycle = start;
    for (auto _ : state) {
        RoadObjectFrame frame = frames.at(int((cycle - start) % FrameCount));
        frame.cycleNumber = cycle++;
        helper.sortFrame(frame);
    }
}

BENCHMARK(BM_SortFrame)->ArgNames({ "noise" })->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_RenderFrame)
    ->ArgNames({ "mode", "vertical", "noise" })
    ->Args({ 0, 0, 0 })
    ->Args({ 1, 0, 0 })
    ->Args({ 2, 0, 0 })
    ->Args({ 0, 1, 0 })
    ->Args({ 1, 1, 0 })
    ->Args({ 2, 1, 0 })
    ->Args({ 0, 0, 1 })
    ->Args({ 2, 0, 1 })
    ->Unit(benchmark::kMillisecond);
