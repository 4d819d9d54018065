#pragma once

#include "panelquestion.h"
#include "presetedwidget.h"

#include <QVector>

class PolygonValuesModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class StateLabel;
class WorkingStateTracker;

// The eight limitation polygons: which are in use, and each polygon's treat, speed and
// point parameters, set and read one by one, a whole polygon, or every changed value at
// once; kept in presets. Only values read from the radar or entered here are ever sent.
class SetPolygonWidget : public PresetedWidget
{
    Q_OBJECT

public:
    explicit SetPolygonWidget(QWidget *parent = nullptr);

    QJsonObject currentPreset() const override;
    bool checkPreset(const QJsonObject &preset) const override;

    // Answers the questions before re-initialising and before a read replaces values
    // the user changed and has not sent.
    void setConfirmation(const PanelQuestion::Answer &answer);

    PolygonValuesModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }
    quint8 usageMask() const;
    const StateLabel *usageLabel() const { return m_usageLabel; }
    const StateLabel *reinitLabel() const { return m_reinitLabel; }
    // Why the shown polygon cannot be set as a whole; empty when it can.
    QString hintText() const;

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
    void onSetChangedClicked();
    void onReinitClicked();
    void onGetAllRequested();

protected:
    void doApplyPreset(const QJsonObject &preset) override;

private:
    // Sends the known values among the rows of polygon `id`.
    void doSendRows(int id, const QVector<int> &rows);
    // Reads the rows of polygon `id`; values the user entered and has not sent are
    // replaced by the answers only with `replaceUserValues`.
    void doRequestRows(int id, const QVector<int> &rows, bool replaceUserValues);
    void doRequestUsage(bool replaceUserValue);
    // Asks before a read replaces unsent values; false keeps them.
    bool doAskReplace();
    void doReadBackAll();
    void doUpdateButtons();
    void doUpdatePolygonItem(int id);
    QVector<int> selectedRows() const;
    static QVector<int> allRows();
    bool hasUnsentChanges() const;
    void doShowUsage(quint8 mask);
    static QString usageText(quint8 mask);

    PolygonValuesModel *m_model = nullptr;
    QComboBox *m_polygonCombo = nullptr;
    QVector<QCheckBox *> m_usageBoxes;
    StateLabel *m_usageLabel = nullptr;
    StateLabel *m_reinitLabel = nullptr;
    QTableView *m_view = nullptr;
    QPushButton *m_setUsageButton = nullptr;
    QPushButton *m_getUsageButton = nullptr;
    QPushButton *m_setSelectedButton = nullptr;
    QPushButton *m_getSelectedButton = nullptr;
    QPushButton *m_setPolygonButton = nullptr;
    QPushButton *m_getPolygonButton = nullptr;
    QPushButton *m_setChangedButton = nullptr;
    QPushButton *m_reinitButton = nullptr;
    QLabel *m_hintLabel = nullptr;
    WorkingStateTracker *m_tracker = nullptr;
    PanelQuestion m_question;
    bool m_filling = false;
};
