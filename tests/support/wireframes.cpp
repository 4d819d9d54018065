#include "wireframes.h"

namespace WireFrames {

quint64 bits(quint64 value, int first, int width)
{
    return (value & ((quint64(1) << width) - 1)) << first;
}

QByteArray wireFrame(quint16 canId, quint64 p, int length)
{
    QByteArray wire;
    wire += char(canId >> 8);
    wire += char(canId & 0xFF);
    wire += char(length);
    for (int i = 7; i >= 8 - length; --i)
        wire += char(p >> (8 * i));
    return wire;
}

QByteArray ackWire(quint16 canId, quint8 result)
{
    QByteArray wire;
    wire += char(canId >> 8);
    wire += char(canId & 0xFF);
    wire += char(0);
    wire += char(result);
    return wire;
}

QByteArray objectFrame(
    quint16 canId, int id, int xRange, int yRange, int xSpeed, int ySpeed, int length)
{
    return wireFrame(canId,
        bits(xRange, 0, 14) | bits(yRange, 14, 14) | bits(xSpeed, 28, 11) | bits(ySpeed, 39, 11)
            | bits(length, 50, 8) | bits(id, 58, 6));
}

QByteArray responsePart(quint16 canId, quint16 key, quint64 fields)
{
    return wireFrame(canId, fields | key);
}

QByteArray readResponseWire(
    quint16 canId, int action, int paramType, int number, qint32 value, int status)
{
    return responsePart(canId, 0x2B1B, 0)
        + responsePart(canId, 0x2B1C,
            bits(status, 32, 8) | bits(action, 40, 8) | bits(paramType, 48, 8)
                | bits(number, 56, 8))
        + responsePart(canId, 0x2B1D, bits(quint32(value), 32, 32));
}

QByteArray setupResponse(quint16 canId, int heightRaw, bool heightNeg, int xRaw, bool xNeg,
    int yRaw, bool yNeg, int azimuthRaw, int altitudeRaw, int rollRaw)
{
    return responsePart(canId, 0x0080,
               bits(xRaw, 24, 18) | bits(xNeg, 42, 1) | bits(yRaw, 44, 18) | bits(yNeg, 62, 1))
        + responsePart(canId, 0x0090,
            bits(azimuthRaw, 16, 16) | bits(altitudeRaw, 32, 16) | bits(rollRaw, 48, 16))
        + responsePart(canId, 0x00A0, bits(heightRaw, 16, 17) | bits(heightNeg, 33, 1));
}

QByteArray deviceInfoWire(quint16 canId, quint16 firstKey, const QByteArray &text)
{
    QByteArray padded = text.leftJustified(24, '\0', true);
    QByteArray area;
    for (int part = 0; part < 4; ++part) {
        quint64 fields = 0;
        for (int i = 0; i < 6; ++i)
            fields |= bits(quint8(padded.at(part * 6 + i)), 16 + 8 * i, 8);
        area += responsePart(canId, quint16(firstKey + part), fields);
    }
    return area;
}

} // namespace WireFrames
