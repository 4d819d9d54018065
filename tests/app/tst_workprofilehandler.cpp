#include "workprofilehandler.h"

#include "../smalldisk.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>

using Setter = std::function<void(WorkProfileHandler &)>;
Q_DECLARE_METATYPE(Setter)

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(VANTOR_TEST_DATA_DIR "/profiles/") + name;
}

QJsonObject readJson(const QString &path)
{
    return QJsonDocument::fromJson(TestFiles::read(path)).object();
}

QString text(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString text(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString text(int value)
{
    return QString::number(value);
}

QString text(const QJsonObject &value)
{
    return QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact));
}

QString text(const QJsonArray &value)
{
    return QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact));
}

template<typename... Args> QString call(const char *signal, const Args &...args)
{
    const QStringList values { text(args)... };
    return QStringLiteral("%1(%2)").arg(QLatin1String(signal), values.join(QStringLiteral(", ")));
}

// Every signal of the handler, in the order they arrive, as "name(arguments)".
class SignalRecorder : public QObject
{
public:
    explicit SignalRecorder(WorkProfileHandler &h)
        : m_handler(h)
    {
        using H = WorkProfileHandler;
        record(&H::applyingProfileStarted, "applyingProfileStarted");
        record(&H::protocolVersionChanged, "protocolVersionChanged");
        record(&H::protocolForcingChanged, "protocolForcingChanged");
        record(&H::radarServerUrlChanged, "radarServerUrlChanged");
        record(&H::controlVisibleChanged, "controlVisibleChanged");
        record(&H::controlCollapsedChanged, "controlCollapsedChanged");
        record(&H::drawVerticalChanged, "drawVerticalChanged");
        record(&H::keepAspectRatioChanged, "keepAspectRatioChanged");
        record(&H::showSightLineChanged, "showSightLineChanged");
        record(&H::showCurrentTracksOnSchemeChanged, "showCurrentTracksOnSchemeChanged");
        record(&H::showAverageTracksOnSchemeChanged, "showAverageTracksOnSchemeChanged");
        record(&H::tracksDisplayModeChanged, "tracksDisplayModeChanged");
        record(&H::roadConfigChanged, "roadConfigChanged");
        record(&H::showLaneLinesOnVideoChanged, "showLaneLinesOnVideoChanged");
        record(&H::showDistLinesOnVideoChanged, "showDistLinesOnVideoChanged");
        record(&H::showObjectDimensionsOnVideoChanged, "showObjectDimensionsOnVideoChanged");
        record(&H::showCurrentTracksOnVideoChanged, "showCurrentTracksOnVideoChanged");
        record(&H::showAverageTracksOnVideoChanged, "showAverageTracksOnVideoChanged");
        record(&H::tvmsConfigChanged, "tvmsConfigChanged");
        record(&H::projectionBackgroundImageChanged, "projectionBackgroundImageChanged");
        record(&H::paintObjectsChanged, "paintObjectsChanged");
        record(&H::autoChangeViewChanged, "autoChangeViewChanged");
        record(&H::autoGetDataChanged, "autoGetDataChanged");
        record(&H::positionPresetsChanged, "positionPresetsChanged");
        record(&H::limitationsPresetsChanged, "limitationsPresetsChanged");
        record(&H::applyingProfileFinished, "applyingProfileFinished");
    }

    QStringList calls;

private:
    template<typename... Args>
    void record(void (WorkProfileHandler::*signal)(Args...), const char *name)
    {
        connect(&m_handler, signal, this,
            [this, name](Args... args) { calls.append(call(name, args...)); });
    }

    WorkProfileHandler &m_handler;
};

// The values one profile announces; everything starts as lenient reading yields it.
struct Announced
{
    QString name;
    int protocol = 0;
    bool forcing = false;
    QString url;
    bool visible[14] = {};
    bool collapsed[14] = {};
    bool drawVertical = false;
    bool keepAspectRatio = false;
    bool sightLine = false;
    bool schemeCurrentTracks = false;
    bool schemeAverageTracks = false;
    int tracksMode = 0;
    QJsonObject roadConfig;
    bool laneLines = false;
    bool distLines = false;
    bool objectDimensions = false;
    bool videoCurrentTracks = false;
    bool videoAverageTracks = false;
    QJsonObject tvmsConfig;
    QString backgroundImage;
    bool paintObjects = false;
    bool autoChangeView = false;
    bool autoGetData = false;
    QJsonArray positionPresets;
    QJsonArray limitationsPresets;

    QStringList signalList() const
    {
        QStringList list { call("applyingProfileStarted", name),
            call("protocolVersionChanged", protocol), call("protocolForcingChanged", forcing),
            call("radarServerUrlChanged", url) };
        for (int c = 0; c < 14; ++c) {
            list << call("controlVisibleChanged", c, visible[c])
                 << call("controlCollapsedChanged", c, collapsed[c]);
        }
        list << call("drawVerticalChanged", drawVertical)
             << call("keepAspectRatioChanged", keepAspectRatio)
             << call("showSightLineChanged", sightLine)
             << call("showCurrentTracksOnSchemeChanged", schemeCurrentTracks)
             << call("showAverageTracksOnSchemeChanged", schemeAverageTracks)
             << call("tracksDisplayModeChanged", tracksMode)
             << call("roadConfigChanged", roadConfig)
             << call("showLaneLinesOnVideoChanged", laneLines)
             << call("showDistLinesOnVideoChanged", distLines)
             << call("showObjectDimensionsOnVideoChanged", objectDimensions)
             << call("showCurrentTracksOnVideoChanged", videoCurrentTracks)
             << call("showAverageTracksOnVideoChanged", videoAverageTracks)
             << call("tvmsConfigChanged", tvmsConfig)
             << call("projectionBackgroundImageChanged", backgroundImage)
             << call("paintObjectsChanged", paintObjects)
             << call("autoChangeViewChanged", autoChangeView)
             << call("autoGetDataChanged", autoGetData)
             << call("positionPresetsChanged", positionPresets)
             << call("limitationsPresetsChanged", limitationsPresets)
             << call("applyingProfileFinished");
        return list;
    }
};

