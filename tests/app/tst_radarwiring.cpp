#include "radarsimulator.h"
#include "radarwiring.h"
#include "statelabel.h"
#include "testviews.h"
#include "vantorserialpmxprotocolclient.h"
#include "vantorserialqelprotocolclient.h"

#include <QMetaMethod>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using Emit = std::function<void(IVantorClient &)>;
Q_DECLARE_METATYPE(Emit)
Q_DECLARE_METATYPE(QMetaMethod)

namespace {

constexpr int Wait = 10000;

// The number of connections of each of an object's signals, through QObject's
// protected receivers().
struct Receivers : QObject
{
    static QVector<int> of(const QObject *object)
    {
        QVector<int> counts;
        const QMetaObject *meta = object->metaObject();
        for (int i = 0; i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() != QMetaMethod::Signal)
                continue;
            const QByteArray signal = QByteArray::number(QSIGNAL_CODE) + method.methodSignature();
            counts += (object->*(&Receivers::receivers))(signal.constData());
        }
        return counts;
    }
};

} // namespace

class TestRadarWiring : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void simulatorReachesTheDisplays();
    void panelsAndWindowReachTheClient();
    void results_data();
    void results();
    void detachLeavesNothingConnected();
    void attachReplacesTheClient();
    void deletedClientIsForgotten();

private:
    // The senders whose connections attach() makes: the client, the requesting panels
    // and the wiring's own request signals.
    QVector<QVector<int>> senderCounts(const IVantorClient &client) const;
    QUrl startSimulator();

    std::unique_ptr<TestViews> m_views;
    std::unique_ptr<RadarWiring> m_wiring;
    std::unique_ptr<RadarSimulator> m_sim;
};

void TestRadarWiring::init()
{
    m_views = std::make_unique<TestViews>();
    m_wiring = std::make_unique<RadarWiring>(m_views->views());
}

void TestRadarWiring::cleanup()
{
    m_wiring.reset();
    m_views.reset();
    m_sim.reset();
}

QUrl TestRadarWiring::startSimulator()
{
    SimOptions options;
    options.server.port = 0;
    options.server.stateStepMs = 0;
    options.radar.cycleMs = 20;
    m_sim = std::make_unique<RadarSimulator>(options);
    QString error;
    if (!m_sim->start(&error))
        qWarning() << error;
    return m_sim->url();
}

QVector<QVector<int>> TestRadarWiring::senderCounts(const IVantorClient &client) const
{
    const QList<const QObject *> senders = { &client, m_wiring.get(), &m_views->serverState,
        &m_views->sendCommands, &m_views->saveAndRestart, &m_views->setPosition,
        &m_views->radarTuning, &m_views->setPolygon };
    QVector<QVector<int>> counts;
    for (const QObject *sender : senders)
        counts += Receivers::of(sender);
    return counts;
}

