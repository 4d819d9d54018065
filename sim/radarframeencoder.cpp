#include "radarframeencoder.h"

#include <QtEndian>

#include <cmath>

namespace {

quint64 rawField(double value, double scale, int offset, int bits)
{
    const qint64 max = (qint64(1) << bits) - 1;
    const double scaled = std::isfinite(value) ? std::round(value / scale) : 0.0;
    const qint64 raw = qBound<qint64>(0, qint64(qBound(-1e9, scaled, 1e9)) + offset, max);
    return quint64(raw);
}

} // namespace

QByteArray RadarFrameEncoder::frame(quint16 id, quint64 payload)
{
    QByteArray out(11, Qt::Uninitialized);
    out[0] = char(id >> 8);
    out[1] = char(id & 0xFF);
    out[2] = char(8);
    qToBigEndian(payload, out.data() + 3);
    return out;
}

QByteArray RadarFrameEncoder::rawFrame(quint16 id, quint8 lengthByte, const QByteArray &payload)
{
    QByteArray out;
    out.reserve(3 + payload.size());
    out.append(char(id >> 8));
    out.append(char(id & 0xFF));
    out.append(char(lengthByte));
    out.append(payload);
    return out;
}

QByteArray RadarFrameEncoder::ack(quint16 id, quint8 result)
{
    QByteArray out(4, Qt::Uninitialized);
    out[0] = char(id >> 8);
    out[1] = char(id & 0xFF);
    out[2] = char(0);
    out[3] = char(result);
    return out;
}

quint64 RadarFrameEncoder::counterPayload(quint32 value, quint32 low)
{
    return quint64(value) << 32 | low;
}

quint64 RadarFrameEncoder::objectPayload(const SimObject &object)
{
    // x/y range: 14 bits, 0.064 m, offset 8192; speeds: 11 bits, 0.1 m/s, offset 1024;
    // length: 8 bits, 0.2 m; identifier in the top 6 bits.
    quint64 p = rawField(object.xRange, 0.064, 8192, 14);
    p |= rawField(object.yRange, 0.064, 8192, 14) << 14;
    p |= rawField(object.xSpeed, 0.1, 1024, 11) << 28;
    p |= rawField(object.ySpeed, 0.1, 1024, 11) << 39;
    p |= rawField(object.length, 0.2, 0, 8) << 50;
    p |= quint64(object.id & 0x3F) << 58;
    return p;
}

QVector<quint64> RadarFrameEncoder::readParamResponse(
    quint8 action, quint8 paramType, quint8 paramNumber, qint32 value)
{
    // Part 0 announces the group (three parts); part 1 echoes the command with status 1
    // in bits 32-35; part 2 carries the value in its upper 32 bits.
    const quint64 part0 = quint64(3) << 16 | ReadParamPart0Key;
    const quint64 part1 = quint64(paramNumber) << 56 | quint64(paramType) << 48
        | quint64(action) << 40 | quint64(0x1) << 32 | ReadParamPart1Key;
    const quint64 part2 = quint64(quint32(value)) << 32 | ReadParamPart2Key;
    return { part0, part1, part2 };
}

quint64 RadarFrameEncoder::signMagnitude(
    qint64 value, int magnitudeBits, int magnitudeShift, int signShift)
{
    const quint64 max = (quint64(1) << magnitudeBits) - 1;
    const quint64 magnitude = qMin<quint64>(quint64(value < 0 ? -value : value), max);
    return magnitude << magnitudeShift | (value < 0 ? quint64(1) << signShift : 0);
}

qint64 RadarFrameEncoder::fromSignMagnitude(
    quint64 p, int magnitudeBits, int magnitudeShift, int signShift)
{
    const qint64 magnitude = qint64((p >> magnitudeShift) & ((quint64(1) << magnitudeBits) - 1));
    return (p >> signShift) & 1 ? -magnitude : magnitude;
}

QVector<quint64> RadarFrameEncoder::positionResponse(const RadarPosition &position)
{
    // Part 0: xOffset bits 24-41 sign 42, yOffset bits 44-61 sign 62.
    const quint64 part0 = signMagnitude(position.xOffset, 18, 24, 42)
        | signMagnitude(position.yOffset, 18, 44, 62) | SetupPart0Key;
    // Part 1: azimuth, altitude, roll in 16-bit fields from bit 16 up.
    const quint64 part1 = quint64(position.roll) << 48 | quint64(position.altitude) << 32
        | quint64(position.azimuth) << 16 | SetupPart1Key;
    // Part 2: height bits 16-32 sign 33.
    const quint64 part2 = signMagnitude(position.height, 17, 16, 33) | SetupPart2Key;
    return { part0, part1, part2 };
}

QVector<quint64> RadarFrameEncoder::deviceInfoResponse(bool firmware, const QByteArray &latin1)
{
    const quint16 firstKey = firmware ? FirmwareInfoFirstKey : HardwareInfoFirstKey;
    QVector<quint64> parts;
    parts.reserve(DeviceInfoParts);
    for (int part = 0; part < DeviceInfoParts; ++part) {
        quint64 p = quint16(firstKey + part);
        // Six text bytes per part, the first in bits 16-23.
        for (int i = 0; i < DeviceInfoBytesPerPart; ++i) {
            const int index = part * DeviceInfoBytesPerPart + i;
            const quint8 byte = index < latin1.size() ? quint8(latin1.at(index)) : 0;
            p |= quint64(byte) << (16 + 8 * i);
        }
        parts.append(p);
    }
    return parts;
}

QByteArray RadarFrameEncoder::timeStampHeader(const QDateTime &utc)
{
    const QDateTime t = utc.toUTC();
    const QDate date = t.date();
    const QTime time = t.time();
    QByteArray out(TimeStampHeaderSize, Qt::Uninitialized);
    out[0] = '#';
    out[1] = 'D';
    out[2] = 'T';
    out[3] = char(date.day());
    out[4] = char(date.month());
    qToLittleEndian(quint16(date.year()), out.data() + 5);
    out[7] = char(time.hour());
    out[8] = char(time.minute());
    out[9] = char(time.second());
    qToLittleEndian(quint16(time.msec()), out.data() + 10);
    return out;
}
