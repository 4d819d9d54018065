#pragma once

#include "rxmessagemodel.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QVector>

class QUdpSocket;
class TextFilter;

// The road of a datagram from the socket to the received list: reads every pending datagram
// within a time budget, asks the text filter, gathers the datagrams to show into batches
// that the model takes at most every FlushInterval milliseconds, and then drops the oldest
// entries past the display limit or the byte budget.
//
// The socket, filter and model belong to the caller and must outlive the pipeline; the
// caller connects the socket's readyRead() to readPendingDatagrams().
class RxPipeline : public QObject
{
    Q_OBJECT

public:
    // Reading stops after this long even while datagrams keep arriving, so that a sender
    // faster than the window cannot freeze it; the socket notifier fires again at once for
    // the rest.
    static constexpr qint64 ReadBudgetMsecs = 20;
    // The list takes new entries at most this often, so a flood costs a few layouts a
    // second.
    static constexpr int FlushInterval = 50;
    // The socket asks the system for this much receive buffer, so that bursts are queued
    // rather than dropped while the window paints.
    static constexpr int ReceiveBufferSize = 8 * 1024 * 1024;
    // Most memory the received list may take; older entries go first, as with the count.
    // 10000 datagrams of 64 KiB would otherwise take a gigabyte.
    static constexpr qint64 DefaultByteBudget = 64 * 1024 * 1024;

    RxPipeline(QUdpSocket *socket, const TextFilter *filter, RxMessageModel *model,
        QObject *parent = nullptr);

    // Binds the socket (closing it first) and enlarges its receive buffer.
    bool bind(const QHostAddress &address, quint16 port);
    void unbind();

    int displayLimit() const { return m_displayLimit; }
    // Takes effect at the next datagram.
    void setDisplayLimit(int limit);
    qint64 byteBudget() const { return m_byteBudget; }
    void setByteBudget(qint64 bytes);
    bool showIfNoRuleMatches() const { return m_showIfNoRuleMatches; }
    void setShowIfNoRuleMatches(bool show);

    // Datagrams read from the socket so far, shown or not, and those read but not yet in
    // the list.
    quint64 datagramCount() const { return m_datagramCount; }
    int pendingCount() const { return m_pending.size(); }

    // Lists a datagram at once, as if it had been read and shown with the given rule.
    void addMessage(
        const QHostAddress &address, quint16 port, const QByteArray &payload, int ruleIndex);
    // Forgets pending datagrams and empties the list.
    void clear();
    // Hands the pending datagrams to the list now.
    void flush();
    // Reads every datagram the socket holds, within the read budget.
    void readPendingDatagrams();

signals:
    // The rows from first to the end are about to be dropped from the list.
    void rowsAboutToBeTrimmed(int first);

private:
    void doQueue(
        const QHostAddress &address, quint16 port, QByteArray payload, QString text, int ruleIndex);
    void doTrim();
    QString doFormatTime(qint64 utcMsecs);
    QString doFormatAddress(const QHostAddress &address);

    QUdpSocket *m_socket;
    const TextFilter *m_filter;
    RxMessageModel *m_model;
    int m_displayLimit;
    qint64 m_byteBudget = DefaultByteBudget;
    bool m_showIfNoRuleMatches = true;

    QVector<RxMessageModel::Entry> m_pending;
    QTimer m_flushTimer;
    QElapsedTimer m_sinceFlush;
    quint64 m_datagramCount = 0;

    // The last header parts, reused while time and sender stay the same.
    qint64 m_utcSecond = -1;
    qint64 m_utcOffsetMsecs = 0;
    qint64 m_timeMsecs = -1;
    QString m_timeText;
    QHostAddress m_address;
    QString m_addressText;
};
