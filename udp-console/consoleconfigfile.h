#pragma once

#include "jsonconfigfile.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

// Where the console keeps its configuration file, and reading and writing it with every
// problem put into words for the user.
class ConsoleConfigFile
{
    Q_DECLARE_TR_FUNCTIONS(ConsoleConfigFile)

public:
    // A configuration is a few kilobytes; anything this large is not one of ours.
    static constexpr qint64 MaxSize = 16 * 1024 * 1024;

    struct Location
    {
        QString path;
        // What the user should know about the place, for the status bar; empty when the
        // file is next to the program, where it belongs.
        QString notice;
    };

    // ".qel-udp-client_config.json" in programDir when that folder can be written, else in
    // userConfigDir (created if need be). When neither can be written, the file that exists
    // of the two is read, the one in programDir if none does, and the notice says that the
    // settings cannot be saved.
    static Location locate(const QString &programDir, const QString &userConfigDir);

    enum class ReadResult {
        Read,
        Missing,
        // Unreadable, empty, too large or not a JSON object: kept as a copy before it is
        // first overwritten.
        Unusable,
        // A folder, pipe or device: never read nor replaced.
        NotRegularFile,
    };

    // Reads the object stored at path; unless it was read, message() says what is wrong
    // with the file (nothing when it is missing).
    ReadResult read(const QString &path, QJsonObject *object);
    // Writes object to path. Returns false when it was not written; message() says why, and
    // also where an unreadable file was kept before it was replaced.
    bool write(const QString &path, const QJsonObject &object);
    QString message() const { return m_message; }

private:
    JsonConfigFile m_file { MaxSize };
    QString m_message;
};
