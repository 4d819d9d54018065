#pragma once

#include <QString>

#include <memory>

// Makes a folder read-only, or puts a small file system on it, for the life of the object,
// so that tests meet real write failures. Root may write anywhere, so for root both are
// mounts in a mount namespace of the test process's own (left with the process, never seen
// by the rest of the system); for other users a read-only folder is a plain chmod.
class FolderMount
{
public:
    // nullptr, with the reason in why, when this system does not allow it.
    static std::unique_ptr<FolderMount> readOnly(const QString &path, QString *why);
    static std::unique_ptr<FolderMount> smallFileSystem(
        const QString &path, int kibibytes, QString *why);

    ~FolderMount();
    FolderMount(const FolderMount &) = delete;
    FolderMount &operator=(const FolderMount &) = delete;

private:
    enum class Kind { Mount, Permissions };
    FolderMount(const QString &path, Kind kind);
    static bool enterOwnMountNamespace(QString *why);

    QString m_path;
    Kind m_kind;
};
