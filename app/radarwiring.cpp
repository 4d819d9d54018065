#include "radarwiring.h"

#include "generalinfowidget.h"
#include "historytablewidget.h"
#include "imitatorobjectwidget.h"
#include "ivantorclient.h"
#include "objectstablewidget.h"
#include "projectionwidget.h"
#include "protocolvariant.h"
#include "radarstatewidget.h"
#include "radartuningwidget.h"
#include "roadobjectframecollector.h"
#include "roadobjectswidget.h"
#include "roadscene.h"
#include "saveandrestartwidget.h"
#include "sendcommandswidget.h"
#include "serverconnectionwidget.h"
#include "serverpingwidget.h"
#include "serverprotocolwidget.h"
#include "serverstatewidget.h"
#include "setpolygonwidget.h"
#include "setpositionwidget.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"

namespace {

using DrawerPositionSlot
    = void (ProjectionDrawer::*)(double, double, double, double, double, double);

} // namespace

RadarWiring::RadarWiring(const MainViews &views, QObject *parent)
    : QObject(parent)
    , m_views(views)
{
    // The collected frames reach the same displays whichever client is attached.
    RoadObjectFrameCollector *collector = m_views.frameCollector;
    const auto collected = &RoadObjectFrameCollector::frameCollected;
    connect(collector, collected, m_views.objectsTable, &ObjectsTableWidget::showFrame);
    connect(collector, collected, m_views.imitator, &ImitatorObjectWidget::showFrame);
    connect(collector, collected, m_views.history, &HistoryTableWidget::showFrame);
    connect(collector, collected, m_views.roadScene, &RoadScene::showFrame);
}

RadarWiring::~RadarWiring()
{
    detach();
}

void RadarWiring::attach(IVantorClient *client)
{
    detach();
    if (!client)
        return;
    m_client = client;
    doConnectServerStates(client);
    doConnectRadarStates(client);
    doConnectFrames(client);
    doConnectResults(client);
    doConnectRequests(client);
    emit clientAttached(client);
}

