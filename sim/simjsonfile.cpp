#include "simjsonfile.h"

#include "jsonconfigfile.h"

bool SimJsonFile::read(const QString &path, qint64 maxSize, QJsonObject *object, QString *error)
{
    using Content = JsonConfigFile::Content;
    QJsonObject read;
    switch (JsonConfigFile(maxSize).read(path, &read)) {
    case Content::Object:
        *object = read;
        return true;
    case Content::Missing:
        *error = QStringLiteral("cannot read %1: there is no such file").arg(path);
        return false;
    case Content::Empty:
        *error = QStringLiteral("%1 is empty").arg(path);
        return false;
    case Content::NotRegularFile:
        *error = QStringLiteral("%1 is not a regular file").arg(path);
        return false;
    case Content::Unusable:
        break;
    }
    *error = QStringLiteral("%1 cannot be read, is larger than %2 bytes or holds no JSON object")
                 .arg(path)
                 .arg(maxSize);
    return false;
}
