#include "workprofilehandler.h"

#include <QFileInfo>

namespace {

const QString ProfilesKey = QStringLiteral("profiles");
const QString CurrentIdKey = QStringLiteral("current_id");

const QString NameKey = QStringLiteral("name");
const QString ConnectionKey = QStringLiteral("connection");
const QString ViewKey = QStringLiteral("view");
const QString DataKey = QStringLiteral("data");
const QString PresetsKey = QStringLiteral("presets");

const QString RadarProtocolKey = QStringLiteral("radar_protocol");
const QString ProtocolForcingKey = QStringLiteral("protocol_forcing");
const QString RadarServerUrlKey = QStringLiteral("radar_server_url");

const QString ControlsKey = QStringLiteral("controls");
const QString TrafficSchemeKey = QStringLiteral("traffic_scheme");
const QString MonitoringSystemKey = QStringLiteral("monitoring_system");
const QString PaintObjectsKey = QStringLiteral("paint_objects");
const QString AutoChangeViewKey = QStringLiteral("auto_change_view");

const QString VisibleKey = QStringLiteral("visible");
const QString CollapsedKey = QStringLiteral("collapsed");

const QString DrawVerticalKey = QStringLiteral("draw_vertical");
const QString KeepAspectRatioKey = QStringLiteral("keep_aspect_ratio");
const QString ShowSightLineKey = QStringLiteral("show_sightline");
const QString ShowCurrentTracksKey = QStringLiteral("show_current_tracks");
const QString ShowAverageTracksKey = QStringLiteral("show_average_tracks");
const QString TracksDisplayModeKey = QStringLiteral("tracks_display_mode");
const QString RoadConfigKey = QStringLiteral("road_config");

const QString ShowLaneBoundariesKey = QStringLiteral("show_lane_boundaries");
const QString ShowDistanceLinesKey = QStringLiteral("show_distance_lines");
const QString ShowObjectDimensionsKey = QStringLiteral("show_object_dimensions");
const QString TvmsConfigKey = QStringLiteral("tvms_config");
const QString BackgroundImageKey = QStringLiteral("background_image");

const QString AutoGetDataKey = QStringLiteral("auto_get_data");

const QString PositionPresetsKey = QStringLiteral("position_presets");
const QString LimitationsPresetsKey = QStringLiteral("limitations_presets");

const QString DefaultServerUrl = QStringLiteral("ws://127.0.0.1:7578/");

// Panels 2 (road objects table) and 10 to 13 start hidden.
bool isVisibleByDefault(int control)
{
    return control != 2 && control < 10;
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
    if (m_configFile.read(path, &root) != JsonConfigFile::Content::Object || root.isEmpty())
        return;

    // Profiles of an unknown shape are replaced on the next save; keep the file first.
    const QJsonValue profiles = root.value(ProfilesKey);
    if (!profiles.isUndefined() && !profiles.isArray())
        m_configFile.keepBeforeOverwrite(path);

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

    const QJsonObject connection = profile.value(ConnectionKey).toObject();
    emit protocolVersionChanged(connection.value(RadarProtocolKey).toInt());
    emit protocolForcingChanged(connection.value(ProtocolForcingKey).toBool());
    emit radarServerUrlChanged(connection.value(RadarServerUrlKey).toString());

    const QJsonObject view = profile.value(ViewKey).toObject();
    const QJsonObject controls = view.value(ControlsKey).toObject();
    for (int control = 0; control < ControlCount; ++control) {
        const QJsonObject state = controls.value(QString::number(control)).toObject();
        emit controlVisibleChanged(control, state.value(VisibleKey).toBool());
        emit controlCollapsedChanged(control, state.value(CollapsedKey).toBool());
    }

    const QJsonObject scheme = view.value(TrafficSchemeKey).toObject();
    emit drawVerticalChanged(scheme.value(DrawVerticalKey).toBool());
    emit keepAspectRatioChanged(scheme.value(KeepAspectRatioKey).toBool());
    emit showSightLineChanged(scheme.value(ShowSightLineKey).toBool());
    emit showCurrentTracksOnSchemeChanged(scheme.value(ShowCurrentTracksKey).toBool());
    emit showAverageTracksOnSchemeChanged(scheme.value(ShowAverageTracksKey).toBool());
    emit tracksDisplayModeChanged(scheme.value(TracksDisplayModeKey).toInt());
    emit roadConfigChanged(scheme.value(RoadConfigKey).toObject());

    const QJsonObject monitoring = view.value(MonitoringSystemKey).toObject();
    emit showLaneLinesOnVideoChanged(monitoring.value(ShowLaneBoundariesKey).toBool());
    emit showDistLinesOnVideoChanged(monitoring.value(ShowDistanceLinesKey).toBool());
    emit showObjectDimensionsOnVideoChanged(monitoring.value(ShowObjectDimensionsKey).toBool());
    emit showCurrentTracksOnVideoChanged(monitoring.value(ShowCurrentTracksKey).toBool());
    emit showAverageTracksOnVideoChanged(monitoring.value(ShowAverageTracksKey).toBool());
    emit tvmsConfigChanged(monitoring.value(TvmsConfigKey).toObject());
    emit projectionBackgroundImageChanged(monitoring.value(BackgroundImageKey).toString());

    emit paintObjectsChanged(view.value(PaintObjectsKey).toBool());
    emit autoChangeViewChanged(view.value(AutoChangeViewKey).toBool());

    const QJsonObject data = profile.value(DataKey).toObject();
    emit autoGetDataChanged(data.value(AutoGetDataKey).toBool());

    const QJsonObject presets = profile.value(PresetsKey).toObject();
    emit positionPresetsChanged(presets.value(PositionPresetsKey).toArray());
    emit limitationsPresetsChanged(presets.value(LimitationsPresetsKey).toArray());

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
    doWriteValue({ ConnectionKey, RadarProtocolKey }, version);
    emit protocolVersionChanged(version);
}

void WorkProfileHandler::setProtocolForcing(bool forcing)
{
    doWriteValue({ ConnectionKey, ProtocolForcingKey }, forcing);
    emit protocolForcingChanged(forcing);
}

void WorkProfileHandler::setRadarServerUrl(const QString &url)
{
    doWriteValue({ ConnectionKey, RadarServerUrlKey }, url);
    emit radarServerUrlChanged(url);
}

void WorkProfileHandler::setControlVisible(int control, bool visible)
{
    doWriteValue({ ViewKey, ControlsKey, QString::number(control), VisibleKey }, visible);
    emit controlVisibleChanged(control, visible);
}

void WorkProfileHandler::setControlCollapsed(int control, bool collapsed)
{
    doWriteValue({ ViewKey, ControlsKey, QString::number(control), CollapsedKey }, collapsed);
    emit controlCollapsedChanged(control, collapsed);
}

void WorkProfileHandler::setDrawVertical(bool vertical)
{
    doWriteValue({ ViewKey, TrafficSchemeKey, DrawVerticalKey }, vertical);
    emit drawVerticalChanged(vertical);
}

void WorkProfileHandler::setKeepAspectRatio(bool keep)
{
    doWriteValue({ ViewKey, TrafficSchemeKey, KeepAspectRatioKey }, keep);
    emit keepAspectRatioChanged(keep);
}

void WorkProfileHandler::setShowSightLine(bool show)
{
    doWriteValue({ ViewKey, TrafficSchemeKey, ShowSightLineKey }, show);
    emit showSightLineChanged(show);
}

void WorkProfileHandler::setShowCurrentTracksOnScheme(bool show)
{
    doWriteValue({ ViewKey, TrafficSchemeKey, ShowCurrentTracksKey }, show);
    emit showCurrentTracksOnSchemeChanged(show);
}

void WorkProfileHandler::setShowAverageTracksOnScheme(bool show)
{
    doWriteValue({ ViewKey, TrafficSchemeKey, ShowAverageTracksKey }, show);
    emit showAverageTracksOnSchemeChanged(show);
}

void WorkProfileHandler::setTracksDisplayMode(int mode)
{
    doWriteValue({ ViewKey, TrafficSchemeKey, TracksDisplayModeKey }, mode);
    emit tracksDisplayModeChanged(mode);
}

void WorkProfileHandler::setRoadConfig(const QJsonObject &config)
{
    doWriteValue({ ViewKey, TrafficSchemeKey, RoadConfigKey }, config);
    emit roadConfigChanged(config);
}

void WorkProfileHandler::setShowLaneLinesOnVideo(bool show)
{
    doWriteValue({ ViewKey, MonitoringSystemKey, ShowLaneBoundariesKey }, show);
    emit showLaneLinesOnVideoChanged(show);
}

void WorkProfileHandler::setShowDistLinesOnVideo(bool show)
{
    doWriteValue({ ViewKey, MonitoringSystemKey, ShowDistanceLinesKey }, show);
    emit showDistLinesOnVideoChanged(show);
}

void WorkProfileHandler::setShowObjectDimensionsOnVideo(bool show)
{
    doWriteValue({ ViewKey, MonitoringSystemKey, ShowObjectDimensionsKey }, show);
    emit showObjectDimensionsOnVideoChanged(show);
}

void WorkProfileHandler::setShowCurrentTracksOnVideo(bool show)
{
    doWriteValue({ ViewKey, MonitoringSystemKey, ShowCurrentTracksKey }, show);
    emit showCurrentTracksOnVideoChanged(show);
}

void WorkProfileHandler::setShowAverageTracksOnVideo(bool show)
{
    doWriteValue({ ViewKey, MonitoringSystemKey, ShowAverageTracksKey }, show);
    emit showAverageTracksOnVideoChanged(show);
}

void WorkProfileHandler::setTvmsConfig(const QJsonObject &config)
{
    doWriteValue({ ViewKey, MonitoringSystemKey, TvmsConfigKey }, config);
    emit tvmsConfigChanged(config);
}

void WorkProfileHandler::setProjectionBackgroundImage(const QString &path)
{
    doWriteValue({ ViewKey, MonitoringSystemKey, BackgroundImageKey }, path);
    emit projectionBackgroundImageChanged(path);
}

void WorkProfileHandler::setPaintObjects(bool paint)
{
    doWriteValue({ ViewKey, PaintObjectsKey }, paint);
    emit paintObjectsChanged(paint);
}

void WorkProfileHandler::setAutoChangeView(bool change)
{
    doWriteValue({ ViewKey, AutoChangeViewKey }, change);
    emit autoChangeViewChanged(change);
}

void WorkProfileHandler::setAutoGetData(bool get)
{
    doWriteValue({ DataKey, AutoGetDataKey }, get);
    emit autoGetDataChanged(get);
}

void WorkProfileHandler::setPositionPresets(const QJsonArray &presets)
{
    doWriteValue({ PresetsKey, PositionPresetsKey }, presets);
    emit positionPresetsChanged(presets);
}

void WorkProfileHandler::setLimitationsPresets(const QJsonArray &presets)
{
    doWriteValue({ PresetsKey, LimitationsPresetsKey }, presets);
    emit limitationsPresetsChanged(presets);
}

QJsonObject WorkProfileHandler::defaultProfile() const
{
    QJsonObject controls;
    for (int control = 0; control < ControlCount; ++control) {
        controls.insert(QString::number(control),
            QJsonObject { { VisibleKey, isVisibleByDefault(control) }, { CollapsedKey, false } });
    }
    const QJsonObject scheme { { DrawVerticalKey, true }, { KeepAspectRatioKey, true },
        { ShowSightLineKey, true }, { ShowCurrentTracksKey, true }, { ShowAverageTracksKey, false },
        { TracksDisplayModeKey, 0 }, { RoadConfigKey, QJsonObject() } };
    const QJsonObject monitoring { { ShowLaneBoundariesKey, true }, { ShowDistanceLinesKey, false },
        { ShowObjectDimensionsKey, false }, { ShowCurrentTracksKey, true },
        { ShowAverageTracksKey, false }, { TvmsConfigKey, QJsonObject() } };
    const QJsonObject view { { ControlsKey, controls }, { TrafficSchemeKey, scheme },
        { MonitoringSystemKey, monitoring }, { PaintObjectsKey, true },
        { AutoChangeViewKey, true } };
    const QJsonObject connection { { RadarProtocolKey, 0 }, { ProtocolForcingKey, true },
        { RadarServerUrlKey, DefaultServerUrl } };
    return QJsonObject { { NameKey, tr("Default profile") }, { ConnectionKey, connection },
        { ViewKey, view }, { DataKey, QJsonObject { { AutoGetDataKey, true } } },
        { PresetsKey, QJsonObject() } };
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

void WorkProfileHandler::doWriteValue(const QStringList &keys, const QJsonValue &value)
{
    if (m_currentIndex < 0 || m_currentIndex >= m_profiles.size())
        return;
    const QJsonObject profile = m_profiles.at(m_currentIndex).toObject();
    m_profiles.replace(m_currentIndex, doReplaceValue(profile, keys, value));
}

bool WorkProfileHandler::doFailSaving(const QString &errorText)
{
    emit savingFailed(errorText);
    return false;
}
