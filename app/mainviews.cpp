#include "mainviews.h"

#include "generalinfowidget.h"
#include "imitatorobjectwidget.h"
#include "lanestatisticswindow.h"
#include "objectstablewidget.h"
#include "projectionwidget.h"
#include "radartuningwidget.h"
#include "roadobjectswidget.h"
#include "roadscene.h"
#include "saveandrestartwidget.h"
#include "sendcommandswidget.h"
#include "setpolygonwidget.h"
#include "setpositionwidget.h"
#include "ui_mainwindow.h"

void MainViews::createInForm(Ui::MainWindow &form)
{
    generalInfo = new GeneralInfoWidget(form.generalInfoBox);
    form.generalInfoBoxLayout->addWidget(generalInfo);
    imitator = new ImitatorObjectWidget(form.imitatorObjectBox);
    form.imitatorObjectBoxLayout->addWidget(imitator);
    objectsTable = new ObjectsTableWidget(form.objectsTableBox);
    form.objectsTableBoxLayout->addWidget(objectsTable);
    scheme = new RoadObjectsWidget(form.roadObjectsBox);
    form.roadObjectsBoxLayout->addWidget(scheme);
    sendCommands = new SendCommandsWidget(form.sendCommandsBox);
    form.sendCommandsBoxLayout->addWidget(sendCommands);
    setPolygon = new SetPolygonWidget(form.setPolygonBox);
    form.setPolygonBoxLayout->addWidget(setPolygon);
    setPosition = new SetPositionWidget(form.setPositionBox);
    form.setPositionBoxLayout->addWidget(setPosition);
    radarTuning = new RadarTuningWidget(form.radarTuningBox);
    form.radarTuningBoxLayout->addWidget(radarTuning);
    saveAndRestart = new SaveAndRestartWidget(form.saveAndRestartBox);
    form.saveAndRestartBoxLayout->addWidget(saveAndRestart);
}

void MainViews::connectDisplays() const
{
    using PositionSlot = void (ProjectionDrawer::*)(double, double, double, double, double, double);
    ProjectionDrawer *drawer = projection->drawer();
    const auto drawerShowPosition = static_cast<PositionSlot>(&ProjectionDrawer::showPosition);

    // The entered position is previewed before the radar confirms it.
    QObject::connect(
        setPosition, &SetPositionWidget::setPosition, scheme, &RoadObjectsWidget::showPosition);
    QObject::connect(setPosition, &SetPositionWidget::setPosition, drawer, drawerShowPosition);

    // The road scene hands the scheme and the projection the road and the sorted frames.
    roadScene->connectView(scheme);
    QObject::connect(
        roadScene, &RoadScene::roadTanAngles, scheme, &RoadObjectsWidget::setRoadTanAngles);
    roadScene->connectView(drawer);
    QObject::connect(roadScene, &RoadScene::laneCenterLines, laneStatistics,
        &LaneStatisticsWindow::setLaneCenterLines);
    QObject::connect(
        roadScene, &RoadScene::laneFrame, laneStatistics, &LaneStatisticsWindow::showLaneFrame);

    QObject::connect(drawer, &ProjectionDrawer::sight, scheme, &RoadObjectsWidget::setSight);
    QObject::connect(drawer, &ProjectionDrawer::pickedRadarPosition, setPosition,
        &SetPositionWidget::fillPosition);
}
