#include "parameterstore.h"
#include "polygonvaluesmodel.h"
#include "radaremulator.h"
#include "radarsimulator.h"
#include "radartuningwidget.h"
#include "saveandrestartwidget.h"
#include "sendcommandswidget.h"
#include "setpolygonwidget.h"
#include "setpositionwidget.h"
#include "simtestsupport.h"
#include "statelabel.h"
#include "vantorserialqelprotocolclient.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <functional>
#include <memory>

namespace {

using SimTest::Wait;

// The panels wired to the client as the main window wires them.
struct Panels
{
    SendCommandsWidget commands;
    SaveAndRestartWidget save;
    SetPositionWidget position;
    RadarTuningWidget tuning;
    SetPolygonWidget polygons;

    void wire(IVantorClient *c)
    {
        QObject::connect(
            c, &IVantorClient::radarStateChanged, &commands, &SendCommandsWidget::showRadarState);
        QObject::connect(
            c, &IVantorClient::radarStateChanged, &save, &SaveAndRestartWidget::showRadarState);
        QObject::connect(
            c, &IVantorClient::radarStateChanged, &position, &SetPositionWidget::showRadarState);
        QObject::connect(
            c, &IVantorClient::radarStateChanged, &tuning, &RadarTuningWidget::showRadarState);
        QObject::connect(
            c, &IVantorClient::radarStateChanged, &polygons, &SetPolygonWidget::showRadarState);
        QObject::connect(c, &IVantorClient::radarCommandStateChanged, &commands,
            &SendCommandsWidget::showCommandState);
        QObject::connect(c, &IVantorClient::radarCommandStateChanged, &save,
            &SaveAndRestartWidget::showCommandState);
        QObject::connect(c, &IVantorClient::radarCommandStateChanged, &position,
            &SetPositionWidget::showCommandState);
        QObject::connect(c, &IVantorClient::radarCommandStateChanged, &tuning,
            &RadarTuningWidget::showCommandState);
        QObject::connect(c, &IVantorClient::radarCommandStateChanged, &polygons,
            &SetPolygonWidget::showCommandState);
        QObject::connect(c, &IVantorClient::imitatorModeChanged, &commands,
            &SendCommandsWidget::showImitatorMode);
        QObject::connect(c, &IVantorClient::fakeTargetsModeChanged, &commands,
            &SendCommandsWidget::showFakeTargetsMode);
        QObject::connect(
            c, &IVantorClient::radarPosition, &position, &SetPositionWidget::showPosition);
        QObject::connect(
            c, &IVantorClient::frequencyIndex, &tuning, &RadarTuningWidget::showFrequencyIndex);
        QObject::connect(
            c, &IVantorClient::radarSensitivity, &tuning, &RadarTuningWidget::showRadarSensitivity);
        QObject::connect(
            c, &IVantorClient::polygonUsage, &polygons, &SetPolygonWidget::showPolygonUsage);
        QObject::connect(c, &IVantorClient::polygonTreatParam, &polygons,
            &SetPolygonWidget::showPolygonTreatParam);
        QObject::connect(c, &IVantorClient::polygonSpeedParam, &polygons,
            &SetPolygonWidget::showPolygonSpeedParam);
        QObject::connect(c, &IVantorClient::polygonPointParam, &polygons,
            &SetPolygonWidget::showPolygonPointParam);

        QObject::connect(&commands, &SendCommandsWidget::commandWithNoArgs, c,
            &IVantorClient::sendAnyCmdWithNoArgs);
        QObject::connect(
            &commands, &SendCommandsWidget::switchCommand, c, &IVantorClient::sendAnySwitchCmd);
        QObject::connect(&save, &SaveAndRestartWidget::commandWithNoArgs, c,
            &IVantorClient::sendAnyCmdWithNoArgs);
        QObject::connect(
            &position, &SetPositionWidget::setPosition, c, &IVantorClient::sendCmdSetPosition);
        QObject::connect(
            &position, &SetPositionWidget::getPosition, c, &IVantorClient::sendCmdGetPosition);
        QObject::connect(&tuning, &RadarTuningWidget::setFrequencyIndex, c,
            &IVantorClient::sendCmdSetFrequencyIndex);
        QObject::connect(&tuning, &RadarTuningWidget::getFrequencyIndex, c,
            &IVantorClient::sendCmdGetFrequencyIndex);
        QObject::connect(&tuning, &RadarTuningWidget::setRadarSensitivity, c,
            &IVantorClient::sendCmdSetRadarSensitivity);
        QObject::connect(&tuning, &RadarTuningWidget::getRadarSensitivity, c,
            &IVantorClient::sendCmdGetRadarSensitivity);
        QObject::connect(&polygons, &SetPolygonWidget::setPolygonUsage, c,
            &IVantorClient::sendCmdSetPolygonUsage);
        QObject::connect(&polygons, &SetPolygonWidget::getPolygonUsage, c,
            &IVantorClient::sendCmdGetPolygonUsage);
        QObject::connect(&polygons, &SetPolygonWidget::setPolygonTreatParam, c,
            &IVantorClient::sendCmdSetPolygonTreatParam);
        QObject::connect(&polygons, &SetPolygonWidget::getPolygonTreatParam, c,
            &IVantorClient::sendCmdGetPolygonTreatParam);
        QObject::connect(&polygons, &SetPolygonWidget::setPolygonSpeedParam, c,
            &IVantorClient::sendCmdSetPolygonSpeedParam);
        QObject::connect(&polygons, &SetPolygonWidget::getPolygonSpeedParam, c,
            &IVantorClient::sendCmdGetPolygonSpeedParam);
        QObject::connect(&polygons, &SetPolygonWidget::setPolygonPointParam, c,
            &IVantorClient::sendCmdSetPolygonPointParam);
        QObject::connect(&polygons, &SetPolygonWidget::getPolygonPointParam, c,
            &IVantorClient::sendCmdGetPolygonPointParam);
        QObject::connect(
            &polygons, &SetPolygonWidget::reinitPolygons, c, &IVantorClient::sendCmdReinitPolygons);
    }
};

template<typename T> T *child(QWidget *parent, const QString &text)
{
    for (T *w : parent->findChildren<T *>()) {
        if (w->property("text").toString() == text)
            return w;
    }
    return nullptr;
}

void click(QWidget *parent, const QString &text)
{
    QPushButton *button = child<QPushButton>(parent, text);
    QVERIFY2(button, qPrintable(text));
    QVERIFY(button->isEnabled());
    button->click();
}

// The spin box in the grid row of the label text.
QAbstractSpinBox *spinOfRow(QWidget *panel, int index)
{
    return panel->findChildren<QAbstractSpinBox *>().value(index);
}

// One user action on the panels, the label that must end with `finalText`, and a check
// that the simulated radar (or the panel) holds the result.
using Action = std::function<void(Panels &)>;
using Check = std::function<bool(Panels &, RadarEmulator &)>;
using TextOf = std::function<QString(Panels &)>;

const int TreatRow = PolygonValuesModel::rowOf(RadarParameters::PolygonTreatParam, 1);
const int SpeedRow = PolygonValuesModel::rowOf(RadarParameters::PolygonSpeedParam, 1);
const int PointRow = PolygonValuesModel::rowOf(RadarParameters::PolygonPointParam, 9);

void setPolygonRow(Panels &p, int polygon, int row, double value)
{
    p.polygons.setCurrentPolygon(polygon);
    PolygonValuesModel *m = p.polygons.model();
    QVERIFY(m->setData(m->index(row, int(PolygonValuesModel::Column::Value)), value));
    p.polygons.view()->selectRow(row);
}

QString polygonStatus(Panels &p, int polygon, int row)
{
    return p.polygons.model()->status(polygon, row).text();
}

} // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Check)
Q_DECLARE_METATYPE(TextOf)

