#include "vantorserialpmxprotocolclient.h"

QString VantorSerialPmxProtocolClient::label()
{
    return QStringLiteral("SerP");
}

VantorSerialPmxProtocolClient::VantorSerialPmxProtocolClient(QObject *parent)
    : IVantorSerialConnectionClient(parent)
{ }

quint16 VantorSerialPmxProtocolClient::synchronizationCanId() const
{
    return 0x2FF;
}

quint16 VantorSerialPmxProtocolClient::sensorControlCanId() const
{
    return 0x500;
}

quint16 VantorSerialPmxProtocolClient::objectControlCanId() const
{
    return 0x501;
}

quint16 VantorSerialPmxProtocolClient::roadObjectCanIdMin() const
{
    return 0x510;
}

quint16 VantorSerialPmxProtocolClient::roadObjectCanIdMax() const
{
    return 0x54F;
}

quint16 VantorSerialPmxProtocolClient::udtResponseCanId() const
{
    return 0x400;
}

quint16 VantorSerialPmxProtocolClient::radarSetupCanId() const
{
    return 0x3A0;
}

quint16 VantorSerialPmxProtocolClient::commandCanId() const
{
    return 0x3F2;
}

const QList<quint16> &VantorSerialPmxProtocolClient::ackMessageCanIds() const
{
    static const QList<quint16> ids { 0x3F0 };
    return ids;
}
