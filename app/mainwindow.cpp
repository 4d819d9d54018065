#include "mainwindow.h"

#include "generalinfowidget.h"
#include "imitatorobjectwidget.h"
#include "ivantorclient.h"
#include "objectstablewidget.h"
#include "radarcommandtable.h"
#include "radarstatewidget.h"
#include "radartuningwidget.h"
#include "roadobjectswidget.h"
#include "saveandrestartwidget.h"
#include "selfdiagnosisreport.h"
#include "sendcommandswidget.h"
#include "serverconnectionwidget.h"
#include "serverpingwidget.h"
#include "serverprotocolwidget.h"
#include "serverstatewidget.h"
#include "serverurldialog.h"
#include "setpolygonwidget.h"
#include "setpositionwidget.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

namespace {

// The boxes of each column, top to bottom, for two and for three columns.
const QList<QList<VantorControl>> TwoColumns = {
    { GeneralInfoControl, SendCommandsControl, LimitationsControl },
    { FineTuningControl, RadarPositionControl, SaveAndRestartControl },
    {},
};
const QList<QList<VantorControl>> ThreeColumns = {
    { GeneralInfoControl, SendCommandsControl, FineTuningControl },
    { LimitationsControl },
    { RadarPositionControl, SaveAndRestartControl },
};

// Every control panel shows the radar state and the progress of its commands.
template<typename Panel> void connectPanelStates(IVantorClient *client, Panel *panel)
{
    QObject::connect(client, &IVantorClient::radarStateChanged, panel, &Panel::showRadarState);
    QObject::connect(
        client, &IVantorClient::radarCommandStateChanged, panel, &Panel::showCommandState);
}

bool isSeparateWindow(int control)
{
    return control == ObjectsHistoryControl || control == ProjectionControl;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_title(tr("QEL Vantor Road App"))
    , m_serverPingWidget(new ServerPingWidget(this))
    , m_serverConnectionWidget(new ServerConnectionWidget(this))
    , m_serverStateWidget(new ServerStateWidget(this))
    , m_serverProtocolWidget(new ServerProtocolWidget(this))
    , m_radarStateWidget(new RadarStateWidget(this))
{
    m_ui.setupUi(this);
    QFont windowFont = font();
    windowFont.setFamily(QStringLiteral("Sans"));
    setFont(windowFont);
    setWindowTitle(m_title);

    m_generalInfoWidget = new GeneralInfoWidget(m_ui.generalInfoBox);
    m_ui.generalInfoBoxLayout->addWidget(m_generalInfoWidget);
    m_imitatorObjectWidget = new ImitatorObjectWidget(m_ui.imitatorObjectBox);
    m_ui.imitatorObjectBoxLayout->addWidget(m_imitatorObjectWidget);
    m_objectsTableWidget = new ObjectsTableWidget(m_ui.objectsTableBox);
    m_ui.objectsTableBoxLayout->addWidget(m_objectsTableWidget);
    doCreatePanels();

    doCreateMenus();
    doFillControls();

    for (auto it = m_controls.constBegin(); it != m_controls.constEnd(); ++it) {
        if (auto *box = qobject_cast<CollapsibleGroupBox *>(it.value()))
            connect(
                box, &CollapsibleGroupBox::clicked, this, &MainWindow::onControlCollapsedChanged);
        if (auto *window = qobject_cast<StandaloneWidget *>(it.value()))
            connect(window, &StandaloneWidget::aboutToClose, this,
                &MainWindow::onStandaloneWidgetClosed);
    }

    statusBar()->addPermanentWidget(m_serverPingWidget);
    statusBar()->addPermanentWidget(m_serverConnectionWidget);
    statusBar()->addPermanentWidget(m_serverStateWidget);
    statusBar()->addPermanentWidget(m_serverProtocolWidget);
    statusBar()->addPermanentWidget(m_radarStateWidget);

    doConnectProfile();
    doConnectDisplays();
    onRadarStateChanged(IVantorClient::Offline);

    WorkProfileHandler *handler = profileHandler();
    handler->loadProfiles(QString::fromLatin1(ConfigPath));
    handler->applyProfile(handler->currentProfileId());
    // The traffic scheme and the imitator share one area; the imitator mode picks one.
    emit controlVisibleChanged(TrafficSchemeControl, true);
    emit controlVisibleChanged(ImitatorControl, true);
    handler->applyProfile(handler->currentProfileId());
}

MainWindow::~MainWindow()
{
    doUnsetRadarClient();
}

void MainWindow::doCreateMenus()
{
    doCreateFileMenu();
    doCreateProtocolMenu();
    doCreateViewMenu();
    doCreateDataMenu();

    QMenu *server = menuBar()->addMenu(tr("&Server"));
    connect(server->addAction(tr("&Choose radar server")), &QAction::triggered, this,
        &MainWindow::onChooseRadarServerTriggered);
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    connect(help->addAction(tr("&About this program")), &QAction::triggered, this,
        &MainWindow::onAboutProgramTriggered);
}

void MainWindow::doCreateFileMenu()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    connect(file->addAction(tr("&Switch work profile")), &QAction::triggered, this,
        &MainWindow::onSwitchProfileTriggered);
    file->addSeparator();
    connect(file->addAction(tr("&Exit")), &QAction::triggered, this, &MainWindow::close);
}

void MainWindow::doCreateProtocolMenu()
{
    QMenu *protocol = menuBar()->addMenu(tr("&Protocol"));
    m_protocolGroup = new QActionGroup(this);
    m_protocolGroup->setExclusive(true);
    const QList<QPair<QString, int>> entries = {
        { tr("&0. Serial, type Q (SerQ)"), SerialQelVersion },
        { tr("&1. Serial, type P (SerP)"), SerialPmxVersion },
    };
    for (const auto &[text, version] : entries) {
        QAction *action = protocol->addAction(text);
        action->setCheckable(true);
        action->setData(version);
        m_protocolGroup->addAction(action);
    }
    connect(
        m_protocolGroup, &QActionGroup::triggered, this, &MainWindow::onProtocolVersionTriggered);
    protocol->addSeparator();
    m_protocolForcingAction = protocol->addAction(tr("&Force server to change protocol"));
    m_protocolForcingAction->setCheckable(true);
    doBindAction(m_protocolForcingAction, &WorkProfileHandler::setProtocolForcing,
        &WorkProfileHandler::protocolForcingChanged);
}

void MainWindow::doCreateViewMenu()
{
    QMenu *view = menuBar()->addMenu(tr("&View"));

    QMenu *controls = view->addMenu(tr("Visible &controls"));
    m_visibleControlsGroup = new QActionGroup(this);
    m_visibleControlsGroup->setExclusive(false);
    const QList<QPair<QString, int>> entries = {
        { tr("Traffic &scheme / Speed generated with imitator"), ObjectsViewControl },
        { tr("Road &objects"), RoadObjectsControl },
        { QString(), -1 },
        { tr("&General info"), GeneralInfoControl },
        { tr("Send &commands"), SendCommandsControl },
        { tr("Configure &limitations"), LimitationsControl },
        { tr("Fine &tuning"), FineTuningControl },
        { tr("Set &radar position"), RadarPositionControl },
        { tr("Save &params and restart"), SaveAndRestartControl },
        { QString(), -1 },
        { tr("Objects &history"), ObjectsHistoryControl },
        { tr("Projecting to &video"), ProjectionControl },
    };
    for (const auto &[text, control] : entries) {
        if (control < 0) {
            controls->addSeparator();
            continue;
        }
        QAction *action = controls->addAction(text);
        action->setCheckable(true);
        action->setData(control);
        m_visibleControlsGroup->addAction(action);
    }
    connect(m_visibleControlsGroup, &QActionGroup::triggered, this,
        &MainWindow::onControlVisibleTriggered);

    QMenu *scheme = view->addMenu(tr("&Traffic scheme"));
    const auto addCheckable = [](QMenu *menu, const QString &text) {
        QAction *action = menu->addAction(text);
        action->setCheckable(true);
        return action;
    };
    doBindAction(addCheckable(scheme, tr("Draw road &vertical")),
        &WorkProfileHandler::setDrawVertical, &WorkProfileHandler::drawVerticalChanged);
    doBindAction(addCheckable(scheme, tr("&Keep aspect ratio and object sizes")),
        &WorkProfileHandler::setKeepAspectRatio, &WorkProfileHandler::keepAspectRatioChanged);
    scheme->addSeparator();
    doBindAction(addCheckable(scheme, tr("Draw camera's sight &line and area")),
        &WorkProfileHandler::setShowSightLine, &WorkProfileHandler::showSightLineChanged);
    scheme->addSeparator();
    doBindAction(addCheckable(scheme, tr("Draw &current tracks")),
        &WorkProfileHandler::setShowCurrentTracksOnScheme,
        &WorkProfileHandler::showCurrentTracksOnSchemeChanged);
    doBindAction(addCheckable(scheme, tr("Draw &average tracks")),
        &WorkProfileHandler::setShowAverageTracksOnScheme,
        &WorkProfileHandler::showAverageTracksOnSchemeChanged);
    scheme->addSeparator();
    m_tracksDisplayModeGroup = new QActionGroup(this);
    m_tracksDisplayModeGroup->setExclusive(true);
    const QStringList modes
        = { tr("&Normal mode"), tr("&Statistical (long exposure) mode"), tr("&Mixed mode") };
    for (int mode = 0; mode < modes.size(); ++mode) {
        QAction *action = addCheckable(scheme, modes.at(mode));
        action->setData(mode);
        m_tracksDisplayModeGroup->addAction(action);
    }
    connect(m_tracksDisplayModeGroup, &QActionGroup::triggered, this,
        &MainWindow::onTracksDisplayModeTriggered);
    scheme->addSeparator();
    connect(scheme->addAction(tr("Customize &traffic scheme")), &QAction::triggered, this,
        &MainWindow::onConfigureRoadTriggered);

    QMenu *video = view->addMenu(tr("Projecting to &video"));
    doBindAction(addCheckable(video, tr("Draw &lane boundaries")),
        &WorkProfileHandler::setShowLaneLinesOnVideo,
        &WorkProfileHandler::showLaneLinesOnVideoChanged);
    doBindAction(addCheckable(video, tr("Draw &distance lines")),
        &WorkProfileHandler::setShowDistLinesOnVideo,
        &WorkProfileHandler::showDistLinesOnVideoChanged);
    doBindAction(addCheckable(video, tr("Draw &object dimensions")),
        &WorkProfileHandler::setShowObjectDimensionsOnVideo,
        &WorkProfileHandler::showObjectDimensionsOnVideoChanged);
    doBindAction(addCheckable(video, tr("Draw &current tracks")),
        &WorkProfileHandler::setShowCurrentTracksOnVideo,
        &WorkProfileHandler::showCurrentTracksOnVideoChanged);
    doBindAction(addCheckable(video, tr("Draw &average tracks")),
        &WorkProfileHandler::setShowAverageTracksOnVideo,
        &WorkProfileHandler::showAverageTracksOnVideoChanged);
    video->addSeparator();
    connect(video->addAction(tr("Customize &projecting to video")), &QAction::triggered, this,
        &MainWindow::onConfigureTvmsTriggered);

    view->addSeparator();
    doBindAction(addCheckable(view, tr("&Paint objects in different colors")),
        &WorkProfileHandler::setPaintObjects, &WorkProfileHandler::paintObjectsChanged);
}

void MainWindow::doCreateDataMenu()
{
    QMenu *data = menuBar()->addMenu(tr("&Data"));
    QAction *autoGetData = data->addAction(tr("&Automatically get data when radar starts working"));
    autoGetData->setCheckable(true);
    doBindAction(
        autoGetData, &WorkProfileHandler::setAutoGetData, &WorkProfileHandler::autoGetDataChanged);
    QMenu *pickup = data->addMenu(tr("&Pick up parameters"));
    connect(pickup->addAction(tr("Radar &position")), &QAction::triggered, this,
        &MainWindow::onPickupRadarPosTriggered);
    connect(pickup->addAction(tr("Radar position and camera view &angle")), &QAction::triggered,
        this, &MainWindow::onPickupRadarPosAndCameraViewAngleTriggered);
    data->addSeparator();
    connect(data->addAction(tr("&Reset average tracks")), &QAction::triggered, &m_objectsHelper,
        &ObjectsHelper::resetAverageTracks);
}

void MainWindow::doBindAction(QAction *action, void (WorkProfileHandler::*setter)(bool),
    void (WorkProfileHandler::*changed)(bool))
{
    connect(action, &QAction::triggered, profileHandler(), setter);
    connect(profileHandler(), changed, action, &QAction::setChecked);
}

void MainWindow::doFillControls()
{
    m_ui.roadObjectsBox->setTitle(tr(" Traffic scheme  "));
    m_ui.objectsTableBox->setTitle(tr(" Road objects  "));
    m_ui.sendCommandsBox->setTitle(tr("Send commands  "));
    m_ui.setPolygonBox->setTitle(tr("Configure limitations  "));
    m_ui.setPositionBox->setTitle(tr("Set radar position  "));
    m_ui.radarTuningBox->setTitle(tr("Fine tuning  "));
    m_ui.saveAndRestartBox->setTitle(tr("Save params and restart  "));
    m_ui.generalInfoBox->setTitle(tr("General info  "));
    m_ui.generalInfoBox->setBacklighted(false);
    doSetImitatorText();

    const QList<QPair<VantorControl, QWidget *>> controls = {
        { ObjectsViewControl, m_ui.objectsMetaWidget },
        { TrafficSchemeControl, m_ui.roadObjectsBox },
        { RoadObjectsControl, m_ui.objectsTableBox },
        { ImitatorControl, m_ui.imitatorObjectBox },
        { SendCommandsControl, m_ui.sendCommandsBox },
        { LimitationsControl, m_ui.setPolygonBox },
        { RadarPositionControl, m_ui.setPositionBox },
        { FineTuningControl, m_ui.radarTuningBox },
        { SaveAndRestartControl, m_ui.saveAndRestartBox },
        { GeneralInfoControl, m_ui.generalInfoBox },
        { ObjectsHistoryControl, &m_historyTableWidget },
        { ProjectionControl, &m_projectionWidget },
    };
    for (const auto &[control, widget] : controls) {
        m_controls.insert(control, widget);
        m_visible.insert(control, false);
    }
}

void MainWindow::doCreatePanels()
{
    m_roadObjectsWidget = new RoadObjectsWidget(m_ui.roadObjectsBox);
    m_ui.roadObjectsBoxLayout->addWidget(m_roadObjectsWidget);
    m_sendCommandsWidget = new SendCommandsWidget(m_ui.sendCommandsBox);
    m_ui.sendCommandsBoxLayout->addWidget(m_sendCommandsWidget);
    m_setPolygonWidget = new SetPolygonWidget(m_ui.setPolygonBox);
    m_ui.setPolygonBoxLayout->addWidget(m_setPolygonWidget);
    m_setPositionWidget = new SetPositionWidget(m_ui.setPositionBox);
    m_ui.setPositionBoxLayout->addWidget(m_setPositionWidget);
    m_radarTuningWidget = new RadarTuningWidget(m_ui.radarTuningBox);
    m_ui.radarTuningBoxLayout->addWidget(m_radarTuningWidget);
    m_saveAndRestartWidget = new SaveAndRestartWidget(m_ui.saveAndRestartBox);
    m_ui.saveAndRestartBoxLayout->addWidget(m_saveAndRestartWidget);
}

void MainWindow::doConnectDisplays()
{
    using PositionSlot = void (ProjectionDrawer::*)(double, double, double, double, double, double);
    ProjectionDrawer *drawer = m_projectionWidget.drawer();
    const auto drawerShowPosition = static_cast<PositionSlot>(&ProjectionDrawer::showPosition);

    connect(m_sendCommandsWidget, &SendCommandsWidget::commandWithNoArgs, this,
        &MainWindow::onWindowedCommandRequested);
    // The entered position is previewed before the radar confirms it.
    connect(m_setPositionWidget, &SetPositionWidget::setPosition, m_roadObjectsWidget,
        &RoadObjectsWidget::showPosition);
    connect(m_setPositionWidget, &SetPositionWidget::setPosition, drawer, drawerShowPosition);

    connect(&m_roadBuilder, &RoadBuilder::applyingRoadStarted, m_roadObjectsWidget,
        &RoadObjectsWidget::startApplyingRoad);
    connect(&m_roadBuilder, &RoadBuilder::applyingRoadStarted, drawer,
        &ProjectionDrawer::startApplyingRoad);
    connect(&m_roadBuilder, &RoadBuilder::applyingRoadStarted, &m_objectsHelper,
        &ObjectsHelper::startApplyingRoad);
    connect(&m_roadBuilder, &RoadBuilder::roadAxisLine, m_roadObjectsWidget,
        &RoadObjectsWidget::setRoadAxisLine);
    connect(&m_roadBuilder, &RoadBuilder::roadAxisLine, drawer, &ProjectionDrawer::setRoadAxisLine);
    connect(&m_roadBuilder, &RoadBuilder::laneBorderLines, m_roadObjectsWidget,
        &RoadObjectsWidget::setLaneBorderLines);
    connect(&m_roadBuilder, &RoadBuilder::laneBorderLines, drawer,
        &ProjectionDrawer::setLaneBorderLines);
    connect(&m_roadBuilder, &RoadBuilder::roadBorderLines, m_roadObjectsWidget,
        &RoadObjectsWidget::setRoadBorderLines);
    connect(&m_roadBuilder, &RoadBuilder::roadBorderLines, drawer,
        &ProjectionDrawer::setRoadBorderLines);
    connect(&m_roadBuilder, &RoadBuilder::distanceLines, m_roadObjectsWidget,
        &RoadObjectsWidget::setDistanceLines);
    connect(
        &m_roadBuilder, &RoadBuilder::distanceLines, drawer, &ProjectionDrawer::setDistanceLines);
    connect(&m_roadBuilder, &RoadBuilder::laneCenterLines, &m_objectsHelper,
        &ObjectsHelper::setLaneCenterLines);
    connect(&m_roadBuilder, &RoadBuilder::roadTanAngles, m_roadObjectsWidget,
        &RoadObjectsWidget::setRoadTanAngles);
    connect(&m_roadBuilder, &RoadBuilder::applyingRoadFinished, m_roadObjectsWidget,
        &RoadObjectsWidget::finishApplyingRoad);
    connect(&m_roadBuilder, &RoadBuilder::applyingRoadFinished, drawer,
        &ProjectionDrawer::finishApplyingRoad);
    connect(&m_roadBuilder, &RoadBuilder::applyingRoadFinished, &m_objectsHelper,
        &ObjectsHelper::finishApplyingRoad);

    connect(drawer, &ProjectionDrawer::sight, m_roadObjectsWidget, &RoadObjectsWidget::setSight);
    connect(drawer, &ProjectionDrawer::pickedRadarPosition, m_setPositionWidget,
        &SetPositionWidget::fillPosition);

    // The scheme and the projection redraw once the objects are sorted, not on frameFinished.
    connect(&m_objectsHelper, &ObjectsHelper::currentTracks, m_roadObjectsWidget,
        &RoadObjectsWidget::setCurrentTracks);
    connect(&m_objectsHelper, &ObjectsHelper::currentTracks, drawer,
        &ProjectionDrawer::setCurrentTracks);
    connect(&m_objectsHelper, &ObjectsHelper::sortingFinished, m_roadObjectsWidget,
        qOverload<const QVector<quint8> &>(&RoadObjectsWidget::finishFilling));
    connect(&m_objectsHelper, &ObjectsHelper::sortingFinished, drawer,
        &ProjectionDrawer::finishFilling);
    connect(&m_objectsHelper, &ObjectsHelper::averageTracks, m_roadObjectsWidget,
        &RoadObjectsWidget::setAverageTracks);
    connect(&m_objectsHelper, &ObjectsHelper::averageTracks, drawer,
        &ProjectionDrawer::setAverageTracks);
}

void MainWindow::doConnectProfile()
{
    WorkProfileHandler *h = profileHandler();
    connect(
        h, &WorkProfileHandler::applyingProfileStarted, this, &MainWindow::doStartApplyingProfile);
    connect(this, &MainWindow::protocolVersionChanged, h, &WorkProfileHandler::setProtocolVersion);
    connect(
        h, &WorkProfileHandler::protocolVersionChanged, this, &MainWindow::doSetProtocolVersion);
    connect(
        h, &WorkProfileHandler::protocolForcingChanged, this, &MainWindow::doSetProtocolForcing);
    connect(this, &MainWindow::radarServerUrlChanged, h, &WorkProfileHandler::setRadarServerUrl);
    connect(h, &WorkProfileHandler::radarServerUrlChanged, m_serverConnectionWidget,
        &ServerConnectionWidget::setRadarServerUrl);
    connect(h, &WorkProfileHandler::radarServerUrlChanged, this, &MainWindow::doSetRadarServerUrl);
    connect(this, &MainWindow::controlVisibleChanged, h, &WorkProfileHandler::setControlVisible);
    connect(h, &WorkProfileHandler::controlVisibleChanged, this, &MainWindow::doSetControlVisible);
    connect(
        this, &MainWindow::controlCollapsedChanged, h, &WorkProfileHandler::setControlCollapsed);
    connect(
        h, &WorkProfileHandler::controlCollapsedChanged, this, &MainWindow::doSetControlCollapsed);
    connect(
        this, &MainWindow::tracksDisplayModeChanged, h, &WorkProfileHandler::setTracksDisplayMode);
    connect(h, &WorkProfileHandler::tracksDisplayModeChanged, this,
        &MainWindow::doSetTracksDisplayMode);
    connect(h, &WorkProfileHandler::drawVerticalChanged, this, &MainWindow::doSetDrawVertical);
    connect(h, &WorkProfileHandler::drawVerticalChanged, m_imitatorObjectWidget,
        &ImitatorObjectWidget::setDrawVertical);
    connect(h, &WorkProfileHandler::roadConfigChanged, &m_roadBuilder, &RoadBuilder::setRoadConfig);
    connect(h, &WorkProfileHandler::paintObjectsChanged, m_objectsTableWidget,
        &ObjectsTableWidget::setPaintObjects);
    connect(h, &WorkProfileHandler::paintObjectsChanged, &m_historyTableWidget,
        &HistoryTableWidget::setPaintObjects);
    connect(h, &WorkProfileHandler::paintObjectsChanged, m_imitatorObjectWidget,
        &ImitatorObjectWidget::setPaintObjects);
    connect(h, &WorkProfileHandler::tracksDisplayModeChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setTracksDisplayMode);
    // The sight line entry of the menu draws the sight area too.
    connect(h, &WorkProfileHandler::showSightLineChanged, this, &MainWindow::showSightAreaChanged);
    connect(this, &MainWindow::showSightAreaChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setShowSightArea);
    connect(h, &WorkProfileHandler::drawVerticalChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setDrawVertical);
    connect(h, &WorkProfileHandler::keepAspectRatioChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setKeepAspectRatio);
    connect(h, &WorkProfileHandler::showSightLineChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setShowSightLine);
    connect(h, &WorkProfileHandler::showCurrentTracksOnSchemeChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setShowCurrentTracks);
    connect(h, &WorkProfileHandler::showAverageTracksOnSchemeChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setShowAverageTracks);
    connect(&m_roadConfigWidget, &RoadConfigWidget::roadConfigChanged, h,
        &WorkProfileHandler::setRoadConfig);
    connect(h, &WorkProfileHandler::roadConfigChanged, &m_roadConfigWidget,
        &RoadConfigWidget::setRoadConfig);

    ProjectionDrawer *drawer = m_projectionWidget.drawer();
    connect(h, &WorkProfileHandler::showLaneLinesOnVideoChanged, drawer,
        &ProjectionDrawer::setShowLaneLines);
    connect(h, &WorkProfileHandler::showDistLinesOnVideoChanged, drawer,
        &ProjectionDrawer::setShowDistLines);
    connect(h, &WorkProfileHandler::showObjectDimensionsOnVideoChanged, drawer,
        &ProjectionDrawer::setShowObjectDimensions);
    connect(h, &WorkProfileHandler::showCurrentTracksOnVideoChanged, drawer,
        &ProjectionDrawer::setShowCurrentTracks);
    connect(h, &WorkProfileHandler::showAverageTracksOnVideoChanged, drawer,
        &ProjectionDrawer::setShowAverageTracks);
    connect(&m_tvmsConfigWidget, &TvmsConfigWidget::tvmsConfigChanged, h,
        &WorkProfileHandler::setTvmsConfig);
    connect(h, &WorkProfileHandler::tvmsConfigChanged, drawer, &ProjectionDrawer::setTvmsConfig);
    connect(h, &WorkProfileHandler::tvmsConfigChanged, &m_tvmsConfigWidget,
        &TvmsConfigWidget::setTvmsConfig);
    connect(&m_projectionWidget, &ProjectionWidget::backgroundImageChanged, h,
        &WorkProfileHandler::setProjectionBackgroundImage);
    connect(h, &WorkProfileHandler::projectionBackgroundImageChanged, &m_projectionWidget,
        &ProjectionWidget::setBackgroundImage);
    connect(h, &WorkProfileHandler::paintObjectsChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::setPaintObjects);
    connect(
        h, &WorkProfileHandler::paintObjectsChanged, drawer, &ProjectionDrawer::setPaintObjects);

    connect(h, &WorkProfileHandler::autoGetDataChanged, m_setPositionWidget,
        &SetPositionWidget::setAutoGetData);
    connect(h, &WorkProfileHandler::autoGetDataChanged, m_radarTuningWidget,
        &RadarTuningWidget::setAutoGetData);
    connect(h, &WorkProfileHandler::autoGetDataChanged, m_setPolygonWidget,
        &SetPolygonWidget::setAutoGetData);
    connect(m_setPositionWidget, &SetPositionWidget::presetsChanged, h,
        &WorkProfileHandler::setPositionPresets);
    connect(h, &WorkProfileHandler::positionPresetsChanged, m_setPositionWidget,
        &SetPositionWidget::setPresets);
    connect(m_setPolygonWidget, &SetPolygonWidget::presetsChanged, h,
        &WorkProfileHandler::setLimitationsPresets);
    connect(h, &WorkProfileHandler::limitationsPresetsChanged, m_setPolygonWidget,
        &SetPolygonWidget::setPresets);
    connect(h, &WorkProfileHandler::applyingProfileFinished, this,
        &MainWindow::doFinishApplyingProfile);
    connect(
        h, &WorkProfileHandler::configurationBackedUp, this, &MainWindow::onConfigurationBackedUp);
    connect(h, &WorkProfileHandler::savingFailed, this, &MainWindow::onProfileSavingFailed);
}

void MainWindow::doSetupRadarClient(int version)
{
    doUnsetRadarClient();
    IVantorClient *client = nullptr;
    if (version == SerialQelVersion)
        client = new VantorSerialQelProtocolClient(this);
    else if (version == SerialPmxVersion)
        client = new VantorSerialPmxProtocolClient(this);
    if (!client)
        return;
    m_radarClient = client;

    const QList<ServerStatusWidget *> serverWidgets = { m_serverPingWidget,
        m_serverConnectionWidget, m_serverStateWidget, m_serverProtocolWidget };
    for (ServerStatusWidget *widget : serverWidgets) {
        connect(client, &IVantorClient::connecting, widget, &ServerStatusWidget::showConnecting);
        connect(client, &IVantorClient::connected, widget, &ServerStatusWidget::showConnected);
        connect(
            client, &IVantorClient::notconnected, widget, &ServerStatusWidget::showNotConnected);
        connect(
            client, &IVantorClient::disconnected, widget, &ServerStatusWidget::showDisconnected);
    }
    connect(client, &IVantorClient::connectingTimedOut, m_serverConnectionWidget,
        &ServerConnectionWidget::showConnectingTimedOut);
    connect(client, &IVantorClient::connected, this, &MainWindow::onClientConnected);
    connect(client, &IVantorClient::pingLatency, m_serverPingWidget,
        &ServerPingWidget::showPingLatency);

    connect(client, &IVantorClient::radarStateChanged, this, &MainWindow::onRadarStateChanged);
    connect(client, &IVantorClient::radarStateChanged, m_objectsTableWidget,
        &ObjectsTableWidget::showRadarState);
    connect(client, &IVantorClient::radarStateChanged, m_imitatorObjectWidget,
        &ImitatorObjectWidget::showRadarState);
    connect(client, &IVantorClient::radarStateChanged, m_generalInfoWidget,
        &GeneralInfoWidget::showRadarState);
    connect(client, &IVantorClient::radarStateChanged, m_serverStateWidget,
        &ServerStateWidget::showRadarState);
    connect(client, &IVantorClient::radarStateChanged, m_radarStateWidget,
        &RadarStateWidget::showRadarState);
    connect(client, &IVantorClient::messagesUnreadableChanged, m_radarStateWidget,
        &RadarStateWidget::showMessagesUnreadable);

    ProjectionDrawer *drawer = m_projectionWidget.drawer();
    using PositionSlot = void (ProjectionDrawer::*)(double, double, double, double, double, double);
    connect(client, &IVantorClient::radarStateChanged, m_roadObjectsWidget,
        &RoadObjectsWidget::showRadarState);
    connect(client, &IVantorClient::radarStateChanged, drawer, &ProjectionDrawer::showRadarState);
    connect(
        client, &IVantorClient::radarStateChanged, &m_objectsHelper, &ObjectsHelper::setRadarState);
    connectPanelStates(client, m_saveAndRestartWidget);
    connectPanelStates(client, m_setPositionWidget);
    connectPanelStates(client, m_radarTuningWidget);
    connectPanelStates(client, m_setPolygonWidget);
    connectPanelStates(client, m_sendCommandsWidget);

    const QList<GroupedWidget *> frameDisplays
        = { m_objectsTableWidget, m_imitatorObjectWidget, &m_historyTableWidget };
    for (GroupedWidget *display : frameDisplays) {
        connect(client, &IVantorClient::frameStarted, display, &GroupedWidget::startFilling);
        connect(client, &IVantorClient::objectData, display, &GroupedWidget::addObject);
        connect(client, &IVantorClient::frameFinished, display, &GroupedWidget::finishFilling);
    }
    // The scheme and the projection finish on the sorter's signal instead of frameFinished.
    connect(client, &IVantorClient::frameStarted, m_roadObjectsWidget,
        &RoadObjectsWidget::startFilling);
    connect(client, &IVantorClient::objectData, m_roadObjectsWidget, &RoadObjectsWidget::addObject);
    connect(client, &IVantorClient::frameStarted, drawer, &ProjectionDrawer::startFilling);
    connect(client, &IVantorClient::objectData, drawer, &ProjectionDrawer::addObject);
    connect(client, &IVantorClient::frameStarted, &m_objectsHelper, &ObjectsHelper::startFilling);
    connect(client, &IVantorClient::objectData, &m_objectsHelper, &ObjectsHelper::addObject);
    connect(client, &IVantorClient::frameFinished, &m_objectsHelper, &ObjectsHelper::finishFilling);
    connect(client, &IVantorClient::frameDateTimeUtc, m_roadObjectsWidget,
        &RoadObjectsWidget::setFrameDateTimeUtc);
    connect(
        client, &IVantorClient::frameDateTimeUtc, drawer, &ProjectionDrawer::setFrameDateTimeUtc);
    connect(client, &IVantorClient::frameDateTimeUtc, &m_objectsHelper,
        &ObjectsHelper::setFrameDateTimeUtc);
    connect(client, &IVantorClient::cycleNumber, &m_objectsHelper, &ObjectsHelper::setCycleNumber);
    connect(client, &IVantorClient::frameDateTimeUtc, m_generalInfoWidget,
        &GeneralInfoWidget::setFrameDateTimeUtc);
    connect(client, &IVantorClient::frameDateTimeUtc, &m_historyTableWidget,
        &HistoryTableWidget::setFrameDateTimeUtc);
    connect(client, &IVantorClient::uptimeInfo, m_generalInfoWidget,
        &GeneralInfoWidget::showUptimeInfo);
    connect(client, &IVantorClient::cycleNumber, m_generalInfoWidget,
        &GeneralInfoWidget::showCycleNumber);

    // Queued, so that the modal boxes open after the client has finished its message.
    connect(client, &IVantorClient::hardwareInfo, this, &MainWindow::onHardwareInfoResult,
        Qt::QueuedConnection);
    connect(client, &IVantorClient::hardwareInfo, m_serverStateWidget,
        &ServerStateWidget::showRadarHardwareInfo);
    connect(client, &IVantorClient::firmwareInfo, this, &MainWindow::onFirmwareInfoResult,
        Qt::QueuedConnection);
    connect(client, &IVantorClient::selfDiagnosticsResult, this,
        &MainWindow::onSelfDiagnosticsResult, Qt::QueuedConnection);
    connect(client, &IVantorClient::imitatorModeChanged, this, &MainWindow::onImitatorModeChanged);
    connect(client, &IVantorClient::fakeTargetsModeChanged, this,
        &MainWindow::onFakeTargetsModeChanged);
    connect(client, &IVantorClient::imitatorModeChanged, m_sendCommandsWidget,
        &SendCommandsWidget::showImitatorMode);
    connect(client, &IVantorClient::fakeTargetsModeChanged, m_sendCommandsWidget,
        &SendCommandsWidget::showFakeTargetsMode);
    connect(client, &IVantorClient::radarPosition, m_roadObjectsWidget,
        &RoadObjectsWidget::showPosition);
    connect(client, &IVantorClient::radarPosition, m_setPositionWidget,
        &SetPositionWidget::showPosition);
    connect(client, &IVantorClient::radarPosition, drawer,
        static_cast<PositionSlot>(&ProjectionDrawer::showPosition));
    connect(client, &IVantorClient::frequencyIndex, m_radarTuningWidget,
        &RadarTuningWidget::showFrequencyIndex);
    connect(client, &IVantorClient::radarSensitivity, m_radarTuningWidget,
        &RadarTuningWidget::showRadarSensitivity);
    connect(client, &IVantorClient::polygonUsage, m_roadObjectsWidget,
        &RoadObjectsWidget::showPolygonUsage);
    connect(client, &IVantorClient::polygonUsage, m_setPolygonWidget,
        &SetPolygonWidget::showPolygonUsage);
    connect(client, &IVantorClient::polygonTreatParam, m_setPolygonWidget,
        &SetPolygonWidget::showPolygonTreatParam);
    connect(client, &IVantorClient::polygonSpeedParam, m_setPolygonWidget,
        &SetPolygonWidget::showPolygonSpeedParam);
    connect(client, &IVantorClient::polygonPointParam, m_roadObjectsWidget,
        &RoadObjectsWidget::showPolygonPointParam);
    connect(client, &IVantorClient::polygonPointParam, m_setPolygonWidget,
        &SetPolygonWidget::showPolygonPointParam);
    connect(client, &IVantorClient::usedProtocolChanged, m_serverProtocolWidget,
        &ServerProtocolWidget::showServerProtocol);
    connect(client, &IVantorClient::serverStateChanged, m_serverStateWidget,
        &ServerStateWidget::showServerState);
    connect(m_serverStateWidget, &ServerStateWidget::getRadarHardwareInfo, client,
        &IVantorClient::sendCmdGetHardwareInfo);

    doConnectPanelRequests(client);
    connect(this, &MainWindow::forceServerToChangeProtocol, client,
        &IVantorClient::forceServerToChangeProtocol);
    connect(this, &MainWindow::resetClientStatistics, client, &IVantorClient::resetStatistics);
}

void MainWindow::doConnectPanelRequests(IVantorClient *client)
{
    connect(m_sendCommandsWidget, &SendCommandsWidget::commandWithNoArgs, client,
        &IVantorClient::sendAnyCmdWithNoArgs);
    connect(m_sendCommandsWidget, &SendCommandsWidget::switchCommand, client,
        &IVantorClient::sendAnySwitchCmd);
    connect(m_saveAndRestartWidget, &SaveAndRestartWidget::commandWithNoArgs, client,
        &IVantorClient::sendAnyCmdWithNoArgs);
    connect(m_setPositionWidget, &SetPositionWidget::setPosition, client,
        &IVantorClient::sendCmdSetPosition);
    connect(m_setPositionWidget, &SetPositionWidget::getPosition, client,
        &IVantorClient::sendCmdGetPosition);
    connect(m_radarTuningWidget, &RadarTuningWidget::setFrequencyIndex, client,
        &IVantorClient::sendCmdSetFrequencyIndex);
    connect(m_radarTuningWidget, &RadarTuningWidget::getFrequencyIndex, client,
        &IVantorClient::sendCmdGetFrequencyIndex);
    connect(m_radarTuningWidget, &RadarTuningWidget::setRadarSensitivity, client,
        &IVantorClient::sendCmdSetRadarSensitivity);
    connect(m_radarTuningWidget, &RadarTuningWidget::getRadarSensitivity, client,
        &IVantorClient::sendCmdGetRadarSensitivity);
    connect(m_setPolygonWidget, &SetPolygonWidget::setPolygonUsage, client,
        &IVantorClient::sendCmdSetPolygonUsage);
    connect(m_setPolygonWidget, &SetPolygonWidget::getPolygonUsage, client,
        &IVantorClient::sendCmdGetPolygonUsage);
    connect(m_setPolygonWidget, &SetPolygonWidget::setPolygonTreatParam, client,
        &IVantorClient::sendCmdSetPolygonTreatParam);
    connect(m_setPolygonWidget, &SetPolygonWidget::getPolygonTreatParam, client,
        &IVantorClient::sendCmdGetPolygonTreatParam);
    connect(m_setPolygonWidget, &SetPolygonWidget::setPolygonSpeedParam, client,
        &IVantorClient::sendCmdSetPolygonSpeedParam);
    connect(m_setPolygonWidget, &SetPolygonWidget::getPolygonSpeedParam, client,
        &IVantorClient::sendCmdGetPolygonSpeedParam);
    connect(m_setPolygonWidget, &SetPolygonWidget::setPolygonPointParam, client,
        &IVantorClient::sendCmdSetPolygonPointParam);
    connect(m_setPolygonWidget, &SetPolygonWidget::getPolygonPointParam, client,
        &IVantorClient::sendCmdGetPolygonPointParam);
    connect(m_setPolygonWidget, &SetPolygonWidget::reinitPolygons, client,
        &IVantorClient::sendCmdReinitPolygons);
}

void MainWindow::doUnsetRadarClient()
{
    if (!m_radarClient)
        return;
    IVantorClient *client = m_radarClient;
    m_radarClient = nullptr;
    client->disconnect(this);
    disconnect(client);
    const QList<QObject *> requesters = { m_serverStateWidget, m_sendCommandsWidget,
        m_saveAndRestartWidget, m_setPositionWidget, m_radarTuningWidget, m_setPolygonWidget };
    for (QObject *requester : requesters)
        requester->disconnect(client);
    client->disconnectFromServer();
    client->deleteLater();
}

void MainWindow::onSwitchProfileTriggered()
{
    m_workProfileWidget.showStandalone(true, this, tr("Switch work profile"));
}

void MainWindow::onProtocolVersionTriggered(QAction *action)
{
    emit protocolVersionChanged(action->data().toInt());
}

void MainWindow::onControlVisibleTriggered(QAction *action)
{
    emit controlVisibleChanged(action->data().toInt(), action->isChecked());
}

void MainWindow::onTracksDisplayModeTriggered(QAction *action)
{
    emit tracksDisplayModeChanged(action->data().toInt());
}

void MainWindow::onConfigureRoadTriggered()
{
    m_roadConfigWidget.showStandalone(
        true, this, titleWithProfile(tr("Traffic scheme customization")));
}

void MainWindow::onConfigureTvmsTriggered()
{
    m_tvmsConfigWidget.showStandalone(
        true, this, titleWithProfile(tr("Projecting to video customization")));
}

void MainWindow::onChooseRadarServerTriggered()
{
    auto *dialog = new ServerUrlDialog(m_radarServerUrl, this);
    dialog->setObjectName(QStringLiteral("serverUrlDialog"));
    dialog->setWindowTitle(titleWithProfile(tr("Radar server")));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ServerUrlDialog::accepted, this,
        [this, dialog] { emit radarServerUrlChanged(dialog->url()); });
    dialog->open();
}

