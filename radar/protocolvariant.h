#pragma once

#include <QtGlobal>

// One protocol variant of the radar: the number the work profiles and the server's
// "radar_protocol" use for it, its label and the CAN identifiers it uses. The variants
// differ only in the identifiers; type P's are type Q's minus 0x100.
struct ProtocolVariant
{
    int number;
    const char *label;
    quint16 synchronizationCanId;
    quint16 sensorControlCanId;
    quint16 objectControlCanId;
    quint16 roadObjectCanIdMin; // inclusive
    quint16 roadObjectCanIdMax; // inclusive
    quint16 udtResponseCanId;
    quint16 radarSetupCanId;
    quint16 commandCanId;
    quint16 ackMessageCanId;

    static const ProtocolVariant TypeQ;
    static const ProtocolVariant TypeP;

    // The variant with that number, or nullptr when there is none.
    static const ProtocolVariant *byNumber(int number);
};

// clang-format off
inline constexpr ProtocolVariant ProtocolVariant::TypeQ {
    0, "SerQ", 0x3FF, 0x600, 0x601, 0x610, 0x64F, 0x500, 0x4A0, 0x4F2, 0x4F0 };
inline constexpr ProtocolVariant ProtocolVariant::TypeP {
    1, "SerP", 0x2FF, 0x500, 0x501, 0x510, 0x54F, 0x400, 0x3A0, 0x3F2, 0x3F0 };
// clang-format on
