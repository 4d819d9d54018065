// One radar frame of 64 objects from the client's binary-message slot through every view
// the main window feeds with it: the objects table, the objects history, the imitator
// view, the general info, the sorting with its current and average tracks, the traffic
// scheme and the projection. The messages come from the simulator's radar at full load
// on its default road; the views are shown offscreen and wired as the window wires them.
// Painting is excluded: no event loop runs between frames.

#include "generalinfowidget.h"
#include "historytablewidget.h"
#include "imitatorobjectwidget.h"
#include "objectshelper.h"
#include "objectstablewidget.h"
#include "projectionwidget.h"
#include "radaremulator.h"
#include "radarframeencoder.h"
#include "roadbuilder.h"
#include "roadconfigfile.h"
#include "roadobjectswidget.h"
#include "vantorserialqelprotocolclient.h"

#include <QApplication>
#include <QMetaMethod>

#include <benchmark/benchmark.h>

namespace {

constexpr int DistinctMessages = 512;
constexpr int CycleMs = 100;

// Time-stamped radar cycles of the simulator at full load on its default road.
QList<QByteArray> radarMessages(const QJsonObject &road)
{
    QMap<int, QPolygonF> lanes;
    RoadBuilder builder;
    QObject::connect(&builder, &RoadBuilder::laneCenterLines,
        [&lanes](const QMap<int, QPolygonF> &lines) { lanes = lines; });
    builder.setRoadConfig(road);

    RadarEmulator::Settings settings;
    settings.traffic.maxLoad = true;
    RadarEmulator radar(settings);
    radar.setLanes(lanes);
    QList<QByteArray> areas;
    QObject::connect(&radar, &RadarEmulator::radarMessage,
        [&areas](const QByteArray &area) { areas.append(area); });
    // Let the traffic fill the road before the cycles are kept.
    for (int i = 0; i < 200; ++i)
        radar.runCycle();
    areas.clear();
    for (int i = 0; i < DistinctMessages; ++i)
        radar.runCycle();

    QList<QByteArray> messages;
    const QDateTime start(QDate(2026, 12, 10), QTime(8, 0), Qt::UTC);
    for (int i = 0; i < areas.size(); ++i)
        messages << RadarFrameEncoder::timeStampHeader(start.addMSecs(CycleMs * i)) + areas.at(i);
    return messages;
}

QJsonObject tvmsConfig()
{
    return { { QStringLiteral("horizontal_view_angle"), 40.0 }, { QStringLiteral("z_offset"), 0.0 },
        { QStringLiteral("video_delay"), 0 } };
}

// The displays and the road of the main window, wired to one client as the window wires
// them.
struct Views
{
    RoadBuilder roadBuilder;
    ObjectsHelper objectsHelper;
    ObjectsTableWidget objectsTable;
    HistoryTableWidget history;
    ImitatorObjectWidget imitator;
    GeneralInfoWidget generalInfo;
    RoadObjectsWidget scheme;
    ProjectionWidget projection;

