#include "localwebsocketserver.h"
#include "rawwebsocketserver.h"
#include "spineclient.h"
#include "timestampheader.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QtTest>

#include <memory>

using Report = SpineClient::Report;

Q_DECLARE_METATYPE(QList<int>)
Q_DECLARE_METATYPE(Report)

namespace {

char *reportText(const Report &r)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3)").arg(r.command).arg(r.state).arg(r.error));
}

// A ping still unanswered at the next one drops the link, and a loaded machine may hold a
// healthy answer back longer than 100 ms: pings are that fast only in the tests about them.
IVantorClient::Timing fastTiming(int pingIntervalMs = 60000)
{
    IVantorClient::Timing timing;
    timing.pingIntervalMs = pingIntervalMs;
    timing.offlineTimeoutMs = 300;
    timing.sendDelayMs = 20;
    timing.commandTimeoutMs = 80;
    return timing;
}

QUrl unusedPortUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(port));
}

QByteArray stamped(const QDateTime &time, const QByteArray &area)
{
    return TimeStampHeader::encode(time) + area;
}

const QDateTime T0(QDate(2026, 5, 4), QTime(10, 0, 0, 0), Qt::UTC);

} // namespace

namespace QTest {
template<> char *toString(const Report &r)
{
    return reportText(r);
}
} // namespace QTest

class TestIVantorClient : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connectErrors_data();
    void connectErrors();
    void secondConnectRefused();
    void connectsAndReportsConnected();
    void failedAttemptIsNotconnectedAndRetried();
    void reconnectsAfterServerCloses();
    void disconnectFromServerReleasesTheLink();
    void scheduledReconnectDoesNothingAfterRelease();
    void pingPayloadsCountUp();
    void pingLatencyFromRealServer();
    void unansweredPing_data();
    void unansweredPing();
    void serverText_data();
    void serverText();
    void protocolSelectionSent();
    void commandKeyReplaced();
    void jsonNotSentWhileUnconnected();
    void frameTimeAndArea_data();
    void frameTimeAndArea();
    void hugeMessageRefused();
    void debounce_data();
    void debounce();
    void offlineAfterSilenceDropsObjectsAndCommands();
    void realTimersAndOfflineAfterTwoSeconds();
    void objectExpiry_data();
    void objectExpiry();
    void objectsEmittedInIdOrderOnlyWhenOnline();
    void commandQueuedInProgressReceived();
    void ackRetries_data();
    void ackRetries();
    void fiveTimeoutsThenError();
    void notConnectedWhileReconnecting();
    void commandsFailAtOnceWithoutLink();
    void deleteCommandsDiscardsEach();
    void statistics();
    void anyCmd_data();
    void anyCmd();
    void protocolConversion_data();
    void protocolConversion();
    void stateHelpers();

private:
    void connectClient(const QUrl &url, int reconnectMs = 1000);
    void connectRaw(RawWebSocketServer &raw, int reconnectMs = 1000);
    void sendAndWait(const QByteArray &message, int times = 1);
    void holdCommands();

    std::unique_ptr<LocalWebSocketServer> m_server;
    std::unique_ptr<SpineClient> m_client;
};

void TestIVantorClient::init()
{
    m_server = std::make_unique<LocalWebSocketServer>();
    QVERIFY(m_server->listen());
    m_client = std::make_unique<SpineClient>();
    m_client->setTimingForTests(fastTiming());
}

void TestIVantorClient::cleanup()
{
    m_client.reset();
    m_server.reset();
}

void TestIVantorClient::connectClient(const QUrl &url, int reconnectMs)
{
    QSignalSpy connectedSpy(m_client.get(), &IVantorClient::connected);
    QVERIFY(m_client->connectToServer(url, reconnectMs));
    QVERIFY(connectedSpy.wait(5000));
    QTRY_VERIFY_WITH_TIMEOUT(m_server->client(), 5000);
}

void TestIVantorClient::connectRaw(RawWebSocketServer &raw, int reconnectMs)
{
    QVERIFY(raw.listen());
    QSignalSpy connectedSpy(m_client.get(), &IVantorClient::connected);
    QVERIFY(m_client->connectToServer(raw.url(), reconnectMs));
    QVERIFY(connectedSpy.wait(5000));
}

// Sends the message `times` times, each once the previous one has been handled.
void TestIVantorClient::sendAndWait(const QByteArray &message, int times)
{
    for (int i = 0; i < times; ++i) {
        const quint64 before = m_client->totalFrames();
        m_server->sendBinary(message);
        QTRY_COMPARE_WITH_TIMEOUT(m_client->totalFrames(), before + 1, 5000);
    }
}