void MainWindow::onAboutProgramTriggered()
{
    const QStringList lines = { m_title, QStringLiteral("vantor-road-app-gui"),
        QStringLiteral("v1.45.0-0-g54862a7-mod"), QString(), QStringLiteral("2024-09-26") };
    showMessage(tr("About this program"), lines.join(QLatin1Char('\n')), false);
}

void MainWindow::onPickupRadarPosTriggered()
{
    doStartPickup(1);
}

void MainWindow::onPickupRadarPosAndCameraViewAngleTriggered()
{
    doStartPickup(2);
}

void MainWindow::doStartPickup(int mode)
{
    if (!m_projectionWidget.isVisible())
        emit controlVisibleChanged(ProjectionControl, true);
    m_projectionWidget.pickupParameters(mode);
}

void MainWindow::onClientConnected()
{
    if (m_protocolForcing)
        emit forceServerToChangeProtocol(m_protocolVersion);
}

void MainWindow::onRadarStateChanged(int state)
{
    if (!IVantorClient::isWorking(state)) {
        m_hardwareInfoRequested = false;
        m_firmwareInfoRequested = false;
        m_selfDiagnosticsRequested = false;
    }
    if (!IVantorClient::isOnline(state)) {
        doSetImitatorMode(0);
        emit resetClientStatistics();
    }
}

