#include "messagerecorder.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

const char *const MessageRecorder::FormatName = "vantor-radar-sim recording";

bool MessageRecorder::open(const QString &path, QString *error)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString());
        return false;
    }
    const QJsonObject header { { QStringLiteral("format"), QLatin1String(FormatName) },
        { QStringLiteral("version"), FormatVersion },
        { QStringLiteral("started_utc"),
            QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) } };
    const QByteArray line = QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n';
    if (m_file.write(line) != line.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString());
        m_file.close();
        return false;
    }
    m_file.flush();
    m_clock.start();
    m_count = 0;
    m_failed = false;
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
    if (!m_file.isOpen() || m_failed)
        return;
    const QJsonObject entry { { QStringLiteral("t_ms"), m_clock.elapsed() },
        { QStringLiteral("type"), QLatin1String(type) }, { QStringLiteral("data"), data } };
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    // Each line goes out at once, so an interrupted recording keeps all it had.
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        m_failed = true;
        qWarning("Recording stopped: cannot write %s: %s", qPrintable(m_file.fileName()),
            qPrintable(m_file.errorString()));
        return;
    }
    ++m_count;
}

void MessageRecorder::close()
{
    if (m_file.isOpen()) {
        m_file.close();
        qInfo("Recorded %llu messages to %s", m_count, qPrintable(m_file.fileName()));
    }
}