// The profile names in full.json.
QStringList fullNames()
{
    return { QStringLiteral("Crossing A7"), QStringLiteral("Bridge, north side") };
}

QJsonValue valueAt(const QJsonObject &object, const QStringList &keys)
{
    QJsonValue value = object;
    for (const QString &key : keys)
        value = value.toObject().value(key);
    return value;
}

} // namespace

class TestWorkProfileHandler : public QObject
{
    Q_OBJECT

private slots:
    void unusableFileKeepsState_data();
    void unusableFileKeepsState();
    void currentIdOnLoad_data();
    void currentIdOnLoad();
    void applyProfileSignals_data();
    void applyProfileSignals();
    void applyProfileIndex_data();
    void applyProfileIndex();
    void settersWriteNestedPaths_data();
    void settersWriteNestedPaths();
    void setterWithoutProfilesStillAnnounces();
    void copiesOfCopies();
    void removeProfile_data();
    void removeProfile();
    void renameProfile_data();
    void renameProfile();
    void saveLoadRoundTripKeepsEveryKey_data();
    void saveLoadRoundTripKeepsEveryKey();
    void backupOfUnusableFile_data();
    void backupOfUnusableFile();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void hostileJsonNeverCrashes_data();
    void hostileJsonNeverCrashes();
    void unusableSettingsNamed_data();
    void unusableSettingsNamed();
};

void TestWorkProfileHandler::unusableFileKeepsState_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("{}") << true << QByteArray("{}\n");
    QTest::newRow("invalid JSON") << true
                                  << TestFiles::read(fixture(QStringLiteral("invalid.json")));
    QTest::newRow("top level is an array") << true << QByteArray("[{\"name\": \"x\"}]");
    QTest::newRow("top level is a number") << true << QByteArray("42");
    // Opening a pipe for reading would wait for a writer.
    QTest::newRow("pipe") << true << QByteArray("fifo");
}

void TestWorkProfileHandler::unusableFileKeepsState()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    if (content == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (exists)
        QVERIFY(TestFiles::write(path, content));

    // First start: nothing loaded, so applying makes and applies the default profile.
    WorkProfileHandler fresh;
    fresh.loadProfiles(path);
    QCOMPARE(fresh.profileNames(), QStringList());
    QCOMPARE(fresh.currentProfileId(), 0);
    SignalRecorder recorder(fresh);
    fresh.applyProfile(fresh.currentProfileId());
    QCOMPARE(
        recorder.calls.value(0), call("applyingProfileStarted", QStringLiteral("Default profile")));
    QCOMPARE(fresh.profileNames(), QStringList { QStringLiteral("Default profile") });

    // A handler that already holds profiles keeps them.
    WorkProfileHandler loaded;
    loaded.loadProfiles(fixture(QStringLiteral("full.json")));
    loaded.loadProfiles(path);
    QCOMPARE(loaded.profileNames(), fullNames());
    QCOMPARE(loaded.currentProfileId(), 1);
}

void TestWorkProfileHandler::currentIdOnLoad_data()
{
    QTest::addColumn<QByteArray>("currentId");
    QTest::addColumn<int>("expected");

    QTest::newRow("valid") << QByteArray("2") << 2;
    QTest::newRow("first") << QByteArray("0") << 0;
    QTest::newRow("equal to the number of profiles") << QByteArray("3") << 0;
    QTest::newRow("far out of range") << QByteArray("1000000") << 0;
    QTest::newRow("negative") << QByteArray("-1") << 0;
    QTest::newRow("missing") << QByteArray() << 0;
    QTest::newRow("string") << QByteArray("\"1\"") << 0;
    QTest::newRow("fraction") << QByteArray("1.5") << 0;
    QTest::newRow("beyond int") << QByteArray("1e300") << 0;
    QTest::newRow("null") << QByteArray("null") << 0;
}