// A long command time-out, so that queued commands stay queued.
void TestIVantorClient::holdCommands()
{
    IVantorClient::Timing timing = fastTiming();
    timing.commandTimeoutMs = 60000;
    m_client->setTimingForTests(timing);
}

void TestIVantorClient::connectErrors_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::newRow("empty") << QUrl();
    QTest::newRow("not a URL") << QUrl(QStringLiteral("ws://exa mple:12/"), QUrl::StrictMode);
    QTest::newRow("http scheme") << QUrl(QStringLiteral("http://127.0.0.1:7578/"));
    QTest::newRow("no host") << QUrl(QStringLiteral("ws:///path"));
}

void TestIVantorClient::connectErrors()
{
    QFETCH(QUrl, url);
    QSignalSpy connecting(m_client.get(), &IVantorClient::connecting);
    int error = 0;
    QVERIFY(!m_client->connectToServer(url, 1000, &error));
    QCOMPARE(error, -1);
    // Nothing was created: a valid URL still connects.
    QVERIFY(m_client->connectToServer(m_server->url(), 1000, &error));
    QCOMPARE(error, 0);
    QCOMPARE(connecting.count(), 1);
}

void TestIVantorClient::secondConnectRefused()
{
    connectClient(m_server->url());
    int error = 0;
    QVERIFY(!m_client->connectToServer(m_server->url(), 1000, &error));
    QCOMPARE(error, -2);
    QVERIFY(!m_client->connectToServer(QUrl(), 1000, &error));
    QCOMPARE(error, -2);
    QCOMPARE(m_server->connectionCount(), 1);
}

void TestIVantorClient::connectsAndReportsConnected()
{
    QSignalSpy connecting(m_client.get(), &IVantorClient::connecting);
    QSignalSpy notconnected(m_client.get(), &IVantorClient::notconnected);
    connectClient(m_server->url());
    QCOMPARE(connecting.count(), 1);
    QCOMPARE(notconnected.count(), 0);
    QVERIFY(m_client->isConnected());
    QCOMPARE(m_client->url(), m_server->url());
}

void TestIVantorClient::failedAttemptIsNotconnectedAndRetried()
{
    QSignalSpy connecting(m_client.get(), &IVantorClient::connecting);
    QSignalSpy notconnected(m_client.get(), &IVantorClient::notconnected);
    QSignalSpy disconnected(m_client.get(), &IVantorClient::disconnected);
    QVERIFY(m_client->connectToServer(unusedPortUrl(), 50));
    QTRY_VERIFY_WITH_TIMEOUT(notconnected.count() >= 2, 5000);
    QVERIFY(connecting.count() >= 2);
    QCOMPARE(disconnected.count(), 0);
    QVERIFY(!m_client->isConnected());
}

void TestIVantorClient::reconnectsAfterServerCloses()
{
    connectClient(m_server->url(), 50);
    QSignalSpy disconnected(m_client.get(), &IVantorClient::disconnected);
    QSignalSpy notconnected(m_client.get(), &IVantorClient::notconnected);
    QSignalSpy connected(m_client.get(), &IVantorClient::connected);
    m_server->closeClient();
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.count(), 1, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1, 5000);
    QCOMPARE(notconnected.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 2, 5000);
}

void TestIVantorClient::disconnectFromServerReleasesTheLink()
{
    connectClient(m_server->url(), 50);
    QSignalSpy disconnected(m_client.get(), &IVantorClient::disconnected);
    QSignalSpy connecting(m_client.get(), &IVantorClient::connecting);
    m_client->disconnectFromServer();
    QCOMPARE(disconnected.count(), 1);
    QVERIFY(!m_client->isConnected());
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->client(), 5000);
    QTest::qWait(200);
    QCOMPARE(connecting.count(), 0);
    QCOMPARE(m_server->connectionCount(), 1);
    // A new link can be opened again.
    connectClient(m_server->url());
    QCOMPARE(m_server->connectionCount(), 2);
}

void TestIVantorClient::scheduledReconnectDoesNothingAfterRelease()
{
    QSignalSpy notconnected(m_client.get(), &IVantorClient::notconnected);
    QSignalSpy connecting(m_client.get(), &IVantorClient::connecting);
    QVERIFY(m_client->connectToServer(unusedPortUrl(), 100));
    QVERIFY(notconnected.wait(5000));
    m_client->disconnectFromServer();
    const int attempts = connecting.count();
    QTest::qWait(300);
    QCOMPARE(connecting.count(), attempts);
}

