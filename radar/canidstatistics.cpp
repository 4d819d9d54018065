#include "canidstatistics.h"

CanIdStatistics::CanIdStatistics(qint64 windowMs)
    : m_windowMs(qMax<qint64>(1, windowMs))
{ }

void CanIdStatistics::add(
    quint16 id, quint64 count, const QByteArray &serialized, qint64 frameTimeMs, qint64 nowMs)
{
    Record &record = m_entries[id];
    if (count == record.entry.count)
        return;
    // A reset of the client's statistics, or frame time running back (a recording sought
    // back): the old samples say nothing about the new rate.
    if (count < record.entry.count
        || (!record.samples.isEmpty() && frameTimeMs < record.samples.last().tMs))
        record.samples.clear();
    record.entry.count = count;
    record.entry.payload = serialized.mid(3);
    record.entry.lastSeenMs = nowMs;
    m_newestMs = frameTimeMs;

    QVector<Sample> &samples = record.samples;
    if (!samples.isEmpty() && samples.last().tMs == frameTimeMs)
        samples.last().count = count;
    else
        samples.append({ frameTimeMs, count });
    // Keep one sample at or before the window's start as the base of the rate.
    const qint64 windowStart = frameTimeMs - m_windowMs;
    int drop = 0;
    while (drop + 1 < samples.size() && samples.at(drop + 1).tMs <= windowStart)
        ++drop;
    drop = qMax(drop, samples.size() - MaxSamples);
    if (drop > 0)
        samples.remove(0, drop);
}

void CanIdStatistics::clear()
{
    m_entries.clear();
    m_newestMs = 0;
}

double CanIdStatistics::rate(quint16 id) const
{
    const auto it = m_entries.constFind(id);
    if (it == m_entries.cend() || it->samples.isEmpty())
        return 0.0;
    // The frames after the last sample at or before the window's start (or after the first
    // sample while the identifier is younger than the window), per second up to the
    // newest frame time: a periodic identifier comes out at its period, one that stopped
    // falls to 0 as the window passes it.
    const QVector<Sample> &samples = it->samples;
    const qint64 windowStart = m_newestMs - m_windowMs;
    int base = 0;
    while (base + 1 < samples.size() && samples.at(base + 1).tMs <= windowStart)
        ++base;
    const Sample &first = samples.at(base);
    const Sample &last = samples.last();
    if (m_newestMs <= first.tMs || last.tMs > m_newestMs)
        return 0.0;
    return double(last.count - first.count) * 1000.0 / double(m_newestMs - first.tMs);
}
