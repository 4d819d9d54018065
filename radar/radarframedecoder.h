#pragma once

#include "ackmessage.h"
#include "canmessage.h"
#include "udtpayload.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// Turns the frame area of one binary message into values: acknowledgements, object
// reports, uptime and cycle reports in frame order, the frames accepted, the completed
// multi-frame responses and the radar state the message yields. Knows no socket and no
// client; the only state kept between messages is the last cycle number.
class RadarFrameDecoder
{
public:
    // The CAN identifiers of one protocol variant.
    struct CanIds
    {
        quint16 synchronization = 0;
        quint16 sensorControl = 0;
        quint16 objectControl = 0;
        quint16 roadObjectMin = 0;
        quint16 roadObjectMax = 0;
        quint16 udtResponse = 0;
        QList<quint16> acks;
    };

    struct ObjectReport
    {
        quint8 id;
        double xSpeed;
        double ySpeed;
        double xRange;
        double yRange;
        double length;
    };

    // Uptime (milliseconds) and cycle reports, kept in the order their frames came.
    struct ControlReport
    {
        enum Kind { Uptime, Cycle };
        Kind kind;
        quint32 value;
    };

    struct Position
    {
        double height;
        double xOffset;
        double yOffset;
        double azimuth;
        double altitude;
        double roll;
    };

    // A parameter read response that carries a value.
    struct ParamValue
    {
        quint8 paramType;
        quint8 action;
        quint8 paramNumber;
        qint32 value;
        bool fixedPoint;
    };

    struct Result
    {
        std::vector<AckMessage> acks;
        // Every frame of the area; the first acceptedFrames of them were accepted.
        std::vector<CanMessage> frames;
        int acceptedFrames = 0;
        std::vector<ObjectReport> objects;
        std::vector<ControlReport> controls;
        // Responses completed within the message, each at most once.
        std::optional<Position> position;
        std::optional<ParamValue> paramValue;
        std::optional<QString> hardwareInfo;
        std::optional<QString> firmwareInfo;
        // -1 wrong protocol, 0 no frames, 1 frames without a new cycle, 2 a new cycle.
        int state = 0;
        // The message had bytes but not one acknowledgement or frame could be read.
        bool unreadable = false;
        bool isValid() const { return state != -1; }
    };

    explicit RadarFrameDecoder(const CanIds &ids);

    // Overwrites `result`; reusing one keeps its storage from message to message.
    void decode(const quint8 *bytes, int size, Result &result);

    quint32 cycle() const { return m_cycle; }
    const CanIds &canIds() const { return m_ids; }

    // Uptime in milliseconds as days, hours, minutes, seconds and milliseconds.
    static void splitUptime(
        quint32 ms, int *days, int *hours, int *minutes, int *seconds, int *milliseconds);

private:
    bool doDecodeFrame(const CanMessage &frame, Result &result);
    void doDecodeResponses(Result &result);
    const UdtPayload *doFindPart(quint16 key) const;
    std::optional<QString> doDecodeDeviceInfo(quint16 firstKey) const;

    CanIds m_ids;
    quint32 m_cycle = 0;
    QMap<quint16, UdtPayload> m_responseParts;
};
