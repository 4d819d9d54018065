#pragma once

#include "udtpayload.h"

// Position response part 1 (key 0x0090): the angles in degrees.
class RadarSetup1UdtPayload
{
public:
    static constexpr quint16 Key = 0x0090;

    explicit RadarSetup1UdtPayload(const UdtPayload &payload)
        : m_payload(payload)
    { }

    double azimuth() const { return m_payload.angle(16); }
    double altitude() const { return m_payload.angle(32); }
    double roll() const { return m_payload.angle(48); }

private:
    const UdtPayload &m_payload;
};
