#pragma once

#include "udtpayload.h"

#include <QByteArray>

// One of the four parts of a device information text (keys 0x006A..0x006D for the
// hardware, 0x0033..0x0036 for the firmware): six characters above the key.
class RadarDevInfoUdtPayload
{
public:
    static constexpr quint16 HardwareFirstKey = 0x006A;
    static constexpr quint16 FirmwareFirstKey = 0x0033;

    explicit RadarDevInfoUdtPayload(const UdtPayload &payload)
        : m_payload(payload)
    { }

    // Bits 16-23 first, then 24-31 and so on up to 56-63.
    QByteArray characters() const
    {
        QByteArray text(6, Qt::Uninitialized);
        for (int i = 0; i < 6; ++i)
            text[i] = char(m_payload.bits(16 + 8 * i, 8));
        return text;
    }

private:
    const UdtPayload &m_payload;
};
