#pragma once

#include "roadobjectframe.h"

#include <QObject>
#include <QPointer>

class IVantorClient;

// Turns a radar client's frame signals into one RoadObjectFrame per frame: frameStarted
// opens a frame, objectData adds to it (a repeated identifier overwrites its record),
// frameFinished hands it on. The latest frame time and cycle number reported hold until
// the next report. A frame that is not finished is dropped when the next one starts;
// objects reported outside a frame are ignored.
class RoadObjectFrameCollector : public QObject
{
    Q_OBJECT

public:
    explicit RoadObjectFrameCollector(QObject *parent = nullptr);

    // Collects the frames of this client, and no longer those of the previous one; a frame
    // half collected is dropped. Null collects from no client.
    void setClient(IVantorClient *client);
    IVantorClient *client() const;

    // The frame being collected, or the last one handed on.
    const RoadObjectFrame &frame() const { return m_frame; }
    bool isCollecting() const { return m_collecting; }

public slots:
    void onFrameStarted();
    void onFrameDateTimeUtc(const QDateTime &dateTime);
    void onCycleNumber(quint64 cycle);
    void onObjectData(quint8 id, double xSpeed, double ySpeed, double xRange, double yRange,
        double length, const QDateTime &lastDetected);
    void onFrameFinished();
    // Drops the frame being collected.
    void reset();

signals:
    void frameCollected(const RoadObjectFrame &frame);

private:
    QPointer<IVantorClient> m_client;
    RoadObjectFrame m_frame;
    bool m_collecting = false;
};
