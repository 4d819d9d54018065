#pragma once

#include <QObject>

// Follows the radar state for a panel: whether the radar is working (commands may be
// sent only then) and, with automatic reading on, asks once for the panel's current
// values each time the radar starts working.
class WorkingStateTracker : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool isWorking() const { return m_working; }

public slots:
    void setRadarState(int state);
    void setAutoGetData(bool value);

signals:
    void workingChanged(bool working);
    void autoGetRequested();

private:
    bool m_working = false;
    bool m_autoGetData = false;
};