class TestPanelCommands : public QObject
{
    Q_OBJECT

private:
    void startWorking(const SimOptions &options);

    std::unique_ptr<RadarSimulator> m_sim;
    std::unique_ptr<VantorSerialQelProtocolClient> m_client;
    std::unique_ptr<Panels> m_panels;

private slots:
    void cleanup();
    void commandReachesRadar_data();
    void commandReachesRadar();
    void refusedCommandShowsError();
    void declinedConfirmationSendsNothing();
    void autoGetRequestsOnce_data();
    void autoGetRequestsOnce();
    void radarValuesOutsideTheFieldsAreRefused();
};

void TestPanelCommands::cleanup()
{
    m_panels.reset();
    m_client.reset();
    m_sim.reset();
}

void TestPanelCommands::startWorking(const SimOptions &options)
{
    m_sim = std::make_unique<RadarSimulator>(options);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_client = std::make_unique<VantorSerialQelProtocolClient>();
    // Whole polygons take dozens of commands; a short pause between them keeps the test quick.
    IVantorClient::Timing timing;
    timing.sendDelayMs = 10;
    m_client->setTimingForTests(timing);
    m_panels = std::make_unique<Panels>();
    m_panels->wire(m_client.get());
    m_panels->save.setConfirmation([](const QString &, const QString &) { return true; });
    QVERIFY(m_client->connectToServer(m_sim->url(), 200));
    QTRY_COMPARE_WITH_TIMEOUT(m_client->radarState(), 2, Wait);
}

