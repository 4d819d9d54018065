// One frame of the projection window's drawing as the program drives it: the road scene's
// new current tracks, the sorted frame and, when they changed, the average tracks reach the
// drawer, which then paints the whole picture. The scene is the load harness's: a curved
// road of two lanes each way (here with 700 m more straight road, so that the tracks reach
// their full length), a 30 degree camera 6 m over the radar tilted 5.5 degrees
// down, lane and distance lines, object outlines, current and average tracks, 64 objects
// at 20 frames per second.

#include "objectshelper.h"
#include "projectiondrawer.h"
#include "roadbuilder.h"

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
constexpr double FrameSeconds = 0.05;
const QSize PictureSize(1280, 720);

struct Frame
{
    QMap<quint8, QPolygonF> tracks;
    RoadObjectFrame sorted;
    QMap<int, QPolygonF> averageTracks;
    bool averageChanged = false;
};

QJsonObject roadConfig()
{
    const QJsonObject lane { { "is_lane", true }, { "width", 3.5 } };
    const QJsonObject roadside { { "is_lane", false }, { "width", 2.5 } };
    return QJsonObject { { "origin_offset", 7 },
        { "parts",
            QJsonObject { { "0", QJsonObject { { "is_lane", false }, { "width", 1.0 } } },
                { "1", lane }, { "2", lane }, { "3", roadside }, { "-1", lane }, { "-2", lane },
                { "-3", roadside } } },
        { "sections",
            QJsonArray { QJsonObject { { "is_curved", false }, { "length", 100 } },
                QJsonObject { { "is_curved", true }, { "length", 160 }, { "radius", 400 } },
                QJsonObject { { "is_curved", false }, { "length", 700 } } } } };
}

// The road built and the traffic driven through ObjectsHelper, wired to the drawer as the
// program wires the road scene; the frames are recorded first and replayed to the drawer.
class ProjectionScene
{
public:
    ProjectionScene()
        : m_drawer(&m_image)
    {
        m_drawer.setPictureSize(PictureSize);
        m_drawer.setTvmsConfig(QJsonObject { { "horizontal_view_angle", 30.0 }, { "x_offset", 0.0 },
            { "y_offset", 0.0 }, { "z_offset", 0.0 }, { "video_delay", 0 } });
        m_drawer.showPosition(6.0, 0.0, 0.0, 0.0, 5.5, 0.0);
        m_drawer.setShowLaneLines(true);
        m_drawer.setShowDistLines(true);
        m_drawer.setShowObjectDimensions(true);
        m_drawer.setShowCurrentTracks(true);
        m_drawer.setShowAverageTracks(true);
        m_drawer.setPaintObjects(true);

        ProjectionDrawer *drawer = &m_drawer;
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadStarted, drawer,
            &ProjectionDrawer::startApplyingRoad);
        QObject::connect(&m_builder, &RoadBuilder::laneBorderLines, drawer,
            &ProjectionDrawer::setLaneBorderLines);
        QObject::connect(&m_builder, &RoadBuilder::roadBorderLines, drawer,
            &ProjectionDrawer::setRoadBorderLines);
        QObject::connect(
            &m_builder, &RoadBuilder::distanceLines, drawer, &ProjectionDrawer::setDistanceLines);
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadFinished, drawer,
            &ProjectionDrawer::finishApplyingRoad);
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadStarted, &m_helper,
            &ObjectsHelper::startApplyingRoad);
        QObject::connect(&m_builder, &RoadBuilder::laneCenterLines, &m_helper,
            &ObjectsHelper::setLaneCenterLines);
        QObject::connect(&m_builder, &RoadBuilder::applyingRoadFinished, &m_helper,
            &ObjectsHelper::finishApplyingRoad);
        QObject::connect(&m_builder, &RoadBuilder::laneCenterLines,
            [this](const QMap<int, QPolygonF> &l) { m_lanes = l; });
        QObject::connect(&m_helper, &ObjectsHelper::currentTracks,
            [this](const QMap<quint8, QPolygonF> &t) { m_step.tracks = t; });
        QObject::connect(&m_helper, &ObjectsHelper::frameSorted,
            [this](const RoadObjectFrame &f) { m_step.sorted = f; });
        QObject::connect(
            &m_helper, &ObjectsHelper::averageTracks, [this](const QMap<int, QPolygonF> &t) {
                m_step.averageTracks = t;
                m_step.averageChanged = true;
            });
        m_builder.setRoadConfig(roadConfig());

        // Drive long enough for full tracks, then keep the frames to replay.
        const int lead = 2 * ObjectsHelper::MaxTrackPoints;
        for (int f = 0; f < lead + FrameCount; ++f) {
            doStep(f);
            if (f >= lead)
                m_frames.append(m_step);
            else if (m_step.averageChanged)
                m_drawer.setAverageTracks(m_step.averageTracks);
        }
    }

    // Hands the drawer the frame as the road scene does, then paints the picture.
    void drawFrame(int i)
    {
        const Frame &frame = m_frames.at(i % m_frames.size());
        m_drawer.setCurrentTracks(frame.tracks);
        m_drawer.showFrame(frame.sorted);
        if (frame.averageChanged)
            m_drawer.setAverageTracks(frame.averageTracks);
        m_image.fill(Qt::transparent);
        QPainter painter(&m_image);
        m_drawer.paint(painter);
    }

    int trackPoints() const
    {
        int n = 0;
        for (const QPolygonF &t : m_frames.first().tracks)
            n += t.size();
        return n;
    }

private:
    void doStep(int f)
    {
        m_step = Frame();
        m_helper.setCycleNumber(quint64(f));
        m_helper.startFilling();
        const QVector<int> laneKeys { -2, -1, 1, 2 };
        for (int i = 0; i < ObjectCount; ++i) {
            const int laneKey = laneKeys.at(i % laneKeys.size());
            const QPolygonF &centre = m_lanes.value(laneKey);
            const double speed = 12.0 + (i * 7) % 20;
            const double length = centre.size() - 1;
            double s = std::fmod(i * 4.1 + f * speed * FrameSeconds, length);
            if (laneKey > 0)
                s = length - s; // the left lanes come towards the radar
            const int k = qMin(int(s), centre.size() - 2);
            QPointF p = centre.at(k) + (s - k) * (centre.at(k + 1) - centre.at(k));
            // The simulator's measurement noise: 0.15 m along the road, 0.10 m across.
            p += QPointF(m_noise(m_random) * 0.15, m_noise(m_random) * 0.10);
            m_helper.addObject(quint8(i + 1), laneKey < 0 ? speed : -speed, 0.0, p.x(), p.y(),
                i % 7 ? 4.5 : 16.0, QDateTime());
        }
        m_helper.finishFilling();
    }

    QImage m_image { PictureSize, QImage::Format_ARGB32_Premultiplied };
    ProjectionDrawer m_drawer;
    RoadBuilder m_builder;
    ObjectsHelper m_helper;
    QMap<int, QPolygonF> m_lanes;
    std::mt19937 m_random { 1 };
    std::normal_distribution<double> m_noise;
    Frame m_step;
    QVector<Frame> m_frames;
};

void BM_ProjectionFrame(benchmark::State &state)
{
    static ProjectionScene scene;
    int i = 0;
    for (auto _ : state)
        scene.drawFrame(i++);
    state.SetLabel(QString("%1 objects, %2 track points")
                       .arg(ObjectCount)
                       .arg(scene.trackPoints())
                       .toStdString());
}

} // namespace

BENCHMARK(BM_ProjectionFrame)->Unit(benchmark::kMillisecond);
