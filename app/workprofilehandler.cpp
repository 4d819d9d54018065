#include "workprofilehandler.h"

#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <type_traits>

namespace {

using H = WorkProfileHandler;

const QString ProfilesKey = QStringLiteral("profiles");
const QString CurrentIdKey = QStringLiteral("current_id");
const QString NameKey = QStringLiteral("name");
const QString PresetsKey = QStringLiteral("presets");
// Stands for the panel's identifier in the path of a per-panel setting.
const QString PanelKey = QStringLiteral("#");

// A missing value reads as false, 0, an empty text, object or array.
template<typename T> T valueAs(const QJsonValue &value);
template<> bool valueAs(const QJsonValue &value)
{
    return value.toBool();
}
template<> int valueAs(const QJsonValue &value)
{
    return value.toInt();
}
template<> double valueAs(const QJsonValue &value)
{
    return value.toDouble();
}
template<> QString valueAs(const QJsonValue &value)
{
    return value.toString();
}
template<> QJsonObject valueAs(const QJsonValue &value)
{
    return value.toObject();
}
template<> QJsonArray valueAs(const QJsonValue &value)
{
    return value.toArray();
}

template<typename Signal> struct ChangeSignal;
template<typename Arg> struct ChangeSignal<void (H::*)(Arg)>
{
    using Value = std::decay_t<Arg>;
    static constexpr bool PerPanel = false;
};
template<typename Arg> struct ChangeSignal<void (H::*)(int, Arg)>
{
    using Value = std::decay_t<Arg>;
    static constexpr bool PerPanel = true;
};

// Emits a change signal with a stored value; `control` is the panel of a per-panel one.
template<auto signal>
void announce(H &handler, [[maybe_unused]] int control, const QJsonValue &value)
{
    using S = ChangeSignal<decltype(signal)>;
    if constexpr (S::PerPanel)
        emit(handler.*signal)(control, valueAs<typename S::Value>(value));
    else
        emit(handler.*signal)(valueAs<typename S::Value>(value));
}

// Whether a stored value is of the setting's type; a value that is not takes the
// setting's default and is named to the user.
template<typename T> bool isUsable(const QJsonValue &value);
template<> bool isUsable<bool>(const QJsonValue &value)
{
    return value.isBool();
}
template<> bool isUsable<int>(const QJsonValue &value)
{
    const double number = value.toDouble(0.5);
    return value.isDouble() && std::trunc(number) == number
        && number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
}
template<> bool isUsable<double>(const QJsonValue &value)
{
    return value.isDouble();
}
template<> bool isUsable<QString>(const QJsonValue &value)
{
    return value.isString();
}
template<> bool isUsable<QJsonObject>(const QJsonValue &value)
{
    return value.isObject();
}
template<> bool isUsable<QJsonArray>(const QJsonValue &value)
{
    return value.isArray();
}

template<auto signal> bool accepts(const QJsonValue &value)
{
    return isUsable<typename ChangeSignal<decltype(signal)>::Value>(value);
}
// The program can only reach a radar server through a WebSocket URL.
template<> bool accepts<&H::radarServerUrlChanged>(const QJsonValue &value)
{
    const QUrl url(value.toString(), QUrl::StrictMode);
    return value.isString() && url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("ws") || url.scheme() == QLatin1String("wss"));
}

// The lane statistics offer intervals of 1, 5 and 15 minutes.
template<> bool accepts<&H::laneStatisticsIntervalChanged>(const QJsonValue &value)
{
    return value.isDouble()
        && (value.toDouble() == 1 || value.toDouble() == 5 || value.toDouble() == 15);
}

// The wrong-way alarm's distance editor offers 5 to 200 m.
template<> bool accepts<&H::wrongWayDistanceChanged>(const QJsonValue &value)
{
    return value.isDouble() && value.toDouble() >= 5.0 && value.toDouble() <= 200.0;
}

// The history is saved as text or CSV.
template<> bool accepts<&H::historyFileFormatChanged>(const QJsonValue &value)
{
    return value.isString()
        && (value.toString() == QLatin1String("text") || value.toString() == QLatin1String("csv"));
}

// Members of a usable object that its receiver cannot use and replaces by their defaults;
// the object itself is announced as it is.
template<auto signal> QStringList unusableMembers(const QJsonValue &)
{
    return {};
}