void TestWorkProfileHandler::currentIdOnLoad()
{
    QFETCH(QByteArray, currentId);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    QByteArray json = "{\"profiles\": [{\"name\": \"a\"}, {\"name\": \"b\"}, {\"name\": \"c\"}]";
    if (!currentId.isEmpty())
        json += ", \"current_id\": " + currentId;
    QVERIFY(TestFiles::write(path, json + "}"));

    WorkProfileHandler handler;
    handler.loadProfiles(path);
    QCOMPARE(handler.currentProfileId(), expected);
    QCOMPARE(handler.profileNames(),
        (QStringList { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c") }));
}

void TestWorkProfileHandler::applyProfileSignals_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("expected");

    Announced defaults;
    defaults.name = QStringLiteral("Default profile");
    defaults.protocol = 0;
    defaults.forcing = true;
    defaults.url = QStringLiteral("ws://127.0.0.1:7578/");
    for (int c : { 0, 1, 3, 4, 5, 6, 7, 8, 9 })
        defaults.visible[c] = true;
    defaults.drawVertical = defaults.keepAspectRatio = defaults.sightLine
        = defaults.schemeCurrentTracks = defaults.laneLines = defaults.videoCurrentTracks
        = defaults.paintObjects = defaults.autoChangeView = defaults.autoGetData = true;
    QTest::newRow("default profile") << QString() << -1 << defaults.signalList();

    Announced first;
    first.name = QStringLiteral("Crossing A7");
    first.forcing = true;
    first.url = QStringLiteral("ws://127.0.0.1:7578/");
    first.visible[0] = first.visible[1] = true;
    first.drawVertical = first.paintObjects = first.autoChangeView = first.autoGetData = true;
    QTest::newRow("sparse profile") << QStringLiteral("full.json") << 0 << first.signalList();

    Announced full;
    full.name = QStringLiteral("Bridge, north side");
    full.protocol = 1;
    full.url = QStringLiteral("ws://10.0.0.5:7578/");
    const bool visible[14] = { true, true, true, false, true, false, true, false, true, false, true,
        false, true, true };
    const bool collapsed[14] = { false, true, false, true, true, false, true, true, false, false,
        true, true, false, true };
    std::copy(visible, visible + 14, full.visible);
    std::copy(collapsed, collapsed + 14, full.collapsed);
    full.schemeAverageTracks = true;
    full.tracksMode = 2;
    full.roadConfig = QJsonObject {
        { QStringLiteral("parts"),
            QJsonArray { QJsonObject { { QStringLiteral("type"), QStringLiteral("lane") },
                { QStringLiteral("width"), 3.5 } } } },
        { QStringLiteral("sections"), QJsonArray() }
    };
    full.distLines = full.objectDimensions = full.videoAverageTracks = true;
    full.tvmsConfig = QJsonObject { { QStringLiteral("focal_length"), 12.5 },
        { QStringLiteral("height"), 6.2 } };
    full.positionPresets = QJsonArray { QJsonObject {
        { QStringLiteral("name"), QStringLiteral("pole 3") }, { QStringLiteral("height"), 6.2 } } };
    full.limitationsPresets
        = QJsonArray { QJsonObject { { QStringLiteral("name"), QStringLiteral("two lanes") },
            { QStringLiteral("polygons"), QJsonArray { QJsonArray { 0, 1, 2 } } } } };
    QTest::newRow("every value set") << QStringLiteral("full.json") << 1 << full.signalList();

    Announced noControls;
    noControls.name = QStringLiteral("No panels");
    noControls.protocol = 1;
    noControls.forcing = true;
    noControls.url = QStringLiteral("ws://192.168.1.20:7578/");
    noControls.drawVertical = noControls.keepAspectRatio = noControls.schemeCurrentTracks
        = noControls.schemeAverageTracks = true;
    noControls.tracksMode = 1;
    noControls.roadConfig = QJsonObject { { QStringLiteral("sections"),
        QJsonArray { QJsonObject { { QStringLiteral("type"), QStringLiteral("straight") },
            { QStringLiteral("length"), 50 } } } } };
    noControls.laneLines = noControls.distLines = noControls.videoCurrentTracks = true;
    noControls.tvmsConfig = QJsonObject { { QStringLiteral("height"), 7 } };
    noControls.paintObjects = noControls.autoGetData = true;
    noControls.positionPresets
        = QJsonArray { QJsonObject { { QStringLiteral("name"), QStringLiteral("mast") } } };
    QTest::newRow("missing controls")
        << QStringLiteral("no-controls.json") << 0 << noControls.signalList();

    // Wrong types take the defaults; missing values (panels 4 to 13) read as false.
    Announced wrong = defaults;
    for (int c = 4; c < 14; ++c)
        wrong.visible[c] = false;
    wrong.autoChangeView = true;
    QTest::newRow("wrong types everywhere")
        << QStringLiteral("wrong-types.json") << 0 << wrong.signalList();
}

void TestWorkProfileHandler::applyProfileSignals()
{
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QStringList, expected);

    WorkProfileHandler handler;
    if (!file.isEmpty())
        handler.loadProfiles(fixture(file));
    SignalRecorder recorder(handler);
    handler.applyProfile(index);
    QCOMPARE(recorder.calls.size(), 2 + 3 + 2 * 14 + 7 + 7 + 2 + 1 + 2);
    QCOMPARE(recorder.calls, expected);
}

void TestWorkProfileHandler::applyProfileIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expectedCurrent");

    QTest::newRow("negative means current") << -1 << 1;
    QTest::newRow("very negative means current") << -100 << 1;
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("second") << 1 << 1;
    QTest::newRow("past the end means first") << 2 << 0;
}

void TestWorkProfileHandler::applyProfileIndex()
{
    QFETCH(int, index);
    QFETCH(int, expectedCurrent);

    WorkProfileHandler handler;
    handler.loadProfiles(fixture(QStringLiteral("full.json")));
    QCOMPARE(handler.currentProfileId(), 1);
    QSignalSpy started(&handler, &WorkProfileHandler::applyingProfileStarted);
    handler.applyProfile(index);
    QCOMPARE(handler.currentProfileId(), expectedCurrent);
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.at(0).at(0).toString(), handler.profileNames().at(expectedCurrent));
}

