#include "historymodel.h"
#include "mainwindow.h"
#include "messagerecorder.h"
#include "radarsimulator.h"
#include "recordingplayerbar.h"
#include "recordingsession.h"

#include "../sim/simtestsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

using SimTest::Wait;
constexpr int Messages = 60;

} // namespace

// The main window plays a recording through its client instead of the live server, and
// goes back to the server when the playback stops.
class TestRecordingSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void playingDetachesTheLiveLink();
    void refusedFilesLeaveTheLiveLink_data();
    void refusedFilesLeaveTheLiveLink();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<RadarSimulator> m_sim;
    QString m_recording;
    int m_recorded = 0;
};

// A simulator on a free port, a profile that connects to it, and a recording of its
// traffic made by the simulator's recorder.
void TestRecordingSession::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    SimOptions options = SimTest::quickOptions(3);
    options.radar.traffic.perLanePerMinute = 600;
    m_sim = std::make_unique<RadarSimulator>(options);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));

    const QJsonObject profile { { "name", "Test" },
        { "connection",
            QJsonObject {
                { "radar_protocol", 0 }, { "radar_server_url", m_sim->url().toString() } } } };
    QFile config(QStringLiteral(".vantor-road-app-gui_config.json"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    const QByteArray json
        = QJsonDocument(QJsonObject { { "profiles", QJsonArray { profile } }, { "current_id", 0 } })
              .toJson();
    QCOMPARE(config.write(json), json.size());
    config.close();

    m_recording = m_dir->filePath(QStringLiteral("site.jsonl"));
    MessageRecorder recorder;
    QVERIFY2(recorder.open(m_recording, &error), qPrintable(error));
    SimTest::Peer peer(m_sim->url());
    connect(&peer.socket, &QWebSocket::binaryMessageReceived, [&](const QByteArray &message) {
        if (m_recorded < Messages) {
            recorder.recordBinary(message);
            ++m_recorded;
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(m_recorded >= Messages, Wait);
    recorder.close();
    QCOMPARE(recorder.recordedCount(), quint64(Messages));
}

void TestRecordingSession::cleanup()
{
    m_sim.reset();
    m_recorded = 0;
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestRecordingSession::playingDetachesTheLiveLink()
{
    MainWindow window;
    IVantorClient *client = window.radarClient();
    QVERIFY(client);
    QTRY_VERIFY_WITH_TIMEOUT(client->isConnected(), Wait);
    // The live traffic fills the link diagnostics: three control identifiers at least.
    CanIdTableModel *ids = window.linkDiagnosticsWidget()->model();
    QTRY_VERIFY_WITH_TIMEOUT((ids->refresh(), ids->rowCount() >= 3), Wait);

    RecordingSession *session = window.recordingSession();
    QSignalSpy finished(session->playback(), &RecordingPlayback::finished);
    QString error;
    QVERIFY2(session->open(m_recording, &error), qPrintable(error));
    QVERIFY(!client->isConnected());
    auto *status = window.findChild<QLabel *>(QStringLiteral("recordingStatus"));
    QVERIFY(status && status->isVisibleTo(&window));
    QVERIFY(status->text().contains(QStringLiteral("site.jsonl")));
    QVERIFY(window.findChild<RecordingPlayerBar *>()->isVisibleTo(&window));

    // The recorded frames reach the history as from the server.
    window.historyTableWidget()->on_clearTableButton_clicked();
    session->playback()->setSpeed(RecordingPlayback::MaxSpeed);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, Wait);
    QVERIFY(!client->isConnected());
    QVERIFY(client->totalFrames() > 0);
    QVERIFY(window.historyTableWidget()->model()->rowCount() > 0);

    session->stop();
    QVERIFY(!status->isVisibleTo(&window));
    QVERIFY(!window.findChild<RecordingPlayerBar *>()->isVisibleTo(&window));
    QTRY_VERIFY_WITH_TIMEOUT(client->isConnected(), Wait);
}

void TestRecordingSession::refusedFilesLeaveTheLiveLink_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a work profile")
        << QByteArray("{\"profiles\":[]}\n") << "is not a recording of the radar simulator";
    QTest::newRow("a later version")
        << QByteArray("{\"format\":\"vantor-radar-sim recording\",\"version\":9}\n")
        << "later version";
}

void TestRecordingSession::refusedFilesLeaveTheLiveLink()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString path = m_dir->filePath(QStringLiteral("other.jsonl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();

    MainWindow window;
    IVantorClient *client = window.radarClient();
    QTRY_VERIFY_WITH_TIMEOUT(client->isConnected(), Wait);
    QSignalSpy active(window.recordingSession(), &RecordingSession::activeChanged);
    QString error;
    QVERIFY(!window.recordingSession()->open(path, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(error.contains(QStringLiteral("other.jsonl")));
    QCOMPARE(active.size(), 0);
    QVERIFY(client->isConnected());
}

QTEST_MAIN(TestRecordingSession)
#include "tst_recordingsession.moc"
