#include "mainwindow.h"
#include "radarsimulator.h"
#include "radarstatewidget.h"
#include "radartuningwidget.h"
#include "serverconnectionwidget.h"
#include "serverprotocolwidget.h"
#include "serverstatewidget.h"
#include "serverurldialog.h"
#include "statelabel.h"
#include "vantorserialpmxprotocolclient.h"
#include "windowprofile.h"

#include "../sim/simtestsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWebSocket>
#include <QWebSocketServer>
#include <QtTest>

#include <memory>

namespace {

constexpr int Wait = 10000;
const QString ConfigFile = QStringLiteral(".vantor-road-app-gui_config.json");

QJsonObject readConfig()
{
    QFile file(ConfigFile);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll()).object();
}

const QJsonObject currentProfile()
{
    const QJsonObject config = readConfig();
    return config.value("profiles").toArray().at(config.value("current_id").toInt()).toObject();
}

bool controlVisibleInFile(int control)
{
    return currentProfile()["view"]["controls"][QString::number(control)]["visible"].toBool();
}

// One profile: the default panels, the given server, road direction and table.
void writeConfig(const QUrl &url, bool drawVertical = false, bool tableVisible = true)
{
    const WindowProfile profile { url, drawVertical, tableVisible };
    QVERIFY(profile.write());
}

