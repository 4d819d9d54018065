#include "mainwindow.h"
#include "radarstate.h"
#include "radarstatewidget.h"
#include "serverconnectionwidget.h"
#include "serverstatewidget.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

constexpr int Wait = 10000;
constexpr int GetSensitivity = 23;

// The simulator as its own program, so that what it holds never counts as ours.
class SimProcess
{
public:
    // Port 0 picks a free port; url() then names it.
    bool start(const QStringList &faults, quint16 port = 0)
    {
        m_log.clear();
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(VANTOR_SIM_PROGRAM),
            QStringList { "--port", QString::number(port), "--state-step-ms", "0", "--cycle-ms",
                "20", "--seed", "7" }
                + faults);
        const QRegularExpression listening(QStringLiteral("Listening on (ws://\\S+)"));
        QRegularExpressionMatch match;
        const bool started = QTest::qWaitFor(
            [&] {
                m_log += m_process.readAllStandardError();
                match = listening.match(QString::fromUtf8(m_log));
                return match.hasMatch() || m_process.state() == QProcess::NotRunning;
            },
            Wait);
        if (!started || !match.hasMatch())
            return false;
        m_url = QUrl(match.captured(1));
        return true;
    }
    // As Ctrl-C would: the simulator closes its connections and ends.
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(Wait))
            m_process.kill();
        m_process.waitForFinished(Wait);
    }
    ~SimProcess() { stop(); }

    QUrl url() const { return m_url; }

private:
    QProcess m_process;
    QByteArray m_log;
    QUrl m_url;
};

void writeConfig(const QUrl &url)
{
    const QJsonObject profile { { "name", "Faults" },
        { "connection",
            QJsonObject { { "radar_protocol", 0 }, { "protocol_forcing", false },
                { "radar_server_url", url.toString() } } } };
    QFile file(QString::fromLatin1(MainWindow::ConfigPath));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray bytes
        = QJsonDocument(QJsonObject { { "profiles", QJsonArray { profile } }, { "current_id", 0 } })
              .toJson();
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression rss(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong() * 1024;
}

// Every text the status bar's connection, server and radar parts showed, and the largest
// resident size seen, sampled every few milliseconds.
class StatusRecorder : public QObject
{
public:
    explicit StatusRecorder(MainWindow &window)
        : m_connection(window.findChild<ServerConnectionWidget *>())
        , m_server(window.serverStateWidget())
        , m_radar(window.findChild<RadarStateWidget *>())
    {
        connect(&m_timer, &QTimer::timeout, this, &StatusRecorder::doSample);
        m_timer.start(5);
    }

    bool sawConnection(const QString &text) const { return m_connectionTexts.contains(text); }
    bool sawServer(const QString &text) const { return m_serverTexts.contains(text); }
    bool sawRadar(const QString &text) const { return m_radarTexts.contains(text); }
    // The radar part showed then at the time of first or later.
    bool sawRadarThen(const QString &first, const QString &then) const
    {
        const int at = m_radarTexts.indexOf(first);
        return at >= 0 && m_radarTexts.lastIndexOf(then) >= at;
    }
    qint64 peakResidentBytes() const { return m_peak; }
    QStringList connectionTexts() const { return m_connectionTexts; }

private:
    static void add(QStringList &texts, const QString &text)
    {
        if (texts.isEmpty() || texts.last() != text)
            texts.append(text);
    }
    void doSample()
    {
        add(m_connectionTexts, m_connection->text());
        add(m_serverTexts, m_server->text());
        add(m_radarTexts, m_radar->text());
        m_peak = qMax(m_peak, residentBytes());
    }

    ServerConnectionWidget *m_connection;
    ServerStateWidget *m_server;
    RadarStateWidget *m_radar;
    QTimer m_timer;
    QStringList m_connectionTexts;
    QStringList m_serverTexts;
    QStringList m_radarTexts;
    qint64 m_peak = 0;
};

QString working()
{
    return RadarStateWidget::stateText(IVantorClient::Working);
}

} // namespace

class TestMainWindowServerFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void serverFaults_data();
    void serverFaults();
    void serverEndsDuringACommand();
    void serverRestartsAgainAndAgain();

private:
    // The window on the simulator's URL, with command time-outs shortened. A ping unanswered
    // for pingMs drops the link, so the interval is short only where the pings are the
    // fault: a loaded machine may hold a healthy answer back that long.
    void openWindow(const QUrl &url, int pingMs = 60000);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindowServerFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestMainWindowServerFaults::cleanup()
{
    m_window.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestMainWindowServerFaults::openWindow(const QUrl &url, int pingMs)
{
    writeConfig(url);
    m_window = std::make_unique<MainWindow>();
    IVantorClient::Timing timing;
    timing.pingIntervalMs = pingMs;
    timing.commandTimeoutMs = 300;
    // A loaded machine may take seconds to answer the handshake; only the faults count here.
    timing.connectTimeoutMs = 20000;
    m_window->radarClient()->setTimingForTests(timing);
    m_window->show();
}

void TestMainWindowServerFaults::serverFaults_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<bool>("linkDrops");
    // Shown at some time, %1 standing for the URL; the radar works again at the end.
    QTest::addColumn<QString>("connectionText");
    QTest::addColumn<QString>("serverText");
    QTest::addColumn<QString>("radarText");
    QTest::addColumn<bool>("restartRadar");

    const QString connected = QStringLiteral("[Connected to %1]");
    const QString serverWorks = QStringLiteral("[Working on /dev/ttyUSB0]");
    // The link refuses anything above 1 MiB, so it drops the message, not the program.
    QTest::newRow("one binary message of 64 MiB")
        << QStringList { "--huge-message", "64" } << true << "[%1 sent a message over 1 MiB]"
        << serverWorks << working() << false;
    QTest::newRow("one text message of 16 MiB")
        << QStringList { "--huge-text", "16" } << true << "[%1 sent a message over 1 MiB]"
        << serverWorks << working() << false;
    QTest::newRow("pings never answered")
        << QStringList { "--refuse-pings" } << true << "[Disconnected from %1: no answer to pings]"
        << serverWorks << working() << false;
    QTest::newRow("random text between the answers")
        << QStringList { "--garbage-text" } << false << connected
        << "[Working on /dev/ttyUSB0] [Messages are not server messages]" << working() << false;
    // The radar's messages win over the bytes between them; while it restarts, silent for
    // five seconds, only the random bytes come, however late the link came up.
    QTest::newRow("random bytes between the radar's messages")
        << QStringList { "--garbage-binary", "--restart-ms", "5000" } << false << connected
        << serverWorks << "[Messages are not radar messages]" << true;
}

void TestMainWindowServerFaults::serverFaults()
{
    QFETCH(QStringList, faults);
    QFETCH(bool, linkDrops);
    QFETCH(QString, connectionText);
    QFETCH(QString, serverText);
    QFETCH(QString, radarText);
    QFETCH(bool, restartRadar);

    SimProcess sim;
    QVERIFY(sim.start(faults));
    const qint64 residentBefore = residentBytes();
    openWindow(sim.url(), faults.contains(QStringLiteral("--refuse-pings")) ? 300 : 60000);
    StatusRecorder status(*m_window);
    QSignalSpy disconnected(m_window->radarClient(), &IVantorClient::disconnected);
    const QString url = sim.url().toString();

    QTRY_VERIFY2_WITH_TIMEOUT(status.sawConnection(connectionText.arg(url)),
        qPrintable(status.connectionTexts().join(" | ")), Wait);
    QTRY_VERIFY_WITH_TIMEOUT(status.sawServer(serverText), Wait);
    if (restartRadar) {
        IVantorClient *client = m_window->radarClient();
        QTRY_VERIFY_WITH_TIMEOUT(client->radarState() == IVantorClient::Working, Wait);
        client->sendCmdRestart();
    }
    QTRY_VERIFY_WITH_TIMEOUT(status.sawRadar(radarText), Wait);
    // Whatever happened, the link is up and the radar works in the end.
    QTRY_COMPARE_WITH_TIMEOUT(m_window->findChild<ServerConnectionWidget *>()->text(),
        QStringLiteral("[Connected to %1]").arg(url), Wait);
    QTRY_VERIFY_WITH_TIMEOUT(status.sawRadarThen(radarText, working()), Wait);
    QCOMPARE(disconnected.isEmpty(), !linkDrops);
    // Not one copy of the enormous message was held.
    QVERIFY2(status.peakResidentBytes() - residentBefore < 48 * 1024 * 1024,
        qPrintable(QString::number(status.peakResidentBytes() - residentBefore)));
}