void MainWindow::onHardwareInfoResult(const QString &info)
{
    if (!m_hardwareInfoRequested)
        return;
    m_hardwareInfoRequested = false;
    showMessage(tr("Hardware info"), info, false);
}

void MainWindow::onFirmwareInfoResult(const QString &info)
{
    if (!m_firmwareInfoRequested)
        return;
    m_firmwareInfoRequested = false;
    showMessage(tr("Firmware info"), info, false);
}

void MainWindow::onSelfDiagnosticsResult(quint16 data)
{
    if (!m_selfDiagnosticsRequested)
        return;
    m_selfDiagnosticsRequested = false;
    showMessage(SelfDiagnosisReport::title(), SelfDiagnosisReport::text(data), false);
}

void MainWindow::onImitatorModeChanged(quint8 mode)
{
    doSetImitatorMode(mode);
}

void MainWindow::onFakeTargetsModeChanged(bool) { }

void MainWindow::onWindowedCommandRequested(int command)
{
    if (command == RadarCommandTable::GetHardwareInfo.command)
        m_hardwareInfoRequested = true;
    else if (command == RadarCommandTable::GetFirmwareInfo.command)
        m_firmwareInfoRequested = true;
    else if (command == RadarCommandTable::SelfDiagnostics.command)
        m_selfDiagnosticsRequested = true;
}

