#include "valuestatus.h"

#include "radarstate.h"

#include <QColor>

ValueStatus::ValueStatus(int setCommand, int getCommand)
    : m_setCommand(setCommand)
    , m_getCommand(getCommand)
{ }

QString ValueStatus::text() const
{
    switch (m_stage) {
    case Idle:
        return QString();
    case Changed:
        return tr("value changed");
    case Queued:
        return tr("queued");
    case InProgress:
        return tr("in progress");
    case CommandReceived:
        return tr("command received");
    case Waiting:
        return tr("waiting for data");
    case FromRadar:
        return tr("received from radar");
    case Failed:
        return tr("%1 (code %2)").arg(tr("error occurred")).arg(m_error);
    case Refused:
        return tr("refused: %1").arg(m_reason);
    }
    return QString();
}

QColor ValueStatus::color() const
{
    switch (m_stage) {
    case Changed:
        return QColor(0xb0, 0x60, 0x00);
    case Queued:
    case InProgress:
    case Waiting:
        return QColor(0x20, 0x50, 0xc0);
    case CommandReceived:
    case FromRadar:
        return QColor(0x10, 0x80, 0x20);
    case Failed:
    case Refused:
        return QColor(0xc0, 0x10, 0x10);
    case Idle:
        break;
    }
    return QColor(Qt::black);
}

bool ValueStatus::tracks(int command) const
{
    return command != 0 && (command == m_setCommand || command == m_getCommand);
}

void ValueStatus::markChanged()
{
    m_stage = Changed;
}

void ValueStatus::markWaiting()
{
    m_stage = Waiting;
}

void ValueStatus::markReceived()
{
    m_stage = FromRadar;
}

void ValueStatus::markRefused(const QString &reason)
{
    m_stage = Refused;
    m_reason = reason;
}

bool ValueStatus::applyCommandState(int command, int state, int error)
{
    if (!tracks(command))
        return false;
    switch (state) {
    case Radar::Queued:
        m_stage = Queued;
        break;
    case Radar::InProgress:
        m_stage = InProgress;
        break;
    case Radar::Received:
        // A read is done only when its answer has arrived, which may come first.
        if (command == m_setCommand)
            m_stage = CommandReceived;
        else if (m_stage != FromRadar)
            m_stage = Waiting;
        break;
    default:
        // Attempts exhausted, or dropped unsent from the queue (reported with error 255).
        m_stage = Failed;
        m_error = error;
        break;
    }
    return true;
}
