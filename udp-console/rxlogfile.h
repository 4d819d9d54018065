#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class RxMessageModel;

// Saves the received list to a UTF-8 text file, oldest entry first: a header line, then one
// line per datagram with three fields separated by tabs: the local time it was read
// (ISO 8601 with milliseconds and the offset from UTC), the sender as "address:port"
// ("[address]:port" for IPv6) and the payload as PayloadText::escaped() writes it, so that
// binary payloads survive byte for byte.
//
// Written through SafeFileWriter: every write is checked and the file is synced before it
// replaces an older one; when anything fails, the older file stays as it was.
class RxLogFile
{
    Q_DECLARE_TR_FUNCTIONS(RxLogFile)

public:
    static const char HeaderLine[];

    // Returns false and sets errorString when the file was not written.
    static bool save(const QString &path, const RxMessageModel &model, QString *errorString);
    // The name a list saved at that time is offered under.
    static QString defaultFileName(const QDateTime &time);
};