void MainWindow::onControlCollapsedChanged(bool collapsed)
{
    const VantorControl control
        = m_controls.key(qobject_cast<QWidget *>(sender()), VantorControl(-1));
    if (m_controls.contains(control))
        emit controlCollapsedChanged(control, collapsed);
}

void MainWindow::onStandaloneWidgetClosed()
{
    const VantorControl control
        = m_controls.key(qobject_cast<QWidget *>(sender()), VantorControl(-1));
    if (m_controls.contains(control))
        emit controlVisibleChanged(control, false);
}

void MainWindow::doStartApplyingProfile(const QString &name)
{
    m_profileName = name;
    m_applyingProfile = true;
    setWindowTitle(titleWithProfile(m_title));
}

void MainWindow::doSetProtocolVersion(int version)
{
    m_protocolVersion = version;
    for (QAction *action : m_protocolGroup->actions())
        action->setChecked(action->data().toInt() == version);
    onRadarStateChanged(IVantorClient::Offline);
    m_radarStateWidget->showRadarState(IVantorClient::Offline);
    doSetupRadarClient(version);
    if (!m_applyingProfile)
        doConnectToRadarServer(m_radarServerUrl);
}

void MainWindow::doSetProtocolForcing(bool forcing)
{
    m_protocolForcing = forcing;
}

