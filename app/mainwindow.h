#pragma once

#include "historytablewidget.h"
#include "ivantorclient.h"
#include "lanestatisticswindow.h"
#include "linkdiagnosticswidget.h"
#include "panelarranger.h"
#include "projectionwidget.h"
#include "protocolvariant.h"
#include "radarwiring.h"
#include "roadconfigwidget.h"
#include "roadobjectframecollector.h"
#include "roadscene.h"
#include "tvmsconfigwidget.h"
#include "ui_mainwindow.h"
#include "vantorcontrol.h"
#include "workprofilewidget.h"

#include <QMainWindow>
#include <QMap>
#include <QTimer>

class GeneralInfoWidget;
class ImitatorObjectWidget;
class MessageReporter;
class QLabel;
class ObjectsTableWidget;
class QActionGroup;
class QLabel;
class RadarStateWidget;
class RadarTuningWidget;
class RecordingSession;
class RoadObjectsWidget;
class SaveAndRestartWidget;
class SendCommandsWidget;
class ServerConnectionWidget;
class ServerPingWidget;
class ServerProtocolWidget;
class ServerStateWidget;
class SetPolygonWidget;
class SetPositionWidget;

// The main program's window: builds the displays and panels, creates the radar client
// of the selected protocol, wires the client to the displays and the panels to the
// client, and arranges the panels in two or three columns. Every setting comes from the
// work profile handler and every change goes back to it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The protocol variants of the radar client, numbered as the variants number themselves.
    enum RnepVersion {
        SerialQelVersion = ProtocolVariant::TypeQ.number,
        SerialPmxVersion = ProtocolVariant::TypeP.number
    };

    static constexpr const char *ConfigPath = "./.vantor-road-app-gui_config.json";
    static constexpr int ReconnectTimeoutMs = 2000;
    static constexpr int WrongWayBannerMs = 60000;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    IVantorClient *radarClient() const { return m_radarWiring->client(); }
    WorkProfileHandler *profileHandler() { return m_workProfileWidget.handler(); }
    HistoryTableWidget *historyTableWidget() { return &m_historyTableWidget; }
    ServerStateWidget *serverStateWidget() const { return m_views.serverState; }
    ImitatorObjectWidget *imitatorObjectWidget() const { return m_views.imitator; }
    ObjectsTableWidget *objectsTableWidget() const { return m_views.objectsTable; }
    RoadObjectsWidget *roadObjectsWidget() const { return m_views.scheme; }
    ProjectionWidget *projectionWidget() { return &m_projectionWidget; }
    LaneStatisticsWindow *laneStatisticsWindow() { return &m_laneStatisticsWindow; }
    // The status bar's alarm of the latest wrong-way driver, hidden when there is none.
    QLabel *wrongWayBanner() const { return m_wrongWayBanner; }
    bool isControlVisible(int control) const { return m_visible.value(VantorControl(control)); }
    const Ui::MainWindow &form() const { return m_ui; }
    MessageReporter *messageReporter() const { return m_messages; }
    PanelArranger *panelArranger() const { return m_panelArranger; }
    RecordingSession *recordingSession() const { return m_recording; }
    LinkDiagnosticsWidget *linkDiagnosticsWidget() { return &m_linkDiagnostics; }

signals:
    void protocolVersionChanged(int version);
    void radarServerUrlChanged(const QString &url);
    void controlVisibleChanged(int control, bool visible);
    void controlCollapsedChanged(int control, bool collapsed);
    void tracksDisplayModeChanged(int mode);
    void showSightAreaChanged(bool show);
    void forceServerToChangeProtocol(int protocol);
    void resetClientStatistics();

public slots:
    void onSwitchProfileTriggered();
    void onProtocolVersionTriggered(QAction *action);
    void onControlVisibleTriggered(QAction *action);
    void onTracksDisplayModeTriggered(QAction *action);
    void onConfigureRoadTriggered();
    void onConfigureTvmsTriggered();
    void onShowLaneStatisticsTriggered();
    void onWrongWayDetected(const WrongWayAlarm &alarm);
    void onChooseRadarServerTriggered();
    void onAboutProgramTriggered();
    void onPickupRadarPosTriggered();
    void onPickupRadarPosAndCameraViewAngleTriggered();
    void onClientConnected();
    void onRadarStateChanged(int state);
    void onHardwareInfoResult(const QString &info);
    void onFirmwareInfoResult(const QString &info);
    void onSelfDiagnosticsResult(quint16 data);
    void onImitatorModeChanged(quint8 mode);
    void onFakeTargetsModeChanged(bool enabled);
    void onWindowedCommandRequested(int command);
    void onControlCollapsedChanged(bool collapsed);
    void onStandaloneWidgetClosed();
    void onOpenRecordingTriggered();
    void onLinkDiagnosticsTriggered();
    void onRecordingActiveChanged(bool active);

    void doStartApplyingProfile(const QString &name);
    void doSetProtocolVersion(int version);
    void doSetProtocolForcing(bool forcing);
    void doSetRadarServerUrl(const QString &url);
    void doSetControlVisible(int control, bool visible);
    void doSetControlCollapsed(int control, bool collapsed);
    void doSetTracksDisplayMode(int mode);
    void doSetDrawVertical(bool vertical);
    void doFinishApplyingProfile();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void onConfigurationUnreadable(const QString &path);
    void onConfigurationBackedUp(const QString &backupPath);
    void onProfileSavingFailed(const QString &errorText);

private:
    void doFillMenus();
    void doFillControls();
    void doCreateViews();
    void doConnectProfile();
    void doConnectDisplays();
    void doConnectRadarWiring();
    void doAddRecordingAndDiagnostics();
    void doConnectToRadarServer(const QString &url);
    void doStartPickup(int mode);
    void doSetImitatorMode(quint8 mode);
    void doSetImitatorText();
    void doResetWindowLayout(int control);
    void doApplyWindowLayout(int control);
    PanelLayout currentLayout() const;
    bool isLayoutFrozen(int control) const;
    QString titleWithProfile(const QString &text) const;
    void showMessage(const QString &title, const QString &text, bool warning);

    QString m_title;
    bool m_applyingProfile = false;
    QString m_profileName;
    int m_protocolVersion = 0;
    bool m_protocolForcing = true;
    QString m_radarServerUrl;
    bool m_drawVertical = false;
    quint8 m_imitatorMode = 0;
    bool m_hardwareInfoRequested = false;
    bool m_firmwareInfoRequested = false;
    bool m_selfDiagnosticsRequested = false;
    RoadObjectFrameCollector m_frameCollector;
    RoadScene m_roadScene;
    QMap<VantorControl, QWidget *> m_controls;
    QMap<VantorControl, bool> m_visible;
    WorkProfileWidget m_workProfileWidget;
    RoadConfigWidget m_roadConfigWidget;
    TvmsConfigWidget m_tvmsConfigWidget;
    HistoryTableWidget m_historyTableWidget;
    ProjectionWidget m_projectionWidget;
    LaneStatisticsWindow m_laneStatisticsWindow;
    LinkDiagnosticsWidget m_linkDiagnostics;
    Ui::MainWindow m_ui;
    MainViews m_views;
    RadarWiring *m_radarWiring = nullptr;
    MessageReporter *m_messages = nullptr;
    PanelArranger *m_panelArranger = nullptr;
    QLabel *m_wrongWayBanner = nullptr;
    QTimer m_wrongWayBannerTimer;
    RecordingSession *m_recording = nullptr;
    QLabel *m_recordingStatus = nullptr;
};
