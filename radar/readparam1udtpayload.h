#pragma once

#include "radarcommandtable.h"
#include "udtpayload.h"

// Parameter read response part 1 (key 0x2B1C): the parameter command the radar echoes.
class ReadParam1UdtPayload
{
public:
    static constexpr quint16 Key = 0x2B1C;

    explicit ReadParam1UdtPayload(const UdtPayload &payload)
        : m_payload(payload)
    { }

    quint8 action() const { return quint8(m_payload.bits(40, 8)); }
    quint8 paramType() const { return quint8(m_payload.bits(48, 8)); }
    quint8 paramNumber() const { return quint8(m_payload.bits(56, 8)); }

    bool isIntegerRead() const { return RadarCommandTable::isIntegerRead(paramType()); }
    bool isFixedPointRead() const { return RadarCommandTable::isFixedPointRead(paramType()); }
    // Only a response whose status nibble is set and which answers a read carries a value.
    bool carriesValue() const
    {
        return m_payload.bits(32, 4) != 0 && (isIntegerRead() || isFixedPointRead());
    }

private:
    const UdtPayload &m_payload;
};
