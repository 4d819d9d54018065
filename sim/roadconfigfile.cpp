#include "roadconfigfile.h"

#include "simjsonfile.h"

#include <QJsonArray>

QJsonObject RoadConfigFile::defaultRoad()
{
    auto part = [](double width, bool lane) {
        return QJsonObject { { QStringLiteral("width"), width },
            { QStringLiteral("is_lane"), lane } };
    };
    const QJsonObject parts { { QStringLiteral("-3"), part(2.5, false) },
        { QStringLiteral("-2"), part(3.5, true) }, { QStringLiteral("-1"), part(3.5, true) },
        { QStringLiteral("0"), part(1.0, false) }, { QStringLiteral("1"), part(3.5, true) },
        { QStringLiteral("2"), part(3.5, true) }, { QStringLiteral("3"), part(2.5, false) } };
    const QJsonArray sections { QJsonObject { { QStringLiteral("is_curved"), false },
        { QStringLiteral("length"), 300 }, { QStringLiteral("radius"), 0 } } };
    return { { QStringLiteral("origin_offset"), 9 }, { QStringLiteral("parts"), parts },
        { QStringLiteral("sections"), sections } };
}

bool RoadConfigFile::read(const QString &path, QJsonObject *roadConfig, QString *error)
{
    QJsonObject document;
    if (!SimJsonFile::read(path, MaxFileSize, &document, error))
        return false;
    QString why;
    if (!fromDocument(document, roadConfig, &why)) {
        *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}

bool RoadConfigFile::fromDocument(
    const QJsonObject &document, QJsonObject *roadConfig, QString *error)
{
    if (!document.contains(QStringLiteral("profiles"))) {
        if (!document.contains(QStringLiteral("parts"))
            && !document.contains(QStringLiteral("sections"))) {
            *error = QStringLiteral("neither a road configuration nor a work-profile file");
            return false;
        }
        *roadConfig = document;
        return true;
    }
    const QJsonArray profiles = document.value(QStringLiteral("profiles")).toArray();
    const int current = document.value(QStringLiteral("current_id")).toInt(0);
    if (current < 0 || current >= profiles.size()) {
        *error = QStringLiteral("current_id %1 names no profile").arg(current);
        return false;
    }
    const QJsonObject road = profiles.at(current)
                                 .toObject()
                                 .value(QStringLiteral("view"))
                                 .toObject()
                                 .value(QStringLiteral("traffic_scheme"))
                                 .toObject()
                                 .value(QStringLiteral("road_config"))
                                 .toObject();
    if (road.isEmpty()) {
        *error = QStringLiteral("the current profile has no road configuration");
        return false;
    }
    *roadConfig = road;
    return true;
}
