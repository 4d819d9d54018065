#pragma once

#include <QtGlobal>

// Parameter read response part 0 (key 0x2B1B). It only completes the group: the echoed
// command (part 1) and the value (part 2) carry everything the client reads.
class ReadParam0UdtPayload
{
public:
    static constexpr quint16 Key = 0x2B1B;
};