QAction *menuAction(MainWindow &window, const QString &text)
{
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

int messageBoxes(MainWindow &window, const QString &title)
{
    int count = 0;
    for (QMessageBox *box : window.findChildren<QMessageBox *>())
        count += box->windowTitle() == title ? 1 : 0;
    return count;
}

bool radarWorking(MainWindow &window)
{
    return window.findChild<RadarStateWidget *>()->text()
        == RadarStateWidget::stateText(IVantorClient::Working);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsWithoutConfiguration();
    void titleNamesTheProfile_data();
    void titleNamesTheProfile();
    void columns_data();
    void columns();
    void closingTheHistoryWindowIsStored();
    void protocolChangeReplacesClient_data();
    void protocolChangeReplacesClient();
    void resultBoxes_data();
    void resultBoxes();
    void leavingOnlineResetsImitatorMode();
    void panelsReadTheRadarWhenItStartsWorking();
    void serverDialog_data();
    void serverDialog();
    void statusSaysWhatGoesWrong_data();
    void statusSaysWhatGoesWrong();

private:
    // A simulator with a type Q radar on a free port, cycles of 20 ms.
    QUrl startSimulator();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<RadarSimulator> m_sim;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestMainWindow::cleanup()
{
    m_sim.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

QUrl TestMainWindow::startSimulator()
{
    m_sim = std::make_unique<RadarSimulator>(SimTest::quickOptions(1));
    QString error;
    if (!m_sim->start(&error))
        qWarning() << error;
    return m_sim->url();
}

void TestMainWindow::startsWithoutConfiguration()
{
    {
        MainWindow window;
        QCOMPARE(window.profileHandler()->profileNames(), QStringList { "Default profile" });
        QVERIFY(window.radarClient());
        QCOMPARE(window.radarClient()->url(), QUrl("ws://127.0.0.1:7578/"));
        QVERIFY(window.isControlVisible(TrafficSchemeControl));
        QVERIFY(window.isControlVisible(ImitatorControl));
        window.close();
    }
    QCOMPARE(currentProfile()["name"].toString(), QString("Default profile"));
    QCOMPARE(currentProfile()["connection"]["radar_server_url"].toString(),
        QString("ws://127.0.0.1:7578/"));
    QVERIFY(controlVisibleInFile(TrafficSchemeControl));
    QVERIFY(controlVisibleInFile(ImitatorControl));
}

void TestMainWindow::titleNamesTheProfile_data()
{
    QTest::addColumn<QJsonValue>("name");
    QTest::addColumn<QString>("title");

    QTest::newRow("named") << QJsonValue("Bridge A7") << "QEL Vantor Road App — Bridge A7";
    QTest::newRow("empty name") << QJsonValue("") << "QEL Vantor Road App";
    QTest::newRow("blank name") << QJsonValue("   ") << "QEL Vantor Road App";
    QTest::newRow("no name") << QJsonValue(QJsonValue::Undefined) << "QEL Vantor Road App";
}

void TestMainWindow::titleNamesTheProfile()
{
    QFETCH(QJsonValue, name);
    QFETCH(QString, title);

    QJsonObject profile { { "connection",
        QJsonObject { { "radar_server_url", "ws://127.0.0.1:1/" } } } };
    if (!name.isUndefined())
        profile.insert("name", name);
    QFile file(ConfigFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(
        file.write(QJsonDocument(QJsonObject { { "profiles", QJsonArray { profile } } }).toJson())
        > 0);
    file.close();
    {
        MainWindow window;
        window.show();
        QCOMPARE(window.windowTitle(), title);
        menuAction(window, "Objects &history")->trigger();
        QTRY_VERIFY(window.historyTableWidget()->isVisible());
        QCOMPARE(window.historyTableWidget()->windowTitle(),
            title.replace("QEL Vantor Road App", "Objects history"));
        window.close();
    }
    // The name is the user's: it stays as it was.
    QCOMPARE(currentProfile().value("name"), name);
}

void TestMainWindow::columns_data()
{
    QTest::addColumn<bool>("drawVertical");
    QTest::addColumn<bool>("tableVisible");
    QTest::addColumn<bool>("threeColumns");

    QTest::newRow("horizontal road, table hidden") << false << false << true;
    QTest::newRow("horizontal road, table shown") << false << true << false;
    QTest::newRow("vertical road, table hidden") << true << false << false;
}

void TestMainWindow::columns()
{
    QFETCH(bool, drawVertical);
    QFETCH(bool, tableVisible);
    QFETCH(bool, threeColumns);

    // Starts with the opposite table setting and changes it through the menu.
    writeConfig(QUrl("ws://127.0.0.1:1/"), drawVertical, !tableVisible);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    menuAction(window, "Road &objects")->trigger();

    const Ui::MainWindow &form = window.form();
    QTRY_COMPARE(form.column3Widget->isVisible(), threeColumns);
    QCOMPARE(form.radarTuningBox->parentWidget() == form.column1Widget, threeColumns);
    QCOMPARE(form.setPolygonBox->parentWidget() == form.column2Widget, threeColumns);
    QCOMPARE(form.objectsTableBox->isVisible(), tableVisible);
}

void TestMainWindow::closingTheHistoryWindowIsStored()
{
    writeConfig(QUrl("ws://127.0.0.1:1/"));
    MainWindow window;
    window.show();
    QAction *history = menuAction(window, "Objects &history");
    history->trigger();
    QTRY_VERIFY(window.historyTableWidget()->isVisible());
    QVERIFY(history->isChecked());

    window.historyTableWidget()->close();
    QVERIFY(!history->isChecked());
    QVERIFY(!window.isControlVisible(ObjectsHistoryControl));
    window.close();
    QVERIFY(!controlVisibleInFile(ObjectsHistoryControl));
    QVERIFY(controlVisibleInFile(GeneralInfoControl));
}

void TestMainWindow::protocolChangeReplacesClient_data()
{
    QTest::addColumn<bool>("forcing");
    QTest::addColumn<QString>("serverProtocol");

    QTest::newRow("forcing on: the server is told") << true << "[SerP]";
    QTest::newRow("forcing off: the server is not told") << false << "";
}

void TestMainWindow::protocolChangeReplacesClient()
{
    QFETCH(bool, forcing);
    QFETCH(QString, serverProtocol);

    writeConfig(startSimulator());
    MainWindow window;
    window.show();
    auto *protocol = window.findChild<ServerProtocolWidget *>();
    QTRY_COMPARE_WITH_TIMEOUT(protocol->text(), QString("[SerQ]"), Wait);
    QTRY_VERIFY_WITH_TIMEOUT(radarWorking(window), Wait);
    if (!forcing)
        menuAction(window, "&Force server to change protocol")->trigger();
    QPointer<IVantorClient> old = window.radarClient();

    menuAction(window, "&1. Serial, type P (SerP)")->trigger();

    QVERIFY(qobject_cast<VantorSerialPmxProtocolClient *>(window.radarClient()));
    QTRY_VERIFY(old.isNull());
    // The radar still speaks type Q: the new client sees the wrong protocol.
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<RadarStateWidget *>()->text(),
        RadarStateWidget::stateText(IVantorClient::WrongProtocol), Wait);
    QCOMPARE(protocol->text(), serverProtocol);
}

void TestMainWindow::resultBoxes_data()
{
    QTest::addColumn<bool>("askedByPanel");
    QTest::addColumn<int>("boxes");

    QTest::newRow("asked by the server state widget: no box") << false << 0;
    QTest::newRow("asked from the send-commands panel: one box") << true << 1;
}

void TestMainWindow::resultBoxes()
{
    QFETCH(bool, askedByPanel);
    QFETCH(int, boxes);

    writeConfig(startSimulator());
    MainWindow window;
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(radarWorking(window), Wait);
    ServerStateWidget *state = window.serverStateWidget();
    if (askedByPanel) {
        window.onWindowedCommandRequested(1);
        window.radarClient()->sendCmdGetHardwareInfo();
    } else {
        QVERIFY(state->hardwareInfoButton()->isEnabled());
        state->hardwareInfoButton()->click();
    }
    QTRY_VERIFY_WITH_TIMEOUT(state->text().contains("VANTOR RS-24 HW rev.3"), Wait);
    // The box is queued behind the client's signal.
    QCoreApplication::processEvents();
    QCOMPARE(messageBoxes(window, "Hardware info"), boxes);
}

void TestMainWindow::leavingOnlineResetsImitatorMode()
{
    writeConfig(startSimulator());
    MainWindow window;
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(radarWorking(window), Wait);
    const Ui::MainWindow &form = window.form();
    QVERIFY(form.roadObjectsBox->isVisible());
    window.radarClient()->sendCmdSetImitatorMode(2);
    window.radarClient()->sendCmdGetImitatorMode();
    QTRY_VERIFY_WITH_TIMEOUT(form.imitatorObjectBox->isVisible(), Wait);
    QVERIFY(form.imitatorObjectBox->title().contains(", type 2"));
    QVERIFY(!form.roadObjectsBox->isVisible());

    m_sim.reset();

    QTRY_VERIFY_WITH_TIMEOUT(form.roadObjectsBox->isVisible(), Wait);
    QVERIFY(!form.imitatorObjectBox->isVisible());
}

void TestMainWindow::serverDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("another scheme is refused") << "http://127.0.0.1:7578/" << false;
    QTest::newRow("no host is refused") << "ws://" << false;
    QTest::newRow("not a URL is refused") << "ws://[::1" << false;
    QTest::newRow("a WebSocket URL is taken") << "ws://127.0.0.1:7999/" << true;
}

void TestMainWindow::serverDialog()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);

    const QUrl old("ws://127.0.0.1:1/");
    writeConfig(old);
    MainWindow window;
    window.show();
    window.onChooseRadarServerTriggered();
    auto *dialog = window.findChild<ServerUrlDialog *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->urlEdit()->text(), old.toString());
    dialog->urlEdit()->setText(typed);
    dialog->accept();

    QCOMPARE(dialog->isVisible(), !accepted);
    QCOMPARE(dialog->problemText().isEmpty(), accepted);
    QCOMPARE(window.radarClient()->url(), accepted ? QUrl(typed) : old);
}

