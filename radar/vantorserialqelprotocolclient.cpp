#include "vantorserialqelprotocolclient.h"

QString VantorSerialQelProtocolClient::label()
{
    return QStringLiteral("SerQ");
}

VantorSerialQelProtocolClient::VantorSerialQelProtocolClient(QObject *parent)
    : IVantorSerialConnectionClient(parent)
{ }

quint16 VantorSerialQelProtocolClient::synchronizationCanId() const
{
    return 0x3FF;
}

quint16 VantorSerialQelProtocolClient::sensorControlCanId() const
{
    return 0x600;
}

quint16 VantorSerialQelProtocolClient::objectControlCanId() const
{
    return 0x601;
}

quint16 VantorSerialQelProtocolClient::roadObjectCanIdMin() const
{
    return 0x610;
}

quint16 VantorSerialQelProtocolClient::roadObjectCanIdMax() const
{
    return 0x64F;
}

quint16 VantorSerialQelProtocolClient::udtResponseCanId() const
{
    return 0x500;
}

quint16 VantorSerialQelProtocolClient::radarSetupCanId() const
{
    return 0x4A0;
}

quint16 VantorSerialQelProtocolClient::commandCanId() const
{
    return 0x4F2;
}

const QList<quint16> &VantorSerialQelProtocolClient::ackMessageCanIds() const
{
    static const QList<quint16> ids { 0x4F0 };
    return ids;
}
