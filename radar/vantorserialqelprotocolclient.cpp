#include "vantorserialqelprotocolclient.h"

#include "protocolvariant.h"

VantorSerialQelProtocolClient::VantorSerialQelProtocolClient(QObject *parent)
    : IVantorSerialConnectionClient(parent)
{ }

quint16 VantorSerialQelProtocolClient::synchronizationCanId() const
{
    return ProtocolVariant::TypeQ.synchronizationCanId;
}

quint16 VantorSerialQelProtocolClient::sensorControlCanId() const
{
    return ProtocolVariant::TypeQ.sensorControlCanId;
}

quint16 VantorSerialQelProtocolClient::objectControlCanId() const
{
    return ProtocolVariant::TypeQ.objectControlCanId;
}

quint16 VantorSerialQelProtocolClient::roadObjectCanIdMin() const
{
    return ProtocolVariant::TypeQ.roadObjectCanIdMin;
}

quint16 VantorSerialQelProtocolClient::roadObjectCanIdMax() const
{
    return ProtocolVariant::TypeQ.roadObjectCanIdMax;
}

quint16 VantorSerialQelProtocolClient::udtResponseCanId() const
{
    return ProtocolVariant::TypeQ.udtResponseCanId;
}

quint16 VantorSerialQelProtocolClient::radarSetupCanId() const
{
    return ProtocolVariant::TypeQ.radarSetupCanId;
}

quint16 VantorSerialQelProtocolClient::commandCanId() const
{
    return ProtocolVariant::TypeQ.commandCanId;
}

const QList<quint16> &VantorSerialQelProtocolClient::ackMessageCanIds() const
{
    static const QList<quint16> ids { ProtocolVariant::TypeQ.ackMessageCanId };
    return ids;
}