void TestMainWindowServerFaults::serverEndsDuringACommand()
{
    auto sim = std::make_unique<SimProcess>();
    QVERIFY(sim->start({ "--no-acks" }));
    const QUrl url = sim->url();
    openWindow(url);
    IVantorClient *client = m_window->radarClient();
    StatusRecorder status(*m_window);
    QSignalSpy connected(client, &IVantorClient::connected);
    QSignalSpy commands(client, &IVantorClient::radarCommandStateChanged);
    QTRY_VERIFY_WITH_TIMEOUT(client->radarState() == IVantorClient::Working, Wait);

    client->sendCmdGetRadarSensitivity();
    QTRY_VERIFY_WITH_TIMEOUT(!commands.isEmpty(), Wait);
    sim->stop();

    // The command ends as failed for want of a link; nothing waits for ever.
    QTRY_VERIFY_WITH_TIMEOUT(commands.last().at(1).toInt() == 4, Wait);

    QCOMPARE(commands.last().at(0).toInt(), GetSensitivity);
    QCOMPARE(commands.last().at(2).toInt(), int(Radar::NotConnected));
    QVERIFY(status.sawConnection(QStringLiteral("[Disconnected from %1]").arg(url.toString())));

    // A healthy server on the same port is reached and answers the next command.
    sim = std::make_unique<SimProcess>();
    QVERIFY(sim->start({}, quint16(url.port())));
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, Wait);
    QTRY_VERIFY_WITH_TIMEOUT(client->radarState() == IVantorClient::Working, Wait);
    commands.clear();
    client->sendCmdGetRadarSensitivity();
    QTRY_VERIFY_WITH_TIMEOUT(!commands.isEmpty() && commands.last().at(1).toInt() == 3, Wait);
}

void TestMainWindowServerFaults::serverRestartsAgainAndAgain()
{
    auto sim = std::make_unique<SimProcess>();
    QVERIFY(sim->start({}));
    const QUrl url = sim->url();
    openWindow(url);
    IVantorClient *client = m_window->radarClient();
    QSignalSpy connected(client, &IVantorClient::connected);
    QSignalSpy disconnected(client, &IVantorClient::disconnected);
    QTRY_VERIFY_WITH_TIMEOUT(client->radarState() == IVantorClient::Working, Wait);

    for (int restart = 1; restart <= 3; ++restart) {
        sim.reset();
        QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), restart, Wait);
        sim = std::make_unique<SimProcess>();
        QVERIFY(sim->start({}, quint16(url.port())));
        QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 1 + restart, Wait);
        QTRY_VERIFY_WITH_TIMEOUT(client->radarState() == IVantorClient::Working, Wait);
        QCOMPARE(m_window->findChild<ServerConnectionWidget *>()->text(),
            QStringLiteral("[Connected to %1]").arg(url.toString()));
    }
}

QTEST_MAIN(TestMainWindowServerFaults)
#include "tst_mainwindowserverfaults.moc"
