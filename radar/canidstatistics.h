#pragma once

#include <QByteArray>
#include <QMap>
#include <QVector>
#include <QtGlobal>

// What a radar client's canMessageInfo tells about each CAN identifier: how many frames
// came, the last payload, the rate over a sliding window and when a frame last came. The
// rate is measured in frame time (the time-stamp headers), so that it is the radar's own
// rate whatever the network's jitter or a recording's playing speed; "last seen" is the
// caller's clock.
class CanIdStatistics
{
public:
    static constexpr qint64 DefaultWindowMs = 5000;
    // Samples kept per identifier: one per frame time, a window of 5 s at 100 Hz.
    static constexpr int MaxSamples = 512;

    struct Entry
    {
        quint64 count = 0;
        QByteArray payload;
        qint64 lastSeenMs = 0;
    };

    explicit CanIdStatistics(qint64 windowMs = DefaultWindowMs);

    // One report: the identifier's count so far, its last frame in wire form (identifier,
    // length, payload) and that frame's time; nowMs is the caller's clock. A report
    // without a new frame changes nothing; a smaller count starts the identifier afresh.
    void add(
        quint16 id, quint64 count, const QByteArray &serialized, qint64 frameTimeMs, qint64 nowMs);
    void clear();

    QList<quint16> ids() const { return m_entries.keys(); }
    Entry entry(quint16 id) const { return m_entries.value(id).entry; }
    // Frames per second over the window ending at the newest frame time reported; 0 for
    // an identifier that has not come within the window.
    double rate(quint16 id) const;

private:
    struct Sample
    {
        qint64 tMs = 0;
        quint64 count = 0;
    };
    struct Record
    {
        Entry entry;
        QVector<Sample> samples;
    };

    qint64 m_windowMs;
    qint64 m_newestMs = 0;
    QMap<quint16, Record> m_entries;
};
