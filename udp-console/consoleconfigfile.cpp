#include "consoleconfigfile.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString fileName()
{
    return QStringLiteral(".%1_config.json").arg(QStringLiteral("qel-udp-client"));
}

bool isWritableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}
} // namespace

ConsoleConfigFile::Location ConsoleConfigFile::locate(
    const QString &programDir, const QString &userConfigDir)
{
    const QString programPath = QDir(programDir).filePath(fileName());
    if (isWritableFolder(programDir))
        return { programPath, QString() };
    const QString userPath = QDir(userConfigDir).filePath(fileName());
    if (QDir().mkpath(userConfigDir) && isWritableFolder(userConfigDir))
        return { userPath, tr("Settings are kept in %1").arg(QDir::toNativeSeparators(userPath)) };
    return { QFileInfo::exists(userPath) ? userPath : programPath,
        tr("Settings cannot be saved: neither %1 nor %2 can be written")
            .arg(QDir::toNativeSeparators(programDir), QDir::toNativeSeparators(userConfigDir)) };
}

ConsoleConfigFile::ReadResult ConsoleConfigFile::read(const QString &path, QJsonObject *object)
{
    m_message.clear();
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    switch (m_file.read(path, object)) {
    case JsonConfigFile::Content::Object:
        return ReadResult::Read;
    case JsonConfigFile::Content::Missing:
        return ReadResult::Missing;
    case JsonConfigFile::Content::Empty:
        // Most likely a save that was lost: kept for a look, as any unreadable file.
        m_file.keepBeforeOverwrite(path);
        m_message = tr("The settings file %1 is empty.").arg(shown);
        return ReadResult::Unusable;
    case JsonConfigFile::Content::Unusable:
        m_message = tr("The settings file %1 cannot be read as settings.").arg(shown);
        return ReadResult::Unusable;
    case JsonConfigFile::Content::NotRegularFile:
        break;
    }
    m_message = tr("%1 is not a regular file.").arg(shown);
    return ReadResult::NotRegularFile;
}

bool ConsoleConfigFile::write(const QString &path, const QJsonObject &object)
{
    m_message.clear();
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const JsonConfigFile::WriteResult result = m_file.write(path, object);
    const QString reason
        = m_file.errorString().isEmpty() ? tr("unknown error") : m_file.errorString();
    switch (result) {
    case JsonConfigFile::WriteResult::Written:
        if (!m_file.lastBackupPath().isEmpty()) {
            m_message = tr("The settings file could not be read. It was kept as %1 and "
                           "replaced with the current settings.")
                            .arg(QDir::toNativeSeparators(m_file.lastBackupPath()));
        }
        return true;
    case JsonConfigFile::WriteResult::NotBackedUp:
        m_message = tr("The settings were not saved: the unreadable settings file %1 could not "
                       "be kept as a copy, so it was not replaced (%2).")
                        .arg(shown, reason);
        return false;
    case JsonConfigFile::WriteResult::NotWritten:
        break;
    }
    m_message = tr("The settings could not be saved to %1: %2").arg(shown, reason);
    if (!m_file.lastBackupPath().isEmpty()) {
        m_message += QLatin1Char('\n')
            + tr("The unreadable settings file was kept as %1.")
                  .arg(QDir::toNativeSeparators(m_file.lastBackupPath()));
    }
    return false;
}
