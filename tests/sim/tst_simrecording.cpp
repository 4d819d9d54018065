#include "messagerecorder.h"
#include "radarsimulator.h"
#include "recordingplayer.h"
#include "simtestsupport.h"
#include "vantorserialqelprotocolclient.h"

#include "../smalldisk.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using SimTest::Wait;
constexpr int Messages = 30;

SimOptions radarOptions()
{
    SimOptions o = SimTest::quickOptions(3);
    o.radar.traffic.perLanePerMinute = 120;
    return o;
}

} // namespace

class TestSimRecording : public QObject
{
    Q_OBJECT

private slots:
    void recordThenReplay();
    void replayLoopsAndServesTheClient();
    void fastShortLoopReturnsToTheEventLoop();
    void brokenRecordings_data();
    void brokenRecordings();
    void fullDiskEndsTheRecordingAfterWholeLines();

private:
    QString record(QList<QByteArray> *received);
    SimOptions replayOptions() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

// Records the radar's traffic through a recording proxy into a fresh temporary folder and
// returns what went wrong, or an empty text.
QString TestSimRecording::record(QList<QByteArray> *received)
{
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return QStringLiteral("no temporary folder");
    m_path = m_dir->filePath(QStringLiteral("site.jsonl"));
    RadarSimulator radar(radarOptions());
    QString error;
    if (!radar.start(&error))
        return error;

    SimOptions p = radarOptions();
    p.source = SimOptions::Source::Proxy;
    p.server.mode = SimServer::Mode::Forwarding;
    p.proxyUrl = radar.url();
    p.recordFile = m_path;
    {
        RadarSimulator proxy(p);
        if (!proxy.start(&error))
            return error;
        SimTest::Peer listener(proxy.url());
        if (!QTest::qWaitFor([&] { return listener.binary.size() >= Messages; }, Wait))
            return QStringLiteral("no traffic through the proxy");
        // The server's state report passed through the proxy as well.
        if (listener.json.isEmpty()
            || listener.json.first().value(QStringLiteral("command")).toInt() != 1)
            return QStringLiteral("no state report through the proxy");
        listener.socket.close();
        QTest::qWait(50);
        *received = listener.binary;
    }
    return QString();
}

SimOptions TestSimRecording::replayOptions() const
{
    SimOptions r = radarOptions();
    r.source = SimOptions::Source::Replay;
    r.replayFile = m_path;
    return r;
}

void TestSimRecording::recordThenReplay()
{
    QList<QByteArray> recorded;
    const QString error = record(&recorded);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    // The file: a header line, then one line per message, text and binary.
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(
        QJsonDocument::fromJson(lines.first()).object().value(QStringLiteral("format")).toString(),
        QLatin1String(MessageRecorder::FormatName));
    int binaryLines = 0;
    qint64 lastT = 0;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        const QJsonObject entry = QJsonDocument::fromJson(lines[i]).object();
        QVERIFY(entry.value(QStringLiteral("t_ms")).toDouble() >= lastT);
        lastT = qint64(entry.value(QStringLiteral("t_ms")).toDouble());
        if (entry.value(QStringLiteral("type")).toString() == QLatin1String("binary")) {
            if (binaryLines < recorded.size())
                QCOMPARE(QByteArray::fromBase64(
                             entry.value(QStringLiteral("data")).toString().toLatin1()),
                    recorded.at(binaryLines));
            ++binaryLines;
        }
    }
    QVERIFY(binaryLines >= recorded.size());
    // Thirty messages of 20 ms cycles span about 600 ms.
    QVERIFY(lastT >= 400);

    RadarSimulator replay(replayOptions());
    QString startError;
    QVERIFY2(replay.start(&startError), qPrintable(startError));
    SimTest::Peer listener(replay.url());
    QTRY_VERIFY_WITH_TIMEOUT(listener.binary.size() >= recorded.size(), Wait);
    for (int i = 0; i < recorded.size(); ++i)
        QCOMPARE(listener.binary.at(i), recorded.at(i));
}

void TestSimRecording::replayLoopsAndServesTheClient()
{
    QList<QByteArray> recorded;
    const QString error = record(&recorded);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    SimOptions r = replayOptions();
    r.replayLoop = true;
    r.replaySpeed = 4.0;
    r.replayRestamp = true;
    RadarSimulator replay(r);
    QString startError;
    QVERIFY2(replay.start(&startError), qPrintable(startError));
    VantorSerialQelProtocolClient client;
    QSignalSpy frameTimes(&client, &IVantorClient::frameDateTimeUtc);
    QVERIFY(client.connectToServer(replay.url(), 200));
    QTRY_COMPARE_WITH_TIMEOUT(client.radarState(), 2, Wait);
    QTRY_VERIFY_WITH_TIMEOUT(replay.player()->playedCount() > quint64(2 * recorded.size()), Wait);
    // Re-stamped headers carry the time of sending.
    const QDateTime last = frameTimes.last().at(0).toDateTime();
    QVERIFY(qAbs(last.msecsTo(QDateTime::currentDateTimeUtc())) < 5000);
}

