#pragma once

#include <QJsonObject>
#include <QString>

class QDateTime;

// Reads and writes the console's JSON configuration file.
class ConsoleConfigFile
{
public:
    // The JSON object stored in the file. ok is false (and the object empty) when the
    // file does not exist, cannot be read, is empty or does not hold a JSON object.
    static QJsonObject read(const QString &path, bool *ok = nullptr);

    // Writes the object as indented JSON, atomically. A file already there that does
    // not hold a JSON object is copied to a backup first, so that a hand-edited file
    // with a typo is never lost. Returns false when nothing was written.
    static bool write(const QString &path, const QJsonObject &object);

    // "<path>.<yyyyMMdd-HHmmss>.bak", with "-2", "-3" ... before ".bak" while that name
    // is taken.
    static QString backupPath(const QString &path, const QDateTime &time);

private:
    static bool backUpUnparsable(const QString &path);
};
