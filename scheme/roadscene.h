#pragma once

#include "objectshelper.h"
#include "roadbuilder.h"
#include "roadobjectframe.h"

#include <QJsonObject>
#include <QObject>

// The road and its traffic as the scheme and the projection show them: builds the road
// from its configuration (RoadBuilder) and sorts each radar frame, with the current and
// average tracks (ObjectsHelper). Hands on the road geometry in the builder's order, then
// for every frame the current tracks, the frame in drawing order and, when they changed,
// the average tracks.
class RoadScene : public QObject
{
    Q_OBJECT

public:
    explicit RoadScene(QObject *parent = nullptr);

    const RoadBuilder &builder() const { return m_builder; }
    const ObjectsHelper &helper() const { return m_helper; }

    // Connects a view of the road and the traffic: the scheme and the projection have the
    // same slots for both. The road tangent angles are for the scheme alone.
    template<class View> void connectView(View *view)
    {
        connect(this, &RoadScene::applyingRoadStarted, view, &View::startApplyingRoad);
        connect(this, &RoadScene::roadAxisLine, view, &View::setRoadAxisLine);
        connect(this, &RoadScene::laneBorderLines, view, &View::setLaneBorderLines);
        connect(this, &RoadScene::roadBorderLines, view, &View::setRoadBorderLines);
        connect(this, &RoadScene::distanceLines, view, &View::setDistanceLines);
        connect(this, &RoadScene::applyingRoadFinished, view, &View::finishApplyingRoad);
        connect(this, &RoadScene::currentTracks, view, &View::setCurrentTracks);
        connect(this, &RoadScene::frameSorted, view, &View::showFrame);
        connect(this, &RoadScene::averageTracks, view, &View::setAverageTracks);
    }

public slots:
    void setRoadConfig(const QJsonObject &config);
    void showFrame(const RoadObjectFrame &frame);
    // The objects and their tracks go when the radar stops working.
    void setRadarState(int state);
    void resetAverageTracks();

signals:
    void applyingRoadStarted(const QRectF &dimensions, const QPointF &shift);
    void roadAxisLine(const QPolygonF &axis);
    void laneBorderLines(const QList<QPolygonF> &lines);
    void roadBorderLines(const QList<QPolygonF> &lines);
    void laneCenterLines(const QMap<int, QPolygonF> &lines);
    void distanceLines(const QMap<int, QPolygonF> &lines);
    void roadTanAngles(const QMap<int, double> &angles);
    void applyingRoadFinished();

    void currentTracks(const QMap<quint8, QPolygonF> &tracks);
    void frameSorted(const RoadObjectFrame &frame);
    // An empty map: the average tracks were reset.
    void averageTracks(const QMap<int, QPolygonF> &tracks);
    // After frameSorted: the frame's objects on the lanes, for counting and alarms.
    void laneFrame(const LaneFrame &frame);

private:
    RoadBuilder m_builder;
    ObjectsHelper m_helper;
};
