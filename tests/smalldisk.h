#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

// A real file system of a few KiB (tmpfs) mounted on a temporary folder for the life of
// the object, which a test can fill to the last byte. Mounting needs the right to mount
// (root); where it fails, reason() says why, so the test can skip with that reason.
class SmallDisk
{
public:
    explicit SmallDisk(int kib = 16)
    {
        if (!m_dir.isValid()) {
            m_reason = QStringLiteral("no temporary folder: %1").arg(m_dir.errorString());
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kib) + 'k';
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                options.constData())
            == 0) {
            m_mounted = true;
            return;
        }
        m_reason = QStringLiteral("cannot mount a small tmpfs on %1: %2")
                       .arg(m_dir.path(), QString::fromLocal8Bit(std::strerror(errno)));
    }

    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }

    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_reason; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Fills what is left with a file named "filler"; true once not one more byte fits.
    bool fill()
    {
        const QByteArray path = QFile::encodeName(filePath(QStringLiteral("filler")));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        bool full = false;
        for (int size = block.size(); size > 0 && !full;) {
            if (::write(fd, block.constData(), size_t(size)) < 0) {
                if (errno != ENOSPC)
                    break;
                // The last page may still take a few bytes.
                size /= 2;
                full = size == 0;
            }
        }
        ::close(fd);
        return full;
    }

    // Frees the space fill() took.
    bool unfill() { return QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};

// Skips the running test, saying why, where no small disk can be mounted.
#define VANTOR_REQUIRE_SMALL_DISK(disk)                                                            \
    do {                                                                                           \
        if (!(disk).isMounted())                                                                   \
            QSKIP(qPrintable((disk).reason()));                                                    \
    } while (false)
