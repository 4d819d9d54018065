#pragma once

#include "presetedwidget.h"

#include <QVector>

class PolygonValuesModel;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTableView;
class StateLabel;
class WorkingStateTracker;

// The eight limitation polygons: which are in use, and each polygon's treat, speed and
// point parameters, set and read one by one or a whole polygon at a time; kept in presets.
class SetPolygonWidget : public PresetedWidget
{
    Q_OBJECT

public:
    explicit SetPolygonWidget(QWidget *parent = nullptr);

    QJsonObject currentPreset() const override;
    bool checkPreset(const QJsonObject &preset) const override;

    PolygonValuesModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }
    quint8 usageMask() const;
    const StateLabel *usageLabel() const { return m_usageLabel; }
    const StateLabel *reinitLabel() const { return m_reinitLabel; }

signals:
    void setPolygonUsage(quint8 mask);
    void getPolygonUsage();
    void setPolygonTreatParam(quint8 id, quint8 param, quint8 value);
    void getPolygonTreatParam(quint8 id, quint8 param);
    void setPolygonSpeedParam(quint8 id, quint8 param, double value);
    void getPolygonSpeedParam(quint8 id, quint8 param);
    void setPolygonPointParam(quint8 id, quint8 param, double value);
    void getPolygonPointParam(quint8 id, quint8 param);
    void reinitPolygons();

public slots:
    void showRadarState(int state);
    void showCommandState(int command, int state, int error);
    void setAutoGetData(bool value);
    void showPolygonUsage(quint8 mask);
    void showPolygonTreatParam(quint8 id, quint8 param, quint8 value);
    void showPolygonSpeedParam(quint8 id, quint8 param, double value);
    void showPolygonPointParam(quint8 id, quint8 param, double value);
    void setCurrentPolygon(int id);
    void onSetUsageClicked();
    void onGetUsageClicked();
    void onSetSelectedClicked();
    void onGetSelectedClicked();
    void onSetPolygonClicked();
    void onGetPolygonClicked();
    void onReinitClicked();
    void onGetAllRequested();

protected:
    void doApplyPreset(const QJsonObject &preset) override;

private:
    // Rows of the polygon on show; the model's rows are always valid parameters, and
    // out-of-range values never get into it.
    void doSendRows(const QVector<int> &rows);
    void doRequestRows(const QVector<int> &rows);
    QVector<int> selectedRows() const;
    static QVector<int> allRows();
    QPushButton *doAddSendButton(const QString &text, void (SetPolygonWidget::*slot)());
    void doShowUsage(quint8 mask);

    PolygonValuesModel *m_model = nullptr;
    QComboBox *m_polygonCombo = nullptr;
    QVector<QCheckBox *> m_usageBoxes;
    StateLabel *m_usageLabel = nullptr;
    StateLabel *m_reinitLabel = nullptr;
    QTableView *m_view = nullptr;
    QList<QPushButton *> m_sendButtons;
    WorkingStateTracker *m_tracker = nullptr;
    bool m_filling = false;
};
