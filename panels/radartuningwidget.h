#pragma once

#include <QWidget>

class QPushButton;
class QSpinBox;
class StateLabel;
class WorkingStateTracker;

// Fine tuning of the radar: its frequency index and its sensitivity, set and read back.
class RadarTuningWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FrequencyIndexMax = 15;
    static constexpr int SensitivityMax = 100;

    explicit RadarTuningWidget(QWidget *parent = nullptr);

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
    QSpinBox *doAddRow(const QString &name, int maximum, StateLabel *label,
        void (RadarTuningWidget::*setSignal)(int), void (RadarTuningWidget::*getSignal)());
    void doShowValue(QSpinBox *spin, StateLabel *label, int value);

    StateLabel *m_frequencyLabel = nullptr;
    StateLabel *m_sensitivityLabel = nullptr;
    QSpinBox *m_frequencySpin = nullptr;
    QSpinBox *m_sensitivitySpin = nullptr;
    QList<QPushButton *> m_sendButtons;
    WorkingStateTracker *m_tracker = nullptr;
    bool m_filling = false;
};
