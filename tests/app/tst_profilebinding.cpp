#include "mainwindow.h"
#include "profilebinding.h"
#include "roadschemepainter.h"
#include "testviews.h"
#include "workprofilehandler.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestProfileBinding : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void profileReachesTheDisplays_data();
    void profileReachesTheDisplays();
    void menuEntryReachesTheDisplays();
    void editorsReachTheHandler();
    void laneStatisticsInterval_data();
    void laneStatisticsInterval();
    void wrongWayDistance_data();
    void wrongWayDistance();

private:
    bool writeProfile(const QJsonObject &view);

    QTemporaryDir m_dir;
    std::unique_ptr<TestViews> m_views;
    std::unique_ptr<QMainWindow> m_window;
    Ui::MainWindow m_form;
    std::unique_ptr<WorkProfileHandler> m_handler;
};

void TestProfileBinding::init()
{
    QVERIFY(m_dir.isValid());
    m_views = std::make_unique<TestViews>();
    m_window = std::make_unique<QMainWindow>();
    m_form.setupUi(m_window.get());
    m_handler = std::make_unique<WorkProfileHandler>();
    ProfileBinding::bindMenu(m_handler.get(), m_form);
    ProfileBinding::bindViews(m_handler.get(), m_views->views());
}

void TestProfileBinding::cleanup()
{
    m_handler.reset();
    m_window.reset();
    m_views.reset();
}

bool TestProfileBinding::writeProfile(const QJsonObject &view)
{
    const QJsonObject profile { { "name", "Test" }, { "view", view } };
    QFile file(m_dir.filePath("config.json"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes
        = QJsonDocument(QJsonObject { { "profiles", QJsonArray { profile } }, { "current_id", 0 } })
              .toJson();
    return file.write(bytes) == bytes.size() && file.flush();
}

void TestProfileBinding::profileReachesTheDisplays_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("paint");

    QTest::newRow("horizontal, one colour") << false << false;
    QTest::newRow("vertical, colours") << true << true;
}

// A profile read from a file: its view settings reach the scheme, the tables, the
// projection's road and the menu.
void TestProfileBinding::profileReachesTheDisplays()
{
    QFETCH(bool, vertical);
    QFETCH(bool, paint);

    QVERIFY(writeProfile(QJsonObject {
        { "traffic_scheme", QJsonObject { { "draw_vertical", vertical } } },
        { "paint_objects", paint },
    }));
    QSignalSpy roads(&m_views->roadScene, &RoadScene::applyingRoadStarted);
    m_handler->loadProfiles(m_dir.filePath("config.json"));
    m_handler->applyProfile(0);

    QCOMPARE(m_views->scheme.schemePainter().drawVertical(), vertical);
    QCOMPARE(m_form.actionDrawVertical->isChecked(), vertical);
    QCOMPARE(m_views->objectsTable.paintObjects(), paint);
    QCOMPARE(m_views->history.paintObjects(), paint);
    QCOMPARE(m_views->imitator.paintObjects(), paint);
    QCOMPARE(m_views->scheme.paintObjects(), paint);
    QCOMPARE(m_form.actionPaintObjects->isChecked(), paint);
    // The road scene builds the profile's road.
    QCOMPARE(roads.count(), 1);
}

// A menu entry changes the profile, which tells the displays and keeps the entry checked.
void TestProfileBinding::menuEntryReachesTheDisplays()
{
    m_handler->applyProfile(m_handler->currentProfileId());
    const bool vertical = m_views->scheme.schemePainter().drawVertical();
    QSignalSpy changes(m_handler.get(), &WorkProfileHandler::drawVerticalChanged);

    m_form.actionDrawVertical->trigger();

    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toBool(), !vertical);
    QCOMPARE(m_views->scheme.schemePainter().drawVertical(), !vertical);
    QCOMPARE(m_form.actionDrawVertical->isChecked(), !vertical);
}

// What the user edits in a panel or an editor goes to the profile.
void TestProfileBinding::editorsReachTheHandler()
{
    const QJsonArray presets { QJsonObject { { "name", "Pole 3" } } };
    QSignalSpy positionPresets(m_handler.get(), &WorkProfileHandler::positionPresetsChanged);
    emit m_views->setPosition.presetsChanged(presets);
    QCOMPARE(positionPresets.count(), 1);
    QCOMPARE(positionPresets.at(0).at(0).toJsonArray(), presets);

    QSignalSpy roadConfigs(m_handler.get(), &WorkProfileHandler::roadConfigChanged);
    QSignalSpy roads(&m_views->roadScene, &RoadScene::applyingRoadStarted);
    emit m_views->roadConfig.roadConfigChanged(m_views->roadConfig.roadConfig());
    QCOMPARE(roadConfigs.count(), 1);
    QCOMPARE(roads.count(), 1);
}

void TestProfileBinding::laneStatisticsInterval_data()
{
    QTest::addColumn<QJsonValue>("stored");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("unusable");

    QTest::newRow("15 minutes") << QJsonValue(15) << 15 << 0;
    QTest::newRow("1 minute") << QJsonValue(1) << 1 << 0;
    QTest::newRow("an older file without the setting")
        << QJsonValue(QJsonValue::Undefined) << 5 << 0;
    QTest::newRow("7 minutes, not offered") << QJsonValue(7) << 5 << 1;
    QTest::newRow("text") << QJsonValue("15") << 5 << 1;
}

