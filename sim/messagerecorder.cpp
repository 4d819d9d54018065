#include "messagerecorder.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

bool MessageRecorder::open(const QString &path, QString *error)
{
    m_file.setFileName(path);
    // Unbuffered, each line checked as it goes out: an interrupted recording keeps all it had.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString());
        return false;
    }
    const QJsonObject header { { QStringLiteral("format"), QLatin1String(FormatName) },
        { QStringLiteral("version"), FormatVersion },
        { QStringLiteral("started_utc"),
            QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) } };
    const QByteArray line = QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n';
    if (!m_writer.open() || !m_writer.write(line)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, m_writer.errorString());
        m_file.close();
        return false;
    }
    m_clock.start();
    m_count = 0;
    return true;
}

void MessageRecorder::recordBinary(const QByteArray &message)
{
    doWrite("binary", QString::fromLatin1(message.toBase64()));
}

void MessageRecorder::recordText(const QString &text)
{
    doWrite("text", text);
}

void MessageRecorder::doWrite(const char *type, const QJsonValue &data)
{
    if (!m_file.isOpen() || m_writer.hasFailed())
        return;
    const QJsonObject entry { { QStringLiteral("t_ms"), m_clock.elapsed() },
        { QStringLiteral("type"), QLatin1String(type) }, { QStringLiteral("data"), data } };
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    if (!m_writer.write(line)) {
        qWarning("Recording stopped: cannot write %s: %s", qPrintable(m_file.fileName()),
            qPrintable(m_writer.errorString()));
        return;
    }
    ++m_count;
}

void MessageRecorder::close()
{
    if (!m_file.isOpen())
        return;
    const bool failedBefore = m_writer.hasFailed();
    if (!m_writer.commit() && !failedBefore) {
        qWarning("Recording may be incomplete: cannot write %s: %s", qPrintable(m_file.fileName()),
            qPrintable(m_writer.errorString()));
    }
    m_file.close();
    qInfo("Recorded %llu messages to %s", m_count, qPrintable(m_file.fileName()));
}
