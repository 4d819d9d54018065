#pragma once

#include <QByteArray>
#include <QString>

// Whole files as the tests write and read them back.
namespace TestFiles {

// The file's bytes; empty when it cannot be read, which no test expects of a file it checks.
QByteArray read(const QString &path);
// Writes bytes as the whole file and flushes them; false when any step fails.
bool write(const QString &path, const QByteArray &bytes);

} // namespace TestFiles
