#include "workprofilehandler.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <type_traits>

namespace {

using H = WorkProfileHandler;

const QString ProfilesKey = QStringLiteral("profiles");
const QString CurrentIdKey = QStringLiteral("current_id");
const QString NameKey = QStringLiteral("name");
const QString PresetsKey = QStringLiteral("presets");
// Stands for the panel's identifier in the path of a per-panel setting.
const QString PanelKey = QStringLiteral("#");

// Stored values are read leniently: a missing value or one of another type gives false, 0,
// an empty text, object or array.
template<typename T> T valueAs(const QJsonValue &value);
template<> bool valueAs(const QJsonValue &value)
{
    return value.toBool();
}
template<> int valueAs(const QJsonValue &value)
{
    return value.toInt();
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
    H::Announce announce;
    // The default of a per-panel setting that differs between panels.
    QJsonValue (*initialForPanel)(int control) = nullptr;

    QStringList keys(int control) const
    {
        QStringList keys = QString::fromLatin1(path).split(QLatin1Char('/'));
        keys.replaceInStrings(PanelKey, QString::number(control));
        return keys;
    }
    bool isPerPanel() const { return std::strchr(path, '#') != nullptr; }
};

const QJsonValue Absent(QJsonValue::Undefined);

// Every setting of a profile, in the order a profile is announced. The per-panel settings
// are announced panel by panel, all of one panel before the next.
// clang-format off
const Setting Settings[] {
    { "connection/radar_protocol", 0, &announce<&H::protocolVersionChanged> },
    { "connection/protocol_forcing", true, &announce<&H::protocolForcingChanged> },
    { "connection/radar_server_url", QStringLiteral("ws://127.0.0.1:7578/"), &announce<&H::radarServerUrlChanged> },
    { "view/controls/#/visible", Absent, &announce<&H::controlVisibleChanged>, &isVisibleByDefault },
    { "view/controls/#/collapsed", false, &announce<&H::controlCollapsedChanged> },
    { "view/traffic_scheme/draw_vertical", true, &announce<&H::drawVerticalChanged> },
    { "view/traffic_scheme/keep_aspect_ratio", true, &announce<&H::keepAspectRatioChanged> },
    { "view/traffic_scheme/show_sightline", true, &announce<&H::showSightLineChanged> },
    { "view/traffic_scheme/show_current_tracks", true, &announce<&H::showCurrentTracksOnSchemeChanged> },
    { "view/traffic_scheme/show_average_tracks", false, &announce<&H::showAverageTracksOnSchemeChanged> },
    { "view/traffic_scheme/tracks_display_mode", 0, &announce<&H::tracksDisplayModeChanged> },
    { "view/traffic_scheme/road_config", QJsonObject(), &announce<&H::roadConfigChanged> },
    { "view/monitoring_system/show_lane_boundaries", true, &announce<&H::showLaneLinesOnVideoChanged> },
    { "view/monitoring_system/show_distance_lines", false, &announce<&H::showDistLinesOnVideoChanged> },
    { "view/monitoring_system/show_object_dimensions", false, &announce<&H::showObjectDimensionsOnVideoChanged> },
    { "view/monitoring_system/show_current_tracks", true, &announce<&H::showCurrentTracksOnVideoChanged> },
    { "view/monitoring_system/show_average_tracks", false, &announce<&H::showAverageTracksOnVideoChanged> },
    { "view/monitoring_system/tvms_config", QJsonObject(), &announce<&H::tvmsConfigChanged> },
    { "view/monitoring_system/background_image", Absent, &announce<&H::projectionBackgroundImageChanged> },
    { "view/paint_objects", true, &announce<&H::paintObjectsChanged> },
    { "view/auto_change_view", true, &announce<&H::autoChangeViewChanged> },
    { "data/auto_get_data", true, &announce<&H::autoGetDataChanged> },
    { "presets/position_presets", Absent, &announce<&H::positionPresetsChanged> },
    { "presets/limitations_presets", Absent, &announce<&H::limitationsPresetsChanged> },
};
// clang-format on

const Setting *findSetting(H::Announce announce)
{
    for (const Setting &setting : Settings) {
        if (setting.announce == announce)
            return &setting;
    }
    return nullptr;
}

QJsonValue valueAt(const QJsonObject &profile, const QStringList &keys)
{
    QJsonValue value = profile;
    for (const QString &key : keys)
        value = value.toObject().value(key);
    return value;
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
    if (content == JsonConfigFile::Content::Unusable || content == JsonConfigFile::Content::Empty)
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
    int index = root.value(CurrentIdKey).toInt();
    if (!doCheckIndex(index))
        index = 0;
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

    // A copy: receivers may call the setters while the profile is being announced.
    const QJsonObject profile = m_profiles.at(index).toObject();
    emit applyingProfileStarted(profile.value(NameKey).toString());

    const Setting *const end = std::end(Settings);
    for (const Setting *setting = std::begin(Settings); setting != end;) {
        if (!setting->isPerPanel()) {
            setting->announce(*this, -1, valueAt(profile, setting->keys(-1)));
            ++setting;
            continue;
        }
        const Setting *const panelEnd
            = std::find_if(setting, end, [](const Setting &s) { return !s.isPerPanel(); });
        for (int control = 0; control < ControlCount; ++control) {
            for (const Setting *panel = setting; panel != panelEnd; ++panel)
                panel->announce(*this, control, valueAt(profile, panel->keys(control)));
        }
        setting = panelEnd;
    }

    emit applyingProfileFinished();
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
            const QJsonValue initial
                = setting.initialForPanel ? setting.initialForPanel(control) : setting.initial;
            profile = doReplaceValue(profile, setting.keys(control), initial);
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