void TestWorkProfileHandler::settersWriteNestedPaths_data()
{
    QTest::addColumn<Setter>("setter");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("announced");

    using H = WorkProfileHandler;
    const QString url = QStringLiteral("ws://host:1/");
    const QJsonObject road { { QStringLiteral("parts"), QJsonArray { 1, 2 } } };
    const QJsonObject tvms { { QStringLiteral("height"), 5.5 } };
    const QJsonArray presets { QJsonObject { { QStringLiteral("name"), QStringLiteral("p") } } };
    // The path of the stored value inside the profile, split at '/'.
    const auto row = [](const char *name, const Setter &setter, const char *path,
                         const QJsonValue &value, const QString &announced) {
        QTest::newRow(name) << setter << QString::fromLatin1(path).split(QLatin1Char('/')) << value
                            << announced;
    };

    row(
        "protocol version", [](H &h) { h.setProtocolVersion(1); }, "connection/radar_protocol", 1,
        call("protocolVersionChanged", 1));
    row(
        "protocol forcing", [](H &h) { h.setProtocolForcing(false); },
        "connection/protocol_forcing", false, call("protocolForcingChanged", false));
    row(
        "server url", [url](H &h) { h.setRadarServerUrl(url); }, "connection/radar_server_url", url,
        call("radarServerUrlChanged", url));
    row(
        "control visible", [](H &h) { h.setControlVisible(12, true); }, "view/controls/12/visible",
        true, call("controlVisibleChanged", 12, true));
    row(
        "control collapsed", [](H &h) { h.setControlCollapsed(7, true); },
        "view/controls/7/collapsed", true, call("controlCollapsedChanged", 7, true));
    row(
        "draw vertical", [](H &h) { h.setDrawVertical(false); },
        "view/traffic_scheme/draw_vertical", false, call("drawVerticalChanged", false));
    row(
        "keep aspect ratio", [](H &h) { h.setKeepAspectRatio(true); },
        "view/traffic_scheme/keep_aspect_ratio", true, call("keepAspectRatioChanged", true));
    row(
        "sight line", [](H &h) { h.setShowSightLine(true); }, "view/traffic_scheme/show_sightline",
        true, call("showSightLineChanged", true));
    row(
        "current tracks on scheme", [](H &h) { h.setShowCurrentTracksOnScheme(false); },
        "view/traffic_scheme/show_current_tracks", false,
        call("showCurrentTracksOnSchemeChanged", false));
    row(
        "average tracks on scheme", [](H &h) { h.setShowAverageTracksOnScheme(true); },
        "view/traffic_scheme/show_average_tracks", true,
        call("showAverageTracksOnSchemeChanged", true));
    row(
        "tracks display mode", [](H &h) { h.setTracksDisplayMode(2); },
        "view/traffic_scheme/tracks_display_mode", 2, call("tracksDisplayModeChanged", 2));
    row(
        "road config", [road](H &h) { h.setRoadConfig(road); }, "view/traffic_scheme/road_config",
        road, call("roadConfigChanged", road));
    row(
        "lane lines on video", [](H &h) { h.setShowLaneLinesOnVideo(true); },
        "view/monitoring_system/show_lane_boundaries", true,
        call("showLaneLinesOnVideoChanged", true));
    row(
        "distance lines on video", [](H &h) { h.setShowDistLinesOnVideo(true); },
        "view/monitoring_system/show_distance_lines", true,
        call("showDistLinesOnVideoChanged", true));
    row(
        "object dimensions on video", [](H &h) { h.setShowObjectDimensionsOnVideo(true); },
        "view/monitoring_system/show_object_dimensions", true,
        call("showObjectDimensionsOnVideoChanged", true));
    row(
        "current tracks on video", [](H &h) { h.setShowCurrentTracksOnVideo(false); },
        "view/monitoring_system/show_current_tracks", false,
        call("showCurrentTracksOnVideoChanged", false));
    row(
        "average tracks on video", [](H &h) { h.setShowAverageTracksOnVideo(true); },
        "view/monitoring_system/show_average_tracks", true,
        call("showAverageTracksOnVideoChanged", true));
    row(
        "tvms config", [tvms](H &h) { h.setTvmsConfig(tvms); },
        "view/monitoring_system/tvms_config", tvms, call("tvmsConfigChanged", tvms));
    row(
        "projection background image",
        [](H &h) { h.setProjectionBackgroundImage(QStringLiteral("/tmp/road.png")); },
        "view/monitoring_system/background_image", QStringLiteral("/tmp/road.png"),
        call("projectionBackgroundImageChanged", QStringLiteral("/tmp/road.png")));
    row(
        "paint objects", [](H &h) { h.setPaintObjects(false); }, "view/paint_objects", false,
        call("paintObjectsChanged", false));
    row(
        "auto change view", [](H &h) { h.setAutoChangeView(false); }, "view/auto_change_view",
        false, call("autoChangeViewChanged", false));
    row(
        "auto get data", [](H &h) { h.setAutoGetData(false); }, "data/auto_get_data", false,
        call("autoGetDataChanged", false));
    row(
        "position presets", [presets](H &h) { h.setPositionPresets(presets); },
        "presets/position_presets", presets, call("positionPresetsChanged", presets));
    row(
        "limitations presets", [presets](H &h) { h.setLimitationsPresets(presets); },
        "presets/limitations_presets", presets, call("limitationsPresetsChanged", presets));
}

