#include "radarsimulator.h"
#include "recordingplayback.h"
#include "roadobjectframecollector.h"
#include "vantorserialqelprotocolclient.h"

#include "../sim/simtestsupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using SimTest::Wait;
constexpr int LiveFrames = 40;

// A frame in words, to compare and to print.
QString frameText(const RoadObjectFrame &frame)
{
    QStringList parts { frame.dateTimeUtc.toString(Qt::ISODateWithMs),
        QString::number(frame.cycleNumber) };
    for (const RoadObject &o : frame.objects)
        parts << QStringLiteral("%1:%2,%3,%4,%5,%6")
                     .arg(o.id)
                     .arg(o.xSpeed)
                     .arg(o.ySpeed)
                     .arg(o.xRange)
                     .arg(o.yRange)
                     .arg(o.length);
    return parts.join(QLatin1Char(' '));
}

// A radar client fed by a playback, and the frames it decodes.
struct PlayedClient
{
    VantorSerialQelProtocolClient client;
    RoadObjectFrameCollector collector;
    QStringList frames;

    explicit PlayedClient(RecordingPlayback *playback)
    {
        collector.setClient(&client);
        QObject::connect(&collector, &RoadObjectFrameCollector::frameCollected,
            [this](const RoadObjectFrame &f) { frames.append(frameText(f)); });
        QObject::connect(playback, &RecordingPlayback::binaryMessage, &client,
            &IVantorClient::onServerDataReceived);
        QObject::connect(playback, &RecordingPlayback::textMessage, &client,
            &IVantorClient::onServerTextReceived);
    }
};

} // namespace

class TestRecordingPlayback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playsTheLiveFrames();
    void seekLoopAndPause_data();
    void seekLoopAndPause();
    void refusesWhatIsNoRecording_data();
    void refusesWhatIsNoRecording();

private:
    QTemporaryDir m_dir;
    QString m_path;
    QStringList m_live;
    // The recording times of its binary messages, read here on their own.
    QVector<qint64> m_binaryTimes;
};

// A live run of the simulator through its recording proxy: the frames the client decoded
// live, and the recording of the same messages.
void TestRecordingPlayback::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("live.jsonl"));
    SimOptions o = SimTest::quickOptions(11);
    o.radar.traffic.perLanePerMinute = 120;
    RadarSimulator radar(o);
    QString error;
    QVERIFY2(radar.start(&error), qPrintable(error));
    SimOptions p = o;
    p.source = SimOptions::Source::Proxy;
    p.server.mode = SimServer::Mode::Forwarding;
    p.proxyUrl = radar.url();
    p.recordFile = m_path;
    {
        RadarSimulator proxy(p);
        QVERIFY2(proxy.start(&error), qPrintable(error));
        VantorSerialQelProtocolClient client;
        RoadObjectFrameCollector collector;
        collector.setClient(&client);
        connect(&collector, &RoadObjectFrameCollector::frameCollected,
            [this](const RoadObjectFrame &f) { m_live.append(frameText(f)); });
        QVERIFY(client.connectToServer(proxy.url(), 200));
        QTRY_VERIFY_WITH_TIMEOUT(m_live.size() >= LiveFrames, Wait);
        client.disconnectFromServer();
    }
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    while (!file.atEnd()) {
        const QJsonObject line = QJsonDocument::fromJson(file.readLine()).object();
        if (line.value(QStringLiteral("type")).toString() == QLatin1String("binary"))
            m_binaryTimes.append(qint64(line.value(QStringLiteral("t_ms")).toDouble()));
    }
    QVERIFY(m_binaryTimes.size() >= LiveFrames);
}

void TestRecordingPlayback::playsTheLiveFrames()
{
    RecordingPlayback playback;
    QVERIFY2(playback.open(m_path), qPrintable(playback.errorString()));
    QCOMPARE(playback.durationMs(), m_binaryTimes.last());
    PlayedClient played(&playback);
    QSignalSpy finished(&playback, &RecordingPlayback::finished);
    playback.setSpeed(RecordingPlayback::MaxSpeed);
    playback.play();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, Wait);
    QVERIFY(!playback.isPlaying());
    // The recording may hold a few messages more than the client took before it left.
    QVERIFY(played.frames.size() >= m_live.size());
    for (int i = 0; i < m_live.size(); ++i)
        QCOMPARE(played.frames.at(i), m_live.at(i));
    QCOMPARE(played.frames.size(), m_binaryTimes.size());
}