void MainWindow::doSetRadarServerUrl(const QString &url)
{
    m_radarServerUrl = url;
    doConnectToRadarServer(url);
}

void MainWindow::doConnectToRadarServer(const QString &url)
{
    if (!m_radarClient)
        return;
    m_radarClient->disconnectFromServer();
    // A URL the client refuses (a hand-edited profile) would otherwise show nothing at all.
    if (!m_radarClient->connectToServer(QUrl(url), ReconnectTimeoutMs))
        m_serverConnectionWidget->showNotConnected();
}

void MainWindow::doSetControlVisible(int control, bool visible)
{
    const auto id = VantorControl(control);
    QWidget *widget = m_controls.value(id);
    if (!widget)
        return;
    m_visible.insert(id, visible);
    for (QAction *action : m_visibleControlsGroup->actions()) {
        if (action->data().toInt() == control)
            action->setChecked(visible);
    }
    doResetWindowLayout(control);
    if (isSeparateWindow(control)) {
        auto *window = static_cast<StandaloneWidget *>(widget);
        if (visible) {
            const QString title = control == ObjectsHistoryControl ? tr("Objects history")
                                                                   : tr("Projecting to video");
            window->showStandalone(false, this, titleWithProfile(title));
            window->setEnabled(true);
        } else {
            window->setEnabled(false);
            window->hide();
        }
        return;
    }
    widget->setVisible(visible);
    doApplyWindowLayout(control);
}

