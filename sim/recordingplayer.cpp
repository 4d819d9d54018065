#include "recordingplayer.h"

#include "radarframeencoder.h"

#include <QDateTime>

#include <cmath>

RecordingPlayer::RecordingPlayer(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RecordingPlayer::doPlayDue);
}

bool RecordingPlayer::open(const QString &path, QString *error)
{
    if (!m_reader.open(path)) {
        *error = m_reader.errorString();
        return false;
    }
    m_hasNext = m_reader.readNext(&m_next);
    return true;
}

void RecordingPlayer::setSpeed(double speed)
{
    m_speed = std::isfinite(speed) ? qBound(0.01, speed, 1000.0) : 1.0;
}

bool RecordingPlayer::doRewind()
{
    return m_reader.rewind() && m_reader.readNext(&m_next);
}

void RecordingPlayer::start()
{
    if (!m_reader.isOpen() || !m_hasNext)
        return;
    m_loopOffsetMs = m_next.tMs;
    m_clock.start();
    doPlayDue();
}

void RecordingPlayer::stop()
{
    m_timer.stop();
}

void RecordingPlayer::doPlayDue()
{
    while (m_hasNext) {
        const qint64 dueMs = qint64((m_next.tMs - m_loopOffsetMs) / m_speed);
        const qint64 wait = dueMs - m_clock.elapsed();
        if (wait > 0) {
            m_timer.start(int(qMin<qint64>(wait, 24 * 3600 * 1000)));
            return;
        }
        if (!m_next.binary && !m_playText) {
            ++m_textLeftOut;
        } else if (m_next.binary) {
            QByteArray message = m_next.data;
            if (m_restamp && message.size() > RadarFrameEncoder::TimeStampHeaderSize
                && message.startsWith("#DT"))
                message.replace(0, RadarFrameEncoder::TimeStampHeaderSize,
                    RadarFrameEncoder::timeStampHeader(QDateTime::currentDateTimeUtc()));
            emit binaryMessage(message);
        } else {
            emit textMessage(QString::fromUtf8(m_next.data));
        }
        if (m_next.binary || m_playText)
            ++m_played;
        m_hasNext = m_reader.readNext(&m_next);
        if (!m_hasNext && m_loop) {
            qInfo("Recording played through (%s); starting again", qPrintable(doPlayedText()));
            m_hasNext = doRewind();
            // A pause of 100 ms (recording time) between two passes, and always a return to
            // the event loop: at a high speed a short recording's passes would otherwise
            // follow each other without end, and the server would serve nobody.
            m_loopOffsetMs = m_next.tMs - 100;
            m_clock.restart();
            if (m_hasNext) {
                m_timer.start(int(qMax<qint64>(1, qint64(100 / m_speed))));
                return;
            }
        }
    }
    qInfo("Recording played through (%s)", qPrintable(doPlayedText()));
    emit finished();
}

QString RecordingPlayer::doPlayedText() const
{
    QString text = QStringLiteral("%1 messages").arg(m_played);
    if (m_textLeftOut > 0)
        text += QStringLiteral("; %1 text messages of the recorded server left out")
                    .arg(m_textLeftOut);
    return text;
}