IVantorClient *RadarWiring::detach()
{
    for (const QMetaObject::Connection &connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
    if (m_client && m_views.frameCollector->client() == m_client)
        m_views.frameCollector->setClient(nullptr);
    IVantorClient *client = m_client;
    m_client = nullptr;
    return client;
}

void RadarWiring::doConnectServerStates(IVantorClient *client)
{
    const QList<ServerStatusWidget *> serverWidgets = { m_views.serverPing,
        m_views.serverConnection, m_views.serverState, m_views.serverProtocol };
    for (ServerStatusWidget *widget : serverWidgets) {
        link(client, &IVantorClient::connecting, widget, &ServerStatusWidget::showConnecting);
        link(client, &IVantorClient::connected, widget, &ServerStatusWidget::showConnected);
        link(client, &IVantorClient::notconnected, widget, &ServerStatusWidget::showNotConnected);
        link(client, &IVantorClient::disconnected, widget, &ServerStatusWidget::showDisconnected);
    }
    link(client, &IVantorClient::connectingTimedOut, m_views.serverConnection,
        &ServerConnectionWidget::showConnectingTimedOut);
    link(client, &IVantorClient::pingTimedOut, m_views.serverConnection,
        &ServerConnectionWidget::showPingTimedOut);
    link(client, &IVantorClient::messageTooLarge, m_views.serverConnection, [this] {
        m_views.serverConnection->showMessageTooLarge(IVantorClient::MaxIncomingMessageSize);
    });
    link(client, &IVantorClient::serverCommandResult, m_views.serverState,
        &ServerStateWidget::showServerCommandResult);
    link(client, &IVantorClient::connected, this, &RadarWiring::clientConnected);
    link(client, &IVantorClient::pingLatency, m_views.serverPing,
        &ServerPingWidget::showPingLatency);
    link(client, &IVantorClient::usedProtocolChanged, m_views.serverProtocol,
        &ServerProtocolWidget::showServerProtocol);
    link(client, &IVantorClient::serverStateChanged, m_views.serverState,
        &ServerStateWidget::showServerState);
}

// Every display follows the radar state; every control panel also shows the progress of
// its commands.
void RadarWiring::doConnectRadarStates(IVantorClient *client)
{
    const auto state = &IVantorClient::radarStateChanged;
    link(client, state, this, &RadarWiring::radarStateChanged);
    link(client, state, m_views.objectsTable, &ObjectsTableWidget::showRadarState);
    link(client, state, m_views.imitator, &ImitatorObjectWidget::showRadarState);
    link(client, state, m_views.generalInfo, &GeneralInfoWidget::showRadarState);
    link(client, state, m_views.serverState, &ServerStateWidget::showRadarState);
    link(client, state, m_views.radarState, &RadarStateWidget::showRadarState);
    link(client, &IVantorClient::messagesUnreadableChanged, m_views.radarState,
        &RadarStateWidget::showMessagesUnreadable);
    link(client, state, m_views.scheme, &RoadObjectsWidget::showRadarState);
    link(client, state, m_views.projection->drawer(), &ProjectionDrawer::showRadarState);
    link(client, state, m_views.roadScene, &RoadScene::setRadarState);

    const auto command = &IVantorClient::radarCommandStateChanged;
    link(client, state, m_views.saveAndRestart, &SaveAndRestartWidget::showRadarState);
    link(client, command, m_views.saveAndRestart, &SaveAndRestartWidget::showCommandState);
    link(client, state, m_views.setPosition, &SetPositionWidget::showRadarState);
    link(client, command, m_views.setPosition, &SetPositionWidget::showCommandState);
    link(client, state, m_views.radarTuning, &RadarTuningWidget::showRadarState);
    link(client, command, m_views.radarTuning, &RadarTuningWidget::showCommandState);
    link(client, state, m_views.setPolygon, &SetPolygonWidget::showRadarState);
    link(client, command, m_views.setPolygon, &SetPolygonWidget::showCommandState);
    link(client, state, m_views.sendCommands, &SendCommandsWidget::showRadarState);
    link(client, command, m_views.sendCommands, &SendCommandsWidget::showCommandState);
}

// The collector makes one frame value of the client's frame signals; the general info
// counts the cycles itself.
void RadarWiring::doConnectFrames(IVantorClient *client)
{
    m_views.frameCollector->setClient(client);
    link(client, &IVantorClient::frameDateTimeUtc, m_views.generalInfo,
        &GeneralInfoWidget::setFrameDateTimeUtc);
    link(client, &IVantorClient::cycleNumber, m_views.generalInfo,
        &GeneralInfoWidget::showCycleNumber);
}

void RadarWiring::doConnectResults(IVantorClient *client)
{
    link(client, &IVantorClient::uptimeInfo, m_views.generalInfo,
        &GeneralInfoWidget::showUptimeInfo);

    link(client, &IVantorClient::hardwareInfo, this, &RadarWiring::hardwareInfoResult,
        Qt::QueuedConnection);
    link(client, &IVantorClient::hardwareInfo, m_views.serverState,
        &ServerStateWidget::showRadarHardwareInfo);
    link(client, &IVantorClient::firmwareInfo, this, &RadarWiring::firmwareInfoResult,
        Qt::QueuedConnection);
    link(client, &IVantorClient::selfDiagnosticsResult, this, &RadarWiring::selfDiagnosticsResult,
        Qt::QueuedConnection);

    link(client, &IVantorClient::imitatorModeChanged, this, &RadarWiring::imitatorModeChanged);
    link(client, &IVantorClient::imitatorModeChanged, m_views.sendCommands,
        &SendCommandsWidget::showImitatorMode);
    link(
        client, &IVantorClient::fakeTargetsModeChanged, this, &RadarWiring::fakeTargetsModeChanged);
    link(client, &IVantorClient::fakeTargetsModeChanged, m_views.sendCommands,
        &SendCommandsWidget::showFakeTargetsMode);

    link(client, &IVantorClient::radarPosition, m_views.scheme, &RoadObjectsWidget::showPosition);
    link(client, &IVantorClient::radarPosition, m_views.setPosition,
        &SetPositionWidget::showPosition);
    link(client, &IVantorClient::radarPosition, m_views.projection->drawer(),
        static_cast<DrawerPositionSlot>(&ProjectionDrawer::showPosition));
    link(client, &IVantorClient::frequencyIndex, m_views.radarTuning,
        &RadarTuningWidget::showFrequencyIndex);
    link(client, &IVantorClient::radarSensitivity, m_views.radarTuning,
        &RadarTuningWidget::showRadarSensitivity);

    link(
        client, &IVantorClient::polygonUsage, m_views.scheme, &RoadObjectsWidget::showPolygonUsage);
    link(client, &IVantorClient::polygonUsage, m_views.setPolygon,
        &SetPolygonWidget::showPolygonUsage);
    link(client, &IVantorClient::polygonTreatParam, m_views.setPolygon,
        &SetPolygonWidget::showPolygonTreatParam);
    link(client, &IVantorClient::polygonSpeedParam, m_views.setPolygon,
        &SetPolygonWidget::showPolygonSpeedParam);
    link(client, &IVantorClient::polygonPointParam, m_views.scheme,
        &RoadObjectsWidget::showPolygonPointParam);
    link(client, &IVantorClient::polygonPointParam, m_views.setPolygon,
        &SetPolygonWidget::showPolygonPointParam);
}

void RadarWiring::doConnectRequests(IVantorClient *client)
{
    link(this, &RadarWiring::forceServerToChangeProtocol, client,
        &IVantorClient::forceServerToChangeProtocol);
    link(this, &RadarWiring::resetClientStatistics, client, &IVantorClient::resetStatistics);
    link(m_views.serverState, &ServerStateWidget::getRadarHardwareInfo, client,
        &IVantorClient::sendCmdGetHardwareInfo);

    link(m_views.sendCommands, &SendCommandsWidget::commandWithNoArgs, client,
        &IVantorClient::sendAnyCmdWithNoArgs);
    link(m_views.sendCommands, &SendCommandsWidget::switchCommand, client,
        &IVantorClient::sendAnySwitchCmd);
    link(m_views.saveAndRestart, &SaveAndRestartWidget::commandWithNoArgs, client,
        &IVantorClient::sendAnyCmdWithNoArgs);

    const SetPositionWidget *position = m_views.setPosition;
    link(position, &SetPositionWidget::setPosition, client, &IVantorClient::sendCmdSetPosition);
    link(position, &SetPositionWidget::getPosition, client, &IVantorClient::sendCmdGetPosition);

    const RadarTuningWidget *tuning = m_views.radarTuning;
    link(tuning, &RadarTuningWidget::setFrequencyIndex, client,
        &IVantorClient::sendCmdSetFrequencyIndex);
    link(tuning, &RadarTuningWidget::getFrequencyIndex, client,
        &IVantorClient::sendCmdGetFrequencyIndex);
    link(tuning, &RadarTuningWidget::setRadarSensitivity, client,
        &IVantorClient::sendCmdSetRadarSensitivity);
    link(tuning, &RadarTuningWidget::getRadarSensitivity, client,
        &IVantorClient::sendCmdGetRadarSensitivity);

    const SetPolygonWidget *polygon = m_views.setPolygon;
    link(polygon, &SetPolygonWidget::setPolygonUsage, client,
        &IVantorClient::sendCmdSetPolygonUsage);
    link(polygon, &SetPolygonWidget::getPolygonUsage, client,
        &IVantorClient::sendCmdGetPolygonUsage);
    link(polygon, &SetPolygonWidget::setPolygonTreatParam, client,
        &IVantorClient::sendCmdSetPolygonTreatParam);
    link(polygon, &SetPolygonWidget::getPolygonTreatParam, client,
        &IVantorClient::sendCmdGetPolygonTreatParam);
    link(polygon, &SetPolygonWidget::setPolygonSpeedParam, client,
        &IVantorClient::sendCmdSetPolygonSpeedParam);
    link(polygon, &SetPolygonWidget::getPolygonSpeedParam, client,
        &IVantorClient::sendCmdGetPolygonSpeedParam);
    link(polygon, &SetPolygonWidget::setPolygonPointParam, client,
        &IVantorClient::sendCmdSetPolygonPointParam);
    link(polygon, &SetPolygonWidget::getPolygonPointParam, client,
        &IVantorClient::sendCmdGetPolygonPointParam);
    link(polygon, &SetPolygonWidget::reinitPolygons, client, &IVantorClient::sendCmdReinitPolygons);
}

void RadarWiring::attachNew(int protocolNumber)
{
    release();
    if (protocolNumber == ProtocolVariant::TypeQ.number)
        attach(new VantorSerialQelProtocolClient(parent()));
    else if (protocolNumber == ProtocolVariant::TypeP.number)
        attach(new VantorSerialPmxProtocolClient(parent()));
}

void RadarWiring::release()
{
    IVantorClient *client = m_client;
    if (!client)
        return;
    client->disconnectFromServer();
    detach();
    client->deleteLater();
}
