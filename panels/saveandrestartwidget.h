#pragma once

#include <QWidget>

#include <functional>

class QPushButton;
class StateLabel;
class WorkingStateTracker;

// Saves the radar's parameters to its flash and restarts it, each after a confirmation.
class SaveAndRestartWidget : public QWidget
{
    Q_OBJECT

public:
    // Asks the user to confirm; false when declined.
    using Confirmation = std::function<bool(const QString &title, const QString &question)>;

    explicit SaveAndRestartWidget(QWidget *parent = nullptr);

    void setConfirmation(const Confirmation &confirmation);
    const StateLabel *saveLabel() const { return m_saveLabel; }
    const StateLabel *restartLabel() const { return m_restartLabel; }

signals:
    void commandWithNoArgs(int command);

public slots:
    void showRadarState(int state);
    void showCommandState(int command, int state, int error);
    void onSaveClicked();
    void onRestartClicked();

private:
    bool doConfirm(const QString &title, const QString &question);

    QPushButton *m_saveButton = nullptr;
    QPushButton *m_restartButton = nullptr;
    StateLabel *m_saveLabel = nullptr;
    StateLabel *m_restartLabel = nullptr;
    WorkingStateTracker *m_tracker = nullptr;
    Confirmation m_confirmation;
};
