#include "objectstablewidget.h"
#include "objecttableview.h"

#include "radarstate.h"

#include <QVBoxLayout>

ObjectsTableWidget::ObjectsTableWidget(QWidget *parent)
    : GroupedWidget(parent)
    , m_view(new ObjectTableView(this))
{
    m_view->setModel(&m_model);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setEnabled(false);
    connect(&m_filling, &RoadObjectFrameCollector::frameCollected, this,
        &ObjectsTableWidget::showFrame);
}

void ObjectsTableWidget::setPaintObjects(bool value)
{
    GroupedWidget::setPaintObjects(value);
    m_model.setPaintObjects(value);
}

void ObjectsTableWidget::showFrame(const RoadObjectFrame &frame)
{
    QVector<ObjectRecord> records;
    records.reserve(frame.objects.size());
    for (const RoadObject &o : frame.objects)
        records.append(ObjectRecord::fromObject(o));
    m_model.setRecords(records);
}

void ObjectsTableWidget::startFilling()
{
    m_filling.onFrameStarted();
}

void ObjectsTableWidget::addObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    m_filling.onObjectData(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected);
}

void ObjectsTableWidget::finishFilling()
{
    m_filling.onFrameFinished();
}

void ObjectsTableWidget::showRadarState(int state)
{
    const bool working = Radar::isWorking(state);
    if (!working)
        m_model.clear();
    setEnabled(working);
}
