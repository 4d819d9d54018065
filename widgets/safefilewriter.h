#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSaveFile>
#include <QString>

class QIODevice;

// The one way the programs write files, so that a save either keeps every byte or says
// in words why it did not.
//
// - Replacing a file (constructed with a path): the bytes go to a temporary file beside
//   it, unbuffered, every write checked. commit() syncs the temporary file to the disk,
//   checks that it holds every byte written and only then renames it over the file. Any
//   failure, and a writer destroyed before commit(), leaves the previous file as it was
//   and removes the temporary file. Buffered writes would hide a full disk until the
//   commit, and Qt's commit neither syncs nor counts the bytes.
// - Streaming onto a device the caller opened and owns (constructed with a device, for a
//   log or a recording that must keep what it had when the program stops): every write()
//   has left the device's buffers when it returns true, and commit() also syncs a file to
//   the disk. Short writes are continued.
//
// After the first failure every further write() and commit() fails; errorString() holds
// the reason, never Qt's "Unknown error".
class SafeFileWriter
{
    Q_DECLARE_TR_FUNCTIONS(SafeFileWriter)

public:
    explicit SafeFileWriter(const QString &path);
    explicit SafeFileWriter(QIODevice *device);
    ~SafeFileWriter();

    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    bool open();
    bool write(const QByteArray &bytes);
    bool commit();
    // Drops what a replacing writer wrote; the previous file stays.
    void cancel();

    bool hasFailed() const { return m_failed; }
    qint64 bytesWritten() const { return m_written; }
    QString errorString() const { return m_errorString; }

    // Replaces the file at path with bytes in one go.
    static bool writeFile(const QString &path, const QByteArray &bytes, QString *errorString);

private:
    bool doWriteAll(const QByteArray &bytes);
    bool doFlush();
    bool doSync();
    bool doFail(const QString &reason);
    QString doDeviceError(const QString &fallback) const;

    QSaveFile m_file;
    QIODevice *m_device = nullptr;
    bool m_replacing = false;
    bool m_failed = false;
    qint64 m_written = 0;
    QString m_errorString;
};
