#pragma once

#include "valuestatus.h"

#include <QLabel>

class QTimer;

// Shows where a value or a command stands, coloured by stage. It asks for the width of
// the common texts so that the rows of a panel stay aligned, and takes the width of their
// longest word where the panel is short of room; longer texts wrap.
class StateLabel : public QLabel
{
    Q_OBJECT

public:
    explicit StateLabel(QWidget *parent = nullptr);
    StateLabel(int setCommand, int getCommand, QWidget *parent = nullptr);

    const ValueStatus &status() const { return m_status; }
    QSize sizeHint() const override;

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
    int m_commonWidth = 0;
};
