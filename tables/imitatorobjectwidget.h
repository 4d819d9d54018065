#pragma once

#include "groupedwidget.h"
#include "roadobjectframecollector.h"

#include <QVector>

class QLabel;

// The speeds of the targets the radar's imitator generates, in large type: one per
// line when the road is drawn vertical, side by side otherwise. The per-object slots
// collect a frame and show it at finishFilling.
class ImitatorObjectWidget : public GroupedWidget
{
    Q_OBJECT

public:
    explicit ImitatorObjectWidget(QWidget *parent = nullptr);

    QString text() const;

public slots:
    void showFrame(const RoadObjectFrame &frame);
    void startFilling() override;
    void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected) override;
    void finishFilling() override;
    void showRadarState(int state);
    void setDrawVertical(bool value);
    void clear();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void doShowSpeeds();
    QString doComposeText() const;

    QLabel *m_label = nullptr;
    RoadObjectFrameCollector m_filling;
    // The last frame's objects, as the label shows them.
    QVector<RoadObject> m_objects;
    bool m_drawVertical = false;
    bool m_labelStale = false;
};