    void connectRoad()
    {
        ProjectionDrawer *drawer = projection.drawer();
        QObject::connect(&roadBuilder, &RoadBuilder::applyingRoadStarted, &scheme,
            &RoadObjectsWidget::startApplyingRoad);
        QObject::connect(&roadBuilder, &RoadBuilder::applyingRoadStarted, drawer,
            &ProjectionDrawer::startApplyingRoad);
        QObject::connect(&roadBuilder, &RoadBuilder::applyingRoadStarted, &objectsHelper,
            &ObjectsHelper::startApplyingRoad);
        QObject::connect(
            &roadBuilder, &RoadBuilder::roadAxisLine, &scheme, &RoadObjectsWidget::setRoadAxisLine);
        QObject::connect(
            &roadBuilder, &RoadBuilder::roadAxisLine, drawer, &ProjectionDrawer::setRoadAxisLine);
        QObject::connect(&roadBuilder, &RoadBuilder::laneBorderLines, &scheme,
            &RoadObjectsWidget::setLaneBorderLines);
        QObject::connect(&roadBuilder, &RoadBuilder::laneBorderLines, drawer,
            &ProjectionDrawer::setLaneBorderLines);
        QObject::connect(&roadBuilder, &RoadBuilder::roadBorderLines, &scheme,
            &RoadObjectsWidget::setRoadBorderLines);
        QObject::connect(&roadBuilder, &RoadBuilder::roadBorderLines, drawer,
            &ProjectionDrawer::setRoadBorderLines);
        QObject::connect(&roadBuilder, &RoadBuilder::distanceLines, &scheme,
            &RoadObjectsWidget::setDistanceLines);
        QObject::connect(
            &roadBuilder, &RoadBuilder::distanceLines, drawer, &ProjectionDrawer::setDistanceLines);
        QObject::connect(&roadBuilder, &RoadBuilder::laneCenterLines, &objectsHelper,
            &ObjectsHelper::setLaneCenterLines);
        QObject::connect(&roadBuilder, &RoadBuilder::roadTanAngles, &scheme,
            &RoadObjectsWidget::setRoadTanAngles);
        QObject::connect(&roadBuilder, &RoadBuilder::applyingRoadFinished, &scheme,
            &RoadObjectsWidget::finishApplyingRoad);
        QObject::connect(&roadBuilder, &RoadBuilder::applyingRoadFinished, drawer,
            &ProjectionDrawer::finishApplyingRoad);
        QObject::connect(&roadBuilder, &RoadBuilder::applyingRoadFinished, &objectsHelper,
            &ObjectsHelper::finishApplyingRoad);

        QObject::connect(&objectsHelper, &ObjectsHelper::currentTracks, &scheme,
            &RoadObjectsWidget::setCurrentTracks);
        QObject::connect(&objectsHelper, &ObjectsHelper::currentTracks, drawer,
            &ProjectionDrawer::setCurrentTracks);
        QObject::connect(&objectsHelper, &ObjectsHelper::sortingFinished, &scheme,
            qOverload<const QVector<quint8> &>(&RoadObjectsWidget::finishFilling));
        QObject::connect(&objectsHelper, &ObjectsHelper::sortingFinished, drawer,
            &ProjectionDrawer::finishFilling);
        QObject::connect(&objectsHelper, &ObjectsHelper::averageTracks, &scheme,
            &RoadObjectsWidget::setAverageTracks);
        QObject::connect(&objectsHelper, &ObjectsHelper::averageTracks, drawer,
            &ProjectionDrawer::setAverageTracks);
    }

