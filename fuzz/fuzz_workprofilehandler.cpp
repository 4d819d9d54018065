// Loads a configuration file holding the fuzz bytes, applies the current profile, changes a
// few values, appends a profile and saves over the same file, as the main window does between
// start-up and closing.
//
// Checked besides memory errors: every profile announcement is complete, the saved file
// loads again with the same profiles, and a file the handler could not use is kept
// byte for byte in a backup next to it before it is replaced.

#include "fuzzcheck.h"
#include "workprofilehandler.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir *workDir = nullptr;

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The handler's own test for a file it must not replace unseen. A blank file counts: it is
// what a save on a full disk used to leave.
bool isUnusable(const QByteArray &bytes)
{
    if (bytes.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return true;
    const QJsonValue profiles = document.object().value(QStringLiteral("profiles"));
    return !document.object().isEmpty() && !profiles.isUndefined() && !profiles.isArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    workDir = new QTemporaryDir;
    FUZZ_CHECK(workDir->isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QDir dir(workDir->path());
    FUZZ_CHECK(dir.removeRecursively() && dir.mkpath(QStringLiteral(".")));
    const QString path = dir.filePath(QStringLiteral(".vantor-road-app-gui_config.json"));
    const QByteArray original(reinterpret_cast<const char *>(data), int(size));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(original) == original.size());
    }

    WorkProfileHandler handler;
    int started = 0;
    int finished = 0;
    int controlSignals = 0;
    QObject::connect(&handler, &WorkProfileHandler::applyingProfileStarted,
        [&started](const QString &) { ++started; });
    QObject::connect(
        &handler, &WorkProfileHandler::applyingProfileFinished, [&finished] { ++finished; });
    QObject::connect(&handler, &WorkProfileHandler::controlVisibleChanged,
        [&controlSignals](int, bool) { ++controlSignals; });
    QString backupPath;
    QObject::connect(&handler, &WorkProfileHandler::configurationBackedUp,
        [&backupPath](const QString &backup) { backupPath = backup; });

    handler.loadProfiles(path);
    handler.applyProfile(-1);
    FUZZ_CHECK(started == 1 && finished == 1 && controlSignals == 14);
    const int current = handler.currentProfileId();
    FUZZ_CHECK(current >= 0 && current < handler.profileNames().size());

    handler.setProtocolVersion(1);
    handler.setRadarServerUrl(QStringLiteral("ws://127.0.0.1:7578/"));
    handler.setControlVisible(3, true);
    handler.setControlCollapsed(13, true);
    handler.setTracksDisplayMode(2);
    handler.setRoadConfig(QJsonObject { { QStringLiteral("origin_offset"), 1.5 } });
    handler.setPositionPresets(QJsonArray { QJsonObject { { QStringLiteral("name"), "a" } } });
    const int appended = handler.appendProfile(current);
    FUZZ_CHECK(appended == handler.profileNames().size() - 1);
    handler.renameProfile(appended, QStringLiteral("fuzz"));
    handler.removeProfile(0);

    // A fresh directory of our own: the save has no reason to fail.
    FUZZ_CHECK(handler.saveProfiles(path));
    if (isUnusable(original)) {
        FUZZ_CHECK(!backupPath.isEmpty());
        FUZZ_CHECK(readBytes(backupPath) == original);
    }

    WorkProfileHandler reloaded;
    reloaded.loadProfiles(path);
    FUZZ_CHECK(reloaded.profileNames() == handler.profileNames());
    FUZZ_CHECK(reloaded.currentProfileId() == handler.currentProfileId());
    return 0;
}
