#include "recordingplayback.h"

#include <algorithm>
#include <cmath>

namespace {

// A seek reads at most this much recording time of lines from the nearest mark.
constexpr qint64 MarkSpacingMs = 1000;
// Between two passes of a looped recording, in recording time.
constexpr qint64 LoopPauseMs = 100;
constexpr int PositionIntervalMs = 250;

} // namespace

RecordingPlayback::RecordingPlayback(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RecordingPlayback::doPlayDue);
    m_positionTimer.setInterval(PositionIntervalMs);
    connect(
        &m_positionTimer, &QTimer::timeout, this, [this] { emit positionChanged(positionMs()); });
}

bool RecordingPlayback::open(const QString &path)
{
    close();
    if (!m_reader.open(path) || !doIndex()) {
        close();
        return false;
    }
    seek(m_marks.first().tMs);
    return true;
}

void RecordingPlayback::close()
{
    doSetPlaying(false);
    m_reader.close();
    m_marks.clear();
    m_hasNext = false;
    m_durationMs = 0;
    m_baseMs = 0;
}

bool RecordingPlayback::doIndex()
{
    RecordingReader::Entry entry;
    qint64 pos = m_reader.pos();
    while (m_reader.readNext(&entry)) {
        if (m_marks.isEmpty() || entry.tMs >= m_marks.last().tMs + MarkSpacingMs)
            m_marks.append({ entry.tMs, pos });
        m_durationMs = entry.tMs;
        pos = m_reader.pos();
    }
    return !m_marks.isEmpty();
}

qint64 RecordingPlayback::positionMs() const
{
    const qint64 position
        = m_playing ? m_baseMs + qint64(std::floor(m_clock.elapsed() * m_speed)) : m_baseMs;
    return qBound<qint64>(0, position, m_durationMs);
}

void RecordingPlayback::play()
{
    if (!isOpen() || m_playing)
        return;
    if (!m_hasNext)
        seek(m_marks.first().tMs);
    doRebase(m_baseMs);
    doSetPlaying(true);
    doPlayDue();
}

void RecordingPlayback::pause()
{
    if (!m_playing)
        return;
    m_baseMs = positionMs();
    m_timer.stop();
    doSetPlaying(false);
}

void RecordingPlayback::setSpeed(double speed)
{
    const double bounded = std::isfinite(speed) ? qBound(MinSpeed, speed, MaxSpeed) : 1.0;
    doRebase(positionMs());
    m_speed = bounded;
    if (m_playing)
        doPlayDue();
}

void RecordingPlayback::setLoop(bool loop)
{
    m_loop = loop;
}

void RecordingPlayback::seek(qint64 positionMs)
{
    if (!isOpen())
        return;
    const qint64 target = qBound<qint64>(0, positionMs, m_durationMs);
    doSeek(target);
    doRebase(target);
    emit positionChanged(target);
    if (m_playing)
        doPlayDue();
}

void RecordingPlayback::doSeek(qint64 positionMs)
{
    ++m_seeks;
    // The last mark at or before the position; the first one when it lies before that.
    auto mark = std::upper_bound(m_marks.cbegin(), m_marks.cend(), positionMs,
        [](qint64 t, const Mark &m) { return t < m.tMs; });
    if (mark != m_marks.cbegin())
        --mark;
    m_hasNext = m_reader.seek(mark->pos, mark->tMs) && m_reader.readNext(&m_next);
    while (m_hasNext && m_next.tMs < positionMs)
        m_hasNext = m_reader.readNext(&m_next);
}

void RecordingPlayback::doRebase(qint64 positionMs)
{
    m_baseMs = positionMs;
    m_clock.start();
}

void RecordingPlayback::doSetPlaying(bool playing)
{
    if (playing) {
        m_positionTimer.start();
    } else {
        m_timer.stop();
        m_positionTimer.stop();
    }
    if (m_playing == playing)
        return;
    m_playing = playing;
    emit playingChanged(playing);
}

void RecordingPlayback::doPlayDue()
{
    while (m_playing && m_hasNext) {
        const qint64 now = m_baseMs + qint64(std::floor(m_clock.elapsed() * m_speed));
        if (m_next.tMs > now) {
            const double waitMs = std::ceil((m_next.tMs - now) / m_speed);
            m_timer.start(int(qMin(waitMs, 3600.0 * 1000.0)));
            return;
        }
        const quint64 seeks = m_seeks;
        if (m_next.binary)
            emit binaryMessage(m_next.data);
        else
            emit textMessage(QString::fromUtf8(m_next.data));
        // A receiver may have paused, sought or closed the playback.
        if (seeks != m_seeks || !isOpen())
            return;
        m_hasNext = m_reader.readNext(&m_next);
        if (!m_hasNext && m_loop) {
            doSeek(m_marks.first().tMs);
            doRebase(m_marks.first().tMs - LoopPauseMs);
        }
    }
    if (!m_playing)
        return;
    m_baseMs = m_durationMs;
    doSetPlaying(false);
    emit positionChanged(m_durationMs);
    emit finished();
}