void TestIVantorClient::pingPayloadsCountUp()
{
    // Answered pings keep the link, but for an answer held back a whole interval.
    m_client->setTimingForTests(fastTiming(500));
    RawWebSocketServer raw;
    QSignalSpy latency(m_client.get(), &IVantorClient::pingLatency);
    connectRaw(raw);
    QTRY_VERIFY_WITH_TIMEOUT(raw.pings.size() >= 3, 5000);
    QCOMPARE(raw.pings.mid(0, 3), (QList<QByteArray> { "\x01", "\x02", "\x03" }));
    QTRY_VERIFY_WITH_TIMEOUT(latency.count() >= 2, 5000);
    QCOMPARE(raw.connectionCount(), 1);
}

void TestIVantorClient::pingLatencyFromRealServer()
{
    m_client->setTimingForTests(fastTiming(500));
    QSignalSpy latency(m_client.get(), &IVantorClient::pingLatency);
    connectClient(m_server->url());
    QVERIFY(latency.wait(5000));
    QVERIFY(latency.first().first().toULongLong() < 5000);
    QTRY_VERIFY_WITH_TIMEOUT(latency.count() >= 3, 5000);
    QCOMPARE(m_server->connectionCount(), 1);
}

void TestIVantorClient::unansweredPing_data()
{
    QTest::addColumn<int>("reconnectMs");
    QTest::addColumn<QByteArray>("pong"); // empty: none sent
    QTest::newRow("missed pong closes and reconnects") << 50 << QByteArray();
    QTest::newRow("two-byte pong ignored") << 0 << QByteArray("\x01\x01", 2);
}

void TestIVantorClient::unansweredPing()
{
    QFETCH(int, reconnectMs);
    QFETCH(QByteArray, pong);

    m_client->setTimingForTests(fastTiming(100));
    RawWebSocketServer raw;
    raw.answerPings = false;
    QSignalSpy latency(m_client.get(), &IVantorClient::pingLatency);
    QStringList order;
    connect(m_client.get(), &IVantorClient::disconnected, this,
        [&order] { order.append("disconnected"); });
    connect(m_client.get(), &IVantorClient::pingTimedOut, this,
        [&order] { order.append("ping timed out"); });
    connectRaw(raw, reconnectMs);
    QTRY_COMPARE_WITH_TIMEOUT(raw.pings.size(), 1, 5000);
    if (!pong.isEmpty())
        raw.sendPong(pong);
    QTRY_VERIFY_WITH_TIMEOUT(!order.isEmpty(), 5000);
    QTest::qWait(20);
    // One ping, then the next tick finds it unanswered, drops the link and says why.
    QCOMPARE(order, (QStringList { "disconnected", "ping timed out" }));
    QCOMPARE(raw.pings.size(), 1);
    QCOMPARE(latency.count(), 0);
    if (reconnectMs > 0)
        QTRY_COMPARE_WITH_TIMEOUT(raw.connectionCount(), 2, 5000);
}

void TestIVantorClient::serverText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariantList>("result"); // command, result, error, comment
    QTest::addColumn<int>("usedProtocol"); // -100: not emitted
    QTest::addColumn<QVariantList>("serverState"); // empty: not emitted

    const auto row = [](const char *name, const QString &text, const QVariantList &result,
                         int usedProtocol = -100, const QVariantList &serverState = {}) {
        QTest::newRow(name) << text << result << usedProtocol << serverState;
    };
    const QVariantList wrong { -1, false, -11,
        QStringLiteral("Wrong response message received from Vantor server.") };
    row("protocol message", R"({"command": 2, "result": 0, "radar_protocol": 1})",
        { 2, true, 0, "" }, 1);
    row("protocol message without protocol", R"({"command": 2, "result": 3, "comment": "busy"})",
        { 2, false, 3, "busy" }, -1);
    row("server state",
        R"({"command": 1, "result": 0, "server_state": 2, "nep_server_url": "ws://x", "port_name": "ttyUSB0"})",
        { 1, true, 0, "" }, -100, { 2, "ws://x", "ttyUSB0" });
    row("server state defaults", R"({"command": 1, "result": 0})", { 1, true, 0, "" }, -100,
        { -1, "", "" });
    row("other command", R"({"command": 7, "result": 0, "comment": "ok"})", { 7, true, 0, "ok" });
    row("without result", R"({"command": 2, "radar_protocol": 1})", wrong);
    row("without command", R"({"result": 0})", wrong);
    row("not JSON", "hello", wrong);
    row("JSON array", R"([1, 2])", wrong);
    row("command of wrong type", R"({"command": "2", "result": 0})", { -1, true, 0, "" });
    const QString padding(IVantorClient::MaxServerTextSize, QLatin1Char(' '));
    const QString text = QStringLiteral(R"({"command": 7, "result": 0})");
    row("oversized text", text + padding, wrong);
    row("longest accepted text", text + padding.left(IVantorClient::MaxServerTextSize - 27),
        { 7, true, 0, "" });
    row("absurd result", R"({"command": 7, "result": 1e300})", { 7, true, 0, "" });
}