void MainWindow::doSetControlCollapsed(int control, bool collapsed)
{
    auto *box = qobject_cast<CollapsibleGroupBox *>(m_controls.value(VantorControl(control)));
    if (!box)
        return;
    box->setCollapsed(collapsed);
    doApplyWindowLayout(control);
}

void MainWindow::doSetTracksDisplayMode(int mode)
{
    for (QAction *action : m_tracksDisplayModeGroup->actions())
        action->setChecked(action->data().toInt() == mode);
}

void MainWindow::doSetDrawVertical(bool vertical)
{
    m_drawVertical = vertical;
    doResetWindowLayout(ObjectsViewControl);
    QWidget *objects = m_ui.objectsMetaWidget;
    QWidget *table = m_ui.objectsTableBox;
    m_ui.horzRoadLayout->removeWidget(objects);
    m_ui.vertRoadLayout->removeWidget(objects);
    m_ui.horzCtrlsLayout->removeWidget(table);
    m_ui.vertCtrlsLayout->removeWidget(table);
    if (vertical) {
        m_ui.vertRoadLayout->insertWidget(0, objects);
        m_ui.vertCtrlsLayout->insertWidget(0, table);
    } else {
        m_ui.horzRoadLayout->insertWidget(0, objects);
        m_ui.horzCtrlsLayout->insertWidget(0, table);
    }
    doApplyWindowLayout(ObjectsViewControl);
}