void TestPanelCommands::commandReachesRadar_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<TextOf>("stateText");
    QTest::addColumn<QString>("finalText");
    QTest::addColumn<Check>("check");

    const auto store = [](RadarEmulator &r) -> ParameterStore & { return r.parameters(); };

    QTest::newRow("set frequency index")
        << Action([](Panels &p) {
               static_cast<QSpinBox *>(spinOfRow(&p.tuning, 0))->setValue(7);
               click(&p.tuning, "Set");
           })
        << TextOf([](Panels &p) { return p.tuning.frequencyIndexLabel()->text(); })
        << "command received"
        << Check([=](Panels &, RadarEmulator &r) { return store(r).value(65, 36) == 7; });
    QTest::newRow("get sensitivity")
        << Action([](Panels &p) {
               static_cast<QSpinBox *>(spinOfRow(&p.tuning, 1))->setValue(1);
               p.tuning.findChildren<QPushButton *>().at(3)->click();
           })
        << TextOf([](Panels &p) { return p.tuning.radarSensitivityLabel()->text(); })
        << "received from radar"
        << Check([](Panels &p, RadarEmulator &) { return p.tuning.radarSensitivityValue() == 50; });
    QTest::newRow("set position") << Action([](Panels &p) {
        p.position.fillPosition(7.5, 1.25, -3.5, -90.0, 5.0, 0.5);
        click(&p.position, "&Set position");
    }) << TextOf([](Panels &p) {
        return p.position.stateLabel(SetPositionWidget::Azimuth)->text();
    }) << "command received" << Check([](Panels &, RadarEmulator &r) {
        const RadarPosition pos = r.parameters().position();
        return pos.height == 750 && pos.xOffset == 125 && pos.yOffset == -350
            && pos.azimuth == 27000 && pos.altitude == 500 && pos.roll == 50;
    });
    QTest::newRow("get position") << Action([](Panels &p) {
        click(&p.position, "&Get position");
    }) << TextOf([](Panels &p) { return p.position.stateLabel(SetPositionWidget::Height)->text(); })
                                  << "received from radar" << Check([](Panels &p, RadarEmulator &) {
                                         return p.position.value(SetPositionWidget::Height) == 6.0;
                                     });
    QTest::newRow("set polygon usage")
        << Action([](Panels &p) {
               p.polygons.showPolygonUsage(0x05);
               click(&p.polygons, "Set usage");
           })
        << TextOf([](Panels &p) { return p.polygons.usageLabel()->text(); }) << "command received"
        << Check([=](Panels &, RadarEmulator &r) { return store(r).value(70, 0) == 5; });
    QTest::newRow("set treat parameter")
        << Action([](Panels &p) {
               setPolygonRow(p, 2, TreatRow, 9);
               click(&p.polygons, "Set selected");
           })
        << TextOf([](Panels &p) { return polygonStatus(p, 2, TreatRow); }) << "command received"
        << Check([=](Panels &, RadarEmulator &r) { return store(r).value(70, 20) == 9; });
    QTest::newRow("set speed parameter")
        << Action([](Panels &p) {
               setPolygonRow(p, 2, SpeedRow, 1.5);
               click(&p.polygons, "Set selected");
           })
        << TextOf([](Panels &p) { return polygonStatus(p, 2, SpeedRow); }) << "command received"
        << Check([=](Panels &, RadarEmulator &r) { return store(r).value(70, 52) == 1500000; });
    QTest::newRow("set and get whole polygon") << Action([](Panels &p) {
        setPolygonRow(p, 1, PointRow, -12.5);
        click(&p.polygons, "Set polygon");
        click(&p.polygons, "Get polygon");
    }) << TextOf([](Panels &p) {
        return polygonStatus(p, 1, PointRow);
    }) << "received from radar" << Check([=](Panels &p, RadarEmulator &r) {
        return store(r).value(71, 137) == -12500000
            && p.polygons.model()->value(1, PointRow) == -12.5;
    });
    QTest::newRow("set imitator mode")
        << Action([](Panels &p) {
               p.commands.findChild<QComboBox *>()->setCurrentIndex(2);
               p.commands.findChildren<QPushButton *>().at(3)->click();
           })
        << TextOf([](Panels &p) { return p.commands.stateLabel(4)->text(); }) << "command received"
        << Check([=](Panels &, RadarEmulator &r) { return store(r).value(151, 0) == 2; });
    QTest::newRow("get demo mode")
        << Action([](Panels &p) {
               p.commands.findChildren<QComboBox *>().at(1)->setCurrentIndex(1);
               p.commands.findChildren<QPushButton *>().at(6)->click();
           })
        << TextOf([](Panels &p) { return p.commands.stateLabel(7)->text(); })
        << "received from radar"
        << Check([](Panels &p, RadarEmulator &) { return !p.commands.fakeTargetsModeValue(); });
    QTest::newRow("hardware info")
        << Action([](Panels &p) { p.commands.findChildren<QPushButton *>().at(0)->click(); })
        << TextOf([](Panels &p) { return p.commands.stateLabel(1)->text(); }) << "command received"
        << Check([](Panels &, RadarEmulator &) { return true; });
    QTest::newRow("save to flash")
        << Action([](Panels &p) { click(&p.save, "Save to &flash"); })
        << TextOf([](Panels &p) { return p.save.saveLabel()->text(); }) << "command received"
        << Check([](Panels &, RadarEmulator &) { return true; });
}

