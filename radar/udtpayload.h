#pragma once

#include <QtGlobal>

class CanMessage;

// One part of a multi-frame response: the 8 data bytes as the frame record holds them,
// read as the payload value P. The last two payload bytes are the part's key.
class UdtPayload
{
public:
    UdtPayload() = default;
    explicit UdtPayload(const CanMessage &message);

    quint64 value() const;
    quint16 key() const { return quint16(value() & 0xFFFF); }

    // `width` bits of P from bit `first` on.
    quint64 bits(int first, int width) const;
    // A sign-and-magnitude field in hundredths.
    double signMagnitude(int first, int width, int signBit) const;
    // A 16-bit angle in hundredths of a degree, mapped to (-180, 180].
    double angle(int first) const;

    quint8 data[8] = {};
};
