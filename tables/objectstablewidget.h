#pragma once

#include "groupedwidget.h"
#include "objectstablemodel.h"
#include "roadobjectframecollector.h"

class QTableView;

// The objects of the current radar frame, in the frame's order; enabled only while the
// radar works. The per-object slots collect a frame and show it at finishFilling.
class ObjectsTableWidget : public GroupedWidget
{
    Q_OBJECT

public:
    explicit ObjectsTableWidget(QWidget *parent = nullptr);

    ObjectsTableModel *model() { return &m_model; }
    QTableView *view() const { return m_view; }

public slots:
    void setPaintObjects(bool value) override;
    void showFrame(const RoadObjectFrame &frame);
    void startFilling() override;
    void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected) override;
    void finishFilling() override;
    void showRadarState(int state);

private:
    ObjectsTableModel m_model;
    QTableView *m_view = nullptr;
    RoadObjectFrameCollector m_filling;
};