void TestPanelCommands::commandReachesRadar()
{
    QFETCH(Action, action);
    QFETCH(TextOf, stateText);
    QFETCH(QString, finalText);
    QFETCH(Check, check);
    startWorking(SimTest::quickOptions(3));
    QSignalSpy states(m_client.get(), &IVantorClient::radarCommandStateChanged);

    action(*m_panels);
    QTRY_COMPARE_WITH_TIMEOUT(stateText(*m_panels), finalText, Wait);
    QVERIFY(check(*m_panels, *m_sim->radar()));
    // Every step was reported on the way: queued, then in progress.
    QVERIFY(!states.isEmpty());
    QCOMPARE(states.first().at(1).toInt(), int(IVantorClient::Queued));
}

void TestPanelCommands::refusedCommandShowsError()
{
    SimOptions options = SimTest::quickOptions(4);
    options.radar.faults.errorCode = 2;
    startWorking(options);

    click(&m_panels->tuning, "Set");
    QTRY_COMPARE_WITH_TIMEOUT(
        m_panels->tuning.frequencyIndexLabel()->text(), "error occurred (code 2)", Wait);
    QCOMPARE(m_panels->tuning.frequencyIndexLabel()->status().stage(), ValueStatus::Failed);
}

void TestPanelCommands::declinedConfirmationSendsNothing()
{
    startWorking(SimTest::quickOptions(5));
    m_panels->save.setConfirmation([](const QString &, const QString &) { return false; });
    QSignalSpy sent(&m_panels->save, &SaveAndRestartWidget::commandWithNoArgs);
    click(&m_panels->save, "Save to &flash");
    click(&m_panels->save, "&Restart radar");
    QCOMPARE(sent.size(), 0);
    QCOMPARE(m_client->queuedCommandCount(), 0);
}