// The camera reads a view angle outside its editor's 1 to 90 degrees as its default.
template<> QStringList unusableMembers<&H::tvmsConfigChanged>(const QJsonValue &value)
{
    const QString key = QStringLiteral("horizontal_view_angle");
    const QJsonValue angle = value.toObject().value(key);
    if (angle.isUndefined()
        || (angle.isDouble() && angle.toDouble() >= 1.0 && angle.toDouble() <= 90.0))
        return {};
    return { key };
}

// How a setting is announced and which stored values it can use.
struct Handling
{
    H::Announce announce;
    bool (*accepts)(const QJsonValue &value);
    QStringList (*unusableMembers)(const QJsonValue &value);
};
template<auto signal>
constexpr Handling handle { &announce<signal>, &accepts<signal>, &unusableMembers<signal> };

// Panels 2 (road objects table) and 10 to 13 start hidden.
QJsonValue isVisibleByDefault(int control)
{
    return control != 2 && control < 10;
}

struct Setting
{
    // Keys from the profile down, separated by '/'; "#" is the panel's identifier.
    const char *path;
    // In a new default profile; undefined: left out.
    QJsonValue initial;
    Handling handling;
    // The default of a per-panel setting that differs between panels.
    QJsonValue (*initialForPanel)(int control) = nullptr;

    QStringList keys(int control) const
    {
        QStringList keys = QString::fromLatin1(path).split(QLatin1Char('/'));
        keys.replaceInStrings(PanelKey, QString::number(control));
        return keys;
    }
    bool isPerPanel() const { return std::strchr(path, '#') != nullptr; }
    QJsonValue initialFor(int control) const
    {
        return initialForPanel ? initialForPanel(control) : initial;
    }
};

const QJsonValue Absent(QJsonValue::Undefined);

// Every setting of a profile, in the order a profile is announced. The per-panel settings
// are announced panel by panel, all of one panel before the next.
// clang-format off
const Setting Settings[] {
    { "connection/radar_protocol", 0, handle<&H::protocolVersionChanged> },
    { "connection/protocol_forcing", true, handle<&H::protocolForcingChanged> },
    { "connection/radar_server_url", QStringLiteral("ws://127.0.0.1:7578/"), handle<&H::radarServerUrlChanged> },
    { "view/controls/#/visible", Absent, handle<&H::controlVisibleChanged>, &isVisibleByDefault },
    { "view/controls/#/collapsed", false, handle<&H::controlCollapsedChanged> },
    { "view/traffic_scheme/draw_vertical", true, handle<&H::drawVerticalChanged> },
    { "view/traffic_scheme/keep_aspect_ratio", true, handle<&H::keepAspectRatioChanged> },
    { "view/traffic_scheme/show_sightline", true, handle<&H::showSightLineChanged> },
    { "view/traffic_scheme/show_current_tracks", true, handle<&H::showCurrentTracksOnSchemeChanged> },
    { "view/traffic_scheme/show_average_tracks", false, handle<&H::showAverageTracksOnSchemeChanged> },
    { "view/traffic_scheme/tracks_display_mode", 0, handle<&H::tracksDisplayModeChanged> },
    { "view/traffic_scheme/road_config", QJsonObject(), handle<&H::roadConfigChanged> },
    { "view/monitoring_system/show_lane_boundaries", true, handle<&H::showLaneLinesOnVideoChanged> },
    { "view/monitoring_system/show_distance_lines", false, handle<&H::showDistLinesOnVideoChanged> },
    { "view/monitoring_system/show_object_dimensions", false, handle<&H::showObjectDimensionsOnVideoChanged> },
    { "view/monitoring_system/show_current_tracks", true, handle<&H::showCurrentTracksOnVideoChanged> },
    { "view/monitoring_system/show_average_tracks", false, handle<&H::showAverageTracksOnVideoChanged> },
    { "view/monitoring_system/tvms_config", QJsonObject(), handle<&H::tvmsConfigChanged> },
    { "view/monitoring_system/background_image", Absent, handle<&H::projectionBackgroundImageChanged> },
    { "view/paint_objects", true, handle<&H::paintObjectsChanged> },
    { "view/auto_change_view", true, handle<&H::autoChangeViewChanged> },
    { "data/auto_get_data", true, handle<&H::autoGetDataChanged> },
    { "data/history_file_format", QStringLiteral("text"), handle<&H::historyFileFormatChanged> },
    { "presets/position_presets", Absent, handle<&H::positionPresetsChanged> },
    { "presets/limitations_presets", Absent, handle<&H::limitationsPresetsChanged> },
    { "view/lane_statistics/interval_minutes", 5, handle<&H::laneStatisticsIntervalChanged> },
    { "view/lane_statistics/wrong_way_distance_m", 20.0, handle<&H::wrongWayDistanceChanged> },
};
// clang-format on

