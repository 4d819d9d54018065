#pragma once

#include "ivantorclient.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

// A client for the tests of the base class. A frame area "ack" + code finishes the head
// command as the acknowledgement handler does; "obj" + id adds an object seen at the frame
// time; otherwise its first byte is the radar state to report (0 when empty). Every
// command slot only records its name.
class SpineClient : public IVantorClient
{
public:
    struct Report
    {
        int command;
        int state;
        int error;
        bool operator==(const Report &other) const
        {
            return command == other.command && state == other.state && error == other.error;
        }
    };

    QList<QDateTime> frameTimes;
    QList<QByteArray> frameAreas;
    QList<Report> reports;
    QStringList slotCalls;

    void addObject(quint8 id, const QDateTime &seen)
    {
        doAddObject(id, 1.0, 2.0, 3.0 + id, 4.0, 5.0, seen);
    }
    void updateObjects(const QDateTime &now) { doUpdateObjects(now); }
    void emitObjects() { doEmitObjects(); }
    void queue(int command, const QByteArray &data, int attempts = 5)
    {
        doQueueRadarCommand(command, data, attempts);
    }
    void finish(CommandState state, int error) { doFinishRadarCommand(state, error); }
    void deleteCommands() { doDeleteRadarCommands(); }
    void statValidFrame() { doStatValidFrame(); }
    void emitFrameStats() { doEmitFrameStats(); }
    void sendCommandToServer(RnepCommand command, const QJsonObject &object)
    {
        doSendCommandToServer(command, object);
    }

    void sendCmdGetHardwareInfo() override { slotCalls << "GetHardwareInfo"; }
    void sendCmdGetFirmwareInfo() override { slotCalls << "GetFirmwareInfo"; }
    void sendCmdSelfDiagnostics() override { slotCalls << "SelfDiagnostics"; }
    void sendCmdSetImitatorMode(quint8 mode) override
    {
        slotCalls << QStringLiteral("SetImitatorMode %1").arg(mode);
    }
    void sendCmdGetImitatorMode() override { slotCalls << "GetImitatorMode"; }
    void sendCmdSetFakeTargetsMode(bool enabled) override
    {
        slotCalls << QStringLiteral("SetFakeTargetsMode %1").arg(enabled);
    }
    void sendCmdGetFakeTargetsMode() override { slotCalls << "GetFakeTargetsMode"; }
    void sendCmdSaveToFlash() override { slotCalls << "SaveToFlash"; }
    void sendCmdRestart() override { slotCalls << "Restart"; }
    void sendCmdSetRadarSensitivity(int) override { slotCalls << "SetRadarSensitivity"; }
    void sendCmdGetRadarSensitivity() override { slotCalls << "GetRadarSensitivity"; }
    void sendCmdSetFrequencyIndex(int) override { slotCalls << "SetFrequencyIndex"; }
    void sendCmdGetFrequencyIndex() override { slotCalls << "GetFrequencyIndex"; }
    void sendCmdSetPolygonUsage(quint8 mask) override
    {
        slotCalls << QStringLiteral("SetPolygonUsage %1").arg(mask);
    }
    void sendCmdGetPolygonUsage() override { slotCalls << "GetPolygonUsage"; }
    void sendCmdSetPolygonTreatParam(quint8, quint8, quint8) override { slotCalls << "x"; }
    void sendCmdGetPolygonTreatParam(quint8, quint8) override { slotCalls << "x"; }
    void sendCmdSetPolygonSpeedParam(quint8, quint8, double) override { slotCalls << "x"; }
    void sendCmdGetPolygonSpeedParam(quint8, quint8) override { slotCalls << "x"; }
    void sendCmdSetPolygonPointParam(quint8, quint8, double) override { slotCalls << "x"; }
    void sendCmdGetPolygonPointParam(quint8, quint8) override { slotCalls << "x"; }
    void sendCmdReinitPolygons() override { slotCalls << "ReinitPolygons"; }
    void sendCmdSetCalibrationCommand(int) override { slotCalls << "x"; }
    void sendCmdGetCalibrationCommand() override { slotCalls << "GetCalibrationCommand"; }
    void sendCmdGetCalibrationState() override { slotCalls << "GetCalibrationState"; }
    void sendCmdSetCalibrationLastParam(quint8, int) override { slotCalls << "x"; }
    void sendCmdGetCalibrationLastParam(quint8) override { slotCalls << "x"; }
    void sendCmdGetCalibrationCurrParam(quint8) override { slotCalls << "x"; }
    void sendCmdResetCalibrationParams() override { slotCalls << "ResetCalibrationParams"; }
    void sendCmdApplyCalibrationParams() override { slotCalls << "ApplyCalibrationParams"; }
    void sendCmdSetDebugVariableValue(quint8, int) override { slotCalls << "x"; }
    void sendCmdGetDebugVariableValue(quint8) override { slotCalls << "x"; }
    void sendCmdSetPosition(double, double, double, double, double, double) override
    {
        slotCalls << "x";
    }
    void sendCmdGetPosition() override { slotCalls << "x"; }
    void sendCmdFreeCommand(quint8, quint8, quint8, int) override { slotCalls << "x"; }

protected:
    int doHandleRadarDataMessage(const QDateTime &frameTime, const QByteArray &frameArea) override
    {
        frameTimes << frameTime;
        frameAreas << QByteArray(frameArea.constData(), frameArea.size());
        doUpdateObjects(frameTime);
        if (frameArea.startsWith("ack") && frameArea.size() == 4) {
            const quint8 code = quint8(frameArea.at(3));
            doFinishRadarCommand(code == 0 ? Received : code == 255 ? InProgress : Error, code);
            return 0;
        }
        if (frameArea.startsWith("obj") && frameArea.size() == 4) {
            addObject(quint8(frameArea.at(3)), frameTime);
            doEmitObjects();
            return radarState();
        }
        return frameArea.isEmpty() ? 0 : qint8(frameArea.at(0));
    }

    void doHandleRadarCommandState(int command, CommandState state, int error) override
    {
        reports << Report { command, int(state), error };
    }
};