void MainWindow::doFinishApplyingProfile()
{
    m_applyingProfile = false;
    doSetImitatorMode(m_imitatorMode);
    doResetWindowLayout(ObjectsViewControl);
    doApplyWindowLayout(ObjectsViewControl);
}

void MainWindow::doSetImitatorMode(quint8 mode)
{
    m_imitatorMode = mode;
    doSetImitatorText();
    m_ui.imitatorObjectBox->setVisible(mode != 0);
    m_ui.roadObjectsBox->setVisible(mode == 0);
}

void MainWindow::doSetImitatorText()
{
    QString title = tr(" Speed generated with imitator");
    if (m_imitatorMode == 1)
        title += tr(", type 1");
    else if (m_imitatorMode == 2)
        title += tr(", type 2");
    m_ui.imitatorObjectBox->setTitle(title + QStringLiteral("  "));
}

bool MainWindow::isLayoutFrozen(int control) const
{
    return !isVisible() || m_applyingProfile || isSeparateWindow(control);
}

void MainWindow::doResetWindowLayout(int control)
{
    if (isLayoutFrozen(control))
        return;
    setUpdatesEnabled(false);
    m_imitatorObjectWidget->clear();
    m_ui.objectsMetaWidget->hide();
    m_ui.objectsMetaWidget->setMaximumSize(32, 32);
    const bool threeColumns = !m_visible.value(RoadObjectsControl) && !m_drawVertical;
    const auto &columns = threeColumns ? ThreeColumns : TwoColumns;
    QVBoxLayout *layouts[] = { m_ui.controls1Layout, m_ui.controls2Layout, m_ui.controls3Layout };
    QWidget *columnWidgets[] = { m_ui.column1Widget, m_ui.column2Widget, m_ui.column3Widget };
    QWidget *spacers[] = { m_ui.spacer1Widget, m_ui.spacer2Widget, m_ui.spacer3Widget };
    for (QVBoxLayout *layout : layouts) {
        while (QLayoutItem *item = layout->takeAt(0))
            delete item;
    }
    for (int column = 0; column < 3; ++column) {
        bool anyVisible = false;
        for (VantorControl control : columns.at(column)) {
            layouts[column]->addWidget(m_controls.value(control));
            anyVisible = anyVisible || m_visible.value(control);
        }
        layouts[column]->addWidget(spacers[column]);
        columnWidgets[column]->setVisible(anyVisible);
    }
    setUpdatesEnabled(true);
}

