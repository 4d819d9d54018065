#include "windowprofile.h"

#include "vantorcontrol.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

bool WindowProfile::write() const
{
    QJsonObject controls;
    for (int id = 0; id < 14; ++id) {
        bool visible = id <= 9;
        if (id == RoadObjectsControl)
            visible = tableShown;
        else if (id == ObjectsViewControl)
            visible = objectsShown;
        controls.insert(
            QString::number(id), QJsonObject { { "visible", visible }, { "collapsed", false } });
    }
    const QJsonObject profile {
        { "name", "Test" },
        { "connection",
            QJsonObject { { "radar_protocol", 0 }, { "protocol_forcing", true },
                { "radar_server_url", url.toString() } } },
        { "view",
            QJsonObject { { "controls", controls },
                { "traffic_scheme", QJsonObject { { "draw_vertical", drawVertical } } },
                { "paint_objects", true } } },
    };
    const QByteArray bytes
        = QJsonDocument(QJsonObject { { "profiles", QJsonArray { profile } }, { "current_id", 0 } })
              .toJson();
    QFile file(QStringLiteral(".vantor-road-app-gui_config.json"));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
