#pragma once

#include <QByteArray>
#include <QtGlobal>

// The tests' own encoder of the server's binary messages, written from the bit tables and
// independent of the client's decoder. A payload is given as P, its 8 bytes read
// big-endian: bit 0 is the lowest bit of the last byte on the wire.
namespace WireFrames {

// `value` cut to `width` bits and placed at bit `first` of P.
quint64 bits(quint64 value, int first, int width);

// One CAN frame: identifier (big-endian), length, the first `length` bytes of P.
QByteArray wireFrame(quint16 canId, quint64 p, int length = 8);
// One acknowledgement: identifier, a zero byte, the result (0 accepted, 255 busy).
QByteArray ackWire(quint16 canId, quint8 result);
// An object report with the raw fields of its frame.
QByteArray objectFrame(
    quint16 canId, int id, int xRange, int yRange, int xSpeed, int ySpeed, int length);
// One part of a multi-frame response: the key in bits 0-15, the fields above it.
QByteArray responsePart(quint16 canId, quint16 key, quint64 fields);
// Parameter read response: part 0, the echoed command with a status nibble, the value.
// `status` fills bits 32-39, so that bits next to the nibble can be set as well.
QByteArray readResponseWire(
    quint16 canId, int action, int paramType, int number, qint32 value, int status = 1);
// Position response with raw fields.
QByteArray setupResponse(quint16 canId, int heightRaw, bool heightNeg, int xRaw, bool xNeg,
    int yRaw, bool yNeg, int azimuthRaw, int altitudeRaw, int rollRaw);
// Hardware or firmware information: four parts of six characters from firstKey on.
QByteArray deviceInfoWire(quint16 canId, quint16 firstKey, const QByteArray &text);

} // namespace WireFrames
