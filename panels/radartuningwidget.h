#pragma once

#include "panelquestion.h"

#include <QWidget>

class QPushButton;
class QSpinBox;
class StateLabel;
class WorkingStateTracker;

// Fine tuning of the radar: its frequency index and its sensitivity, set and read back.
// A value is sent only once it was read or entered.
class RadarTuningWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RadarTuningWidget(QWidget *parent = nullptr);

    // Answers the question before a read replaces a value the user changed and has not sent.
    void setConfirmation(const PanelQuestion::Answer &answer);

    int frequencyIndexValue() const;
    int radarSensitivityValue() const;
    const StateLabel *frequencyIndexLabel() const { return m_frequencyLabel; }
    const StateLabel *radarSensitivityLabel() const { return m_sensitivityLabel; }

signals:
    void setFrequencyIndex(int value);
    void getFrequencyIndex();
    void setRadarSensitivity(int value);
    void getRadarSensitivity();

public slots:
    void showRadarState(int state);
    void showCommandState(int command, int state, int error);
    void setAutoGetData(bool value);
    void showFrequencyIndex(int value);
    void showRadarSensitivity(int value);
    void onGetAllRequested();

private:
    struct Row
    {
        QSpinBox *spin = nullptr;
        StateLabel *label = nullptr;
        QPushButton *setButton = nullptr;
        QPushButton *getButton = nullptr;
    };

    Row doAddRow(const QString &name, StateLabel *label, void (RadarTuningWidget::*setSignal)(int),
        void (RadarTuningWidget::*getSignal)());
    void doShowValue(const Row &row, int value);
    void doRequest(const Row &row, void (RadarTuningWidget::*getSignal)(), bool replaceUserValue);
    void doUpdateButtons();

    StateLabel *m_frequencyLabel = nullptr;
    StateLabel *m_sensitivityLabel = nullptr;
    Row m_frequency;
    Row m_sensitivity;
    WorkingStateTracker *m_tracker = nullptr;
    PanelQuestion m_question;
    bool m_filling = false;
};
