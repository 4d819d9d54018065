#include "parameterstore.h"
#include "polygonvaluesmodel.h"
#include "presetbutton.h"
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

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QJsonObject>
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

    // Every question of every panel gets this answer; none is asked unless noted.
    void answerQuestions(bool yes)
    {
        const auto answer = [yes](const QString &, const QString &) { return yes; };
        commands.setConfirmation(answer);
        save.setConfirmation(answer);
        position.setConfirmation(answer);
        tuning.setConfirmation(answer);
        polygons.setConfirmation(answer);
    }

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
    void startWorking(const SimOptions &options, int commandTimeoutMs = 900);

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
    void reinitialiseReadsEverythingBack();
    void setPolygonSendsOnlyKnownValues();
    void setChangedPolygonsSendsEveryChange();
    void failedReadEndsInNoAnswer_data();
    void failedReadEndsInNoAnswer();
    void typedValueKeptWhenAnswerArrives_data();
    void typedValueKeptWhenAnswerArrives();
    void replacingTypedValuesIsAsked_data();
    void replacingTypedValuesIsAsked();
    void modeShownAfterSetIsAcknowledged_data();
    void modeShownAfterSetIsAcknowledged();
    void reportedValuesShownAsReported();
};

void TestPanelCommands::cleanup()
{
    m_panels.reset();
    m_client.reset();
    m_sim.reset();
}

void TestPanelCommands::startWorking(const SimOptions &options, int commandTimeoutMs)
{
    m_sim = std::make_unique<RadarSimulator>(options);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_client = std::make_unique<VantorSerialQelProtocolClient>();
    // Whole polygons take dozens of commands; a short pause between them keeps the test quick.
    IVantorClient::Timing timing;
    timing.sendDelayMs = 10;
    timing.commandTimeoutMs = commandTimeoutMs;
    m_client->setTimingForTests(timing);
    m_panels = std::make_unique<Panels>();
    m_panels->wire(m_client.get());
    m_panels->answerQuestions(true);
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
        click(&p.position, "S&et position");
    }) << TextOf([](Panels &p) {
        // Roll goes in the last of the three frames.
        return p.position.stateLabel(SetPositionWidget::Roll)->text();
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
        // Shown for the first time, the polygon is read; it can be set once it is.
        p.polygons.setCurrentPolygon(1);
        QTRY_VERIFY_WITH_TIMEOUT(p.polygons.model()->isPolygonKnown(1), Wait);
        setPolygonRow(p, 1, PointRow, -12.5);
        click(&p.polygons, "Set polygon");
        click(&p.polygons, "Get polygon");
    }) << TextOf([](Panels &p) {
        return polygonStatus(p, 1, PointRow);
    }) << "received from radar" << Check([=](Panels &p, RadarEmulator &r) {
        return store(r).value(71, 137) == -12500000
            && p.polygons.model()->value(1, PointRow) == -12.5;
    });
    QTest::newRow("set imitator mode") << Action([](Panels &p) {
        p.commands.findChild<QComboBox *>()->setCurrentIndex(2);
        p.commands.findChildren<QPushButton *>().at(3)->click();
    }) << TextOf([](Panels &p) {
        return p.commands.stateLabel(4)->text();
    }) << "received from radar" << Check([=](Panels &p, RadarEmulator &r) {
        return store(r).value(151, 0) == 2 && p.commands.imitatorModeValue() == 2;
    });
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
        << Action([](Panels &p) { click(&p.save, "S&ave to flash"); })
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

    static_cast<QSpinBox *>(spinOfRow(&m_panels->tuning, 0))->setValue(4);
    click(&m_panels->tuning, "Set");
    QTRY_COMPARE_WITH_TIMEOUT(
        m_panels->tuning.frequencyIndexLabel()->text(), "error occurred: radar error 2", Wait);
    QCOMPARE(m_panels->tuning.frequencyIndexLabel()->status().stage(), ValueStatus::Failed);
}

