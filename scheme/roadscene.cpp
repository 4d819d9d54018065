#include "roadscene.h"

RoadScene::RoadScene(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<RoadObjectFrame>();

    // The views hear of each step of the road before the sorter does, so the reset of the
    // average tracks at its end reaches them after the new road.
    connect(&m_builder, &RoadBuilder::applyingRoadStarted, this, &RoadScene::applyingRoadStarted);
    connect(&m_builder, &RoadBuilder::roadAxisLine, this, &RoadScene::roadAxisLine);
    connect(&m_builder, &RoadBuilder::laneBorderLines, this, &RoadScene::laneBorderLines);
    connect(&m_builder, &RoadBuilder::roadBorderLines, this, &RoadScene::roadBorderLines);
    connect(&m_builder, &RoadBuilder::laneCenterLines, this, &RoadScene::laneCenterLines);
    connect(&m_builder, &RoadBuilder::distanceLines, this, &RoadScene::distanceLines);
    connect(&m_builder, &RoadBuilder::roadTanAngles, this, &RoadScene::roadTanAngles);
    connect(&m_builder, &RoadBuilder::applyingRoadFinished, this, &RoadScene::applyingRoadFinished);

    connect(&m_builder, &RoadBuilder::applyingRoadStarted, &m_helper,
        &ObjectsHelper::startApplyingRoad);
    connect(
        &m_builder, &RoadBuilder::laneCenterLines, &m_helper, &ObjectsHelper::setLaneCenterLines);
    connect(&m_builder, &RoadBuilder::applyingRoadFinished, &m_helper,
        &ObjectsHelper::finishApplyingRoad);

    connect(&m_helper, &ObjectsHelper::currentTracks, this, &RoadScene::currentTracks);
    connect(&m_helper, &ObjectsHelper::frameSorted, this, &RoadScene::frameSorted);
    connect(&m_helper, &ObjectsHelper::averageTracks, this, &RoadScene::averageTracks);
    connect(&m_helper, &ObjectsHelper::laneFrame, this, &RoadScene::laneFrame);
}

void RoadScene::setRoadConfig(const QJsonObject &config)
{
    m_builder.setRoadConfig(config);
}

void RoadScene::showFrame(const RoadObjectFrame &frame)
{
    m_helper.sortFrame(frame);
}

void RoadScene::setRadarState(int state)
{
    m_helper.setRadarState(state);
}

void RoadScene::resetAverageTracks()
{
    m_helper.resetAverageTracks();
}