    void connectClient(IVantorClient *client)
    {
        ProjectionDrawer *drawer = projection.drawer();
        QObject::connect(client, &IVantorClient::radarStateChanged, &objectsTable,
            &ObjectsTableWidget::showRadarState);
        QObject::connect(client, &IVantorClient::radarStateChanged, &imitator,
            &ImitatorObjectWidget::showRadarState);
        QObject::connect(client, &IVantorClient::radarStateChanged, &generalInfo,
            &GeneralInfoWidget::showRadarState);
        QObject::connect(
            client, &IVantorClient::radarStateChanged, &scheme, &RoadObjectsWidget::showRadarState);
        QObject::connect(
            client, &IVantorClient::radarStateChanged, drawer, &ProjectionDrawer::showRadarState);
        QObject::connect(client, &IVantorClient::radarStateChanged, &objectsHelper,
            &ObjectsHelper::setRadarState);

        const QList<GroupedWidget *> frameDisplays = { &objectsTable, &imitator, &history };
        for (GroupedWidget *display : frameDisplays) {
            QObject::connect(
                client, &IVantorClient::frameStarted, display, &GroupedWidget::startFilling);
            QObject::connect(
                client, &IVantorClient::objectData, display, &GroupedWidget::addObject);
            QObject::connect(
                client, &IVantorClient::frameFinished, display, &GroupedWidget::finishFilling);
        }
        QObject::connect(
            client, &IVantorClient::frameStarted, &scheme, &RoadObjectsWidget::startFilling);
        QObject::connect(
            client, &IVantorClient::objectData, &scheme, &RoadObjectsWidget::addObject);
        QObject::connect(
            client, &IVantorClient::frameStarted, drawer, &ProjectionDrawer::startFilling);
        QObject::connect(client, &IVantorClient::objectData, drawer, &ProjectionDrawer::addObject);
        QObject::connect(
            client, &IVantorClient::frameStarted, &objectsHelper, &ObjectsHelper::startFilling);
        QObject::connect(
            client, &IVantorClient::objectData, &objectsHelper, &ObjectsHelper::addObject);
        QObject::connect(
            client, &IVantorClient::frameFinished, &objectsHelper, &ObjectsHelper::finishFilling);
        QObject::connect(client, &IVantorClient::frameDateTimeUtc, &scheme,
            &RoadObjectsWidget::setFrameDateTimeUtc);
        QObject::connect(client, &IVantorClient::frameDateTimeUtc, drawer,
            &ProjectionDrawer::setFrameDateTimeUtc);
        QObject::connect(client, &IVantorClient::frameDateTimeUtc, &objectsHelper,
            &ObjectsHelper::setFrameDateTimeUtc);
        QObject::connect(
            client, &IVantorClient::cycleNumber, &objectsHelper, &ObjectsHelper::setCycleNumber);
        QObject::connect(client, &IVantorClient::frameDateTimeUtc, &generalInfo,
            &GeneralInfoWidget::setFrameDateTimeUtc);
        QObject::connect(client, &IVantorClient::frameDateTimeUtc, &history,
            &HistoryTableWidget::setFrameDateTimeUtc);
        QObject::connect(
            client, &IVantorClient::uptimeInfo, &generalInfo, &GeneralInfoWidget::showUptimeInfo);
        QObject::connect(
            client, &IVantorClient::cycleNumber, &generalInfo, &GeneralInfoWidget::showCycleNumber);
    }

    void show()
    {
        objectsTable.resize(700, 400);
        history.resize(700, 400);
        imitator.resize(400, 100);
        scheme.resize(1280, 400);
        projection.resize(1280, 720);
        for (QWidget *w : QList<QWidget *> {
                 &objectsTable, &history, &imitator, &generalInfo, &scheme, &projection })
            w->show();
    }
};

void BM_FrameThroughViews(benchmark::State &state)
{
    const QJsonObject road = RoadConfigFile::defaultRoad();
    const QList<QByteArray> messages = radarMessages(road);

    Views views;
    views.connectRoad();
    views.roadBuilder.setRoadConfig(road);
    ProjectionDrawer *drawer = views.projection.drawer();
    drawer->setTvmsConfig(tvmsConfig());
    drawer->showPosition(6.0, 0.0, -4.0, 0.0, -8.0, 0.0);
    views.show();

    VantorSerialQelProtocolClient client;
    views.connectClient(&client);
    const QMetaObject *meta = client.metaObject();
    const QMetaMethod handler
        = meta->method(meta->indexOfMethod("onServerDataReceived(QByteArray)"));
    if (!handler.isValid()) {
        state.SkipWithError("message handler not found");
        return;
    }
    const auto handle = [&](int i) {
        handler.invoke(
            &client, Qt::DirectConnection, Q_ARG(QByteArray, messages.at(i % messages.size())));
    };

    // Bring the radar to work and the history to its row limit, so that every frame
    // also trims it.
    int next = 0;
    while (views.history.model()->rowCount() < HistoryModel::MaxRows && next < 10000)
        handle(next++);
    for (auto _ : state)
        handle(next++);

    if (client.radarState() != IVantorClient::Working || views.objectsTable.model()->rowCount() < 32
        || views.objectsHelper.sortedObjectIds().size() < 32) {
        state.SkipWithError("the frames did not reach the views");
        return;
    }
    state.counters["objects"] = views.objectsTable.model()->rowCount();
    state.counters["frames"]
        = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FrameThroughViews)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // The simulator logs its start-up; keep the figures readable.
    qputenv("QT_LOGGING_RULES", "*.info=false");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
