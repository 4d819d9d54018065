#include "roadconfigs.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace RoadConfigs {

const char *const ExampleRoad = R"({"origin_offset": 4,
    "parts": {"-2": {"is_lane": false, "width": 2}, "-1": {"is_lane": true, "width": 3.5},
              "0": {"is_lane": false, "width": 0.5}, "1": {"is_lane": true, "width": 3.5},
              "2": {"is_lane": false, "width": 2}},
    "sections": [{"is_curved": false, "length": 100, "radius": 0},
                 {"is_curved": true, "length": 50, "radius": 300}]})";

QJsonObject parse(const char *text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        qFatal("bad fixture: %s", qPrintable(error.errorString()));
    return document.object();
}

} // namespace RoadConfigs