// A radar on the simulator: the server widgets, the radar state, the frames and the
// window's relays all hear the client.
void TestRadarWiring::simulatorReachesTheDisplays()
{
    const QUrl url = startSimulator();
    VantorSerialQelProtocolClient client;
    m_wiring->attach(&client);
    QCOMPARE(m_wiring->client(), &client);
    QSignalSpy connected(m_wiring.get(), &RadarWiring::clientConnected);
    QSignalSpy states(m_wiring.get(), &RadarWiring::radarStateChanged);
    QSignalSpy sorted(&m_views->roadScene, &RoadScene::frameSorted);
    QVERIFY(client.connectToServer(url, 2000));

    QTRY_COMPARE_WITH_TIMEOUT(
        m_views->radarState.text(), RadarStateWidget::stateText(IVantorClient::Working), Wait);
    QCOMPARE(connected.count(), 1);
    QCOMPARE(states.last().at(0).toInt(), int(IVantorClient::Working));
    QVERIFY(m_views->serverState.text().contains(QStringLiteral("Working on")));
    QVERIFY(m_views->serverState.hardwareInfoButton()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(m_views->objectsTable.model()->rowCount() > 0, Wait);
    // The same frames reach the road scene, which sorts them for the scheme.
    QTRY_VERIFY_WITH_TIMEOUT(!sorted.isEmpty(), Wait);
    QVERIFY(!sorted.last().at(0).value<RoadObjectFrame>().objects.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!m_views->generalInfo.cycleText().isEmpty(), Wait);
    QTRY_VERIFY_WITH_TIMEOUT(!m_views->generalInfo.uptimeText().isEmpty(), Wait);
}

void TestRadarWiring::panelsAndWindowReachTheClient()
{
    const QUrl url = startSimulator();
    VantorSerialQelProtocolClient client;
    m_wiring->attach(&client);
    QVERIFY(client.connectToServer(url, 2000));
    QTRY_COMPARE_WITH_TIMEOUT(
        m_views->radarState.text(), RadarStateWidget::stateText(IVantorClient::Working), Wait);

    // The panel asks, the radar answers, the panel shows the answer.
    emit m_views->radarTuning.getFrequencyIndex();
    QTRY_COMPARE_WITH_TIMEOUT(
        m_views->radarTuning.frequencyIndexLabel()->status().stage(), ValueStatus::FromRadar, Wait);
    m_views->serverState.hardwareInfoButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(
        m_views->serverState.text().contains(QStringLiteral("VANTOR RS-24 HW rev.3")), Wait);

    // The window's request reaches the server, which then speaks the other protocol.
    emit m_wiring->forceServerToChangeProtocol(1);
    QTRY_COMPARE_WITH_TIMEOUT(m_views->serverProtocol.text(), QString("[SerP]"), Wait);
}

void TestRadarWiring::results_data()
{
    QTest::addColumn<Emit>("emitResult");
    QTest::addColumn<QMetaMethod>("relay");
    QTest::addColumn<bool>("queued");

    QTest::newRow("hardware info: queued")
        << Emit([](IVantorClient &c) { emit c.hardwareInfo(QStringLiteral("HW 1")); })
        << QMetaMethod::fromSignal(&RadarWiring::hardwareInfoResult) << true;
    QTest::newRow("firmware info: queued")
        << Emit([](IVantorClient &c) { emit c.firmwareInfo(QStringLiteral("FW 1")); })
        << QMetaMethod::fromSignal(&RadarWiring::firmwareInfoResult) << true;
    QTest::newRow("self-diagnosis: queued")
        << Emit([](IVantorClient &c) { emit c.selfDiagnosticsResult(1); })
        << QMetaMethod::fromSignal(&RadarWiring::selfDiagnosticsResult) << true;
    QTest::newRow("imitator mode: direct")
        << Emit([](IVantorClient &c) { emit c.imitatorModeChanged(2); })
        << QMetaMethod::fromSignal(&RadarWiring::imitatorModeChanged) << false;
    QTest::newRow("fake targets: direct")
        << Emit([](IVantorClient &c) { emit c.fakeTargetsModeChanged(true); })
        << QMetaMethod::fromSignal(&RadarWiring::fakeTargetsModeChanged) << false;
}

// The results that open a modal box in the window reach it after the client's signal
// has returned; the others at once.
void TestRadarWiring::results()
{
    QFETCH(Emit, emitResult);
    QFETCH(QMetaMethod, relay);
    QFETCH(bool, queued);

    VantorSerialQelProtocolClient client;
    m_wiring->attach(&client);
    QSignalSpy spy(m_wiring.get(), relay);
    emitResult(client);
    QCOMPARE(spy.count(), queued ? 0 : 1);
    QTRY_COMPARE(spy.count(), 1);
}

void TestRadarWiring::detachLeavesNothingConnected()
{
    VantorSerialQelProtocolClient client;
    const QVector<QVector<int>> before = senderCounts(client);

    m_wiring->attach(&client);
    QVERIFY(senderCounts(client) != before);
    QCOMPARE(m_wiring->detach(), &client);

    QCOMPARE(senderCounts(client), before);
    QVERIFY(!m_wiring->client());
    QVERIFY(!m_views->frameCollector.client());
    // Nothing the client says reaches a display any more.
    emit client.radarStateChanged(IVantorClient::Working);
    QCOMPARE(m_views->radarState.text(), RadarStateWidget::stateText(IVantorClient::Offline));
}

void TestRadarWiring::attachReplacesTheClient()
{
    VantorSerialQelProtocolClient first;
    VantorSerialPmxProtocolClient second;
    const QVector<QVector<int>> firstBefore = senderCounts(first);
    const QVector<int> secondBefore = Receivers::of(&second);

    m_wiring->attach(&first);
    m_wiring->attach(&second);

    QCOMPARE(m_wiring->client(), &second);
    QCOMPARE(m_views->frameCollector.client(), &second);
    QCOMPARE(Receivers::of(&first), firstBefore.first());
    QVERIFY(Receivers::of(&second) != secondBefore);
    emit second.usedProtocolChanged(1);
    QCOMPARE(m_views->serverProtocol.text(), QString("[SerP]"));
    emit first.usedProtocolChanged(0);
    QCOMPARE(m_views->serverProtocol.text(), QString("[SerP]"));
    // A frame of the first client is no longer collected.
    QSignalSpy collected(&m_views->frameCollector, &RoadObjectFrameCollector::frameCollected);
    emit first.frameStarted();
    emit first.frameFinished();
    QCOMPARE(collected.count(), 0);
    emit second.frameStarted();
    emit second.frameFinished();
    QCOMPARE(collected.count(), 1);
}

void TestRadarWiring::deletedClientIsForgotten()
{
    auto client = std::make_unique<VantorSerialQelProtocolClient>();
    m_wiring->attach(client.get());
    client.reset();
    QVERIFY(!m_wiring->client());
    QVERIFY(!m_wiring->detach());
    emit m_views->radarTuning.getFrequencyIndex();
}

QTEST_MAIN(TestRadarWiring)
#include "tst_radarwiring.moc"
