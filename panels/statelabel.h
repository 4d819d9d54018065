#pragma once

#include "valuestatus.h"

#include <QLabel>

class QTimer;

// Shows where a value or a command stands, coloured by stage, at least as wide as the
// common texts so that the rows of a panel stay aligned; longer texts wrap.
class StateLabel : public QLabel
{
    Q_OBJECT

public:
    explicit StateLabel(QWidget *parent = nullptr);
    StateLabel(int setCommand, int getCommand, QWidget *parent = nullptr);

    const ValueStatus &status() const { return m_status; }

signals:
    void statusChanged();

public slots:
    void showCommandState(int command, int state, int error);
    void markChanged();
    void markWaiting();
    // See ValueStatus::markReceived; false when the user's value is kept.
    bool markReceived(const QString &radarText = QString(), const QString &unusual = QString());
    void markRefused(const QString &reason);
    void markUnknown();

private:
    void doRefresh();
    void onAnswerTimedOut();

    ValueStatus m_status;
    QTimer *m_answerTimer = nullptr;
};
