#pragma once

#include <QJsonObject>

// Road configurations the scheme tests share.
namespace RoadConfigs {

// The worked example: a 4 m origin offset, two 3.5 m lanes between 2 m roadsides and a
// 0.5 m median, 100 m straight then a 50 m curve of radius 300 m.
extern const char *const ExampleRoad;

// The JSON object of a fixture's text; a text that is no JSON object ends the test run.
QJsonObject parse(const char *text);

} // namespace RoadConfigs
