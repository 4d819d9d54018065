#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

class QDateTime;

// Reads and writes a JSON configuration file without ever losing the user's file.
//
// - Only regular files are read: a device such as /dev/zero never ends and opening a pipe
//   waits for a writer, either of which would freeze the program.
// - Files above the size bound are not read; reading goes in pieces, so a small file
//   needs memory for itself only.
// - A file that exists but cannot be used (unreadable, too large, not a JSON object, empty,
//   or marked by the caller with keepBeforeOverwrite()) is copied next to itself as
//   "<file>.<yyyyMMdd-hhmmss>.bak" ("-2", "-3", ... before ".bak" when that name is taken;
//   an existing backup is never replaced) before it is first overwritten. If the copy
//   fails, the file is not overwritten.
// - An empty file counts as unusable too: it is what a save on a full disk used to leave.
// - Writing goes through SafeFileWriter: a failed write leaves the previous file whole.
// - A file without write permission is never replaced, not even by root.
// - What is written can be read back: indented for people to read, but compact when the
//   indentation would more than quadruple the size (deep nesting) or the file is large,
//   and not at all when even the compact form is above the size bound.
class JsonConfigFile
{
    Q_DECLARE_TR_FUNCTIONS(JsonConfigFile)

public:
    enum class Content { Missing, Empty, Object, Unusable, NotRegularFile };
    enum class WriteResult { Written, NotBackedUp, NotWritten };

    static constexpr qint64 DefaultMaxSize = 64 * 1024 * 1024;

    explicit JsonConfigFile(qint64 maxSize = DefaultMaxSize);

    // What the file holds; object receives the JSON object when the result is Object.
    Content read(const QString &path, QJsonObject *object = nullptr);
    // The caller cannot use what it read from path: keep a copy before overwriting it.
    void keepBeforeOverwrite(const QString &path);
    // Writes the object as JSON. A file that is not a regular file is never replaced.
    WriteResult write(const QString &path, const QJsonObject &object);

    // The copy the last write() made, or an empty string.
    QString lastBackupPath() const { return m_lastBackupPath; }
    // Why the last write() failed.
    QString errorString() const { return m_errorString; }

    // The first backup name for path at time that no file holds yet.
    static QString backupPath(const QString &path, const QDateTime &time);

private:
    Content doInspect(const QString &path, QJsonObject *object) const;
    // Empty, with the reason in m_errorString, when the object cannot be read back.
    QByteArray doSerialize(const QJsonObject &object);
    bool doBackUp(const QString &absolutePath);

    qint64 m_maxSize;
    // Absolute path of a file that could not be used and has not been copied yet.
    QString m_keptPath;
    QString m_lastBackupPath;
    QString m_errorString;
};