void TestPanelCommands::declinedConfirmationSendsNothing()
{
    startWorking(SimTest::quickOptions(5));
    m_panels->answerQuestions(false);
    QSignalSpy sent(&m_panels->save, &SaveAndRestartWidget::commandWithNoArgs);
    QSignalSpy reinit(&m_panels->polygons, &SetPolygonWidget::reinitPolygons);
    click(&m_panels->save, "S&ave to flash");
    click(&m_panels->save, "&Restart radar");
    click(&m_panels->polygons, "Re-initialise polygons");
    QCOMPARE(sent.size(), 0);
    QCOMPARE(reinit.size(), 0);
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

namespace {

quint8 pointNumber(int id, int param)
{
    return quint8(RadarParameters::polygonParamNo(
        RadarParameters::PolygonPointParam, quint8(id), quint8(param)));
}

quint8 speedNumber(int id, int param)
{
    return quint8(RadarParameters::polygonParamNo(
        RadarParameters::PolygonSpeedParam, quint8(id), quint8(param)));
}

// Every value of every polygon came from the radar.
bool allFromRadar(const PolygonValuesModel &m)
{
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        for (int row = 0; row < PolygonValuesModel::RowCount; ++row) {
            if (m.status(id, row).stage() != ValueStatus::FromRadar)
                return false;
        }
    }
    return true;
}

// No polygon value is on its way to the radar or holds a change not sent.
bool allSent(const PolygonValuesModel &m)
{
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        for (int row = 0; row < PolygonValuesModel::RowCount; ++row) {
            if (m.status(id, row).holdsUserValue())
                return false;
        }
    }
    return true;
}

} // namespace

void TestPanelCommands::reinitialiseReadsEverythingBack()
{
    startWorking(SimTest::quickOptions(6));
    ParameterStore &store = m_sim->radar()->parameters();
    // The radar's flash holds polygon 4 with its first point at X = 5 m, and polygons 1 and
    // 4 in use; its working values differ.
    QCOMPARE(store.write(71, pointNumber(3, 0), 5000000), ParameterStore::NoError);
    QCOMPARE(store.write(70, 0, 0x09), ParameterStore::NoError);
    store.save();
    QCOMPARE(store.write(71, pointNumber(3, 0), 7000000), ParameterStore::NoError);
    QCOMPARE(store.write(70, 0, 0x02), ParameterStore::NoError);
    Panels &p = *m_panels;
    PolygonValuesModel *m = p.polygons.model();
    const int row = PolygonValuesModel::rowOf(RadarParameters::PolygonPointParam, 0);
    p.polygons.setCurrentPolygon(3);
    click(&p.polygons, "Get usage");
    QTRY_VERIFY_WITH_TIMEOUT(m->isPolygonKnown(3), Wait);
    QCOMPARE(m->value(3, row), 7.0);
    QTRY_COMPARE_WITH_TIMEOUT(p.polygons.usageMask(), quint8(0x02), Wait);
    QSignalSpy points(m_client.get(), &IVantorClient::polygonPointParam);
    QSignalSpy usage(m_client.get(), &IVantorClient::polygonUsage);

    click(&p.polygons, "Re-initialise polygons");
    QTRY_COMPARE_WITH_TIMEOUT(p.polygons.reinitLabel()->text(), "command received", Wait);
    QTRY_VERIFY_WITH_TIMEOUT(allFromRadar(*m), 3 * Wait);
    QTRY_COMPARE_WITH_TIMEOUT(
        p.polygons.usageLabel()->status().stage(), ValueStatus::FromRadar, Wait);
    // The table shows what the radar now holds, and so does the scheme, which hears every
    // point of every polygon and the usage from the client.
    QCOMPARE(m->value(3, row), 5.0);
    QCOMPARE(p.polygons.usageMask(), quint8(0x09));
    QCOMPARE(points.size(), RadarParameters::PolygonCount * PolygonValuesModel::PointParamCount);
    QCOMPARE(usage.size(), 1);
    QCOMPARE(usage.first().first().value<quint8>(), quint8(0x09));
}

