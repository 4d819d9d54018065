#pragma once

#include "udtpayload.h"

// Position response part 0 (key 0x0080): the offsets in metres.
class RadarSetup0UdtPayload
{
public:
    static constexpr quint16 Key = 0x0080;

    explicit RadarSetup0UdtPayload(const UdtPayload &payload)
        : m_payload(payload)
    { }

    double xOffset() const { return m_payload.signMagnitude(24, 18, 42); }
    double yOffset() const { return m_payload.signMagnitude(44, 18, 62); }

private:
    const UdtPayload &m_payload;
};
