#pragma once

#include <QVector>
#include <QtGlobal>

// The server link over the last hour: the ping latencies measured and the moments the
// link came back after it had been lost. Times are the caller's clock in milliseconds;
// older entries are dropped as new ones come.
class LinkHistory
{
public:
    static constexpr qint64 DefaultSpanMs = 3600 * 1000;

    struct Latency
    {
        qint64 tMs = 0;
        quint64 latencyMs = 0;
    };

    explicit LinkHistory(qint64 spanMs = DefaultSpanMs);

    void addLatency(qint64 nowMs, quint64 latencyMs);
    // The link is up; after a connection that was lost this counts as a reconnect.
    void addConnected(qint64 nowMs);
    void addDisconnected(qint64 nowMs);
    // Drops what is older than the span before nowMs.
    void expire(qint64 nowMs);

    qint64 spanMs() const { return m_spanMs; }
    const QVector<Latency> &latencies() const { return m_latencies; }
    const QVector<qint64> &reconnects() const { return m_reconnects; }
    quint64 maxLatencyMs() const;

private:
    qint64 m_spanMs;
    bool m_linkLost = false;
    QVector<Latency> m_latencies;
    QVector<qint64> m_reconnects;
};