void TestWorkProfileHandler::settersWriteNestedPaths()
{
    QFETCH(Setter, setter);
    QFETCH(QStringList, path);
    QFETCH(QJsonValue, value);
    QFETCH(QString, announced);

    // The current profile has none of the groups, and "view" has the wrong type: every
    // object on the path has to be made.
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.json"));
    const QString target = dir.filePath(QStringLiteral("target.json"));
    QVERIFY(TestFiles::write(source,
        "{\"current_id\": 1, \"profiles\": [{\"name\": \"Other\"},"
        " {\"name\": \"Bare\", \"view\": 7, \"future\": [1]}]}"));
    WorkProfileHandler handler;
    handler.loadProfiles(source);

    SignalRecorder recorder(handler);
    setter(handler);
    QCOMPARE(recorder.calls, QStringList { announced });
    // The value is now stored: a second call still announces it, once.
    setter(handler);
    QCOMPARE(recorder.calls, (QStringList { announced, announced }));

    QVERIFY(handler.saveProfiles(target));
    const QJsonArray profiles = readJson(target).value(QStringLiteral("profiles")).toArray();
    QCOMPARE(profiles.size(), 2);
    QCOMPARE(profiles.at(0).toObject(),
        (QJsonObject { { QStringLiteral("name"), QStringLiteral("Other") } }));
    QJsonObject expected { { QStringLiteral("name"), QStringLiteral("Bare") },
        { QStringLiteral("view"), 7 }, { QStringLiteral("future"), QJsonArray { 1 } } };
    QJsonValue nested = value;
    for (int i = path.size() - 1; i > 0; --i)
        nested = QJsonObject { { path.at(i), nested } };
    expected.insert(path.first(), nested);
    QCOMPARE(profiles.at(1).toObject(), expected);
    QCOMPARE(valueAt(profiles.at(1).toObject(), path), value);
}

void TestWorkProfileHandler::setterWithoutProfilesStillAnnounces()
{
    WorkProfileHandler handler;
    QSignalSpy spy(&handler, &WorkProfileHandler::drawVerticalChanged);
    handler.setDrawVertical(false);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(handler.profileNames(), QStringList());
}

void TestWorkProfileHandler::copiesOfCopies()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    WorkProfileHandler handler;
    handler.applyProfile(-1);
    handler.setTracksDisplayMode(1);

    QCOMPARE(handler.appendProfile(0), 1);
    QCOMPARE(handler.appendProfile(1), 2);
    QCOMPARE(handler.appendProfile(99), 3);
    QCOMPARE(handler.appendProfile(-1), 4);
    QCOMPARE(handler.profileNames(),
        (QStringList { QStringLiteral("Default profile"), QStringLiteral("Default profile (copy)"),
            QStringLiteral("Default profile (copy) (copy)"),
            QStringLiteral("Default profile (copy)"), QStringLiteral("Default profile (copy)") }));
    QCOMPARE(handler.currentProfileId(), 0);

    // Copies carry every value of their original; an invalid index copies the defaults.
    QVERIFY(handler.saveProfiles(path));
    const QJsonArray profiles = readJson(path).value(QStringLiteral("profiles")).toArray();
    const QStringList mode { QStringLiteral("view"), QStringLiteral("traffic_scheme"),
        QStringLiteral("tracks_display_mode") };
    QJsonObject original = profiles.at(0).toObject();
    QJsonObject copy = profiles.at(2).toObject();
    original.remove(QStringLiteral("name"));
    copy.remove(QStringLiteral("name"));
    QCOMPARE(copy, original);
    QCOMPARE(valueAt(profiles.at(2).toObject(), mode), QJsonValue(1));
    QCOMPARE(valueAt(profiles.at(3).toObject(), mode), QJsonValue(0));
}

void TestWorkProfileHandler::removeProfile_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("current");

    const QString a = QStringLiteral("A"), b = QStringLiteral("B"), c = QStringLiteral("C"),
                  d = QStringLiteral("D");
    QTest::newRow("first") << 0 << QStringList { b, c, d } << 1;
    QTest::newRow("just before current") << 1 << QStringList { a, c, d } << 1;
    QTest::newRow("current") << 2 << QStringList { a, b, c, d } << 2;
    QTest::newRow("after current") << 3 << QStringList { a, b, c } << 2;
    QTest::newRow("past the end") << 4 << QStringList { a, b, c, d } << 2;
    QTest::newRow("negative") << -1 << QStringList { a, b, c, d } << 2;
}

void TestWorkProfileHandler::removeProfile()
{
    QFETCH(int, index);
    QFETCH(QStringList, names);
    QFETCH(int, current);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    QVERIFY(TestFiles::write(path,
        "{\"current_id\": 2, \"profiles\": [{\"name\": \"A\"}, {\"name\": "
        "\"B\"}, {\"name\": \"C\"}, {\"name\": \"D\"}]}"));
    WorkProfileHandler handler;
    handler.loadProfiles(path);
    handler.removeProfile(index);
    QCOMPARE(handler.profileNames(), names);
    QCOMPARE(handler.currentProfileId(), current);
    QCOMPARE(handler.profileNames().at(handler.currentProfileId()), QStringLiteral("C"));
}

void TestWorkProfileHandler::renameProfile_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("names");

    const QString first = QStringLiteral("Crossing A7");
    const QString second = QStringLiteral("Bridge, north side");
    QTest::newRow("current") << 1 << QStringLiteral("Bridge")
                             << QStringList { first, QStringLiteral("Bridge") };
    QTest::newRow("other") << 0 << QStringLiteral("A7")
                           << QStringList { QStringLiteral("A7"), second };
    QTest::newRow("empty name") << 0 << QString() << QStringList { QString(), second };
    QTest::newRow("same name as another") << 0 << second << QStringList { second, second };
    QTest::newRow("past the end") << 2 << QStringLiteral("x") << QStringList { first, second };
    QTest::newRow("negative") << -1 << QStringLiteral("x") << QStringList { first, second };
}

void TestWorkProfileHandler::renameProfile()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QStringList, names);

    WorkProfileHandler handler;
    handler.loadProfiles(fixture(QStringLiteral("full.json")));
    handler.renameProfile(index, name);
    QCOMPARE(handler.profileNames(), names);
    QCOMPARE(handler.currentProfileId(), 1);
}