void TestIVantorClient::serverText()
{
    QFETCH(QString, text);
    QFETCH(QVariantList, result);
    QFETCH(int, usedProtocol);
    QFETCH(QVariantList, serverState);

    connectClient(m_server->url());
    QSignalSpy results(m_client.get(), &IVantorClient::serverCommandResult);
    QSignalSpy protocols(m_client.get(), &IVantorClient::usedProtocolChanged);
    QSignalSpy states(m_client.get(), &IVantorClient::serverStateChanged);
    m_server->sendText(text);
    QVERIFY(results.wait(5000));
    QCOMPARE(results.count(), 1);
    QCOMPARE(results.first(), result);
    QCOMPARE(protocols.count(), usedProtocol == -100 ? 0 : 1);
    if (usedProtocol != -100)
        QCOMPARE(protocols.first().first().toInt(), usedProtocol);
    QCOMPARE(states.count(), serverState.isEmpty() ? 0 : 1);
    if (!serverState.isEmpty())
        QCOMPARE(states.first(), serverState);
}

void TestIVantorClient::protocolSelectionSent()
{
    connectClient(m_server->url());
    m_client->forceServerToChangeProtocol(1);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->textMessages.size(), 1, 5000);
    QCOMPARE(m_server->textMessages.first(), QStringLiteral(R"({"command":2,"radar_protocol":1})"));
}

void TestIVantorClient::commandKeyReplaced()
{
    connectClient(m_server->url());
    m_client->sendCommandToServer(
        IVantorClient::ServerStateReport, QJsonObject { { "command", 9 }, { "x", "y" } });
    QTRY_COMPARE_WITH_TIMEOUT(m_server->textMessages.size(), 1, 5000);
    const QJsonObject sent
        = QJsonDocument::fromJson(m_server->textMessages.first().toUtf8()).object();
    QCOMPARE(sent, (QJsonObject { { "command", 1 }, { "x", "y" } }));
}

void TestIVantorClient::jsonNotSentWhileUnconnected()
{
    m_client->forceServerToChangeProtocol(0);
    m_client->sendDataToRadar("abc");
    connectClient(m_server->url());
    m_client->forceServerToChangeProtocol(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->textMessages.size(), 1, 5000);
    QTest::qWait(50);
    QCOMPARE(m_server->textMessages.size(), 1);
    QCOMPARE(m_server->binaryMessages.size(), 0);
}

void TestIVantorClient::frameTimeAndArea_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QDateTime>("frameTime"); // invalid: the reception time
    QTest::addColumn<QByteArray>("area");

    const QByteArray frame = QByteArray::fromHex("03ff080000000000000000");
    const QByteArray header = TimeStampHeader::encode(T0);
    QByteArray badDate = header;
    badDate[4] = 0;
    QTest::newRow("time-stamped") << header + frame << T0 << frame;
    QTest::newRow("month 0") << badDate + frame << QDateTime() << frame;
    QTest::newRow("exactly 12 bytes") << header << QDateTime() << header;
    QTest::newRow("no header") << frame << QDateTime() << frame;
}

void TestIVantorClient::frameTimeAndArea()
{
    QFETCH(QByteArray, message);
    QFETCH(QDateTime, frameTime);
    QFETCH(QByteArray, area);

    connectClient(m_server->url());
    const QDateTime before = QDateTime::currentDateTimeUtc();
    sendAndWait(message);
    const QDateTime after = QDateTime::currentDateTimeUtc();
    QCOMPARE(m_client->frameAreas.size(), 1);
    QCOMPARE(m_client->frameAreas.first(), area);
    const QDateTime got = m_client->frameTimes.first();
    QCOMPARE(got.timeSpec(), Qt::UTC);
    if (frameTime.isValid()) {
        QCOMPARE(got, frameTime);
    } else {
        QVERIFY(got >= before);
        QVERIFY(got <= after);
    }
}

