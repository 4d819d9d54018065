#pragma once

#include "groupedwidget.h"
#include "objectstablemodel.h"

class QTableView;

// The objects of the current radar frame; enabled only while the radar works.
class ObjectsTableWidget : public GroupedWidget
{
    Q_OBJECT

public:
    explicit ObjectsTableWidget(QWidget *parent = nullptr);

    ObjectsTableModel *model() { return &m_model; }
    QTableView *view() const { return m_view; }

public slots:
    void setPaintObjects(bool value) override;
    void startFilling() override;
    void addObject(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected) override;
    void finishFilling() override;
    void showRadarState(int state);

private:
    ObjectsTableModel m_model;
    QTableView *m_view = nullptr;
};
