#pragma once

#include "roadobject.h"

#include <QDateTime>
#include <QMap>
#include <QtGlobal>

// The objects seen recently, by identifier in ascending order, and their expiry.
class RoadObjectStore
{
public:
    static constexpr int ExpiryMs = 500;

    // A new report of a known identifier overwrites the record.
    void add(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange, double length,
        const QDateTime &lastDetected);
    // Drops every object last seen more than ExpiryMs away from `now`.
    void expire(const QDateTime &now);
    void clear() { m_objects.clear(); }

    int size() const { return m_objects.size(); }
    bool isEmpty() const { return m_objects.isEmpty(); }
    const QMap<quint8, RoadObject> &objects() const { return m_objects; }

private:
    QMap<quint8, RoadObject> m_objects;
};