void TestIVantorClient::hugeMessageRefused()
{
    connectClient(m_server->url(), 0);
    QSignalSpy disconnected(m_client.get(), &IVantorClient::disconnected);
    m_server->sendBinary(QByteArray(2 * 1024 * 1024, '\x02'));
    QVERIFY(disconnected.wait(5000));
    QCOMPARE(m_client->totalFrames(), quint64(0));
}

void TestIVantorClient::debounce_data()
{
    QTest::addColumn<QList<int>>("results");
    QTest::addColumn<QList<int>>("emitted");

    QTest::newRow("accepted on the third") << QList<int> { 2, 2, 2 } << QList<int> { 2 };
    QTest::newRow("two are not enough") << QList<int> { 2, 2 } << QList<int>();
    QTest::newRow("repeats change nothing") << QList<int> { 2, 2, 2, 2, 2, 2 } << QList<int> { 2 };
    QTest::newRow("alternating never accepted")
        << QList<int> { 1, 2, 1, 2, 1, 2, 1, 2 } << QList<int>();
    QTest::newRow("interrupted run starts over") << QList<int> { 2, 2, 1, 2, 2 } << QList<int>();
    QTest::newRow("wrong protocol") << QList<int> { -1, -1, -1 } << QList<int> { -1 };
    QTest::newRow("busy then working") << QList<int> { 1, 1, 1, 2, 2, 2 } << QList<int> { 1, 2 };
    QTest::newRow("three empty messages go offline")
        << QList<int> { 2, 2, 2, 0, 0, 0, 0 } << QList<int> { 2, 0 };
    QTest::newRow("empty messages while offline") << QList<int> { 0, 0, 0, 0 } << QList<int>();
    QTest::newRow("wrong protocol back to offline")
        << QList<int> { -1, -1, -1, 0, 0, 0 } << QList<int> { -1, 0 };
}

void TestIVantorClient::debounce()
{
    QFETCH(QList<int>, results);
    QFETCH(QList<int>, emitted);

    connectClient(m_server->url());
    QSignalSpy states(m_client.get(), &IVantorClient::radarStateChanged);
    for (int result : results)
        sendAndWait(result == 0 ? QByteArray() : QByteArray(1, char(result)));
    QList<int> got;
    for (const QList<QVariant> &args : qAsConst(states))
        got << args.first().toInt();
    QCOMPARE(got, emitted);
    QCOMPARE(m_client->radarState(), emitted.isEmpty() ? 0 : emitted.last());
}

void TestIVantorClient::offlineAfterSilenceDropsObjectsAndCommands()
{
    connectClient(m_server->url());
    sendAndWait(QByteArray(1, '\x02'), 3);
    QCOMPARE(m_client->radarState(), 2);
    m_client->addObject(3, T0);
    m_client->addObject(9, T0);
    holdCommands();
    m_client->queue(11, "one");
    m_client->queue(12, "two");
    m_client->reports.clear();

    QSignalSpy states(m_client.get(), &IVantorClient::radarStateChanged);
    QVERIFY(states.wait(5000));
    QCOMPARE(states.count(), 1);
    QCOMPARE(states.first().first().toInt(), 0);
    QCOMPARE(m_client->objectCount(), 0);
    QCOMPARE(m_client->queuedCommandCount(), 0);
    QCOMPARE(m_client->reports, (QList<Report> { { 11, 0, 255 }, { 12, 0, 255 } }));
    QCOMPARE(m_client->lastRadarCommand(), 0);
}

