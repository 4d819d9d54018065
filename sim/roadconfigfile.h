#pragma once

#include <QJsonObject>
#include <QString>

// Reads the road the traffic drives on: a file holding either a road configuration
// object, or a whole work-profile configuration file ({"profiles": [...], "current_id": n})
// whose current profile carries view/traffic_scheme/road_config.
class RoadConfigFile
{
public:
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // Two 3.5 m lanes each way with a 1 m median strip and 2.5 m roadsides, straight for
    // 300 m, its axis 9 m to the left of the radar.
    static QJsonObject defaultRoad();

    static bool read(const QString &path, QJsonObject *roadConfig, QString *error);
    // The road configuration inside a parsed document, by the rules above.
    static bool fromDocument(const QJsonObject &document, QJsonObject *roadConfig, QString *error);
};
