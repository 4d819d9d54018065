#include "workingstatetracker.h"

#include "radarstate.h"

void WorkingStateTracker::setRadarState(int state)
{
    const bool working = Radar::isWorking(state);
    if (working == m_working)
        return;
    m_working = working;
    emit workingChanged(working);
    if (working && m_autoGetData)
        emit autoGetRequested();
}

void WorkingStateTracker::setAutoGetData(bool value)
{
    m_autoGetData = value;
}
