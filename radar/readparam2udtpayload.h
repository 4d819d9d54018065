#pragma once

#include "udtpayload.h"

// Parameter read response part 2 (key 0x2B1D): the value read.
class ReadParam2UdtPayload
{
public:
    static constexpr quint16 Key = 0x2B1D;

    explicit ReadParam2UdtPayload(const UdtPayload &payload)
        : m_payload(payload)
    { }

    qint32 value() const { return qint32(quint32(m_payload.bits(32, 32))); }

private:
    const UdtPayload &m_payload;
};
