#include "recordingreader.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

bool RecordingReader::open(const QString &path)
{
    close();
    m_error = Error::None;
    m_errorString.clear();
    m_skipped = 0;
    m_skippedTooLong = 0;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return doFail(Error::CannotRead,
            QStringLiteral("cannot read %1: %2").arg(path, m_file.errorString()));
    const QByteArray line = m_file.readLine(64 * 1024);
    const QJsonObject header = QJsonDocument::fromJson(line).object();
    if (header.value(QStringLiteral("format")).toString() != QLatin1String(FormatName))
        return doFail(
            Error::NotARecording, QStringLiteral("%1 is not a simulator recording").arg(path));
    if (header.value(QStringLiteral("version")).toInt(-1) != FormatVersion)
        return doFail(Error::UnsupportedVersion,
            QStringLiteral("%1: unsupported recording version").arg(path));
    m_dataStart = m_file.pos();
    m_lastTMs = 0;
    m_pendingPos = m_dataStart;
    m_hasPending = doRead(&m_pending);
    if (!m_hasPending) {
        return doFail(Error::NoMessages,
            m_skipped == 0
                ? QStringLiteral("%1 holds no messages").arg(path)
                : QStringLiteral("%1 holds no messages: all %2 of its lines were skipped (%3 "
                                 "longer than %4 bytes)")
                      .arg(path)
                      .arg(m_skipped)
                      .arg(m_skippedTooLong)
                      .arg(MaxLineSize));
    }
    return true;
}

void RecordingReader::close()
{
    m_file.close();
    m_hasPending = false;
    m_pending = Entry();
}

bool RecordingReader::doFail(Error error, const QString &text)
{
    m_error = error;
    m_errorString = text;
    close();
    return false;
}

bool RecordingReader::readNext(Entry *entry)
{
    if (m_hasPending) {
        m_hasPending = false;
        *entry = std::move(m_pending);
        return true;
    }
    return doRead(entry);
}

qint64 RecordingReader::pos() const
{
    return m_hasPending ? m_pendingPos : m_file.pos();
}

bool RecordingReader::seek(qint64 pos, qint64 lastTMs)
{
    m_hasPending = false;
    if (!m_file.isOpen() || pos < m_dataStart || !m_file.seek(pos))
        return false;
    m_lastTMs = lastTMs;
    return true;
}

void RecordingReader::doSkip(const char *what)
{
    if (m_skipped++ < 10)
        qWarning("Recording %s: skipped %s", qPrintable(m_file.fileName()), what);
}

bool RecordingReader::doRead(Entry *entry)
{
    if (!m_file.isOpen())
        return false;
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
            doSkip("a malformed line");
            continue;
        }
        if (binary) {
            const auto decoded = QByteArray::fromBase64Encoding(
                data.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) {
                doSkip("a line with broken base64");
                continue;
            }
            entry->data = decoded.decoded;
        } else {
            entry->data = data.toString().toUtf8();
        }
        entry->binary = binary;
        entry->tMs = qMax(qint64(t.toDouble()), m_lastTMs);
        m_lastTMs = entry->tMs;
        return true;
    }
    return false;
}
