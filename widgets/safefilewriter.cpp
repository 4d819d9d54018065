#include "safefilewriter.h"

#include <QFileDevice>
#include <QIODevice>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
// How long a device other than a file may take to pass on its buffered bytes.
constexpr int FlushTimeoutMs = 5000;
} // namespace

SafeFileWriter::SafeFileWriter(const QString &path)
    : m_file(path)
    , m_device(&m_file)
    , m_replacing(true)
{ }

SafeFileWriter::SafeFileWriter(QIODevice *device)
    : m_device(device)
{ }

SafeFileWriter::~SafeFileWriter()
{
    cancel();
}

bool SafeFileWriter::open()
{
    cancel();
    m_failed = false;
    m_written = 0;
    m_errorString.clear();
    if (m_replacing) {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return doFail(doDeviceError(tr("the file cannot be created")));
        return true;
    }
    if (!m_device || !m_device->isWritable())
        return doFail(tr("the file is not open for writing"));
    return true;
}

bool SafeFileWriter::write(const QByteArray &bytes)
{
    if (m_failed)
        return false;
    if (m_replacing && !m_file.isOpen())
        return doFail(tr("the file is not open for writing"));
    return doWriteAll(bytes) && doFlush();
}

bool SafeFileWriter::commit()
{
    if (m_failed)
        return false;
    if (m_replacing && !m_file.isOpen())
        return doFail(tr("the file is not open for writing"));
    if (!doFlush() || !doSync())
        return false;
    if (!m_replacing)
        return true;
    const qint64 size = m_file.size();
    if (size != m_written)
        return doFail(tr("the file holds %1 of the %2 bytes written").arg(size).arg(m_written));
    if (!m_file.commit()) {
        m_failed = true;
        m_errorString = doDeviceError(tr("the file cannot be put in place of the old one"));
        return false;
    }
    return true;
}

void SafeFileWriter::cancel()
{
    if (!m_replacing || !m_file.isOpen())
        return;
    // A cancelled QSaveFile only removes its temporary file on commit().
    m_file.cancelWriting();
    m_file.commit();
}

bool SafeFileWriter::writeFile(const QString &path, const QByteArray &bytes, QString *errorString)
{
    SafeFileWriter writer(path);
    if (writer.open() && writer.write(bytes) && writer.commit())
        return true;
    if (errorString)
        *errorString = writer.errorString();
    return false;
}

bool SafeFileWriter::doWriteAll(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = m_device->write(data, left);
        if (written <= 0) {
            return doFail(doDeviceError(tr("only %1 of %2 bytes could be written")
                                            .arg(bytes.size() - left)
                                            .arg(bytes.size())));
        }
        data += written;
        left -= written;
        m_written += written;
    }
    return true;
}

bool SafeFileWriter::doFlush()
{
    auto *file = qobject_cast<QFileDevice *>(m_device);
    qint64 pending = m_device->bytesToWrite();
    while (pending > 0) {
        if (file)
            file->flush();
        else
            m_device->waitForBytesWritten(FlushTimeoutMs);
        // A short write is continued: the next attempt says why the rest cannot go.
        const qint64 left = m_device->bytesToWrite();
        if (left >= pending) {
            return doFail(
                doDeviceError(tr("%1 written bytes cannot be passed on to the disk").arg(pending)));
        }
        pending = left;
    }
    return true;
}

bool SafeFileWriter::doSync()
{
    auto *file = qobject_cast<QFileDevice *>(m_device);
    if (!file || file->handle() < 0)
        return true;
    if (::fsync(file->handle()) == 0)
        return true;
    // Pipes and devices have nothing to sync.
    if (errno == EINVAL || errno == EROFS)
        return true;
    return doFail(tr("the file cannot be synced to the disk: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno))));
}

bool SafeFileWriter::doFail(const QString &reason)
{
    m_failed = true;
    m_errorString = reason;
    cancel();
    return false;
}

QString SafeFileWriter::doDeviceError(const QString &fallback) const
{
    const QString reason = m_device ? m_device->errorString() : QString();
    if (reason.isEmpty() || reason == QLatin1String("Unknown error")
        || reason == QIODevice::tr("Unknown error"))
        return fallback;
    return reason;
}