void TestWorkProfileHandler::saveLoadRoundTripKeepsEveryKey_data()
{
    QTest::addColumn<QString>("file");

    QTest::newRow("unknown keys at every level") << QStringLiteral("full.json");
    QTest::newRow("missing controls") << QStringLiteral("no-controls.json");
    QTest::newRow("wrong types are not repaired") << QStringLiteral("wrong-types.json");
}

void TestWorkProfileHandler::saveLoadRoundTripKeepsEveryKey()
{
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));

    WorkProfileHandler handler;
    handler.loadProfiles(fixture(file));
    const int current = handler.currentProfileId();
    SignalRecorder before(handler);
    handler.applyProfile(-1);
    QVERIFY(handler.saveProfiles(path));

    QJsonObject original = readJson(fixture(file));
    QJsonObject saved = readJson(path);
    QCOMPARE(saved.value(QStringLiteral("current_id")), QJsonValue(current));
    original.remove(QStringLiteral("current_id"));
    saved.remove(QStringLiteral("current_id"));
    QCOMPARE(saved, original);

    WorkProfileHandler reloaded;
    reloaded.loadProfiles(path);
    QCOMPARE(reloaded.profileNames(), handler.profileNames());
    QCOMPARE(reloaded.currentProfileId(), current);
    SignalRecorder after(reloaded);
    reloaded.applyProfile(-1);
    QCOMPARE(after.calls, before.calls);
}

void TestWorkProfileHandler::backupOfUnusableFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("backedUp");

    const QByteArray full = TestFiles::read(fixture(QStringLiteral("full.json")));
    QTest::newRow("missing comma")
        << TestFiles::read(fixture(QStringLiteral("invalid.json"))) << true;
    QTest::newRow("cut short") << full.left(full.size() / 2) << true;
    QTest::newRow("top level is an array") << QByteArray("[1, 2, 3]\n") << true;
    QTest::newRow("profiles is not an array")
        << QByteArray("{\"profiles\": {\"name\": \"mine\"}, \"current_id\": 0}") << true;
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe{\x01\"", 6) << true;
    QTest::newRow("nested too deep") << QByteArray(100000, '[') << true;
    // What a save on a full disk used to leave behind.
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("usable file") << full << false;
}

void TestWorkProfileHandler::backupOfUnusableFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, backedUp);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    QVERIFY(TestFiles::write(path, content));

    WorkProfileHandler handler;
    QSignalSpy backups(&handler, &WorkProfileHandler::configurationBackedUp);
    QSignalSpy failures(&handler, &WorkProfileHandler::savingFailed);
    handler.loadProfiles(path);
    handler.applyProfile(handler.currentProfileId());
    QCOMPARE(backups.count(), 0);
    QCOMPARE(TestFiles::read(path), content);

    QVERIFY(handler.saveProfiles(path));
    QCOMPARE(failures.count(), 0);
    QCOMPARE(backups.count(), backedUp ? 1 : 0);
    const QStringList backupFiles
        = QDir(dir.path()).entryList({ QStringLiteral("config.json.*.bak") }, QDir::Files);
    QCOMPARE(backupFiles.size(), backedUp ? 1 : 0);
    if (backedUp) {
        const QString backupPath = backups.at(0).at(0).toString();
        QCOMPARE(QFileInfo(backupPath).absoluteFilePath(), dir.filePath(backupFiles.first()));
        QVERIFY(QRegularExpression(QStringLiteral("^config\\.json\\.\\d{8}-\\d{6}\\.bak$"))
                    .match(backupFiles.first())
                    .hasMatch());
        QCOMPARE(TestFiles::read(backupPath), content);
        QCOMPARE(handler.profileNames().value(0), QStringLiteral("Default profile"));
    }
    const QJsonObject saved = readJson(path);
    QCOMPARE(
        saved.value(QStringLiteral("profiles")).toArray().size(), handler.profileNames().size());

    // Told once: later saves replace the file without further copies.
    handler.setPaintObjects(false);
    QVERIFY(handler.saveProfiles(path));
    QCOMPARE(backups.count(), backedUp ? 1 : 0);
    QCOMPARE(QDir(dir.path()).entryList({ QStringLiteral("*.bak") }, QDir::Files).size(),
        backedUp ? 1 : 0);
}

void TestWorkProfileHandler::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("place");

    QTest::newRow("parent is a regular file") << QStringLiteral("parent");
    QTest::newRow("path is a directory") << QStringLiteral("directory");
    QTest::newRow("path is a pipe") << QStringLiteral("pipe");
    QTest::newRow("disk is full") << QStringLiteral("full disk");
}