void TestIVantorClient::realTimersAndOfflineAfterTwoSeconds()
{
    auto client = std::make_unique<SpineClient>();
    const IVantorClient::Timing timing = client->timing();
    QCOMPARE(timing.pingIntervalMs, 2000);
    QCOMPARE(timing.offlineTimeoutMs, 2000);
    QCOMPARE(timing.sendDelayMs, 100);
    QCOMPARE(timing.commandTimeoutMs, 900);

    m_client = std::move(client);
    QSignalSpy latency(m_client.get(), &IVantorClient::pingLatency);
    connectClient(m_server->url());
    QElapsedTimer clock;
    sendAndWait(QByteArray(1, '\x02'), 2);
    clock.start();
    sendAndWait(QByteArray(1, '\x02'));
    QCOMPARE(m_client->radarState(), 2);
    QSignalSpy states(m_client.get(), &IVantorClient::radarStateChanged);

    // A command without an answer times out after 900 ms and is sent again 100 ms later.
    QElapsedTimer commandClock;
    commandClock.start();
    m_client->queue(5, "cmd");
    QTRY_COMPARE_WITH_TIMEOUT(m_server->binaryMessages.size(), 2, 5000);
    QVERIFY(commandClock.elapsed() >= 990);
    QCOMPARE(m_client->reports.at(2), (Report { 5, 2, -7 }));

    // Offline 2000 ms after the last binary message.
    QVERIFY(states.wait(5000));
    QVERIFY2(clock.elapsed() >= 1990, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(states.first().first().toInt(), 0);
    // The first ping goes out 2000 ms after connecting.
    QTRY_VERIFY_WITH_TIMEOUT(latency.count() >= 1, 3000);
}

void TestIVantorClient::objectExpiry_data()
{
    QTest::addColumn<int>("ageMs");
    QTest::addColumn<bool>("kept");
    QTest::newRow("499 ms") << 499 << true;
    QTest::newRow("exactly 500 ms") << 500 << true;
    QTest::newRow("501 ms") << 501 << false;
    QTest::newRow("500 ms ahead") << -500 << true;
    QTest::newRow("501 ms ahead after a clock step back") << -501 << false;
}

void TestIVantorClient::objectExpiry()
{
    QFETCH(int, ageMs);
    QFETCH(bool, kept);

    connectClient(m_server->url());
    m_client->addObject(4, T0);
    m_client->addObject(5, T0.addMSecs(ageMs - 400));
    sendAndWait(stamped(T0.addMSecs(ageMs), QByteArray(1, '\x01')));
    QCOMPARE(m_client->objectCount(), kept ? 2 : 1);
}

void TestIVantorClient::objectsEmittedInIdOrderOnlyWhenOnline()
{
    connectClient(m_server->url());
    QSignalSpy objects(m_client.get(), &IVantorClient::objectData);
    m_client->addObject(9, T0);
    m_client->addObject(2, T0);
    m_client->emitObjects();
    QCOMPARE(objects.count(), 0); // offline

    sendAndWait(stamped(T0, QByteArray(1, '\x01')), 3);
    m_client->addObject(200, T0);
    m_client->addObject(2, T0.addMSecs(1)); // overwritten in place
    m_client->emitObjects();
    QCOMPARE(objects.count(), 3);
    QCOMPARE(objects.at(0).at(0).value<quint8>(), quint8(2));
    QCOMPARE(objects.at(0).at(6).toDateTime(), T0.addMSecs(1));
    QCOMPARE(objects.at(1).at(0).value<quint8>(), quint8(9));
    QCOMPARE(objects.at(1).at(3).toDouble(), 12.0);
    QCOMPARE(objects.at(2).at(0).value<quint8>(), quint8(200));

    m_client->setEmitObjectsEnabled(false);
    m_client->emitObjects();
    QCOMPARE(objects.count(), 3);

    // A wrong protocol is not online either.
    m_client->setEmitObjectsEnabled(true);
    sendAndWait(stamped(T0, QByteArray(1, '\xff')), 3);
    QCOMPARE(m_client->radarState(), -1);
    QCOMPARE(m_client->objectCount(), 3);
    m_client->emitObjects();
    QCOMPARE(objects.count(), 3);
}

void TestIVantorClient::commandQueuedInProgressReceived()
{
    connectClient(m_server->url());
    m_client->queue(1, "first");
    m_client->queue(2, "second");
    QCOMPARE(m_client->lastRadarCommand(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->binaryMessages.size(), 1, 5000);
    QTest::qWait(30);
    QCOMPARE(m_server->binaryMessages.size(), 1); // one at a time
    m_server->sendBinary(QByteArray("ack\x00", 4));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->binaryMessages.size(), 2, 5000);
    QCOMPARE(m_server->binaryMessages, (QList<QByteArray> { "first", "second" }));
    QCOMPARE(m_client->lastRadarCommand(), 2);
    m_server->sendBinary(QByteArray("ack\x00", 4));
    QTRY_COMPARE_WITH_TIMEOUT(m_client->lastRadarCommand(), 0, 5000);
    QCOMPARE(m_client->reports,
        (QList<Report> {
            { 1, 1, 0 }, { 1, 2, 0 }, { 2, 1, 0 }, { 1, 3, 0 }, { 2, 2, 0 }, { 2, 3, 0 } }));
}

void TestIVantorClient::ackRetries_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<QByteArray>("ackCodes");
    QTest::addColumn<QList<Report>>("reports");
    QTest::newRow("busy ack resent without using an attempt")
        << 8 << 1 << QByteArray("\xff\xff\x00", 3)
        << QList<Report> { { 8, 1, 0 }, { 8, 2, 0 }, { 8, 2, 255 }, { 8, 2, 0 }, { 8, 2, 255 },
               { 8, 2, 0 }, { 8, 3, 0 } };
    QTest::newRow("error ack retried")
        << 9 << 2 << QByteArray("\x07\x09")
        << QList<Report> { { 9, 1, 0 }, { 9, 2, 0 }, { 9, 2, 7 }, { 9, 2, 0 }, { 9, 4, 9 } };
}

