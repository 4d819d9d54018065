#include "mainwindow.h"

#include "imitatorobjectwidget.h"
#include "ivantorclient.h"
#include "messagereporter.h"
#include "profilebinding.h"
#include "radarcommandtable.h"
#include "radarstatewidget.h"
#include "recordingplayerbar.h"
#include "recordingsession.h"
#include "selfdiagnosisreport.h"
#include "sendcommandswidget.h"
#include "serverconnectionwidget.h"
#include "serverpingwidget.h"
#include "serverprotocolwidget.h"
#include "serverstatewidget.h"
#include "serverurldialog.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QStatusBar>

namespace {

bool isSeparateWindow(int control)
{
    return control == ObjectsHistoryControl || control == ProjectionControl;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_title(tr("QEL Vantor Road App"))
    , m_messages(new MessageReporter(this))
{
    m_views.serverPing = new ServerPingWidget(this);
    m_views.serverConnection = new ServerConnectionWidget(this);
    m_views.serverState = new ServerStateWidget(this);
    m_views.serverProtocol = new ServerProtocolWidget(this);
    m_views.radarState = new RadarStateWidget(this);
    m_ui.setupUi(this);
    QFont windowFont = font();
    windowFont.setFamily(QStringLiteral("Sans"));
    setFont(windowFont);
    setWindowTitle(m_title);

    doCreateViews();
    m_radarWiring = new RadarWiring(m_views, this);
    m_panelArranger = new PanelArranger(m_ui, this, m_controls, this);
    connect(m_panelArranger, &PanelArranger::rearranged, m_views.imitator,
        &ImitatorObjectWidget::clear);

    doFillMenus();
    doFillControls();

    for (auto it = m_controls.constBegin(); it != m_controls.constEnd(); ++it) {
        if (auto *box = qobject_cast<CollapsibleGroupBox *>(it.value()))
            connect(
                box, &CollapsibleGroupBox::clicked, this, &MainWindow::onControlCollapsedChanged);
        if (auto *window = qobject_cast<StandaloneWidget *>(it.value()))
            connect(window, &StandaloneWidget::aboutToClose, this,
                &MainWindow::onStandaloneWidgetClosed);
    }

    statusBar()->addPermanentWidget(m_views.serverPing);
    statusBar()->addPermanentWidget(m_views.serverConnection);
    statusBar()->addPermanentWidget(m_views.serverState);
    statusBar()->addPermanentWidget(m_views.serverProtocol);
    statusBar()->addPermanentWidget(m_views.radarState);
    m_wrongWayBanner = new QLabel(this);
    m_wrongWayBanner->setObjectName(QStringLiteral("wrongWayBanner"));
    m_wrongWayBanner->setStyleSheet(QStringLiteral(
        "QLabel { background: #c62828; color: white; font-weight: bold; padding: 2px 8px; }"));
    m_wrongWayBanner->hide();
    statusBar()->addWidget(m_wrongWayBanner);
    m_wrongWayBannerTimer.setSingleShot(true);
    m_wrongWayBannerTimer.setInterval(WrongWayBannerMs);
    connect(&m_wrongWayBannerTimer, &QTimer::timeout, m_wrongWayBanner, &QLabel::hide);
    connect(&m_laneStatisticsWindow, &LaneStatisticsWindow::wrongWayDetected, this,
        &MainWindow::onWrongWayDetected);

    doConnectProfile();
    doConnectDisplays();
    doConnectRadarWiring();
    doAddRecordingAndDiagnostics();
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
    m_radarWiring->release();
}

void MainWindow::doFillMenus()
{
    const QList<QPair<QAction *, int>> data = {
        { m_ui.actionProtocolSerQ, SerialQelVersion },
        { m_ui.actionProtocolSerP, SerialPmxVersion },
        { m_ui.actionShowObjectsView, ObjectsViewControl },
        { m_ui.actionShowRoadObjects, RoadObjectsControl },
        { m_ui.actionShowGeneralInfo, GeneralInfoControl },
        { m_ui.actionShowSendCommands, SendCommandsControl },
        { m_ui.actionShowLimitations, LimitationsControl },
        { m_ui.actionShowFineTuning, FineTuningControl },
        { m_ui.actionShowRadarPosition, RadarPositionControl },
        { m_ui.actionShowSaveAndRestart, SaveAndRestartControl },
        { m_ui.actionShowObjectsHistory, ObjectsHistoryControl },
        { m_ui.actionShowProjection, ProjectionControl },
        { m_ui.actionNormalMode, 0 },
        { m_ui.actionStatisticalMode, 1 },
        { m_ui.actionMixedMode, 2 },
    };
    for (const auto &[action, value] : data)
        action->setData(value);

    connect(
        m_ui.actionSwitchProfile, &QAction::triggered, this, &MainWindow::onSwitchProfileTriggered);
    connect(m_ui.actionExit, &QAction::triggered, this, &MainWindow::close);
    connect(m_ui.protocolGroup, &QActionGroup::triggered, this,
        &MainWindow::onProtocolVersionTriggered);
    connect(m_ui.visibleControlsGroup, &QActionGroup::triggered, this,
        &MainWindow::onControlVisibleTriggered);
    connect(m_ui.tracksDisplayModeGroup, &QActionGroup::triggered, this,
        &MainWindow::onTracksDisplayModeTriggered);
    connect(
        m_ui.actionConfigureRoad, &QAction::triggered, this, &MainWindow::onConfigureRoadTriggered);
    connect(
        m_ui.actionConfigureTvms, &QAction::triggered, this, &MainWindow::onConfigureTvmsTriggered);
    connect(m_ui.actionPickupRadarPos, &QAction::triggered, this,
        &MainWindow::onPickupRadarPosTriggered);
    connect(m_ui.actionPickupRadarPosAndCameraViewAngle, &QAction::triggered, this,
        &MainWindow::onPickupRadarPosAndCameraViewAngleTriggered);
    connect(m_ui.actionResetAverageTracks, &QAction::triggered, &m_roadScene,
        &RoadScene::resetAverageTracks);
    connect(m_ui.actionShowLaneStatistics, &QAction::triggered, this,
        &MainWindow::onShowLaneStatisticsTriggered);
    connect(m_ui.actionChooseRadarServer, &QAction::triggered, this,
        &MainWindow::onChooseRadarServerTriggered);
    connect(
        m_ui.actionAboutProgram, &QAction::triggered, this, &MainWindow::onAboutProgramTriggered);
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

void MainWindow::doCreateViews()
{
    m_views.createInForm(m_ui);
    m_views.history = &m_historyTableWidget;
    m_views.projection = &m_projectionWidget;
    m_views.frameCollector = &m_frameCollector;
    m_views.roadScene = &m_roadScene;
    m_views.laneStatistics = &m_laneStatisticsWindow;
    m_views.roadConfig = &m_roadConfigWidget;
    m_views.tvmsConfig = &m_tvmsConfigWidget;
}

void MainWindow::doConnectDisplays()
{
    connect(m_views.sendCommands, &SendCommandsWidget::commandWithNoArgs, this,
        &MainWindow::onWindowedCommandRequested);
    m_views.connectDisplays();
}

void MainWindow::doConnectProfile()
{
    WorkProfileHandler *handler = profileHandler();
    ProfileBinding::bindMenu(handler, m_ui);
    ProfileBinding::bindViews(handler, m_views);
    ProfileBinding::bindWindow(handler, this);
    connect(handler, &WorkProfileHandler::configurationUnreadable, this,
        &MainWindow::onConfigurationUnreadable);
    connect(handler, &WorkProfileHandler::configurationBackedUp, this,
        &MainWindow::onConfigurationBackedUp);
    connect(handler, &WorkProfileHandler::savingFailed, this, &MainWindow::onProfileSavingFailed);
    connect(handler, &WorkProfileHandler::unusableSettingsFound, this,
        [this](const QString &text) { showMessage(m_title, text, true); });
}

void MainWindow::doConnectRadarWiring()
{
    RadarWiring *wiring = m_radarWiring;
    connect(wiring, &RadarWiring::clientConnected, this, &MainWindow::onClientConnected);
    connect(wiring, &RadarWiring::radarStateChanged, this, &MainWindow::onRadarStateChanged);
    connect(wiring, &RadarWiring::hardwareInfoResult, this, &MainWindow::onHardwareInfoResult);
    connect(wiring, &RadarWiring::firmwareInfoResult, this, &MainWindow::onFirmwareInfoResult);
    connect(
        wiring, &RadarWiring::selfDiagnosticsResult, this, &MainWindow::onSelfDiagnosticsResult);
    connect(wiring, &RadarWiring::imitatorModeChanged, this, &MainWindow::onImitatorModeChanged);
    connect(
        wiring, &RadarWiring::fakeTargetsModeChanged, this, &MainWindow::onFakeTargetsModeChanged);
    connect(this, &MainWindow::forceServerToChangeProtocol, wiring,
        &RadarWiring::forceServerToChangeProtocol);
    connect(this, &MainWindow::resetClientStatistics, wiring, &RadarWiring::resetClientStatistics);
}

// The recording player and the link diagnostics: a File menu entry, a Server menu entry,
// the player bar below the panels and a status that says the server link is detached.
void MainWindow::doAddRecordingAndDiagnostics()
{
    m_recording = new RecordingSession(m_radarWiring, this);
    auto *openRecording = new QAction(tr("Open &recording…"), this);
    openRecording->setObjectName(QStringLiteral("actionOpenRecording"));
    m_ui.menuFile->insertAction(m_ui.actionSwitchProfile, openRecording);
    connect(openRecording, &QAction::triggered, this, &MainWindow::onOpenRecordingTriggered);
    auto *linkDiagnostics = new QAction(tr("&Link diagnostics"), this);
    linkDiagnostics->setObjectName(QStringLiteral("actionLinkDiagnostics"));
    m_ui.menuServer->addAction(linkDiagnostics);
    connect(linkDiagnostics, &QAction::triggered, this, &MainWindow::onLinkDiagnosticsTriggered);

    addToolBar(Qt::BottomToolBarArea, new RecordingPlayerBar(m_recording, this));
    m_recordingStatus = new QLabel(this);
    m_recordingStatus->setObjectName(QStringLiteral("recordingStatus"));
    // Takes the room the server and radar states leave; never widens the window.
    m_recordingStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_recordingStatus->hide();
    statusBar()->addWidget(m_recordingStatus, 1);
    connect(
        m_recording, &RecordingSession::activeChanged, this, &MainWindow::onRecordingActiveChanged);
    connect(m_radarWiring, &RadarWiring::clientAttached, &m_linkDiagnostics,
        &LinkDiagnosticsWidget::setClient);
}

void MainWindow::onOpenRecordingTriggered()
{
    const QString path = QFileDialog::getOpenFileName(this, titleWithProfile(tr("Open recording")),
        QString(), tr("Recordings (*.jsonl);;All files (*)"));
    if (path.isEmpty())
        return;
    QString errorText;
    if (!m_recording->open(path, &errorText))
        showMessage(m_title, errorText, true);
}

void MainWindow::onLinkDiagnosticsTriggered()
{
    m_linkDiagnostics.showStandalone(false, this, titleWithProfile(tr("Link diagnostics")));
    m_linkDiagnostics.raise();
    m_linkDiagnostics.activateWindow();
}

void MainWindow::onRecordingActiveChanged(bool active)
{
    if (active) {
        m_recordingStatus->setText(
            tr("Playing the recording %1; the server link is detached.")
                .arg(QFileInfo(m_recording->playback()->fileName()).fileName()));
        m_recordingStatus->setToolTip(m_recordingStatus->text());
    }
    m_recordingStatus->setVisible(active);
    if (!active)
        doConnectToRadarServer(m_radarServerUrl);
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
    for (QAction *action : m_ui.protocolGroup->actions())
        action->setChecked(action->data().toInt() == version);
    onRadarStateChanged(IVantorClient::Offline);
    m_views.radarState->showRadarState(IVantorClient::Offline);
    m_radarWiring->attachNew(version);
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
    IVantorClient *client = m_radarWiring->client();
    // A recording being played keeps the link detached; stopping it reconnects.
    if (!client || (m_recording && m_recording->isActive()))
        return;
    client->disconnectFromServer();
    // A URL the client refuses (a hand-edited profile) would otherwise show nothing at all.
    if (!client->connectToServer(QUrl(url), ReconnectTimeoutMs))
        m_views.serverConnection->showNotConnected();
}

void MainWindow::doSetControlVisible(int control, bool visible)
{
    const auto id = VantorControl(control);
    QWidget *widget = m_controls.value(id);
    if (!widget)
        return;
    m_visible.insert(id, visible);
    for (QAction *action : m_ui.visibleControlsGroup->actions()) {
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
    for (QAction *action : m_ui.tracksDisplayModeGroup->actions())
        action->setChecked(action->data().toInt() == mode);
}

void MainWindow::doSetDrawVertical(bool vertical)
{
    m_drawVertical = vertical;
    doResetWindowLayout(ObjectsViewControl);
    m_panelArranger->placeObjectsArea(vertical);
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
    m_views.imitator->clear();
    m_panelArranger->placePanels(currentLayout(), m_visible);
}

void MainWindow::doApplyWindowLayout(int control)
{
    if (isLayoutFrozen(control))
        return;
    m_panelArranger->apply(currentLayout(), m_visible.value(ObjectsViewControl));
}

PanelLayout MainWindow::currentLayout() const
{
    return PanelLayout::arrange(
        m_drawVertical, m_visible.value(RoadObjectsControl), m_visible.value(ObjectsViewControl));
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
        m_panelArranger->setStretchFactors(currentLayout());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_messages->setClosing();
    profileHandler()->saveProfiles(QString::fromLatin1(ConfigPath));
    m_radarWiring->release();
    m_projectionWidget.close();
    m_historyTableWidget.close();
    m_laneStatisticsWindow.close();
    m_linkDiagnostics.close();
    QMainWindow::closeEvent(event);
}

void MainWindow::onShowLaneStatisticsTriggered()
{
    m_laneStatisticsWindow.showStandalone(false, this, titleWithProfile(tr("Lane statistics")));
    m_laneStatisticsWindow.raise();
    m_laneStatisticsWindow.activateWindow();
}

void MainWindow::onWrongWayDetected(const WrongWayAlarm &alarm)
{
    m_wrongWayBanner->setText(tr("Wrong-way driver in lane %1 (object %2) at %3")
                                  .arg(alarm.lane)
                                  .arg(alarm.id)
                                  .arg(QLocale().toString(alarm.dateTimeUtc.toLocalTime().time(),
                                      QStringLiteral("HH:mm:ss"))));
    m_wrongWayBanner->setToolTip(tr("View > Lane statistics lists every wrong-way alarm."));
    m_wrongWayBanner->show();
    m_wrongWayBannerTimer.start();
}

void MainWindow::onConfigurationUnreadable(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        showMessage(m_title,
            tr("The configuration file %1 is not a regular file, so the program starts from the "
               "default profile and cannot save the profiles there.")
                .arg(info.absoluteFilePath()),
            true);
        return;
    }
    showMessage(m_title,
        tr("The configuration file %1 could not be read, so the program starts from the default "
           "profile. The file will be kept as %1.<date>-<time>.bak when the profiles are saved.")
            .arg(QFileInfo(path).absoluteFilePath()),
        true);
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
    // A profile without a name would leave a dash with nothing after it.
    if (m_profileName.trimmed().isEmpty())
        return text;
    return QStringLiteral("%1 — %2").arg(text, m_profileName);
}

void MainWindow::showMessage(const QString &title, const QString &text, bool warning)
{
    m_messages->report(title, text, warning);
}