const Setting *findSetting(H::Announce announce)
{
    for (const Setting &setting : Settings) {
        if (setting.handling.announce == announce)
            return &setting;
    }
    return nullptr;
}

// The stored value of a setting. A missing one reads leniently (false, 0, empty); one of
// the wrong type, or under a group that is no object, takes the setting's default and the
// unusable key is added to `unusable`.
QJsonValue usableValueAt(
    const QJsonObject &profile, const Setting &setting, int control, QStringList &unusable)
{
    const QStringList keys = setting.keys(control);
    QJsonValue value = profile;
    for (int i = 0; i < keys.size() && !value.isUndefined(); ++i) {
        if (!value.isObject()) {
            const QString group = keys.mid(0, i).join(QLatin1Char('/'));
            if (!unusable.contains(group))
                unusable.append(group);
            return setting.initialFor(control);
        }
        value = value.toObject().value(keys.at(i));
    }
    // Without a server URL the program could reach nothing: a missing one is the default.
    if (value.isUndefined() && setting.handling.accepts == &accepts<&H::radarServerUrlChanged>)
        return setting.initialFor(control);
    if (value.isUndefined())
        return value;
    if (setting.handling.accepts(value)) {
        const QString path = keys.join(QLatin1Char('/'));
        for (const QString &member : setting.handling.unusableMembers(value))
            unusable.append(path + QLatin1Char('/') + member);
        return value;
    }
    unusable.append(keys.join(QLatin1Char('/')));
    return setting.initialFor(control);
}

} // namespace

WorkProfileHandler::WorkProfileHandler(QObject *parent)
    : QObject(parent)
{ }

QStringList WorkProfileHandler::profileNames() const
{
    QStringList names;
    names.reserve(m_profiles.size());
    for (const QJsonValue &profile : m_profiles)
        names.append(profile.toObject().value(NameKey).toString());
    return names;
}

int WorkProfileHandler::currentProfileId() const
{
    return m_currentIndex;
}

void WorkProfileHandler::loadProfiles(const QString &path)
{
    QJsonObject root;
    const JsonConfigFile::Content content = m_configFile.read(path, &root);
    if (content == JsonConfigFile::Content::Unusable || content == JsonConfigFile::Content::Empty
        || content == JsonConfigFile::Content::NotRegularFile)
        emit configurationUnreadable(path);
    if (content != JsonConfigFile::Content::Object || root.isEmpty())
        return;

    // Profiles of an unknown shape are replaced on the next save; keep the file first.
    const QJsonValue profiles = root.value(ProfilesKey);
    if (!profiles.isUndefined() && !profiles.isArray()) {
        m_configFile.keepBeforeOverwrite(path);
        emit configurationUnreadable(path);
    }

    m_fileObject = root;
    m_profiles = profiles.toArray();
    m_reportedProfiles.clear();
    m_unusableOnLoad.clear();
    const QJsonValue currentId = root.value(CurrentIdKey);
    int index = currentId.toInt();
    const bool present = !currentId.isUndefined();
    if (!doCheckIndex(index) || (present && !isUsable<int>(currentId))) {
        index = 0;
        if (present)
            m_unusableOnLoad.append(CurrentIdKey);
    }
    m_currentIndex = index;
}

bool WorkProfileHandler::saveProfiles(const QString &path)
{
    QJsonObject root = m_fileObject;
    root.insert(ProfilesKey, m_profiles);
    root.insert(CurrentIdKey, m_currentIndex);

    const JsonConfigFile::WriteResult result = m_configFile.write(path, root);
    if (!m_configFile.lastBackupPath().isEmpty())
        emit configurationBackedUp(m_configFile.lastBackupPath());
    switch (result) {
    case JsonConfigFile::WriteResult::Written:
        return true;
    case JsonConfigFile::WriteResult::NotBackedUp:
        return doFailSaving(
            tr("Cannot keep a copy of the unreadable configuration file %1, so "
               "it was not replaced: %2")
                .arg(QFileInfo(path).absoluteFilePath(), m_configFile.errorString()));
    case JsonConfigFile::WriteResult::NotWritten:
        break;
    }
    return doFailSaving(
        tr("Cannot save the configuration to %1: %2").arg(path, m_configFile.errorString()));
}

