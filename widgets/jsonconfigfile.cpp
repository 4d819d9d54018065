#include "jsonconfigfile.h"

#include "safefilewriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {
constexpr qint64 ReadChunkSize = 256 * 1024;
// Backup names tried within one second before giving up.
constexpr int MaxBackupAttempts = 100;
// How much larger than the compact form the indented form may be.
constexpr qint64 IndentedSizeFactor = 4;
} // namespace

JsonConfigFile::JsonConfigFile(qint64 maxSize)
    : m_maxSize(maxSize)
{ }

JsonConfigFile::Content JsonConfigFile::read(const QString &path, QJsonObject *object)
{
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    if (m_keptPath == absolutePath)
        m_keptPath.clear();
    const Content content = doInspect(path, object);
    if (content == Content::Unusable || content == Content::Empty)
        m_keptPath = absolutePath;
    return content;
}

void JsonConfigFile::keepBeforeOverwrite(const QString &path)
{
    m_keptPath = QFileInfo(path).absoluteFilePath();
}

JsonConfigFile::WriteResult JsonConfigFile::write(const QString &path, const QJsonObject &object)
{
    m_lastBackupPath.clear();
    m_errorString.clear();
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    const Content content = doInspect(path, nullptr);
    if (content == Content::NotRegularFile) {
        m_errorString = tr("%1 is not a regular file").arg(absolutePath);
        return WriteResult::NotWritten;
    }
    // The system lets root replace a file marked read-only; the mark is the user's word.
    // (WriteUser would ask the system, which says yes to root.)
    const QFileDevice::Permissions writable
        = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (content != Content::Missing && !(QFileInfo(path).permissions() & writable)) {
        m_errorString = tr("%1 is read-only").arg(absolutePath);
        return WriteResult::NotWritten;
    }
    const QByteArray bytes = doSerialize(object);
    if (bytes.isEmpty())
        return WriteResult::NotWritten;
    // Also a file that broke after it was read, say by a hand edit while the program ran.
    const bool kept = m_keptPath == absolutePath && content != Content::Missing;
    if (kept || content == Content::Unusable || content == Content::Empty) {
        if (!doBackUp(absolutePath))
            return WriteResult::NotBackedUp;
    }
    if (m_keptPath == absolutePath)
        m_keptPath.clear();

    if (!SafeFileWriter::writeFile(path, bytes, &m_errorString))
        return WriteResult::NotWritten;
    return WriteResult::Written;
}

QString JsonConfigFile::backupPath(const QString &path, const QDateTime &time)
{
    const QString stem = path + QLatin1Char('.') + time.toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString candidate = stem + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = QStringLiteral("%1-%2.bak").arg(stem).arg(n);
    return candidate;
}

JsonConfigFile::Content JsonConfigFile::doInspect(const QString &path, QJsonObject *object) const
{
    const QFileInfo info(path);
    if (!info.exists())
        return Content::Missing;
    if (!info.isFile())
        return Content::NotRegularFile;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Content::Unusable;
    // In pieces: QIODevice::read(n) reserves all n bytes up front.
    QByteArray bytes;
    while (bytes.size() <= m_maxSize) {
        const QByteArray chunk = file.read(qMin(ReadChunkSize, m_maxSize + 1 - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (file.error() != QFileDevice::NoError || bytes.size() > m_maxSize)
        return Content::Unusable;
    if (bytes.trimmed().isEmpty())
        return Content::Empty;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Content::Unusable;
    if (object)
        *object = document.object();
    return Content::Object;
}

QByteArray JsonConfigFile::doSerialize(const QJsonObject &object)
{
    const QJsonDocument document(object);
    const QByteArray compact = document.toJson(QJsonDocument::Compact);
    if (compact.size() > m_maxSize) {
        m_errorString = tr("the configuration takes %1 bytes, more than the %2 bytes that can "
                           "be read back")
                            .arg(compact.size())
                            .arg(m_maxSize);
        return QByteArray();
    }
    // Indented at most four times the compact size, which also keeps it within the bound.
    if (compact.size() <= m_maxSize / IndentedSizeFactor) {
        QByteArray indented = document.toJson(QJsonDocument::Indented);
        if (indented.size() <= IndentedSizeFactor * compact.size())
            return indented;
    }
    return compact;
}

bool JsonConfigFile::doBackUp(const QString &absolutePath)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (int attempt = 1; attempt <= MaxBackupAttempts; ++attempt) {
        const QString candidate = backupPath(absolutePath, now);
        // QFile::copy never replaces an existing file; a name taken meanwhile is tried again.
        QFile source(absolutePath);
        if (source.copy(candidate)) {
            m_lastBackupPath = candidate;
            return true;
        }
        m_errorString = source.errorString();
        if (!QFileInfo::exists(candidate))
            return false;
    }
    return false;
}
