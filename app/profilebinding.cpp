#include "profilebinding.h"

#include "historytablewidget.h"
#include "imitatorobjectwidget.h"
#include "lanestatisticswindow.h"
#include "mainwindow.h"
#include "objectstablewidget.h"
#include "projectionwidget.h"
#include "radartuningwidget.h"
#include "roadconfigwidget.h"
#include "roadobjectswidget.h"
#include "roadscene.h"
#include "serverconnectionwidget.h"
#include "setpolygonwidget.h"
#include "setpositionwidget.h"
#include "tvmsconfigwidget.h"
#include "workprofilehandler.h"

namespace ProfileBinding {

void bindMenu(WorkProfileHandler *handler, const Ui::MainWindow &form)
{
    using H = WorkProfileHandler;
    struct Binding
    {
        QAction *action;
        void (H::*setter)(bool);
        void (H::*changed)(bool);
    };
    const Binding bindings[] = {
        { form.actionProtocolForcing, &H::setProtocolForcing, &H::protocolForcingChanged },
        { form.actionDrawVertical, &H::setDrawVertical, &H::drawVerticalChanged },
        { form.actionKeepAspectRatio, &H::setKeepAspectRatio, &H::keepAspectRatioChanged },
        { form.actionShowSightLine, &H::setShowSightLine, &H::showSightLineChanged },
        { form.actionShowCurrentTracksOnScheme, &H::setShowCurrentTracksOnScheme,
            &H::showCurrentTracksOnSchemeChanged },
        { form.actionShowAverageTracksOnScheme, &H::setShowAverageTracksOnScheme,
            &H::showAverageTracksOnSchemeChanged },
        { form.actionShowLaneLinesOnVideo, &H::setShowLaneLinesOnVideo,
            &H::showLaneLinesOnVideoChanged },
        { form.actionShowDistLinesOnVideo, &H::setShowDistLinesOnVideo,
            &H::showDistLinesOnVideoChanged },
        { form.actionShowObjectDimensionsOnVideo, &H::setShowObjectDimensionsOnVideo,
            &H::showObjectDimensionsOnVideoChanged },
        { form.actionShowCurrentTracksOnVideo, &H::setShowCurrentTracksOnVideo,
            &H::showCurrentTracksOnVideoChanged },
        { form.actionShowAverageTracksOnVideo, &H::setShowAverageTracksOnVideo,
            &H::showAverageTracksOnVideoChanged },
        { form.actionPaintObjects, &H::setPaintObjects, &H::paintObjectsChanged },
        { form.actionAutoGetData, &H::setAutoGetData, &H::autoGetDataChanged },
    };
    for (const Binding &binding : bindings) {
        QObject::connect(binding.action, &QAction::triggered, handler, binding.setter);
        QObject::connect(handler, binding.changed, binding.action, &QAction::setChecked);
    }
}

void bindViews(WorkProfileHandler *handler, const MainViews &views)
{
    using H = WorkProfileHandler;
    const auto announce = [handler](auto changed, auto *receiver, auto setter) {
        QObject::connect(handler, changed, receiver, setter);
    };
    // The URL is known before the client reports connecting to it.
    announce(&H::radarServerUrlChanged, views.serverConnection,
        &ServerConnectionWidget::setRadarServerUrl);

    RoadObjectsWidget *scheme = views.scheme;
    announce(&H::drawVerticalChanged, views.imitator, &ImitatorObjectWidget::setDrawVertical);
    announce(&H::drawVerticalChanged, scheme, &RoadObjectsWidget::setDrawVertical);
    announce(&H::keepAspectRatioChanged, scheme, &RoadObjectsWidget::setKeepAspectRatio);
    announce(&H::showSightLineChanged, scheme, &RoadObjectsWidget::setShowSightLine);
    announce(
        &H::showCurrentTracksOnSchemeChanged, scheme, &RoadObjectsWidget::setShowCurrentTracks);
    announce(
        &H::showAverageTracksOnSchemeChanged, scheme, &RoadObjectsWidget::setShowAverageTracks);
    announce(&H::tracksDisplayModeChanged, scheme, &RoadObjectsWidget::setTracksDisplayMode);
    announce(&H::roadConfigChanged, views.roadScene, &RoadScene::setRoadConfig);
    announce(&H::roadConfigChanged, views.roadConfig, &RoadConfigWidget::setRoadConfig);
    QObject::connect(
        views.roadConfig, &RoadConfigWidget::roadConfigChanged, handler, &H::setRoadConfig);

    ProjectionDrawer *drawer = views.projection->drawer();
    announce(&H::showLaneLinesOnVideoChanged, drawer, &ProjectionDrawer::setShowLaneLines);
    announce(&H::showDistLinesOnVideoChanged, drawer, &ProjectionDrawer::setShowDistLines);
    announce(
        &H::showObjectDimensionsOnVideoChanged, drawer, &ProjectionDrawer::setShowObjectDimensions);
    announce(&H::showCurrentTracksOnVideoChanged, drawer, &ProjectionDrawer::setShowCurrentTracks);
    announce(&H::showAverageTracksOnVideoChanged, drawer, &ProjectionDrawer::setShowAverageTracks);
    announce(&H::tvmsConfigChanged, drawer, &ProjectionDrawer::setTvmsConfig);
    announce(&H::tvmsConfigChanged, views.tvmsConfig, &TvmsConfigWidget::setTvmsConfig);
    QObject::connect(
        views.tvmsConfig, &TvmsConfigWidget::tvmsConfigChanged, handler, &H::setTvmsConfig);
    announce(&H::projectionBackgroundImageChanged, views.projection,
        &ProjectionWidget::setBackgroundImage);
    QObject::connect(views.projection, &ProjectionWidget::backgroundImageChanged, handler,
        &H::setProjectionBackgroundImage);

    announce(&H::paintObjectsChanged, views.objectsTable, &ObjectsTableWidget::setPaintObjects);
    announce(&H::paintObjectsChanged, views.history, &HistoryTableWidget::setPaintObjects);
    announce(&H::paintObjectsChanged, views.imitator, &ImitatorObjectWidget::setPaintObjects);
    announce(&H::paintObjectsChanged, scheme, &RoadObjectsWidget::setPaintObjects);
    announce(&H::paintObjectsChanged, drawer, &ProjectionDrawer::setPaintObjects);

    announce(&H::historyFileFormatChanged, views.history, &HistoryTableWidget::setFileFormat);
    QObject::connect(
        views.history, &HistoryTableWidget::fileFormatChanged, handler, &H::setHistoryFileFormat);

    announce(&H::autoGetDataChanged, views.setPosition, &SetPositionWidget::setAutoGetData);
    announce(&H::autoGetDataChanged, views.radarTuning, &RadarTuningWidget::setAutoGetData);
    announce(&H::autoGetDataChanged, views.setPolygon, &SetPolygonWidget::setAutoGetData);
    announce(&H::positionPresetsChanged, views.setPosition, &SetPositionWidget::setPresets);
    QObject::connect(
        views.setPosition, &SetPositionWidget::presetsChanged, handler, &H::setPositionPresets);
    announce(&H::limitationsPresetsChanged, views.setPolygon, &SetPolygonWidget::setPresets);
    QObject::connect(
        views.setPolygon, &SetPolygonWidget::presetsChanged, handler, &H::setLimitationsPresets);
    announce(&H::laneStatisticsIntervalChanged, views.laneStatistics,
        &LaneStatisticsWindow::setIntervalMinutes);
    QObject::connect(views.laneStatistics, &LaneStatisticsWindow::intervalMinutesChanged, handler,
        &H::setLaneStatisticsInterval);
    announce(&H::wrongWayDistanceChanged, views.laneStatistics,
        &LaneStatisticsWindow::setWrongWayDistance);
    QObject::connect(views.laneStatistics, &LaneStatisticsWindow::wrongWayDistanceChanged, handler,
        &H::setWrongWayDistance);
}

void bindWindow(WorkProfileHandler *handler, MainWindow *window)
{
    using H = WorkProfileHandler;
    using W = MainWindow;
    const auto link = [](auto *sender, auto signal, auto *receiver, auto slot) {
        QObject::connect(sender, signal, receiver, slot);
    };
    link(handler, &H::applyingProfileStarted, window, &W::doStartApplyingProfile);
    link(window, &W::protocolVersionChanged, handler, &H::setProtocolVersion);
    link(handler, &H::protocolVersionChanged, window, &W::doSetProtocolVersion);
    link(handler, &H::protocolForcingChanged, window, &W::doSetProtocolForcing);
    link(window, &W::radarServerUrlChanged, handler, &H::setRadarServerUrl);
    link(handler, &H::radarServerUrlChanged, window, &W::doSetRadarServerUrl);
    link(window, &W::controlVisibleChanged, handler, &H::setControlVisible);
    link(handler, &H::controlVisibleChanged, window, &W::doSetControlVisible);
    link(window, &W::controlCollapsedChanged, handler, &H::setControlCollapsed);
    link(handler, &H::controlCollapsedChanged, window, &W::doSetControlCollapsed);
    link(window, &W::tracksDisplayModeChanged, handler, &H::setTracksDisplayMode);
    link(handler, &H::tracksDisplayModeChanged, window, &W::doSetTracksDisplayMode);
    link(handler, &H::drawVerticalChanged, window, &W::doSetDrawVertical);
    // The sight line entry of the menu draws the sight area too.
    link(handler, &H::showSightLineChanged, window, &W::showSightAreaChanged);
    link(window, &W::showSightAreaChanged, window->roadObjectsWidget(),
        &RoadObjectsWidget::setShowSightArea);
    link(handler, &H::applyingProfileFinished, window, &W::doFinishApplyingProfile);
}

} // namespace ProfileBinding