void WorkProfileHandler::applyProfile(int index)
{
    if (index < 0)
        index = m_currentIndex;
    if (!doCheckIndex(index))
        index = 0;
    m_currentIndex = index;

    // Unusable values are announced as their defaults and named once per profile; the
    // stored values stay as they are, so a save loses nothing of the user's file.
    QStringList unusable = m_unusableOnLoad;
    m_unusableOnLoad.clear();

    // A copy: receivers may call the setters while the profile is being announced.
    const QJsonValue stored = m_profiles.at(index);
    QJsonObject profile = stored.toObject();
    if (!stored.isObject()) {
        unusable.append(QStringLiteral("%1/%2").arg(ProfilesKey).arg(index));
        profile = defaultProfile();
    }
    QJsonValue name = profile.value(NameKey);
    if (!name.isUndefined() && !name.isString()) {
        unusable.append(NameKey);
        name = tr("Default profile");
    }
    emit applyingProfileStarted(name.toString());

    const Setting *const end = std::end(Settings);
    for (const Setting *setting = std::begin(Settings); setting != end;) {
        if (!setting->isPerPanel()) {
            setting->handling.announce(*this, -1, usableValueAt(profile, *setting, -1, unusable));
            ++setting;
            continue;
        }
        const Setting *const panelEnd
            = std::find_if(setting, end, [](const Setting &s) { return !s.isPerPanel(); });
        for (int control = 0; control < ControlCount; ++control) {
            for (const Setting *panel = setting; panel != panelEnd; ++panel)
                panel->handling.announce(
                    *this, control, usableValueAt(profile, *panel, control, unusable));
        }
        setting = panelEnd;
    }

    emit applyingProfileFinished();

    if (!unusable.isEmpty() && !m_reportedProfiles.contains(index)) {
        m_reportedProfiles.insert(index);
        emit unusableSettingsFound(tr("These settings were unusable and use their defaults: %1")
                                       .arg(unusable.join(QStringLiteral(", "))),
            unusable);
    }
}

int WorkProfileHandler::appendProfile(int index)
{
    QJsonObject profile = doCheckIndex(index) ? m_profiles.at(index).toObject() : defaultProfile();
    profile.insert(NameKey, profile.value(NameKey).toString() + tr(" (copy)"));
    m_profiles.append(profile);
    return m_profiles.size() - 1;
}

void WorkProfileHandler::renameProfile(int index, const QString &name)
{
    if (!doCheckIndex(index))
        return;
    QJsonObject profile = m_profiles.at(index).toObject();
    profile.insert(NameKey, name);
    m_profiles.replace(index, profile);
}

void WorkProfileHandler::removeProfile(int index)
{
    if (!doCheckIndex(index) || index == m_currentIndex)
        return;
    if (index < m_currentIndex)
        --m_currentIndex;
    m_profiles.removeAt(index);
    // The indices have moved.
    m_reportedProfiles.clear();
}

void WorkProfileHandler::setProtocolVersion(int version)
{
    doSetValue(&announce<&H::protocolVersionChanged>, version);
}

void WorkProfileHandler::setProtocolForcing(bool forcing)
{
    doSetValue(&announce<&H::protocolForcingChanged>, forcing);
}

void WorkProfileHandler::setRadarServerUrl(const QString &url)
{
    doSetValue(&announce<&H::radarServerUrlChanged>, url);
}

void WorkProfileHandler::setControlVisible(int control, bool visible)
{
    doSetValue(&announce<&H::controlVisibleChanged>, visible, control);
}

void WorkProfileHandler::setControlCollapsed(int control, bool collapsed)
{
    doSetValue(&announce<&H::controlCollapsedChanged>, collapsed, control);
}

void WorkProfileHandler::setDrawVertical(bool vertical)
{
    doSetValue(&announce<&H::drawVerticalChanged>, vertical);
}

void WorkProfileHandler::setKeepAspectRatio(bool keep)
{
    doSetValue(&announce<&H::keepAspectRatioChanged>, keep);
}

void WorkProfileHandler::setShowSightLine(bool show)
{
    doSetValue(&announce<&H::showSightLineChanged>, show);
}

void WorkProfileHandler::setShowCurrentTracksOnScheme(bool show)
{
    doSetValue(&announce<&H::showCurrentTracksOnSchemeChanged>, show);
}

void WorkProfileHandler::setShowAverageTracksOnScheme(bool show)
{
    doSetValue(&announce<&H::showAverageTracksOnSchemeChanged>, show);
}

void WorkProfileHandler::setLaneStatisticsInterval(int minutes)
{
    doSetValue(&announce<&H::laneStatisticsIntervalChanged>, minutes);
}

