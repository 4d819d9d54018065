#pragma once

#include <QString>
#include <QtGlobal>

// The CAN identifiers of one protocol variant of the radar. Type P uses the type Q
// identifiers minus 0x100.
//
// Written out here rather than taken from the program's ProtocolVariant on purpose: the
// simulator is an independent check of the client, so a wrong identifier on one side shows
// up as traffic the other side does not understand instead of agreeing with itself.
class RadarVariant
{
public:
    enum Type { TypeQ = 0, TypeP = 1 };

    explicit RadarVariant(Type type = TypeQ)
        : m_type(type)
    { }

    // Accepts "Q", "P", "SerQ", "SerP", "0" and "1" in any case.
    static bool fromText(const QString &text, Type *type);

    Type type() const { return m_type; }
    RadarVariant other() const { return RadarVariant(m_type == TypeQ ? TypeP : TypeQ); }
    QString label() const
    {
        return m_type == TypeQ ? QStringLiteral("SerQ") : QStringLiteral("SerP");
    }

    quint16 synchronizationCanId() const { return shifted(0x3FF); }
    quint16 sensorControlCanId() const { return shifted(0x600); }
    quint16 objectControlCanId() const { return shifted(0x601); }
    quint16 roadObjectCanIdMin() const { return shifted(0x610); }
    quint16 roadObjectCanIdMax() const { return shifted(0x64F); }
    quint16 udtResponseCanId() const { return shifted(0x500); }
    quint16 radarSetupCanId() const { return shifted(0x4A0); }
    quint16 commandCanId() const { return shifted(0x4F2); }
    quint16 ackMessageCanId() const { return shifted(0x4F0); }

    bool operator==(const RadarVariant &other) const { return m_type == other.m_type; }
    bool operator!=(const RadarVariant &other) const { return m_type != other.m_type; }

private:
    quint16 shifted(quint16 typeQId) const
    {
        return quint16(m_type == TypeP ? typeQId - 0x100 : typeQId);
    }

    Type m_type;
};