void TestPanelCommands::setPolygonSendsOnlyKnownValues()
{
    startWorking(SimTest::quickOptions(7));
    ParameterStore &store = m_sim->radar()->parameters();
    QCOMPARE(store.write(71, pointNumber(0, 0), 3000000), ParameterStore::NoError);
    Panels &p = *m_panels;
    PolygonValuesModel *m = p.polygons.model();
    QSignalSpy points(&p.polygons, &SetPolygonWidget::setPolygonPointParam);
    QSignalSpy speeds(&p.polygons, &SetPolygonWidget::setPolygonSpeedParam);
    QSignalSpy treats(&p.polygons, &SetPolygonWidget::setPolygonTreatParam);
    QSignalSpy usage(&p.polygons, &SetPolygonWidget::setPolygonUsage);

    // Polygon 1 is on show but was never read: its values show empty, and neither it nor
    // the usage can be set; the panel says why.
    QPushButton *setPolygon = child<QPushButton>(&p.polygons, "Set polygon");
    QVERIFY(setPolygon);
    QVERIFY(!setPolygon->isEnabled());
    QVERIFY(!setPolygon->toolTip().isEmpty());
    QVERIFY(!p.polygons.hintText().isEmpty());
    QVERIFY(!child<QPushButton>(&p.polygons, "Set usage")->isEnabled());
    QCOMPARE(
        m->index(PointRow, int(PolygonValuesModel::Column::Value)).data().toString(), QString());
    QCOMPARE(polygonStatus(p, 0, PointRow), QStringLiteral("not read"));
    p.polygons.onSetPolygonClicked();
    p.polygons.onSetUsageClicked();
    QCOMPARE(points.size() + speeds.size() + treats.size() + usage.size(), 0);
    QCOMPARE(m_client->queuedCommandCount(), 0);

    // One value entered is sendable on its own; the polygon still is not.
    QVERIFY(m->setData(m->index(PointRow, int(PolygonValuesModel::Column::Value)), 1.5));
    p.polygons.view()->selectRow(PointRow);
    QVERIFY(!setPolygon->isEnabled());
    click(&p.polygons, "Set selected");
    QTRY_COMPARE_WITH_TIMEOUT(polygonStatus(p, 0, PointRow), "command received", Wait);
    QCOMPARE(points.size(), 1);
    QCOMPARE(store.value(71, pointNumber(0, 9)), 1500000);
    QCOMPARE(store.value(71, pointNumber(0, 0)), 3000000);

    // Shown for the first time, a polygon is read, and can then be set.
    p.polygons.setCurrentPolygon(2);
    QTRY_VERIFY_WITH_TIMEOUT(setPolygon->isEnabled(), Wait);
    QVERIFY(m->isPolygonKnown(2));
    QVERIFY(p.polygons.hintText().isEmpty());
}