void TestSimRecording::fastShortLoopReturnsToTheEventLoop()
{
    // Three messages within 10 ms at the highest speed: a pass lasts far less than 1 ms.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("short.jsonl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray content = "{\"format\":\"vantor-radar-sim recording\",\"version\":1}\n"
                               "{\"t_ms\":0,\"type\":\"binary\",\"data\":\"AAEC\"}\n"
                               "{\"t_ms\":5,\"type\":\"binary\",\"data\":\"AAEC\"}\n"
                               "{\"t_ms\":10,\"type\":\"binary\",\"data\":\"AAEC\"}\n";
    QCOMPARE(file.write(content), content.size());
    file.close();

    RecordingPlayer player;
    QString error;
    QVERIFY2(player.open(path, &error), qPrintable(error));
    player.setSpeed(1000.0);
    player.setLoop(true);
    bool eventLoopRan = false;
    int playedBeforeEventLoop = 0;
    connect(&player, &RecordingPlayer::binaryMessage, this, [&](const QByteArray &) {
        // Ends the loop should the player never give the event loop a turn.
        if (!eventLoopRan && ++playedBeforeEventLoop == 1000)
            player.setLoop(false);
    });
    QTimer::singleShot(0, this, [&eventLoopRan] { eventLoopRan = true; });
    player.start();
    QCOMPARE(playedBeforeEventLoop, 3);
    QTRY_VERIFY_WITH_TIMEOUT(player.playedCount() > 30, Wait);
    QVERIFY(player.isPlaying());
}

void TestSimRecording::brokenRecordings_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("reason");
    const QByteArray header = "{\"format\":\"vantor-radar-sim recording\",\"version\":1}\n";
    QTest::newRow("empty file") << QByteArray() << false << 0 << QString();
    QTest::newRow("foreign JSON") << QByteArray("{\"profiles\":[]}\n") << false << 0 << QString();
    QTest::newRow("future version")
        << QByteArray("{\"format\":\"vantor-radar-sim "
                      "recording\",\"version\":2}\n{\"t_ms\":0,\"type\":\"text\",\"data\":\"x\"}\n")
        << false << 0 << QString();
    QTest::newRow("header only") << header << false << 0 << QString();
    // The error says why, not only that nothing is left.
    QTest::newRow("only line too long") << header + "{\"t_ms\":0,\"type\":\"binary\",\"data\":\""
            + QByteArray(RecordingPlayer::MaxLineSize, 'A')
            + "\"}\n" << false << 1 << QStringLiteral("longer than");
    QTest::newRow("bad lines between good ones") << header
            + "garbage\n{\"t_ms\":-5,\"type\":\"binary\",\"data\":\"AAEC\"}\n"
              "{\"t_ms\":1,\"type\":\"binary\",\"data\":\"@@@\"}\n"
              "{\"t_ms\":2,\"type\":\"video\",\"data\":\"AAEC\"}\n"
              "{\"t_ms\":3,\"type\":\"binary\",\"data\":\"AAEC\"}\n"
                                                 << true << 4 << QString();
}

void TestSimRecording::brokenRecordings()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, opens);
    QFETCH(int, skipped);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.jsonl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();

    RecordingPlayer player;
    QSignalSpy binary(&player, &RecordingPlayer::binaryMessage);
    QSignalSpy finished(&player, &RecordingPlayer::finished);
    QString error;
    QCOMPARE(player.open(path, &error), opens);
    QCOMPARE(error.isEmpty(), opens);
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(player.skippedLines(), skipped);
    if (!opens)
        return;
    player.start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, Wait);
    QCOMPARE(binary.size(), 1);
    QCOMPARE(binary.first().at(0).toByteArray(), QByteArray("\x00\x01\x02", 3));
}

void TestSimRecording::fullDiskEndsTheRecordingAfterWholeLines()
{
    SmallDisk disk;
    VANTOR_REQUIRE_SMALL_DISK(disk);
    const QString path = disk.filePath(QStringLiteral("site.jsonl"));
    MessageRecorder recorder;
    QString error;
    QVERIFY2(recorder.open(path, &error), qPrintable(error));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Recording stopped: ")));
    QList<QByteArray> messages;
    for (int i = 0; i < 1000; ++i) {
        messages.append(QByteArray(100, char(i)));
        recorder.recordBinary(messages.last());
    }
    const quint64 recorded = recorder.recordedCount();
    recorder.close();
    QVERIFY(recorded > 0 && recorded < 1000);

    // Every message counted as recorded is there, whole.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(quint64(lines.size()) >= recorded + 1);
    for (quint64 i = 0; i < recorded; ++i) {
        const QJsonObject entry = QJsonDocument::fromJson(lines.at(int(i) + 1)).object();
        QCOMPARE(QByteArray::fromBase64(entry.value(QStringLiteral("data")).toString().toLatin1()),
            messages.at(int(i)));
    }
}

QTEST_GUILESS_MAIN(TestSimRecording)
#include "tst_simrecording.moc"