void TestIVantorClient::ackRetries()
{
    QFETCH(int, command);
    QFETCH(int, attempts);
    QFETCH(QByteArray, ackCodes);
    QFETCH(QList<Report>, reports);

    connectClient(m_server->url());
    m_client->queue(command, "cmd", attempts);
    // Every acknowledgement but the last is answered by sending the command again.
    for (int i = 0; i < ackCodes.size(); ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(m_server->binaryMessages.size(), i + 1, 5000);
        m_server->sendBinary(QByteArray("ack") + ackCodes.at(i));
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_client->lastRadarCommand(), 0, 5000);
    QCOMPARE(m_client->reports, reports);
}

void TestIVantorClient::fiveTimeoutsThenError()
{
    connectClient(m_server->url());
    m_client->queue(3, "diag");
    m_client->queue(4, "next");
    QTRY_COMPARE_WITH_TIMEOUT(m_server->binaryMessages.size(), 6, 5000);
    QList<Report> expected { { 3, 1, 0 }, { 3, 2, 0 }, { 4, 1, 0 } };
    for (int i = 0; i < 4; ++i)
        expected << Report { 3, 2, -7 } << Report { 3, 2, 0 };
    expected << Report { 3, 4, -7 } << Report { 4, 2, 0 };
    QCOMPARE(m_client->reports.mid(0, expected.size()), expected);
    QCOMPARE(m_server->binaryMessages.mid(0, 6),
        (QList<QByteArray> { "diag", "diag", "diag", "diag", "diag", "next" }));
}

void TestIVantorClient::notConnectedWhileReconnecting()
{
    QSignalSpy notconnected(m_client.get(), &IVantorClient::notconnected);
    QVERIFY(m_client->connectToServer(unusedPortUrl(), 5000));
    QVERIFY(notconnected.wait(5000));
    m_client->queue(23, "sens");
    QTRY_COMPARE_WITH_TIMEOUT(m_client->lastRadarCommand(), 0, 5000);
    QList<Report> expected { { 23, 1, 0 } };
    for (int i = 0; i < 4; ++i)
        expected << Report { 23, 2, -3 };
    expected << Report { 23, 4, -3 };
    QCOMPARE(m_client->reports, expected);
}

void TestIVantorClient::commandsFailAtOnceWithoutLink()
{
    m_client->queue(1, "a");
    m_client->queue(2, "b");
    QCOMPARE(m_client->reports,
        (QList<Report> { { 1, 1, 0 }, { 1, 4, -3 }, { 2, 1, 0 }, { 2, 4, -3 } }));

    connectClient(m_server->url());
    m_client->disconnectFromServer();
    m_client->reports.clear();
    m_client->queue(7, "c");
    QCOMPARE(m_client->reports, (QList<Report> { { 7, 1, 0 }, { 7, 4, -3 } }));
    QCOMPARE(m_client->queuedCommandCount(), 0);
}

void TestIVantorClient::deleteCommandsDiscardsEach()
{
    connectClient(m_server->url());
    holdCommands();
    m_client->queue(1, "a");
    m_client->queue(2, "b");
    m_client->queue(3, "c");
    m_client->reports.clear();
    m_client->deleteCommands();
    QCOMPARE(m_client->reports, (QList<Report> { { 1, 0, 255 }, { 2, 0, 255 }, { 3, 0, 255 } }));
    QCOMPARE(m_client->queuedCommandCount(), 0);
    m_client->reports.clear();
    m_client->queue(4, "d");
    QTRY_COMPARE_WITH_TIMEOUT(m_server->binaryMessages.size(), 2, 5000);
    QCOMPARE(m_server->binaryMessages, (QList<QByteArray> { "a", "d" }));
    QCOMPARE(m_client->reports.mid(0, 2), (QList<Report> { { 4, 1, 0 }, { 4, 2, 0 } }));
}

