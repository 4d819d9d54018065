#pragma once

#include "valuestatus.h"

#include <QLabel>

// Shows where a value or a command stands, coloured by stage, in a fixed width so that
// the rows of a panel stay aligned whatever the text.
class StateLabel : public QLabel
{
    Q_OBJECT

public:
    explicit StateLabel(QWidget *parent = nullptr);
    StateLabel(int setCommand, int getCommand, QWidget *parent = nullptr);

    const ValueStatus &status() const { return m_status; }

public slots:
    void showCommandState(int command, int state, int error);
    void markChanged();
    void markWaiting();
    void markReceived();
    void markRefused(const QString &reason);

private:
    void doRefresh();

    ValueStatus m_status;
};