void TestWorkProfileHandler::failedSaveKeepsOldFile()
{
    QFETCH(QString, place);
    QTemporaryDir dir;
    const QByteArray old = TestFiles::read(fixture(QStringLiteral("no-controls.json")));
    WorkProfileHandler handler;
    handler.loadProfiles(fixture(QStringLiteral("full.json")));
    QSignalSpy failures(&handler, &WorkProfileHandler::savingFailed);

    if (place == QLatin1String("parent")) {
        const QString parent = dir.filePath(QStringLiteral("config"));
        QVERIFY(TestFiles::write(parent, old));
        QVERIFY(!handler.saveProfiles(parent + QStringLiteral("/config.json")));
        QCOMPARE(TestFiles::read(parent), old);
    } else if (place == QLatin1String("directory")) {
        const QString path = dir.filePath(QStringLiteral("config.json"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("config.json")));
        QVERIFY(TestFiles::write(path + QStringLiteral("/inside"), old));
        QVERIFY(!handler.saveProfiles(path));
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(TestFiles::read(path + QStringLiteral("/inside")), old);
    } else if (place == QLatin1String("pipe")) {
        const QString path = dir.filePath(QStringLiteral("config.json"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QVERIFY(!handler.saveProfiles(path));
        QVERIFY(!QFileInfo(path).isFile());
    } else {
        SmallDisk disk;
        VANTOR_REQUIRE_SMALL_DISK(disk);
        const QString path = disk.filePath(QStringLiteral("config.json"));
        QVERIFY(TestFiles::write(path, old));
        QVERIFY(disk.fill());
        QVERIFY(!handler.saveProfiles(path));
        QCOMPARE(TestFiles::read(path), old);
        QVERIFY(failures.value(0).value(0).toString().endsWith(
            QString::fromLocal8Bit(std::strerror(ENOSPC))));
    }
    QCOMPARE(failures.count(), 1);
    QVERIFY(!failures.at(0).at(0).toString().isEmpty());
}

void TestWorkProfileHandler::hostileJsonNeverCrashes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("profileCount");

    QByteArray deepProfile = "{\"profiles\": [{\"name\": \"deep\", \"view\": ";
    for (int i = 0; i < 500; ++i)
        deepProfile += "{\"controls\": ";
    deepProfile += "{}" + QByteArray(500, '}') + "}], \"current_id\": 0}";
    QTest::newRow("deep nesting inside a profile") << deepProfile << 1;

    QByteArray manyProfiles = "{\"current_id\": 199999, \"profiles\": [";
    for (int i = 0; i < 200000; ++i)
        manyProfiles += i ? ",null" : "null";
    QTest::newRow("huge array of nulls") << manyProfiles + "]}" << 200000;

    QByteArray hugeControls = "{\"profiles\": [{\"view\": {\"controls\": {";
    for (int i = 0; i < 50000; ++i)
        hugeControls += (i ? ",\"" : "\"") + QByteArray::number(i * 7919) + "\": {\"visible\": 1}";
    QTest::newRow("huge controls object") << hugeControls + "}}}]}" << 1;

    QTest::newRow("profiles of every type")
        << QByteArray("{\"profiles\": [null, true, 3, \"x\", [], {}], \"current_id\": 3}") << 6;
    QTest::newRow("wrong types everywhere")
        << TestFiles::read(fixture(QStringLiteral("wrong-types.json"))) << 1;
    QTest::newRow("nested too deep") << QByteArray(100000, '{') << 1;
    QTest::newRow("huge current id")
        << QByteArray("{\"profiles\": [{}], \"current_id\": -9e99}") << 1;
}

void TestWorkProfileHandler::hostileJsonNeverCrashes()
{
    QFETCH(QByteArray, content);
    QFETCH(int, profileCount);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    QVERIFY(TestFiles::write(path, content));

    WorkProfileHandler handler;
    handler.loadProfiles(path);
    SignalRecorder recorder(handler);
    handler.applyProfile(-1);
    QCOMPARE(recorder.calls.size(), 52);
    QCOMPARE(handler.profileNames().size(), profileCount);

    handler.setControlVisible(3, true);
    handler.setControlCollapsed(-1, true);
    handler.setRoadConfig(QJsonObject { { QStringLiteral("parts"), QJsonArray() } });
    handler.setPositionPresets(QJsonArray { 1 });
    const int copy = handler.appendProfile(handler.currentProfileId());
    handler.renameProfile(copy, QStringLiteral("copy"));
    handler.removeProfile(0);
    QVERIFY(handler.saveProfiles(path));

    WorkProfileHandler reloaded;
    reloaded.loadProfiles(path);
    QCOMPARE(reloaded.profileNames(), handler.profileNames());
    QCOMPARE(reloaded.currentProfileId(), handler.currentProfileId());
}

void TestWorkProfileHandler::unusableSettingsNamed_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("keys");
    // Announcements that must be among those of the profile.
    QTest::addColumn<QStringList>("announced");

    const QString url = QStringLiteral("ws://127.0.0.1:7578/");
    QTest::newRow("name and server URL")
        << QByteArray(R"({"profiles": [{"name": 42, "connection": {"radar_protocol": 1,
               "radar_server_url": ["ws://10.0.0.5:7578/"]}}]})")
        << QStringList { "name", "connection/radar_server_url" }
        << QStringList { call("applyingProfileStarted", QStringLiteral("Default profile")),
               call("protocolVersionChanged", 1), call("radarServerUrlChanged", url) };
    QTest::newRow("switches as text, number and null")
        << QByteArray(R"({"profiles": [{"name": "A", "view": {"traffic_scheme": {
               "draw_vertical": "yes", "show_average_tracks": 1, "keep_aspect_ratio": null,
               "show_sightline": false}}}]})")
        << QStringList { "view/traffic_scheme/draw_vertical",
               "view/traffic_scheme/keep_aspect_ratio", "view/traffic_scheme/show_average_tracks" }
        << QStringList { call("drawVerticalChanged", true), call("keepAspectRatioChanged", true),
               call("showSightLineChanged", false),
               call("showAverageTracksOnSchemeChanged", false) };
    QTest::newRow("whole numbers as fraction, text and 1e300")
        << QByteArray(R"({"profiles": [{"name": "A", "connection": {"radar_protocol": 1e300},
               "view": {"traffic_scheme": {"tracks_display_mode": 1.5},
               "controls": {"2": {"visible": "true", "collapsed": 1}}}}]})")
        << QStringList { "connection/radar_protocol", "view/controls/2/visible",
               "view/controls/2/collapsed", "view/traffic_scheme/tracks_display_mode" }
        << QStringList { call("protocolVersionChanged", 0), call("controlVisibleChanged", 2, false),
               call("controlCollapsedChanged", 2, false), call("tracksDisplayModeChanged", 0) };
    QTest::newRow("objects and arrays swapped")
        << QByteArray(R"({"profiles": [{"name": "A", "view": {"traffic_scheme":
               {"road_config": [1, 2]}, "monitoring_system": {"tvms_config": "camera",
               "background_image": 7}}, "presets": {"position_presets": {"name": "pole"}}}]})")
        << QStringList { "view/traffic_scheme/road_config", "view/monitoring_system/tvms_config",
               "view/monitoring_system/background_image", "presets/position_presets" }
        << QStringList { call("roadConfigChanged", QJsonObject()),
               call("tvmsConfigChanged", QJsonObject()),
               call("projectionBackgroundImageChanged", QString()),
               call("positionPresetsChanged", QJsonArray()) };
    const QJsonObject camera { { "horizontal_view_angle", 1e6 }, { "z_offset", 0.3 } };
    QTest::newRow("camera view angle outside the editor's range")
        << QByteArray(R"({"profiles": [{"name": "A", "view": {"monitoring_system":
               {"tvms_config": {"horizontal_view_angle": 1e6, "z_offset": 0.3}}}}]})")
        << QStringList { "view/monitoring_system/tvms_config/horizontal_view_angle" }
        << QStringList { call("tvmsConfigChanged", camera) };
    QTest::newRow("camera view angle as text")
        << QByteArray(R"({"profiles": [{"name": "A", "view": {"monitoring_system":
               {"tvms_config": {"horizontal_view_angle": "12"}}}}]})")
        << QStringList { "view/monitoring_system/tvms_config/horizontal_view_angle" }
        << QStringList { call(
               "tvmsConfigChanged", QJsonObject { { "horizontal_view_angle", "12" } }) };
    QTest::newRow("camera view angles at the editor's ends name nothing")
        << QByteArray(R"({"profiles": [{"name": "A", "view": {"monitoring_system":
               {"tvms_config": {"horizontal_view_angle": 90}}}},
               {"name": "B", "view": {"monitoring_system":
               {"tvms_config": {"horizontal_view_angle": 1}}}}]})")
        << QStringList()
        << QStringList { call(
               "tvmsConfigChanged", QJsonObject { { "horizontal_view_angle", 90 } }) };
    QTest::newRow("groups that are no objects")
        << QByteArray(R"({"profiles": [{"name": "A", "connection": "ws://10.0.0.5:7578/",
               "view": {"controls": {"4": false}}, "data": [true]}]})")
        << QStringList { "connection", "view/controls/4", "data" }
        << QStringList { call("protocolForcingChanged", true), call("radarServerUrlChanged", url),
               call("controlVisibleChanged", 4, true), call("controlCollapsedChanged", 4, false),
               call("autoGetDataChanged", true) };
    QTest::newRow("server URLs that reach no server")
        << QByteArray(R"({"profiles": [{"name": "A", "connection": {"radar_server_url": ""}},
               {"name": "B", "connection": {"radar_server_url": "http://10.0.0.5/"}}]})")
        << QStringList { "connection/radar_server_url" }
        << QStringList { call("radarServerUrlChanged", url) };
    QTest::newRow("current profile index and a profile that is no object")
        << QByteArray(R"({"current_id": "0", "profiles": [7]})")
        << QStringList { "current_id", "profiles/0" }
        << QStringList { call("applyingProfileStarted", QStringLiteral("Default profile")),
               call("radarServerUrlChanged", url) };
    QTest::newRow("usable and missing values name nothing")
        << QByteArray(R"({"current_id": 0, "profiles": [{"name": "A", "connection":
               {"radar_server_url": "wss://radar.example:7578/"}}]})")
        << QStringList()
        << QStringList { call("applyingProfileStarted", QStringLiteral("A")),
               call("protocolVersionChanged", 0), call("protocolForcingChanged", false),
               call("radarServerUrlChanged", QStringLiteral("wss://radar.example:7578/")) };
}