void TestPanelCommands::autoGetRequestsOnce_data()
{
    QTest::addColumn<bool>("autoGet");
    QTest::addColumn<QList<int>>("radarStates");
    QTest::addColumn<int>("requests");

    QTest::newRow("starts working") << true << QList<int> { 0, 1, 2 } << 1;
    QTest::newRow("starts working twice") << true << QList<int> { 2, 2, 1, 2 } << 2;
    QTest::newRow("option off") << false << QList<int> { 2 } << 0;
    QTest::newRow("never working") << true << QList<int> { 1, -1, 0 } << 0;
}

void TestPanelCommands::autoGetRequestsOnce()
{
    QFETCH(bool, autoGet);
    QFETCH(QList<int>, radarStates);
    QFETCH(int, requests);
    Panels p;
    QSignalSpy position(&p.position, &SetPositionWidget::getPosition);
    QSignalSpy frequency(&p.tuning, &RadarTuningWidget::getFrequencyIndex);
    QSignalSpy sensitivity(&p.tuning, &RadarTuningWidget::getRadarSensitivity);
    QSignalSpy usage(&p.polygons, &SetPolygonWidget::getPolygonUsage);
    QSignalSpy points(&p.polygons, &SetPolygonWidget::getPolygonPointParam);
    p.position.setAutoGetData(autoGet);
    p.tuning.setAutoGetData(autoGet);
    p.polygons.setAutoGetData(autoGet);
    for (int state : radarStates) {
        p.position.showRadarState(state);
        p.tuning.showRadarState(state);
        p.polygons.showRadarState(state);
    }
    QCOMPARE(position.size(), requests);
    QCOMPARE(frequency.size(), requests);
    QCOMPARE(sensitivity.size(), requests);
    QCOMPARE(usage.size(), requests);
    QCOMPARE(points.size(), requests * PolygonValuesModel::PointParamCount);
}

void TestPanelCommands::radarValuesOutsideTheFieldsAreRefused()
{
    Panels p;
    p.position.fillPosition(2.0, 0, 0, 0, 0, 0);
    p.position.fillPosition(qQNaN(), 0, 0, 0, 0, 0);
    QCOMPARE(p.position.value(SetPositionWidget::Height), 2.0);
    QCOMPARE(
        p.position.stateLabel(SetPositionWidget::Height)->status().stage(), ValueStatus::Refused);
    // Angles come back from the radar in 0..360 and show in -180..180.
    p.position.showPosition(6.0, 0, 0, 270.0, 355.0, 0);
    QCOMPARE(p.position.value(SetPositionWidget::Azimuth), -90.0);
    QCOMPARE(p.position.value(SetPositionWidget::Altitude), -5.0);
    p.tuning.showFrequencyIndex(99);
    QCOMPARE(p.tuning.frequencyIndexValue(), 0);
    QCOMPARE(p.tuning.frequencyIndexLabel()->text(), QStringLiteral("refused: radar reports 99"));
}

QTEST_MAIN(TestPanelCommands)
#include "tst_panelcommands.moc"
