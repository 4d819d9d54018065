#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// Builds the serialised CAN frames of the radar commands.
class RadarCommandEncoder
{
public:
    // A parameter command: paramValue (big-endian), action, paramType, paramNumber, 0.
    static QByteArray commandFrame(
        quint16 canId, quint8 paramType, quint8 action, quint8 paramNumber, qint32 paramValue);

    // The three position frames, in the order they are queued (commands 100, 101, 102).
    static QList<QByteArray> positionFrames(quint16 canId, double height, double xOffset,
        double yOffset, double azimuth, double altitude, double roll);

    // A frame of length 8 whose payload read big-endian is `payload`.
    static QByteArray frame(quint16 canId, quint64 payload);

    // Lengths go as a sign bit and a 17-bit magnitude in hundredths (saturated).
    static quint64 lengthMagnitude(double metres);
    // The sign bit: set only for a negative length whose magnitude is not 0.
    static bool isNegative(double metres);
    // Angle in hundredths of a degree in 0..36000.
    static quint64 angleField(double degrees);
};
