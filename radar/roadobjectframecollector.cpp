#include "roadobjectframecollector.h"

#include "ivantorclient.h"

RoadObjectFrameCollector::RoadObjectFrameCollector(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<RoadObjectFrame>();
}

void RoadObjectFrameCollector::setClient(IVantorClient *client)
{
    if (m_client)
        disconnect(m_client, nullptr, this, nullptr);
    m_client = client;
    reset();
    if (!client)
        return;
    connect(client, &IVantorClient::frameStarted, this, &RoadObjectFrameCollector::onFrameStarted);
    connect(client, &IVantorClient::frameDateTimeUtc, this,
        &RoadObjectFrameCollector::onFrameDateTimeUtc);
    connect(client, &IVantorClient::cycleNumber, this, &RoadObjectFrameCollector::onCycleNumber);
    connect(client, &IVantorClient::objectData, this, &RoadObjectFrameCollector::onObjectData);
    connect(
        client, &IVantorClient::frameFinished, this, &RoadObjectFrameCollector::onFrameFinished);
}

IVantorClient *RoadObjectFrameCollector::client() const
{
    return m_client;
}

void RoadObjectFrameCollector::onFrameStarted()
{
    // The receivers may still share the last frame's objects: start a vector of our own
    // rather than detach and empty theirs.
    const int expected = m_frame.objects.size();
    m_frame.objects = QVector<RoadObject>();
    m_frame.objects.reserve(expected);
    m_collecting = true;
}

void RoadObjectFrameCollector::onFrameDateTimeUtc(const QDateTime &dateTime)
{
    m_frame.dateTimeUtc = dateTime;
}

void RoadObjectFrameCollector::onCycleNumber(quint64 cycle)
{
    m_frame.cycleNumber = cycle;
}

void RoadObjectFrameCollector::onObjectData(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    if (m_collecting)
        m_frame.insertOrUpdate(
            RoadObject(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected));
}

void RoadObjectFrameCollector::onFrameFinished()
{
    if (!m_collecting)
        return;
    m_collecting = false;
    // A copy (it shares the objects): a receiver that leads to the next frame being
    // collected must not change the frame the later receivers get.
    const RoadObjectFrame frame = m_frame;
    emit frameCollected(frame);
}

void RoadObjectFrameCollector::reset()
{
    m_frame.objects = QVector<RoadObject>();
    m_collecting = false;
}
