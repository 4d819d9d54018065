#pragma once

#include "ivantorserialconnectionclient.h"

// The radar's CAN protocol of type P: the identifiers of ProtocolVariant::TypeP.
class VantorSerialPmxProtocolClient : public IVantorSerialConnectionClient
{
    Q_OBJECT

public:
    explicit VantorSerialPmxProtocolClient(QObject *parent = nullptr);

    quint16 synchronizationCanId() const override;
    quint16 sensorControlCanId() const override;
    quint16 objectControlCanId() const override;
    quint16 roadObjectCanIdMin() const override;
    quint16 roadObjectCanIdMax() const override;
    quint16 udtResponseCanId() const override;
    quint16 radarSetupCanId() const override;
    quint16 commandCanId() const override;
    const QList<quint16> &ackMessageCanIds() const override;
};