void TestPanelCommands::setChangedPolygonsSendsEveryChange()
{
    startWorking(SimTest::quickOptions(8));
    Panels &p = *m_panels;
    // A preset filling all eight polygons: polygon i has speed 1 = i + 1 m/s and its last
    // point at Y = -i m.
    QJsonArray polygons;
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        QJsonArray points;
        for (int param = 0; param < PolygonValuesModel::PointParamCount; ++param)
            points.append(param == PolygonValuesModel::PointParamCount - 1 ? -id : 0);
        polygons.append(QJsonObject { { "treat", QJsonArray { 1, 0 } },
            { "speed", QJsonArray { id + 1, 0, 0, 0 } }, { "points", points } });
    }
    p.polygons.setPresets(
        { QJsonObject { { "name", "Crossing" }, { "usage", 0xFF }, { "polygons", polygons } } });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto *preset = p.polygons.findChild<PresetButton *>();
    QVERIFY(preset);
    preset->click();

    // Every polygon is marked as holding changes not sent.
    auto *selector = p.polygons.findChild<QComboBox *>();
    for (int id = 0; id < RadarParameters::PolygonCount; ++id)
        QCOMPARE(selector->itemText(id), QStringLiteral("Polygon %1 (changed)").arg(id + 1));
    click(&p.polygons, "Set changed polygons");
    QTRY_VERIFY_WITH_TIMEOUT(allSent(*p.polygons.model()), 3 * Wait);

    const ParameterStore &store = m_sim->radar()->parameters();
    QCOMPARE(store.value(70, 0), 0xFF);
    for (int id = 0; id < RadarParameters::PolygonCount; ++id) {
        QCOMPARE(store.value(70, speedNumber(id, 0)), (id + 1) * 1000000);
        QCOMPARE(store.value(71, pointNumber(id, PolygonValuesModel::PointParamCount - 1)),
            -id * 1000000);
        QCOMPARE(selector->itemText(id), QStringLiteral("Polygon %1").arg(id + 1));
    }
    QVERIFY(!child<QPushButton>(&p.polygons, "Set changed polygons")->isEnabled());
}

void TestPanelCommands::failedReadEndsInNoAnswer_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<TextOf>("stateText");

    QTest::newRow("frequency index")
        << Action([](Panels &p) { p.tuning.findChildren<QPushButton *>().at(1)->click(); })
        << TextOf([](Panels &p) { return p.tuning.frequencyIndexLabel()->text(); });
    QTest::newRow("position") << Action([](Panels &p) {
        click(&p.position, "&Get position");
    }) << TextOf([](Panels &p) { return p.position.stateLabel(SetPositionWidget::Roll)->text(); });
    QTest::newRow("polygon value") << Action([](Panels &p) {
        p.polygons.view()->selectRow(PointRow);
        click(&p.polygons, "Get selected");
    }) << TextOf([](Panels &p) { return polygonStatus(p, 0, PointRow); });
    QTest::newRow("demo mode") << Action([](Panels &p) {
        p.commands.findChildren<QPushButton *>().at(6)->click();
    }) << TextOf([](Panels &p) { return p.commands.stateLabel(7)->text(); });
}

void TestPanelCommands::failedReadEndsInNoAnswer()
{
    QFETCH(Action, action);
    QFETCH(TextOf, stateText);
    SimOptions options = SimTest::quickOptions(9);
    options.radar.faults.noAcks = true;
    startWorking(options, 30);

    action(*m_panels);
    QTRY_COMPARE_WITH_TIMEOUT(
        stateText(*m_panels), QStringLiteral("no answer: no acknowledgement (-7)"), Wait);
}

