#pragma once

#include "jsonconfigfile.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

// Owns the work profiles and the index of the current one, reads and writes the
// configuration file, and announces every stored value of a profile through a signal.
//
// Configuration file: {"profiles": [profile, ...], "current_id": index}. Members the
// handler does not know (written by a newer version) are kept, at the top level and
// inside every profile, and written back on save.
//
// The file is read and written through JsonConfigFile, which protects the user's file:
// - A file that exists but cannot be used (not a regular file, unreadable, too large, not
//   JSON, a top level that is not an object, or a "profiles" member that is not an array)
//   leaves the handler as it was (on first start: the default profile).
// - Before the first saveProfiles() over an unusable regular file, its bytes are copied
//   next to it and configurationBackedUp() tells the caller where the copy lies, once. If
//   the copy fails, the file is not overwritten and the save fails. An empty file counts
//   as unusable (a save on a full disk used to leave one). Something that is not a
//   regular file (a pipe, a device, a directory) is never replaced.
// - saveProfiles() writes through SafeFileWriter: a failed or interrupted save, a full
//   disk included, leaves the previous file whole. It returns false on failure and emits
//   savingFailed() with a text the window can show.
class WorkProfileHandler : public QObject
{
    Q_OBJECT

public:
    // Emits one setting's change signal with a value (for a per-panel setting, the
    // panel's); it names the setting in the handler's table of settings.
    using Announce = void (*)(WorkProfileHandler &handler, int control, const QJsonValue &value);

    explicit WorkProfileHandler(QObject *parent = nullptr);

    QStringList profileNames() const;
    int currentProfileId() const;

    void loadProfiles(const QString &path);
    bool saveProfiles(const QString &path);
    void applyProfile(int index);
    int appendProfile(int index);
    void renameProfile(int index, const QString &name);
    void removeProfile(int index);

public slots:
    void setProtocolVersion(int version);
    void setProtocolForcing(bool forcing);
    void setRadarServerUrl(const QString &url);
    void setControlVisible(int control, bool visible);
    void setControlCollapsed(int control, bool collapsed);
    void setDrawVertical(bool vertical);
    void setKeepAspectRatio(bool keep);
    void setShowSightLine(bool show);
    void setShowCurrentTracksOnScheme(bool show);
    void setShowAverageTracksOnScheme(bool show);
    void setTracksDisplayMode(int mode);
    void setRoadConfig(const QJsonObject &config);
    void setShowLaneLinesOnVideo(bool show);
    void setShowDistLinesOnVideo(bool show);
    void setShowObjectDimensionsOnVideo(bool show);
    void setShowCurrentTracksOnVideo(bool show);
    void setShowAverageTracksOnVideo(bool show);
    void setTvmsConfig(const QJsonObject &config);
    void setProjectionBackgroundImage(const QString &path);
    void setPaintObjects(bool paint);
    void setAutoChangeView(bool change);
    void setAutoGetData(bool get);
    void setHistoryFileFormat(const QString &format);
    void setPositionPresets(const QJsonArray &presets);
    void setLimitationsPresets(const QJsonArray &presets);
    void setLaneStatisticsInterval(int minutes);
    void setWrongWayDistance(double metres);

signals:
    void applyingProfileStarted(const QString &name);
    void protocolVersionChanged(int version);
    void protocolForcingChanged(bool forcing);
    void radarServerUrlChanged(const QString &url);
    void controlVisibleChanged(int control, bool visible);
    void controlCollapsedChanged(int control, bool collapsed);
    void drawVerticalChanged(bool vertical);
    void keepAspectRatioChanged(bool keep);
    void showSightLineChanged(bool show);
    void showCurrentTracksOnSchemeChanged(bool show);
    void showAverageTracksOnSchemeChanged(bool show);
    void tracksDisplayModeChanged(int mode);
    void roadConfigChanged(const QJsonObject &config);
    void showLaneLinesOnVideoChanged(bool show);
    void showDistLinesOnVideoChanged(bool show);
    void showObjectDimensionsOnVideoChanged(bool show);
    void showCurrentTracksOnVideoChanged(bool show);
    void showAverageTracksOnVideoChanged(bool show);
    void tvmsConfigChanged(const QJsonObject &config);
    void projectionBackgroundImageChanged(const QString &path);
    void paintObjectsChanged(bool paint);
    void autoChangeViewChanged(bool change);
    void autoGetDataChanged(bool get);
    void historyFileFormatChanged(const QString &format);
    void positionPresetsChanged(const QJsonArray &presets);
    void limitationsPresetsChanged(const QJsonArray &presets);
    void laneStatisticsIntervalChanged(int minutes);
    void wrongWayDistanceChanged(double metres);
    void applyingProfileFinished();

    // loadProfiles() found the file at path unusable: the profiles are as they were, and
    // the file is copied before the first save replaces it.
    void configurationUnreadable(const QString &path);
    // The unusable configuration file was copied to backupPath before being replaced.
    void configurationBackedUp(const QString &backupPath);
    // A save failed; the file on disk is as it was before the save.
    void savingFailed(const QString &errorText);
    // The applied profile held values of the wrong type (keys are paths such as
    // "connection/radar_server_url"); their defaults were announced instead. Once per
    // profile and load.
    void unusableSettingsFound(const QString &text, const QStringList &keys);

private:
    // Identifiers of the panels stored under "view"/"controls": 0 to 13.
    static constexpr int ControlCount = 14;

    QJsonObject defaultProfile() const;
    bool doCheckIndex(int index);
    static QJsonObject doReplaceValue(
        const QJsonObject &object, const QStringList &keys, const QJsonValue &value);
    // Writes the setting into the current profile, then announces it.
    void doSetValue(Announce announce, const QJsonValue &value, int control = -1);
    bool doFailSaving(const QString &errorText);

    QJsonArray m_profiles;
    int m_currentIndex = 0;
    // The last loaded top-level object, kept for the members this version does not know.
    QJsonObject m_fileObject;
    // Remembers a file that could not be used until it has been copied.
    JsonConfigFile m_configFile;
    // Profiles whose unusable settings have been named since the last load.
    QSet<int> m_reportedProfiles;
    // Top-level values found unusable on load, named with the next profile applied.
    QStringList m_unusableOnLoad;
};