void TestRecordingPlayback::seekLoopAndPause_data()
{
    QTest::addColumn<double>("seekFraction");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<int>("pauseAfter");
    QTest::newRow("from the start") << 0.0 << false << -1;
    QTest::newRow("from the middle") << 0.5 << false << -1;
    QTest::newRow("past the end") << 2.0 << false << -1;
    QTest::newRow("looped") << 0.0 << true << -1;
    QTest::newRow("paused and resumed") << 0.0 << false << 5;
}

void TestRecordingPlayback::seekLoopAndPause()
{
    QFETCH(double, seekFraction);
    QFETCH(bool, loop);
    QFETCH(int, pauseAfter);
    RecordingPlayback playback;
    QVERIFY2(playback.open(m_path), qPrintable(playback.errorString()));
    PlayedClient played(&playback);
    QSignalSpy finished(&playback, &RecordingPlayback::finished);
    playback.setSpeed(RecordingPlayback::MaxSpeed);
    playback.setLoop(loop);
    const qint64 target = qint64(seekFraction * playback.durationMs());
    playback.seek(target);
    const qint64 clamped = qMin(target, playback.durationMs());
    QCOMPARE(playback.positionMs(), clamped);
    const int expected = int(std::count_if(m_binaryTimes.cbegin(), m_binaryTimes.cend(),
        [clamped](qint64 t) { return t >= clamped; }));
    if (pauseAfter > 0) {
        connect(&played.collector, &RoadObjectFrameCollector::frameCollected, &playback, [&] {
            if (played.frames.size() == pauseAfter)
                playback.pause();
        });
    }
    playback.play();

    if (loop) {
        // The second pass repeats the first frame by frame.
        QTRY_VERIFY_WITH_TIMEOUT(played.frames.size() > expected + 3, Wait);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(played.frames.at(expected + i), played.frames.at(i));
        QCOMPARE(finished.size(), 0);
        return;
    }
    if (pauseAfter > 0) {
        QTRY_VERIFY_WITH_TIMEOUT(!playback.isPlaying(), Wait);
        const qint64 pausedAt = playback.positionMs();
        QTest::qWait(300);
        QCOMPARE(played.frames.size(), pauseAfter);
        QCOMPARE(playback.positionMs(), pausedAt);
        playback.play();
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, Wait);
    QCOMPARE(played.frames.size(), expected);
    QCOMPARE(playback.positionMs(), playback.durationMs());
}

void TestRecordingPlayback::refusesWhatIsNoRecording_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("error");
    const QByteArray header = "{\"format\":\"vantor-radar-sim recording\",\"version\":1}\n";
    QTest::newRow("a work profile")
        << QByteArray("{\"profiles\":[]}\n") << int(RecordingReader::Error::NotARecording);
    QTest::newRow("a later version")
        << QByteArray("{\"format\":\"vantor-radar-sim recording\",\"version\":2}\n")
        << int(RecordingReader::Error::UnsupportedVersion);
    QTest::newRow("no messages") << header + "garbage\n" << int(RecordingReader::Error::NoMessages);
}

void TestRecordingPlayback::refusesWhatIsNoRecording()
{
    QFETCH(QByteArray, content);
    QFETCH(int, error);
    const QString path = m_dir.filePath(QStringLiteral("broken.jsonl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
    file.close();
    RecordingPlayback playback;
    QVERIFY(playback.open(m_path));
    if (error == int(RecordingReader::Error::NoMessages))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("skipped")));
    QVERIFY(!playback.open(path));
    QCOMPARE(int(playback.error()), error);
    QVERIFY(!playback.isOpen());
    QCOMPARE(playback.durationMs(), qint64(0));
}

QTEST_GUILESS_MAIN(TestRecordingPlayback)
#include "tst_recordingplayback.moc"
