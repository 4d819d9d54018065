#include "vantorserialpmxprotocolclient.h"

#include "protocolvariant.h"

VantorSerialPmxProtocolClient::VantorSerialPmxProtocolClient(QObject *parent)
    : IVantorSerialConnectionClient(parent)
{ }

quint16 VantorSerialPmxProtocolClient::synchronizationCanId() const
{
    return ProtocolVariant::TypeP.synchronizationCanId;
}

quint16 VantorSerialPmxProtocolClient::sensorControlCanId() const
{
    return ProtocolVariant::TypeP.sensorControlCanId;
}

quint16 VantorSerialPmxProtocolClient::objectControlCanId() const
{
    return ProtocolVariant::TypeP.objectControlCanId;
}

quint16 VantorSerialPmxProtocolClient::roadObjectCanIdMin() const
{
    return ProtocolVariant::TypeP.roadObjectCanIdMin;
}

quint16 VantorSerialPmxProtocolClient::roadObjectCanIdMax() const
{
    return ProtocolVariant::TypeP.roadObjectCanIdMax;
}

quint16 VantorSerialPmxProtocolClient::udtResponseCanId() const
{
    return ProtocolVariant::TypeP.udtResponseCanId;
}

quint16 VantorSerialPmxProtocolClient::radarSetupCanId() const
{
    return ProtocolVariant::TypeP.radarSetupCanId;
}

quint16 VantorSerialPmxProtocolClient::commandCanId() const
{
    return ProtocolVariant::TypeP.commandCanId;
}

const QList<quint16> &VantorSerialPmxProtocolClient::ackMessageCanIds() const
{
    static const QList<quint16> ids { ProtocolVariant::TypeP.ackMessageCanId };
    return ids;
}