void TestPanelCommands::typedValueKeptWhenAnswerArrives_data()
{
    QTest::addColumn<Action>("type");
    QTest::addColumn<Action>("answer");
    QTest::addColumn<TextOf>("stateText");
    QTest::addColumn<QString>("finalText");
    QTest::addColumn<Check>("kept");

    // The answers come from requests made elsewhere (another panel, the window), as the
    // client reports every answer to every listener.
    QTest::newRow("frequency index")
        << Action([](Panels &p) { static_cast<QSpinBox *>(spinOfRow(&p.tuning, 0))->setValue(9); })
        << Action([](Panels &p) { emit p.tuning.getFrequencyIndex(); })
        << TextOf([](Panels &p) { return p.tuning.frequencyIndexLabel()->text(); })
        << "value changed, radar: 3"
        << Check([](Panels &p, RadarEmulator &) { return p.tuning.frequencyIndexValue() == 9; });
    QTest::newRow("height") << Action([](Panels &p) {
        static_cast<QDoubleSpinBox *>(spinOfRow(&p.position, 0))->setValue(7.5);
    }) << Action([](Panels &p) {
        emit p.position.getPosition();
    }) << TextOf([](Panels &p) { return p.position.stateLabel(SetPositionWidget::Height)->text(); })
                            << "value changed, radar: 6.00 m"
                            << Check([](Panels &p, RadarEmulator &) {
                                   return p.position.value(SetPositionWidget::Height) == 7.5
                                       && p.position.stateLabel(SetPositionWidget::Roll)->text()
                                       == "received from radar";
                               });
    QTest::newRow("polygon point") << Action([](Panels &p) {
        PolygonValuesModel *m = p.polygons.model();
        QVERIFY(m->setData(m->index(PointRow, int(PolygonValuesModel::Column::Value)), 4.25));
    }) << Action([](Panels &p) {
        emit p.polygons.getPolygonPointParam(0, 9);
    }) << TextOf([](Panels &p) { return polygonStatus(p, 0, PointRow); })
                                   << "value changed, radar: 0.00 m"
                                   << Check([](Panels &p, RadarEmulator &) {
                                          return p.polygons.model()->value(0, PointRow) == 4.25;
                                      });
    QTest::newRow("usage") << Action([](Panels &p) {
        p.polygons.findChildren<QCheckBox *>().at(2)->click();
    }) << Action([](Panels &p) { emit p.polygons.getPolygonUsage(); })
                           << TextOf([](Panels &p) { return p.polygons.usageLabel()->text(); })
                           << "value changed, radar: none" << Check([](Panels &p, RadarEmulator &) {
                                  return p.polygons.usageMask() == 0x04;
                              });
    QTest::newRow("imitator mode")
        << Action([](Panels &p) { p.commands.findChild<QComboBox *>()->setCurrentIndex(1); })
        << Action([](Panels &p) { emit p.commands.commandWithNoArgs(5); })
        << TextOf([](Panels &p) { return p.commands.stateLabel(5)->text(); })
        << "value changed, radar: Off"
        << Check([](Panels &p, RadarEmulator &) { return p.commands.imitatorModeValue() == 1; });
}

void TestPanelCommands::typedValueKeptWhenAnswerArrives()
{
    QFETCH(Action, type);
    QFETCH(Action, answer);
    QFETCH(TextOf, stateText);
    QFETCH(QString, finalText);
    QFETCH(Check, kept);
    startWorking(SimTest::quickOptions(10));
    type(*m_panels);
    QCOMPARE(stateText(*m_panels), QStringLiteral("value changed"));
    answer(*m_panels);
    QTRY_COMPARE_WITH_TIMEOUT(stateText(*m_panels), finalText, Wait);
    QVERIFY(kept(*m_panels, *m_sim->radar()));
}

void TestPanelCommands::replacingTypedValuesIsAsked_data()
{
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("finalText");
    QTest::addColumn<int>("value");

    QTest::newRow("replace") << true << "received from radar" << 50;
    QTest::newRow("keep") << false << "value changed, radar: 50" << 80;
}

void TestPanelCommands::replacingTypedValuesIsAsked()
{
    QFETCH(bool, replace);
    QFETCH(QString, finalText);
    QFETCH(int, value);
    startWorking(SimTest::quickOptions(11));
    QStringList questions;
    m_panels->tuning.setConfirmation([&](const QString &title, const QString &) {
        questions << title;
        return replace;
    });
    // No question while nothing the user entered is at stake.
    m_panels->tuning.findChildren<QPushButton *>().at(3)->click();
    QTRY_COMPARE_WITH_TIMEOUT(
        m_panels->tuning.radarSensitivityLabel()->text(), "received from radar", Wait);
    QCOMPARE(questions.size(), 0);

    static_cast<QSpinBox *>(spinOfRow(&m_panels->tuning, 1))->setValue(80);
    m_panels->tuning.findChildren<QPushButton *>().at(3)->click();
    QCOMPARE(questions.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_panels->tuning.radarSensitivityLabel()->text(), finalText, Wait);
    QCOMPARE(m_panels->tuning.radarSensitivityValue(), value);
}

