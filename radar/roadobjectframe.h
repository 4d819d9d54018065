#pragma once

#include "roadobject.h"

#include <QDateTime>
#include <QMetaType>
#include <QVector>
#include <QtGlobal>

// One radar frame as every view receives it: its time, the radar's measure cycle number
// and the objects reported in it, each identifier once. The objects keep the order in
// which they were first reported; the radar client reports them in ascending identifier
// order. A sorted frame (ObjectsHelper) holds the same objects in drawing order.
struct RoadObjectFrame
{
    QDateTime dateTimeUtc;
    quint64 cycleNumber = 0;
    QVector<RoadObject> objects;

    // Overwrites the record with the object's identifier, or appends the object when
    // there is none. Returns the record's index.
    static int insertOrUpdate(QVector<RoadObject> &objects, const RoadObject &object);
    void insertOrUpdate(const RoadObject &object) { insertOrUpdate(objects, object); }

    // The same frame with its objects in the order of the identifiers given; identifiers
    // the frame does not hold are skipped.
    RoadObjectFrame inOrder(const QVector<quint8> &ids) const;
    QVector<quint8> ids() const;
};

Q_DECLARE_METATYPE(RoadObjectFrame)
