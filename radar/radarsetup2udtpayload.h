#pragma once

#include "udtpayload.h"

// Position response part 2 (key 0x00A0): the mounting height in metres.
class RadarSetup2UdtPayload
{
public:
    static constexpr quint16 Key = 0x00A0;

    explicit RadarSetup2UdtPayload(const UdtPayload &payload)
        : m_payload(payload)
    { }

    double height() const { return m_payload.signMagnitude(16, 17, 33); }

private:
    const UdtPayload &m_payload;
};