void MainWindow::doApplyWindowLayout(int control)
{
    if (isLayoutFrozen(control))
        return;
    doSetControlsSizePolicy(
        m_drawVertical, m_visible.value(ObjectsViewControl), m_visible.value(RoadObjectsControl));
    // Two steps later on the event loop: the widget tree settles between them.
    QTimer::singleShot(1, this, &MainWindow::doFinishRearranging);
}

void MainWindow::doFinishRearranging()
{
    doRearrangeControls(
        m_drawVertical, m_visible.value(RoadObjectsControl), m_visible.value(ObjectsViewControl));
    m_imitatorObjectWidget->clear();
    m_ui.objectsMetaWidget->setVisible(m_visible.value(ObjectsViewControl));
    // The scroll area only scrolls vertically: it is as wide as the columns it shows.
    m_ui.controlsScrollArea->setMinimumWidth(m_ui.controlsWidget->minimumSizeHint().width()
        + m_ui.controlsScrollArea->verticalScrollBar()->sizeHint().width());
    QTimer::singleShot(1, this, &MainWindow::doReleaseObjectsArea);
}

void MainWindow::doReleaseObjectsArea()
{
    m_ui.objectsMetaWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void MainWindow::doSetControlsSizePolicy(bool drawVertical, bool objectsVisible, bool tableVisible)
{
    // The objects area and the table take the room; the controls keep to their height
    // unless nothing else is there to fill it.
    const bool controlsAlone = !objectsVisible && !tableVisible;
    // Beside the table (horizontal road) the controls keep their width; under it, or
    // alone, they span the window.
    m_ui.controlsWidget->setSizePolicy(
        tableVisible && !drawVertical ? QSizePolicy::Maximum : QSizePolicy::Expanding,
        controlsAlone && !drawVertical ? QSizePolicy::Expanding : QSizePolicy::Maximum);
    // The panels scroll rather than push the window past a laptop screen's height.
    m_ui.controlsScrollArea->setSizePolicy(
        m_ui.controlsWidget->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    m_ui.objectsTableBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_ui.objectsMetaWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void MainWindow::doRearrangeControls(bool drawVertical, bool tableVisible, bool objectsVisible)
{
    // Horizontal road: the objects area above, the table and the controls below it.
    // Vertical road: the objects area in a left column beside the table and controls.
    QBoxLayout *central = m_ui.centralWidgetLayout;
    central->setStretchFactor(m_ui.horzRoadLayout, !drawVertical && objectsVisible ? 3 : 0);
    // Without the table the panels need the height: they share it evenly with the scheme.
    central->setStretchFactor(m_ui.horzSpaceLayout, drawVertical || tableVisible ? 2 : 3);
    m_ui.horzSpaceLayout->setStretchFactor(
        m_ui.vertRoadLayout, drawVertical && objectsVisible ? 2 : 0);
    m_ui.horzSpaceLayout->setStretchFactor(m_ui.vertCtrlsLayout, 3);
    m_ui.horzCtrlsLayout->setStretchFactor(m_ui.objectsTableBox, tableVisible ? 1 : 0);
    m_ui.spacer0Widget->setVisible(drawVertical && !tableVisible);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    doResetWindowLayout(ObjectsViewControl);
    doApplyWindowLayout(ObjectsViewControl);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible() && m_drawVertical)
        doRearrangeControls(m_drawVertical, m_visible.value(RoadObjectsControl),
            m_visible.value(ObjectsViewControl));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_closing = true;
    profileHandler()->saveProfiles(QString::fromLatin1(ConfigPath));
    doUnsetRadarClient();
    m_projectionWidget.close();
    m_historyTableWidget.close();
    QMainWindow::closeEvent(event);
}

void MainWindow::onConfigurationBackedUp(const QString &backupPath)
{
    showMessage(m_title,
        tr("The configuration file could not be read. It was kept as %1 and replaced with the "
           "current profiles.")
            .arg(backupPath),
        true);
}

void MainWindow::onProfileSavingFailed(const QString &errorText)
{
    showMessage(m_title,
        tr("The work profiles could not be saved to %1:\n%2")
            .arg(QString::fromLatin1(ConfigPath), errorText),
        true);
}

QString MainWindow::titleWithProfile(const QString &text) const
{
    return QStringLiteral("%1 — %2").arg(text, m_profileName);
}

void MainWindow::showMessage(const QString &title, const QString &text, bool warning)
{
    auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, title,
        text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // While closing, the box must stay until read: the window is about to go.
    if (m_closing)
        box->exec();
    else
        box->open();
}
