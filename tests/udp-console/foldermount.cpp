#include "foldermount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(
        QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
}
} // namespace

FolderMount::FolderMount(const QString &path, Kind kind)
    : m_path(path)
    , m_kind(kind)
{ }

FolderMount::~FolderMount()
{
    const QByteArray path = QFile::encodeName(m_path);
    if (m_kind == Kind::Mount)
        ::umount2(path.constData(), MNT_DETACH);
    else
        ::chmod(path.constData(), 0755);
}

bool FolderMount::enterOwnMountNamespace(QString *why)
{
    static int entered = -1;
    if (entered < 0) {
        entered = ::unshare(CLONE_NEWNS) == 0
            && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (!entered)
            *why = systemError("no mount namespace of our own");
    }
    return entered;
}

std::unique_ptr<FolderMount> FolderMount::readOnly(const QString &path, QString *why)
{
    const QByteArray name = QFile::encodeName(path);
    if (::geteuid() != 0) {
        if (::chmod(name.constData(), 0555) != 0) {
            *why = systemError("chmod");
            return nullptr;
        }
        std::unique_ptr<FolderMount> mount(new FolderMount(path, Kind::Permissions));
        if (::access(name.constData(), W_OK) == 0) {
            *why = QStringLiteral("this user may write into read-only folders");
            return nullptr;
        }
        return mount;
    }
    if (!enterOwnMountNamespace(why))
        return nullptr;
    if (::mount(name.constData(), name.constData(), nullptr, MS_BIND, nullptr) != 0) {
        *why = systemError("bind mount");
        return nullptr;
    }
    std::unique_ptr<FolderMount> mount(new FolderMount(path, Kind::Mount));
    if (::mount(nullptr, name.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr)
        != 0) {
        *why = systemError("read-only remount");
        return nullptr;
    }
    return mount;
}

std::unique_ptr<FolderMount> FolderMount::smallFileSystem(
    const QString &path, int kibibytes, QString *why)
{
    if (::geteuid() != 0) {
        *why = QStringLiteral("mounting a file system needs root");
        return nullptr;
    }
    if (!enterOwnMountNamespace(why))
        return nullptr;
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + 'k';
    if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData())
        != 0) {
        *why = systemError("tmpfs mount");
        return nullptr;
    }
    return std::unique_ptr<FolderMount>(new FolderMount(path, Kind::Mount));
}