void TestPanelCommands::modeShownAfterSetIsAcknowledged_data()
{
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<int>("setButton");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("mode");

    QTest::newRow("imitator type 1") << 0 << 3 << 5 << 1;
    QTest::newRow("demo on") << 1 << 5 << 7 << 1;
}

void TestPanelCommands::modeShownAfterSetIsAcknowledged()
{
    QFETCH(int, comboIndex);
    QFETCH(int, setButton);
    QFETCH(int, command);
    QFETCH(int, mode);
    startWorking(SimTest::quickOptions(12));
    QSignalSpy imitator(m_client.get(), &IVantorClient::imitatorModeChanged);
    QSignalSpy demo(m_client.get(), &IVantorClient::fakeTargetsModeChanged);
    auto *combo = m_panels->commands.findChildren<QComboBox *>().at(comboIndex);
    combo->setCurrentIndex(combo->findData(mode));
    m_panels->commands.findChildren<QPushButton *>().at(setButton)->click();

    // Read back without a "Get": the panel, and through the client the main window, show
    // the mode the radar now runs.
    QTRY_COMPARE_WITH_TIMEOUT(
        m_panels->commands.stateLabel(command)->text(), "received from radar", Wait);
    QCOMPARE(combo->currentData().toInt(), mode);
    QCOMPARE(imitator.size() + demo.size(), 1);
    if (command == 5)
        QCOMPARE(imitator.first().first().value<quint8>(), quint8(mode));
    else
        QCOMPARE(demo.first().first().toBool(), mode != 0);
}

void TestPanelCommands::reportedValuesShownAsReported()
{
    startWorking(SimTest::quickOptions(13));
    ParameterStore &store = m_sim->radar()->parameters();
    // X offset 2000 m is beyond what a set frame carries (1310.71 m) but within the read's
    // 18 bits; an azimuth of 600 degrees the client reports as 240.
    RadarPosition position;
    position.height = 750;
    position.xOffset = 200000;
    position.azimuth = 60000;
    store.setPosition(position);
    QCOMPARE(store.write(151, 0, 7), ParameterStore::NoError);
    Panels &p = *m_panels;

    click(&p.position, "&Get position");
    QTRY_COMPARE_WITH_TIMEOUT(
        p.position.stateLabel(SetPositionWidget::Height)->text(), "received from radar", Wait);
    QCOMPARE(p.position.value(SetPositionWidget::Height), 7.5);
    QCOMPARE(p.position.value(SetPositionWidget::XOffset), 2000.0);
    QCOMPARE(p.position.value(SetPositionWidget::Azimuth), 240.0);
    for (const auto field : { SetPositionWidget::XOffset, SetPositionWidget::Azimuth }) {
        QCOMPARE(p.position.stateLabel(field)->text(), "received from radar (unusual)");
        QVERIFY(p.position.stateLabel(field)->status().isUnusual());
    }
    // Such an X offset cannot go back to the radar; the panel says so.
    QVERIFY(!child<QPushButton>(&p.position, "S&et position")->isEnabled());
    QVERIFY(p.position.sendProblem().contains("X offset"));

    p.commands.findChildren<QPushButton *>().at(4)->click();
    QTRY_COMPARE_WITH_TIMEOUT(
        p.commands.stateLabel(5)->text(), "received from radar (unusual)", Wait);
    QCOMPARE(p.commands.imitatorModeValue(), 7);
    QCOMPARE(p.commands.findChild<QComboBox *>()->currentText(), QStringLiteral("Mode 7"));

    // Fine tuning values are signed 32-bit numbers on the wire, all shown as they come.
    p.tuning.showFrequencyIndex(99);
    p.tuning.showRadarSensitivity(-5);
    QCOMPARE(p.tuning.frequencyIndexValue(), 99);
    QCOMPARE(p.tuning.radarSensitivityValue(), -5);
    QCOMPARE(p.tuning.frequencyIndexLabel()->text(), QStringLiteral("received from radar"));
}

QTEST_MAIN(TestPanelCommands)
#include "tst_panelcommands.moc"