void TestIVantorClient::statistics()
{
    connectClient(m_server->url());
    QSignalSpy stats(m_client.get(), &IVantorClient::frameStats);
    sendAndWait(QByteArray(1, '\x01'), 2);
    m_client->statValidFrame();
    m_client->emitFrameStats();
    QCOMPARE(stats.count(), 0);
    m_client->setEmitStatsEnabled(true);
    m_client->emitFrameStats();
    QCOMPARE(stats.count(), 1);
    QCOMPARE(stats.first(), (QList<QVariant> { quint64(2), quint64(1) }));
    m_client->resetStatistics();
    m_client->emitFrameStats();
    QCOMPARE(stats.last(), (QList<QVariant> { quint64(0), quint64(0) }));
}

void TestIVantorClient::anyCmd_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("mode"); // -1: sent through sendAnyCmdWithNoArgs()
    QTest::addColumn<QString>("slot");
    const QList<QPair<int, QString>> noArgs { { 1, "GetHardwareInfo" }, { 2, "GetFirmwareInfo" },
        { 3, "SelfDiagnostics" }, { 5, "GetImitatorMode" }, { 7, "GetFakeTargetsMode" },
        { 8, "SaveToFlash" }, { 9, "Restart" }, { 23, "GetRadarSensitivity" },
        { 25, "GetFrequencyIndex" }, { 27, "GetPolygonUsage" }, { 34, "ReinitPolygons" },
        { 36, "GetCalibrationCommand" }, { 37, "GetCalibrationState" },
        { 41, "ResetCalibrationParams" }, { 42, "ApplyCalibrationParams" }, { 4, "" }, { 0, "" },
        { 103, "" }, { -1, "" } };
    for (const auto &row : noArgs)
        QTest::addRow("%d", row.first) << row.first << -1 << row.second;
    QTest::newRow("imitator") << 4 << 3 << "SetImitatorMode 3";
    QTest::newRow("fake targets on") << 6 << 2 << "SetFakeTargetsMode 1";
    QTest::newRow("fake targets off") << 6 << 0 << "SetFakeTargetsMode 0";
    QTest::newRow("polygon usage") << 26 << 0xA5 << "SetPolygonUsage 165";
    QTest::newRow("read command") << 5 << 1 << "";
    QTest::newRow("unknown") << 99 << 1 << "";
}

void TestIVantorClient::anyCmd()
{
    QFETCH(int, command);
    QFETCH(int, mode);
    QFETCH(QString, slot);
    if (mode < 0)
        m_client->sendAnyCmdWithNoArgs(command);
    else
        m_client->sendAnySwitchCmd(command, quint8(mode));
    QCOMPARE(m_client->slotCalls, slot.isEmpty() ? QStringList() : QStringList { slot });
}

void TestIVantorClient::protocolConversion_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("protocol");
    QTest::newRow("1.5") << 1.5 << 1500000;
    QTest::newRow("-2.25") << -2.25 << -2250000;
    QTest::newRow("rounded") << 0.0000004 << 0;
    QTest::newRow("rounded up") << 0.0000006 << 1;
    QTest::newRow("too large") << 1e12 << std::numeric_limits<int>::max();
    QTest::newRow("too small") << -1e12 << std::numeric_limits<int>::min();
    QTest::newRow("not a number") << qQNaN() << 0;
}

void TestIVantorClient::protocolConversion()
{
    QFETCH(double, value);
    QFETCH(int, protocol);
    QCOMPARE(IVantorClient::doubleToProtocol(value), protocol);
    if (qAbs(value) < 1000)
        QCOMPARE(IVantorClient::protocolToDouble(protocol), protocol / 1000000.0);
}

void TestIVantorClient::stateHelpers()
{
    for (int state : { -1, 0, 1, 2 }) {
        QCOMPARE(IVantorClient::isOnline(state), state >= 1);
        QCOMPARE(IVantorClient::isWorking(state), state == 2);
    }
    QCOMPARE(IVantorClient::protocolToDouble(-1500000), -1.5);
}

QTEST_GUILESS_MAIN(TestIVantorClient)
#include "tst_ivantorclient.moc"
