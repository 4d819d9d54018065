#pragma once

#include "canmsginfo.h"
#include "ivantorclient.h"
#include "radarcommandtable.h"
#include "radarframedecoder.h"

#include <QList>
#include <QMap>

#include <memory>

// The radar's CAN protocol over the serial-port server: has each binary message decoded
// (RadarFrameDecoder), applies the result to the objects and the command queue, emits it,
// and builds the command frames from RadarCommandTable. The protocol variants supply the
// CAN identifiers.
class IVantorSerialConnectionClient : public IVantorClient
{
    Q_OBJECT

public:
    enum DeviceInfoType {
        HardwareInfo = 0,
        FirmwareInfo = 1,
    };

    explicit IVantorSerialConnectionClient(QObject *parent = nullptr);
    ~IVantorSerialConnectionClient() override;

    quint32 cycle() const;
    const QMap<quint16, CanMsgInfo> &canStatistics() const { return m_canStats; }

    virtual quint16 synchronizationCanId() const = 0;
    virtual quint16 sensorControlCanId() const = 0;
    virtual quint16 objectControlCanId() const = 0;
    virtual quint16 roadObjectCanIdMin() const = 0;
    virtual quint16 roadObjectCanIdMax() const = 0;
    virtual quint16 udtResponseCanId() const = 0;
    virtual quint16 radarSetupCanId() const = 0;
    virtual quint16 commandCanId() const = 0;
    virtual const QList<quint16> &ackMessageCanIds() const = 0;
    // The identifiers the decoder classifies frames by, as this variant spells them.
    RadarFrameDecoder::CanIds decoderCanIds() const;

signals:
    void canMessageInfo(
        quint16 id, quint64 count, const QByteArray &serialized, const QDateTime &dateTime);

public slots:
    void resetStatistics() override;

    void sendCmdGetHardwareInfo() override;
    void sendCmdGetFirmwareInfo() override;
    void sendCmdSelfDiagnostics() override;
    void sendCmdSetImitatorMode(quint8 mode) override;
    void sendCmdGetImitatorMode() override;
    void sendCmdSetFakeTargetsMode(bool enabled) override;
    void sendCmdGetFakeTargetsMode() override;
    void sendCmdSaveToFlash() override;
    void sendCmdRestart() override;
    void sendCmdSetRadarSensitivity(int value) override;
    void sendCmdGetRadarSensitivity() override;
    void sendCmdSetFrequencyIndex(int value) override;
    void sendCmdGetFrequencyIndex() override;
    void sendCmdSetPolygonUsage(quint8 mask) override;
    void sendCmdGetPolygonUsage() override;
    void sendCmdSetPolygonTreatParam(quint8 id, quint8 param, quint8 value) override;
    void sendCmdGetPolygonTreatParam(quint8 id, quint8 param) override;
    void sendCmdSetPolygonSpeedParam(quint8 id, quint8 param, double value) override;
    void sendCmdGetPolygonSpeedParam(quint8 id, quint8 param) override;
    void sendCmdSetPolygonPointParam(quint8 id, quint8 param, double value) override;
    void sendCmdGetPolygonPointParam(quint8 id, quint8 param) override;
    void sendCmdReinitPolygons() override;
    void sendCmdSetCalibrationCommand(int command) override;
    void sendCmdGetCalibrationCommand() override;
    void sendCmdGetCalibrationState() override;
    void sendCmdSetCalibrationLastParam(quint8 param, int value) override;
    void sendCmdGetCalibrationLastParam(quint8 param) override;
    void sendCmdGetCalibrationCurrParam(quint8 param) override;
    void sendCmdResetCalibrationParams() override;
    void sendCmdApplyCalibrationParams() override;
    void sendCmdSetDebugVariableValue(quint8 id, int value) override;
    void sendCmdGetDebugVariableValue(quint8 id) override;
    void sendCmdSetPosition(double height, double xOffset, double yOffset, double azimuth,
        double altitude, double roll) override;
    void sendCmdGetPosition() override;
    void sendCmdFreeCommand(
        quint8 paramType, quint8 action, quint8 paramNumber, int paramValue) override;

protected:
    int doHandleRadarDataMessage(const QDateTime &frameTime, const QByteArray &frameArea) override;
    void doHandleRadarCommandState(
        int command, IVantorClient::CommandState state, int error) override;

    void doSendCommandMessage(
        int command, quint8 paramType, quint8 action, quint8 paramNumber, qint32 paramValue);

private:
    void doSendTableCommand(
        const RadarCommandTable::Entry &entry, qint32 value, quint8 id = 0, quint8 param = 0);
    RadarFrameDecoder &doDecoder();
    void doEmitResponses(const RadarFrameDecoder::Result &frame);
    void doEmitParamValue(const RadarFrameDecoder::ParamValue &read);
    void doStatCanMessages(const RadarFrameDecoder::Result &frame, const QDateTime &frameTime);
    void doEmitCanStats();

    // Built on the first message: the identifiers come from the variant's getters.
    std::unique_ptr<RadarFrameDecoder> m_decoder;
    // Reused from message to message; empty while a message is being handled.
    std::unique_ptr<RadarFrameDecoder::Result> m_frame;
    QMap<quint16, CanMsgInfo> m_canStats;
};
