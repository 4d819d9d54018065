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
}

void ObjectsTableWidget::setPaintObjects(bool value)
{
    GroupedWidget::setPaintObjects(value);
    m_model.setPaintObjects(value);
}

void ObjectsTableWidget::startFilling()
{
    m_view->setUpdatesEnabled(false);
    m_model.clear();
}

void ObjectsTableWidget::addObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    m_model.append(
        { xSpeed, ySpeed, xRange, yRange, length, lastDetected.toMSecsSinceEpoch(), id });
}

void ObjectsTableWidget::finishFilling()
{
    m_view->setUpdatesEnabled(true);
}

void ObjectsTableWidget::showRadarState(int state)
{
    const bool working = Radar::isWorking(state);
    if (!working)
        m_model.clear();
    setEnabled(working);
}
