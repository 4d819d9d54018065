#pragma once

#include <QJsonObject>
#include <QString>

// Reads the simulator's JSON files (the road, the radar's saved state) through
// JsonConfigFile, so that a device, a pipe or a huge file never stalls the start, and says
// why for the log when a file cannot be used.
class SimJsonFile
{
public:
    // False, with the reason in `error`, unless the file holds a JSON object within
    // maxSize bytes.
    static bool read(const QString &path, qint64 maxSize, QJsonObject *object, QString *error);
};