// The menu's automatic get data reaches the panels through the profile, their requests
// reach the client, and the radar's answers come back to them.
void TestMainWindow::panelsReadTheRadarWhenItStartsWorking()
{
    writeConfig(startSimulator());
    MainWindow window;
    window.show();
    menuAction(window, "&Automatically get data when radar starts working")->trigger();
    const auto *tuning = window.findChild<RadarTuningWidget *>();
    QTRY_COMPARE_WITH_TIMEOUT(
        tuning->frequencyIndexLabel()->status().stage(), ValueStatus::FromRadar, Wait);
}

void TestMainWindow::statusSaysWhatGoesWrong_data()
{
    QTest::addColumn<bool>("handshake");
    QTest::addColumn<QString>("connectionText");
    QTest::addColumn<QString>("radarText");

    // Both used to leave "[Connecting to %1]" and "[No messages from radar]" on screen.
    QTest::newRow("server never completes the handshake") << false << "[No answer from %1]"
                                                          << "[No messages from radar]";
    QTest::newRow("random bytes at 200 messages a second") << true << "[Connected to %1]"
                                                           << "[Messages are not radar messages]";
}

void TestMainWindow::statusSaysWhatGoesWrong()
{
    QFETCH(bool, handshake);
    QFETCH(QString, connectionText);
    QFETCH(QString, radarText);
    QTcpServer silent;
    QWebSocketServer server(QStringLiteral("random"), QWebSocketServer::NonSecureMode);
    QTimer sender;
    QRandomGenerator random(200);
    QList<QWebSocket *> clients;
    connect(&server, &QWebSocketServer::newConnection, this,
        [&] { clients.append(server.nextPendingConnection()); });
    connect(&sender, &QTimer::timeout, this, [&] {
        QByteArray message(64, Qt::Uninitialized);
        for (char &byte : message)
            byte = char(random.bounded(256));
        for (QWebSocket *client : qAsConst(clients))
            client->sendBinaryMessage(message);
    });
    sender.start(5);
    QVERIFY(handshake ? server.listen(QHostAddress::LocalHost)
                      : silent.listen(QHostAddress::LocalHost));
    const QUrl url(QStringLiteral("ws://127.0.0.1:%1/")
                       .arg(handshake ? server.serverPort() : silent.serverPort()));
    writeConfig(url);
    MainWindow window;
    window.show();

    // The handshake is given 5 s.
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<ServerConnectionWidget *>()->text(),
        connectionText.arg(url.toString()), 2 * Wait);
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<RadarStateWidget *>()->text(), radarText, Wait);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