void TestWorkProfileHandler::unusableSettingsNamed()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, announced);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("config.json"));
    QVERIFY(TestFiles::write(path, file));

    WorkProfileHandler handler;
    handler.loadProfiles(path);
    SignalRecorder recorder(handler);
    QSignalSpy unusable(&handler, &WorkProfileHandler::unusableSettingsFound);
    handler.applyProfile(-1);

    for (const QString &expected : announced)
        QVERIFY2(recorder.calls.contains(expected), qPrintable(expected));
    if (keys.isEmpty()) {
        QCOMPARE(unusable.count(), 0);
        return;
    }
    QCOMPARE(unusable.count(), 1);
    QCOMPARE(unusable.at(0).at(1).toStringList(), keys);
    QCOMPARE(unusable.at(0).at(0).toString(),
        QStringLiteral("These settings were unusable and use their defaults: ")
            + keys.join(QStringLiteral(", ")));

    // Named once: applying the profile again says nothing more.
    handler.applyProfile(-1);
    QCOMPARE(unusable.count(), 1);
    // Another profile with its own unusable values is named when applied.
    if (handler.profileNames().size() > 1) {
        handler.applyProfile(1);
        QCOMPARE(unusable.count(), 2);
    }
}

QTEST_GUILESS_MAIN(TestWorkProfileHandler)
#include "tst_workprofilehandler.moc"
