#pragma once

#include <QWidget>

class QComboBox;
class QGridLayout;
class QPushButton;
class StateLabel;
class WorkingStateTracker;

// Device information and self-diagnosis requests, and the imitator and demo (fake
// targets) modes with their read-back.
class SendCommandsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SendCommandsWidget(QWidget *parent = nullptr);

    int imitatorModeValue() const;
    bool fakeTargetsModeValue() const;
    const StateLabel *stateLabel(int command) const;

signals:
    void commandWithNoArgs(int command);
    void switchCommand(int command, quint8 mode);

public slots:
    void showRadarState(int state);
    void showCommandState(int command, int state, int error);
    void showImitatorMode(quint8 mode);
    void showFakeTargetsMode(bool enabled);
    void onRequestClicked(int command);
    void onSetImitatorModeClicked();
    void onSetFakeTargetsModeClicked();

private:
    StateLabel *doAddRow(const QString &name, QWidget *editor, int setCommand, int getCommand);
    QPushButton *doAddButton(const QString &text, int row, int column);
    void doShowMode(QComboBox *combo, StateLabel *label, int mode);

    QGridLayout *m_grid = nullptr;
    QComboBox *m_imitatorCombo = nullptr;
    QComboBox *m_fakeTargetsCombo = nullptr;
    StateLabel *m_imitatorLabel = nullptr;
    StateLabel *m_fakeTargetsLabel = nullptr;
    QList<StateLabel *> m_labels;
    QList<QPushButton *> m_sendButtons;
    WorkingStateTracker *m_tracker = nullptr;
    bool m_filling = false;
};
