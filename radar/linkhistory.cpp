#include "linkhistory.h"

#include <algorithm>

LinkHistory::LinkHistory(qint64 spanMs)
    : m_spanMs(qMax<qint64>(1, spanMs))
{ }

void LinkHistory::addLatency(qint64 nowMs, quint64 latencyMs)
{
    expire(nowMs);
    m_latencies.append({ nowMs, latencyMs });
}

void LinkHistory::addConnected(qint64 nowMs)
{
    expire(nowMs);
    if (m_linkLost)
        m_reconnects.append(nowMs);
}

void LinkHistory::addDisconnected(qint64 nowMs)
{
    expire(nowMs);
    m_linkLost = true;
}

void LinkHistory::expire(qint64 nowMs)
{
    const qint64 start = nowMs - m_spanMs;
    const auto latency = std::find_if(m_latencies.begin(), m_latencies.end(),
        [start](const Latency &l) { return l.tMs >= start; });
    m_latencies.erase(m_latencies.begin(), latency);
    const auto reconnect = std::find_if(
        m_reconnects.begin(), m_reconnects.end(), [start](qint64 t) { return t >= start; });
    m_reconnects.erase(m_reconnects.begin(), reconnect);
}

quint64 LinkHistory::maxLatencyMs() const
{
    quint64 most = 0;
    for (const Latency &l : m_latencies)
        most = qMax(most, l.latencyMs);
    return most;
}
