#pragma once

#include "roadobject.h"

#include <QDateTime>
#include <QVector>
#include <QtGlobal>

// The objects seen recently, by identifier in ascending order, and their expiry.
class RoadObjectStore
{
public:
    static constexpr int ExpiryMs = 500;

    // A new report of a known identifier overwrites the record.
    void add(const RoadObject &object);
    // Drops every object last seen more than ExpiryMs away from `now`.
    void expire(const QDateTime &now);
    void clear() { m_objects.clear(); }

    int size() const { return m_objects.size(); }
    bool isEmpty() const { return m_objects.isEmpty(); }
    const QVector<RoadObject> &objects() const { return m_objects; }

private:
    QVector<RoadObject> m_objects;
};
