#include "radarcommandencoder.h"

#include "canmessage.h"

#include <cmath>

QByteArray RadarCommandEncoder::frame(quint16 canId, quint64 payload)
{
    // In memory data[0] is the last payload byte, so it goes out last.
    quint8 data[8];
    for (int i = 0; i < 8; ++i)
        data[i] = quint8(payload >> (8 * i));
    return CanMessage(canId, 8, data, false).serialize();
}

QByteArray RadarCommandEncoder::commandFrame(
    quint16 canId, quint8 paramType, quint8 action, quint8 paramNumber, qint32 paramValue)
{
    const quint64 payload = quint64(quint32(paramValue)) << 32 | quint64(action) << 24
        | quint64(paramType) << 16 | quint64(paramNumber) << 8;
    return frame(canId, payload);
}

quint64 RadarCommandEncoder::lengthMagnitude(double metres)
{
    const double hundredths = std::round(std::abs(metres) / 0.01);
    if (!(hundredths >= 0.0))
        return 0;
    return hundredths > double(0x1FFFF) ? 0x1FFFF : quint64(hundredths);
}

bool RadarCommandEncoder::isNegative(double metres)
{
    return metres < 0.0 && lengthMagnitude(metres) != 0;
}

quint64 RadarCommandEncoder::angleField(double degrees)
{
    if (!std::isfinite(degrees))
        return 0;
    double angle = degrees;
    if (angle < 0.0)
        angle += 360.0;
    if (angle < 0.0 || angle > 360.0) // beyond one turn: wrap into 0..360
        angle = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
    return quint64(std::round(angle / 0.01));
}

QList<QByteArray> RadarCommandEncoder::positionFrames(quint16 canId, double height, double xOffset,
    double yOffset, double azimuth, double altitude, double roll)
{
    const quint64 offsets = lengthMagnitude(xOffset) << 8 | quint64(isNegative(xOffset)) << 31
        | lengthMagnitude(yOffset) << 32 | quint64(isNegative(yOffset)) << 55;
    const quint64 heightAndAngles = lengthMagnitude(height) | quint64(isNegative(height)) << 23
        | angleField(azimuth) << 24 | angleField(altitude) << 40 | quint64(0x10) << 56;
    const quint64 rollFrame = angleField(roll) | quint64(0xFF) << 40 | quint64(0x20) << 56;
    return { frame(canId, offsets), frame(canId, heightAndAngles), frame(canId, rollFrame) };
}
