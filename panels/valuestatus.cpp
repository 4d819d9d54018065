#include "valuestatus.h"

#include "radarstate.h"

#include <QColor>

namespace {

// The error codes the client reports with a command's state.
constexpr int NotConnectedError = -3;
constexpr int NoAcknowledgementError = -7;
// The radar's own refusals arrive as the acknowledgement's result byte.
constexpr int RadarErrorFirst = 1;
constexpr int RadarErrorLast = 254;

} // namespace

ValueStatus::ValueStatus(int setCommand, int getCommand)
    : m_setCommand(setCommand)
    , m_getCommand(getCommand)
{ }

QString ValueStatus::text() const
{
    QString text;
    switch (m_stage) {
    case Idle:
        if (isValue())
            text = tr("not read");
        break;
    case Changed:
        text = tr("value changed");
        break;
    case Queued:
        text = tr("queued");
        break;
    case InProgress:
        text = tr("in progress");
        break;
    case CommandReceived:
        text = tr("command received");
        break;
    case Waiting:
        text = tr("waiting for data");
        break;
    case FromRadar:
        text = isUnusual() ? tr("received from radar (unusual)") : tr("received from radar");
        break;
    case Failed:
        text = tr("error occurred: %1").arg(m_reason);
        break;
    case NoAnswer:
        text = tr("no answer: %1").arg(m_reason);
        break;
    case Refused:
        text = tr("refused: %1").arg(m_reason);
        break;
    }
    if (m_userValue && !m_radarText.isEmpty())
        text = tr("%1, radar: %2").arg(text, m_radarText);
    return text;
}

QString ValueStatus::toolTip() const
{
    if (m_userValue && !m_radarText.isEmpty())
        return tr("Your value is kept until you send it; the radar holds %1.").arg(m_radarText);
    if (m_stage == FromRadar && isUnusual())
        return tr("The radar reports a value outside the usual range: %1.").arg(m_unusual);
    if (m_stage == Idle && isValue())
        return tr("Not read from the radar: get it, or enter a value.");
    return text();
}

QColor ValueStatus::color() const
{
    switch (m_stage) {
    case Idle:
        return QColor(0x70, 0x70, 0x70);
    case Changed:
        return QColor(0xb0, 0x60, 0x00);
    case Queued:
    case InProgress:
    case Waiting:
        return QColor(0x20, 0x50, 0xc0);
    case CommandReceived:
        return QColor(0x10, 0x80, 0x20);
    case FromRadar:
        return isUnusual() ? QColor(0x90, 0x30, 0xa0) : QColor(0x10, 0x80, 0x20);
    case Failed:
    case NoAnswer:
    case Refused:
        return QColor(0xc0, 0x10, 0x10);
    }
    return QColor(Qt::black);
}

bool ValueStatus::tracks(int command) const
{
    return command != 0 && (command == m_setCommand || command == m_getCommand);
}

bool ValueStatus::hasUnsentChange() const
{
    return m_userValue && m_stage != Queued && m_stage != InProgress;
}

void ValueStatus::markChanged()
{
    m_stage = Changed;
    m_known = true;
    m_userValue = true;
    m_answerDue = false;
}

void ValueStatus::markWaiting()
{
    m_stage = Waiting;
    m_userValue = false;
    m_answerDue = false;
    m_radarText.clear();
}

bool ValueStatus::markReceived(const QString &radarText, const QString &unusual)
{
    if (m_userValue) {
        m_radarText = radarText;
        return false;
    }
    m_stage = FromRadar;
    m_known = true;
    m_answerDue = false;
    m_radarText.clear();
    m_unusual = unusual;
    return true;
}

void ValueStatus::markRefused(const QString &reason)
{
    m_stage = Refused;
    m_reason = reason;
    m_answerDue = false;
}

void ValueStatus::markNoAnswer()
{
    m_stage = NoAnswer;
    m_reason = tr("none after the acknowledgement");
    m_answerDue = false;
}

void ValueStatus::markUnknown()
{
    m_stage = Idle;
    m_known = false;
    m_userValue = false;
    m_answerDue = false;
    m_radarText.clear();
    m_unusual.clear();
}

bool ValueStatus::applyCommandState(int command, int state, int error)
{
    if (!tracks(command))
        return false;
    const bool isSet = command == m_setCommand;
    // A read does not displace a value the user entered and has not sent.
    if (!isSet && m_userValue)
        return true;
    // Nor does what is left of an earlier set, once the user has changed the value again;
    // only the set of the new value (queued at once when sent) moves it on.
    if (isSet && m_stage == Changed && state != Radar::Queued)
        return true;
    m_answerDue = false;
    switch (state) {
    case Radar::Queued:
        m_stage = Queued;
        break;
    case Radar::InProgress:
        m_stage = InProgress;
        break;
    case Radar::Received:
        if (isSet) {
            m_stage = CommandReceived;
            m_userValue = false;
            m_radarText.clear();
            m_unusual.clear();
        } else if (m_stage != FromRadar) {
            // A read is done only when its answer has arrived.
            m_stage = Waiting;
            m_answerDue = true;
        }
        break;
    default:
        // Attempts exhausted, or dropped unsent from the queue.
        m_stage = isSet ? Failed : NoAnswer;
        m_error = error;
        m_reason = errorText(state, error);
        break;
    }
    return true;
}

QString ValueStatus::errorText(int state, int error)
{
    if (state == Radar::Discarded)
        return tr("dropped from the queue (%1)").arg(error);
    if (error == NoAcknowledgementError)
        return tr("no acknowledgement (%1)").arg(error);
    if (error == NotConnectedError)
        return tr("not connected (%1)").arg(error);
    if (error >= RadarErrorFirst && error <= RadarErrorLast)
        return tr("radar error %1").arg(error);
    return tr("error %1").arg(error);
}
