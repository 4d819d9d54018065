#include "consoleconfigfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace {
// A configuration is a few kilobytes; anything this large is not one of ours.
constexpr qint64 MaxConfigSize = 16 * 1024 * 1024;

enum class Content { Missing, Unreadable, Empty, Object, Other };

Content readContent(const QString &path, QJsonObject *object)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Content::Missing;
    // A device such as /dev/zero never ends and opening a pipe waits for a writer: either
    // would freeze the window, so only regular files are read.
    if (!info.isFile())
        return Content::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Content::Unreadable;
    if (file.size() > MaxConfigSize)
        return Content::Other;
    const QByteArray bytes = file.readAll();
    if (bytes.trimmed().isEmpty())
        return Content::Empty;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Content::Other;
    if (object)
        *object = document.object();
    return Content::Object;
}
} // namespace

QJsonObject ConsoleConfigFile::read(const QString &path, bool *ok)
{
    QJsonObject object;
    const bool isObject = readContent(path, &object) == Content::Object;
    if (ok)
        *ok = isObject;
    return object;
}

bool ConsoleConfigFile::write(const QString &path, const QJsonObject &object)
{
    if (!backUpUnparsable(path))
        return false;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString ConsoleConfigFile::backupPath(const QString &path, const QDateTime &time)
{
    const QString stem = path + QLatin1Char('.') + time.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = stem + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = stem + QStringLiteral("-%1.bak").arg(n);
    return candidate;
}

bool ConsoleConfigFile::backUpUnparsable(const QString &path)
{
    switch (readContent(path, nullptr)) {
    case Content::Missing:
    case Content::Empty:
    case Content::Object:
        return true;
    case Content::Unreadable:
        // What cannot be checked is not overwritten.
        return false;
    case Content::Other:
        break;
    }
    // QFile::copy never replaces an existing file.
    return QFile::copy(path, backupPath(path, QDateTime::currentDateTime()));
}