void WorkProfileHandler::setWrongWayDistance(double metres)
{
    doSetValue(&announce<&H::wrongWayDistanceChanged>, metres);
}

void WorkProfileHandler::setTracksDisplayMode(int mode)
{
    doSetValue(&announce<&H::tracksDisplayModeChanged>, mode);
}

void WorkProfileHandler::setRoadConfig(const QJsonObject &config)
{
    doSetValue(&announce<&H::roadConfigChanged>, config);
}

void WorkProfileHandler::setShowLaneLinesOnVideo(bool show)
{
    doSetValue(&announce<&H::showLaneLinesOnVideoChanged>, show);
}

void WorkProfileHandler::setShowDistLinesOnVideo(bool show)
{
    doSetValue(&announce<&H::showDistLinesOnVideoChanged>, show);
}

void WorkProfileHandler::setShowObjectDimensionsOnVideo(bool show)
{
    doSetValue(&announce<&H::showObjectDimensionsOnVideoChanged>, show);
}

void WorkProfileHandler::setShowCurrentTracksOnVideo(bool show)
{
    doSetValue(&announce<&H::showCurrentTracksOnVideoChanged>, show);
}

void WorkProfileHandler::setShowAverageTracksOnVideo(bool show)
{
    doSetValue(&announce<&H::showAverageTracksOnVideoChanged>, show);
}

void WorkProfileHandler::setTvmsConfig(const QJsonObject &config)
{
    doSetValue(&announce<&H::tvmsConfigChanged>, config);
}

void WorkProfileHandler::setProjectionBackgroundImage(const QString &path)
{
    doSetValue(&announce<&H::projectionBackgroundImageChanged>, path);
}

void WorkProfileHandler::setPaintObjects(bool paint)
{
    doSetValue(&announce<&H::paintObjectsChanged>, paint);
}

void WorkProfileHandler::setAutoChangeView(bool change)
{
    doSetValue(&announce<&H::autoChangeViewChanged>, change);
}

void WorkProfileHandler::setAutoGetData(bool get)
{
    doSetValue(&announce<&H::autoGetDataChanged>, get);
}

void WorkProfileHandler::setHistoryFileFormat(const QString &format)
{
    doSetValue(&announce<&H::historyFileFormatChanged>, format);
}

void WorkProfileHandler::setPositionPresets(const QJsonArray &presets)
{
    doSetValue(&announce<&H::positionPresetsChanged>, presets);
}

void WorkProfileHandler::setLimitationsPresets(const QJsonArray &presets)
{
    doSetValue(&announce<&H::limitationsPresetsChanged>, presets);
}

QJsonObject WorkProfileHandler::defaultProfile() const
{
    QJsonObject profile { { NameKey, tr("Default profile") }, { PresetsKey, QJsonObject() } };
    for (const Setting &setting : Settings) {
        if (!setting.isPerPanel()) {
            if (!setting.initial.isUndefined())
                profile = doReplaceValue(profile, setting.keys(-1), setting.initial);
            continue;
        }
        for (int control = 0; control < ControlCount; ++control) {
            profile = doReplaceValue(profile, setting.keys(control), setting.initialFor(control));
        }
    }
    return profile;
}

bool WorkProfileHandler::doCheckIndex(int index)
{
    if (m_profiles.isEmpty())
        m_profiles.append(defaultProfile());
    return index >= 0 && index < m_profiles.size();
}

QJsonObject WorkProfileHandler::doReplaceValue(
    const QJsonObject &object, const QStringList &keys, const QJsonValue &value)
{
    if (keys.isEmpty())
        return object;
    QJsonObject result = object;
    const QString &key = keys.first();
    if (keys.size() == 1)
        result.insert(key, value);
    else
        result.insert(key, doReplaceValue(object.value(key).toObject(), keys.mid(1), value));
    return result;
}

void WorkProfileHandler::doSetValue(Announce announce, const QJsonValue &value, int control)
{
    const Setting *setting = findSetting(announce);
    if (setting && m_currentIndex >= 0 && m_currentIndex < m_profiles.size()) {
        const QJsonObject profile = m_profiles.at(m_currentIndex).toObject();
        m_profiles.replace(m_currentIndex, doReplaceValue(profile, setting->keys(control), value));
    }
    // Also when the value did not change.
    announce(*this, control, value);
}

bool WorkProfileHandler::doFailSaving(const QString &errorText)
{
    emit savingFailed(errorText);
    return false;
}
