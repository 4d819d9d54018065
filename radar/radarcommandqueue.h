#pragma once

#include "radarstate.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class RadarCommand;
class ServerLink;

// The queue of radar commands: sends one command at a time over the link, waits for its
// acknowledgement up to the command time-out, retries while attempts remain, and reports
// every step as (command, state, error) with the states of Radar::CommandState.
class RadarCommandQueue : public QObject
{
    Q_OBJECT

public:
    explicit RadarCommandQueue(ServerLink *link, QObject *parent = nullptr);
    ~RadarCommandQueue() override;

    // Armed while a link exists: only then are failed sends retried after the send delay.
    void setArmed(bool armed);
    void setSendDelay(int ms);
    void setCommandTimeout(int ms);

    void enqueue(int command, const QByteArray &data, int attempts);
    // Finishes the head's attempt: Received removes it, Error uses up an attempt (and
    // removes it with the last one), any other state is reported and keeps it; a remaining
    // head is sent again after the send delay.
    void finish(Radar::CommandState state, int error);
    // Reports every queued command as Discarded (DiscardedUnsent) and empties the queue.
    void clear();

    // Identifier of the head command, 0 when the queue is empty.
    int headCommand() const;
    int size() const { return m_commands.size(); }

signals:
    void commandStateChanged(int command, int state, int error);

private slots:
    void doSendNextCommand();
    void doMarkCommandTimedOut();

private:
    ServerLink *m_link;
    bool m_armed = false;
    QTimer m_sendTimer;
    QTimer m_commandTimeoutTimer;
    QList<RadarCommand *> m_commands;
};
