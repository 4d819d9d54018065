#pragma once

#include "radarposition.h"
#include "simobject.h"

#include <QByteArray>
#include <QDateTime>
#include <QVector>
#include <QtGlobal>

// Builds the radar's frames in their wire form: identifier (2 bytes, big-endian), length,
// payload in transmission order. Payloads are given as the value P, the 8 payload bytes
// read big-endian (bit 0 is the lowest bit of the last byte on the wire).
//
// The simulator keeps its own encoding of frames, parameter types and response keys and
// shares none of the client's decoding or command tables: it is meant as an independent
// check of them.
class RadarFrameEncoder
{
public:
    // Multi-frame response keys, carried in the lowest 16 bits of P.
    enum ResponseKey : quint16 {
        SetupPart0Key = 0x0080,
        SetupPart1Key = 0x0090,
        SetupPart2Key = 0x00A0,
        ReadParamPart0Key = 0x2B1B,
        ReadParamPart1Key = 0x2B1C,
        ReadParamPart2Key = 0x2B1D,
        HardwareInfoFirstKey = 0x006A,
        FirmwareInfoFirstKey = 0x0033,
    };

    static constexpr int DeviceInfoParts = 4;
    static constexpr int DeviceInfoBytesPerPart = 6;
    static constexpr int DeviceInfoMaxLength = DeviceInfoParts * DeviceInfoBytesPerPart;
    static constexpr int TimeStampHeaderSize = 12;

    static QByteArray frame(quint16 id, quint64 payload);
    // A frame with an arbitrary payload, for deliberately malformed traffic.
    static QByteArray rawFrame(quint16 id, quint8 lengthByte, const QByteArray &payload);
    static QByteArray ack(quint16 id, quint8 result);

    // Sensor control (uptime) and object control (cycle number): the value in the first
    // four payload bytes, big-endian.
    static quint64 counterPayload(quint32 value, quint32 low = 0);
    static quint64 objectPayload(const SimObject &object);

    static QVector<quint64> readParamResponse(
        quint8 action, quint8 paramType, quint8 paramNumber, qint32 value);
    static QVector<quint64> positionResponse(const RadarPosition &position);
    // Up to 24 Latin-1 bytes, zero padded; firmware selects the firmware keys.
    static QVector<quint64> deviceInfoResponse(bool firmware, const QByteArray &latin1);

    // The 12-byte "#DT" header: the date and time in UTC, year and milliseconds little-endian.
    static QByteArray timeStampHeader(const QDateTime &utc);

    // Sign-and-magnitude field: the magnitude in magnitudeBits bits from magnitudeShift
    // up (saturating), the sign in bit signShift.
    static quint64 signMagnitude(
        qint64 value, int magnitudeBits, int magnitudeShift, int signShift);
    static qint64 fromSignMagnitude(
        quint64 p, int magnitudeBits, int magnitudeShift, int signShift);
};
