#include "udtpayload.h"

#include "canmessage.h"

#include <cstring>

UdtPayload::UdtPayload(const CanMessage &message)
{
    std::memcpy(data, message.data, sizeof data);
}

quint64 UdtPayload::value() const
{
    quint64 value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | data[i];
    return value;
}

quint64 UdtPayload::bits(int first, int width) const
{
    const quint64 mask = width >= 64 ? ~quint64(0) : (quint64(1) << width) - 1;
    return value() >> first & mask;
}

double UdtPayload::signMagnitude(int first, int width, int signBit) const
{
    const double magnitude = double(bits(first, width)) * 0.01;
    return bits(signBit, 1) ? -magnitude : magnitude;
}

double UdtPayload::angle(int first) const
{
    const double degrees = double(bits(first, 16)) * 0.01;
    return degrees > 180.0 ? degrees - 360.0 : degrees;
}
