#pragma once

#include "panelquestion.h"

#include <QWidget>

class QComboBox;
class QGridLayout;
class QPushButton;
class StateLabel;
class WorkingStateTracker;

// Device information and self-diagnosis requests, and the imitator and demo (fake
// targets) modes with their read-back: a mode is read back as soon as its set is
// acknowledged, so the panel shows the mode the radar now runs.
class SendCommandsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SendCommandsWidget(QWidget *parent = nullptr);

    // Answers the question before a read replaces a mode the user chose and has not sent.
    void setConfirmation(const PanelQuestion::Answer &answer);

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
    struct ModeRow
    {
        QComboBox *combo = nullptr;
        StateLabel *label = nullptr;
        QPushButton *setButton = nullptr;
        QPushButton *getButton = nullptr;
        int setCommand = 0;
        int getCommand = 0;
    };

    StateLabel *doAddRow(const QString &name, QWidget *editor, int setCommand, int getCommand);
    ModeRow doAddModeRow(const QString &name, QComboBox *combo, int setCommand, int getCommand);
    void doRequestMode(const ModeRow &row, bool replaceUserValue);
    void doShowMode(const ModeRow &row, int mode);
    void doUpdateButtons();

    QGridLayout *m_grid = nullptr;
    ModeRow m_imitator;
    ModeRow m_fakeTargets;
    QList<StateLabel *> m_labels;
    QList<QPushButton *> m_requestButtons;
    WorkingStateTracker *m_tracker = nullptr;
    PanelQuestion m_question;
    bool m_filling = false;
};
