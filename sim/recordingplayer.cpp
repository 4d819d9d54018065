#include "recordingplayer.h"

#include "messagerecorder.h"
#include "radarframeencoder.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

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
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, m_file.errorString());
        return false;
    }
    const QByteArray line = m_file.readLine(64 * 1024);
    const QJsonObject header = QJsonDocument::fromJson(line).object();
    if (header.value(QStringLiteral("format")).toString()
        != QLatin1String(MessageRecorder::FormatName)) {
        *error = QStringLiteral("%1 is not a simulator recording").arg(path);
        m_file.close();
        return false;
    }
    if (header.value(QStringLiteral("version")).toInt(-1) != MessageRecorder::FormatVersion) {
        *error = QStringLiteral("%1: unsupported recording version").arg(path);
        m_file.close();
        return false;
    }
    m_dataStart = m_file.pos();
    m_hasNext = doReadNext();
    if (!m_hasNext) {
        *error = m_skipped == 0
            ? QStringLiteral("%1 holds no messages").arg(path)
            : QStringLiteral("%1 holds no messages: all %2 of its lines were skipped (%3 longer "
                             "than %4 bytes)")
                  .arg(path)
                  .arg(m_skipped)
                  .arg(m_skippedTooLong)
                  .arg(MaxLineSize);
        m_file.close();
        return false;
    }
    return true;
}

void RecordingPlayer::setSpeed(double speed)
{
    m_speed = std::isfinite(speed) ? qBound(0.01, speed, 1000.0) : 1.0;
}

bool RecordingPlayer::doReadNext()
{
    while (!m_file.atEnd()) {
        QByteArray line = m_file.readLine(MaxLineSize);
        if (!line.endsWith('\n') && !m_file.atEnd()) {
            // Too long: skip the rest of it.
            while (!m_file.atEnd() && !line.endsWith('\n'))
                line = m_file.readLine(MaxLineSize);
            ++m_skippedTooLong;
            if (m_skipped++ < 10)
                qWarning("Recording %s: skipped a line longer than %lld bytes",
                    qPrintable(m_file.fileName()), MaxLineSize);
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        const QString type = o.value(QStringLiteral("type")).toString();
        const QJsonValue t = o.value(QStringLiteral("t_ms"));
        const QJsonValue data = o.value(QStringLiteral("data"));
        const bool binary = type == QLatin1String("binary");
        if (!t.isDouble() || t.toDouble() < 0 || !data.isString()
            || (!binary && type != QLatin1String("text"))) {
            if (m_skipped++ < 10)
                qWarning("Recording %s: skipped a malformed line", qPrintable(m_file.fileName()));
            continue;
        }
        Entry e;
        e.tMs = qint64(t.toDouble());
        e.binary = binary;
        if (binary) {
            const auto decoded = QByteArray::fromBase64Encoding(
                data.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) {
                if (m_skipped++ < 10)
                    qWarning("Recording %s: skipped a line with broken base64",
                        qPrintable(m_file.fileName()));
                continue;
            }
            e.data = decoded.decoded;
        } else {
            e.data = data.toString().toUtf8();
        }
        // Times never run backwards within one pass.
        e.tMs = qMax(e.tMs, m_lastTMs);
        m_lastTMs = e.tMs;
        m_next = e;
        return true;
    }
    return false;
}

bool RecordingPlayer::doRewind()
{
    if (!m_file.seek(m_dataStart))
        return false;
    m_lastTMs = 0;
    return doReadNext();
}

void RecordingPlayer::start()
{
    if (!m_file.isOpen() || !m_hasNext)
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
        m_hasNext = doReadNext();
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