// The profile's interval reaches the statistics window, and the user's choice there goes
// back to the profile.
void TestProfileBinding::laneStatisticsInterval()
{
    QFETCH(QJsonValue, stored);
    QFETCH(int, minutes);
    QFETCH(int, unusable);

    QJsonObject view { { "paint_objects", true } };
    if (!stored.isUndefined())
        view.insert("lane_statistics", QJsonObject { { "interval_minutes", stored } });
    QVERIFY(writeProfile(view));
    LaneStatisticsWindow &window = m_views->laneStatistics;
    window.setIntervalMinutes(minutes == 15 ? 1 : 15);
    QSignalSpy unusableSettings(m_handler.get(), &WorkProfileHandler::unusableSettingsFound);
    m_handler->loadProfiles(m_dir.filePath("config.json"));
    m_handler->applyProfile(0);

    QCOMPARE(window.statistics().intervalMinutes(), minutes);
    QCOMPARE(window.form().intervalCombo->currentData().toInt(), minutes);
    QCOMPARE(unusableSettings.count(), unusable);

    QSignalSpy changes(m_handler.get(), &WorkProfileHandler::laneStatisticsIntervalChanged);
    QComboBox *combo = window.form().intervalCombo;
    const int other = combo->findData(minutes == 15 ? 5 : 15);
    combo->setCurrentIndex(other);
    emit combo->activated(other);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), combo->itemData(other).toInt());
    QCOMPARE(window.statistics().intervalMinutes(), combo->itemData(other).toInt());
}

void TestProfileBinding::wrongWayDistance_data()
{
    QTest::addColumn<QJsonValue>("stored");
    QTest::addColumn<double>("metres");
    QTest::addColumn<int>("unusable");

    QTest::newRow("50 m") << QJsonValue(50) << 50.0 << 0;
    QTest::newRow("5 m, the least") << QJsonValue(5) << 5.0 << 0;
    QTest::newRow("200 m, the most") << QJsonValue(200) << 200.0 << 0;
    QTest::newRow("an older file without the setting")
        << QJsonValue(QJsonValue::Undefined) << 20.0 << 0;
    QTest::newRow("2 m, below the least") << QJsonValue(2) << 20.0 << 1;
    QTest::newRow("1e6 m") << QJsonValue(1e6) << 20.0 << 1;
    QTest::newRow("negative") << QJsonValue(-50) << 20.0 << 1;
    QTest::newRow("text") << QJsonValue("50") << 20.0 << 1;
}

// The profile's alarm distance reaches the detector, the user's change there is saved, and
// applying a profile writes nothing into it.
void TestProfileBinding::wrongWayDistance()
{
    QFETCH(QJsonValue, stored);
    QFETCH(double, metres);
    QFETCH(int, unusable);

    QJsonObject view { { "paint_objects", true } };
    if (!stored.isUndefined())
        view.insert("lane_statistics", QJsonObject { { "wrong_way_distance_m", stored } });
    QVERIFY(writeProfile(view));
    LaneStatisticsWindow &window = m_views->laneStatistics;
    window.setWrongWayDistance(metres == 100.0 ? 150.0 : 100.0);
    QSignalSpy unusableSettings(m_handler.get(), &WorkProfileHandler::unusableSettingsFound);
    QSignalSpy edits(&window, &LaneStatisticsWindow::wrongWayDistanceChanged);
    const QString path = m_dir.filePath("config.json");
    m_handler->loadProfiles(path);
    m_handler->applyProfile(0);

    QCOMPARE(window.form().distanceSpin->value(), metres);
    QCOMPARE(unusableSettings.count(), unusable);
    QCOMPARE(edits.count(), 0);
    const auto storedDistance = [&path] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QJsonValue();
        return QJsonDocument::fromJson(
            file.readAll())["profiles"][0]["view"]["lane_statistics"]["wrong_way_distance_m"];
    };
    QVERIFY(m_handler->saveProfiles(path));
    QCOMPARE(storedDistance(), stored);

    // Vehicles driving 60 m against lane 1, which carries traffic towards the radar.
    QSignalSpy alarms(&window, &LaneStatisticsWindow::wrongWayDetected);
    const auto driveWrongWay = [&window](quint64 track) {
        const QDateTime t0(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC);
        for (int i = 0; i <= 120; ++i)
            window.showLaneFrame({ t0.addMSecs(100 * i), { { 3, track, 1, 10.0 + 0.5 * i } } });
    };
    window.form().distanceSpin->setValue(80.0);
    QCOMPARE(edits.count(), 1);
    QVERIFY(m_handler->saveProfiles(path));
    QCOMPARE(storedDistance(), QJsonValue(80.0));
    driveWrongWay(1);
    QCOMPARE(alarms.count(), 0);

    window.form().distanceSpin->setValue(50.0);
    QVERIFY(m_handler->saveProfiles(path));
    QCOMPARE(storedDistance(), QJsonValue(50.0));
    driveWrongWay(2);
    QCOMPARE(alarms.count(), 1);
}

QTEST_MAIN(TestProfileBinding)
#include "tst_profilebinding.moc"
