#include "radarcommandqueue.h"

#include "radarcommand.h"
#include "serverlink.h"

RadarCommandQueue::RadarCommandQueue(ServerLink *link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
    // Coarse timers may fire 5 % early; the time-outs are meant as stated.
    for (QTimer *timer : { &m_sendTimer, &m_commandTimeoutTimer }) {
        timer->setTimerType(Qt::PreciseTimer);
        timer->setSingleShot(true);
    }
    m_sendTimer.setInterval(100);
    m_commandTimeoutTimer.setInterval(900);
    connect(&m_sendTimer, &QTimer::timeout, this, &RadarCommandQueue::doSendNextCommand);
    connect(
        &m_commandTimeoutTimer, &QTimer::timeout, this, &RadarCommandQueue::doMarkCommandTimedOut);
}

RadarCommandQueue::~RadarCommandQueue()
{
    qDeleteAll(m_commands);
}

void RadarCommandQueue::setArmed(bool armed)
{
    m_armed = armed;
    if (!armed) {
        m_sendTimer.stop();
        m_commandTimeoutTimer.stop();
    }
}

void RadarCommandQueue::setSendDelay(int ms)
{
    m_sendTimer.setInterval(ms);
}

void RadarCommandQueue::setCommandTimeout(int ms)
{
    m_commandTimeoutTimer.setInterval(ms);
}

void RadarCommandQueue::enqueue(int command, const QByteArray &data, int attempts)
{
    const bool wasEmpty = m_commands.isEmpty();
    m_commands.append(new RadarCommand(command, data, attempts));
    emit commandStateChanged(command, Radar::Queued, 0);
    if (wasEmpty)
        doSendNextCommand();
}

void RadarCommandQueue::finish(Radar::CommandState state, int error)
{
    m_commandTimeoutTimer.stop();
    if (m_commands.isEmpty())
        return;
    // The head is not touched after a report: a receiver may clear the queue.
    RadarCommand *head = m_commands.first();
    const int command = head->command;
    if (state == Radar::Error) {
        if (--head->attempts > 0) {
            emit commandStateChanged(command, Radar::InProgress, error);
        } else {
            delete m_commands.takeFirst();
            emit commandStateChanged(command, Radar::Error, error);
        }
    } else if (state == Radar::Received) {
        delete m_commands.takeFirst();
        emit commandStateChanged(command, Radar::Received, error);
    } else {
        emit commandStateChanged(command, state, error);
    }
    if (m_commands.isEmpty())
        return;
    if (m_armed)
        m_sendTimer.start();
    else
        doSendNextCommand();
}

void RadarCommandQueue::clear()
{
    // A pending resend or time-out would otherwise act on a command queued later.
    m_sendTimer.stop();
    m_commandTimeoutTimer.stop();
    const QList<RadarCommand *> commands = m_commands;
    m_commands.clear();
    for (RadarCommand *command : commands) {
        emit commandStateChanged(command->command, Radar::Discarded, Radar::DiscardedUnsent);
        delete command;
    }
}

int RadarCommandQueue::headCommand() const
{
    return m_commands.isEmpty() ? 0 : m_commands.first()->command;
}

void RadarCommandQueue::doSendNextCommand()
{
    while (!m_commands.isEmpty()) {
        RadarCommand *head = m_commands.first();
        if (m_armed && m_link->isConnected()) {
            m_commandTimeoutTimer.start();
            m_link->sendBinary(head->data);
            emit commandStateChanged(head->command, Radar::InProgress, 0);
            return;
        }
        if (m_armed) {
            finish(Radar::Error, Radar::NotConnected);
            return;
        }
        // No link: no timer is left to retry, so the command fails now and the next one
        // falls due.
        const int command = head->command;
        delete m_commands.takeFirst();
        emit commandStateChanged(command, Radar::Error, Radar::NotConnected);
    }
}

void RadarCommandQueue::doMarkCommandTimedOut()
{
    finish(Radar::Error, Radar::NoAcknowledgement);
}
