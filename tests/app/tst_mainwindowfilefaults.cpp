#include "../smalldisk.h"
#include "../udp-console/foldermount.h"
#include "mainwindow.h"
#include "serverconnectionwidget.h"
#include "testfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {

const QString ConfigName = QStringLiteral(".vantor-road-app-gui_config.json");
const QString DefaultUrl = QStringLiteral("ws://127.0.0.1:7578/");

// A usable file with one profile, as a person would have it.
QByteArray goodConfig()
{
    const QJsonObject profile { { "name", "Bridge A7" },
        { "connection", QJsonObject { { "radar_server_url", "ws://127.0.0.1:1/" } } } };
    return QJsonDocument(
        QJsonObject { { "profiles", QJsonArray { profile } }, { "current_id", 0 } })
        .toJson();
}

// Reads and closes every message box the program opens, modal ones included, as a person
// would; the texts are kept in order.
class BoxReader : public QObject
{
public:
    BoxReader()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (!box || !box->isVisible())
                    continue;
                texts.append(box->text());
                box->done(QMessageBox::Ok);
            }
        });
        m_timer.start(10);
    }

    bool saw(const QString &part) const
    {
        for (const QString &text : texts) {
            if (text.contains(part))
                return true;
        }
        return false;
    }

    QStringList texts;

private:
    QTimer m_timer;
};

} // namespace

class TestMainWindowFileFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void configurationFaults_data();
    void configurationFaults();
    void unusableSettings_data();
    void unusableSettings();
    void historySavingFaults_data();
    void historySavingFaults();

private:
    // Where the window keeps its configuration: the current folder.
    void enter(const QString &folder);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestMainWindowFileFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_previousDir = QDir::currentPath();
}

void TestMainWindowFileFaults::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestMainWindowFileFaults::enter(const QString &folder)
{
    QVERIFY(QDir::setCurrent(folder));
}

void TestMainWindowFileFaults::configurationFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("atStart");
    QTest::addColumn<QString>("atExit");

    const QString notRegular = QStringLiteral("is not a regular file, so the program starts");
    const QString notSaved = QStringLiteral("The work profiles could not be saved to");
    // Each used to start on the default profile without a word.
    QTest::newRow("a folder") << "folder" << notRegular << notSaved;
    QTest::newRow("a pipe") << "pipe" << notRegular << notSaved;
    QTest::newRow("unparsable") << "unparsable"
                                << "could not be read"
                                << "It was kept as";
    // Root may replace a read-only file; the program does not.
    QTest::newRow("read-only file") << "read-only file" << QString() << "is read-only";
    QTest::newRow("read-only file system")
        << "read-only file system" << QString() << "is not writable";
    QTest::newRow("full disk") << "full disk" << QString()
                               << QString::fromLocal8Bit(std::strerror(ENOSPC));
}

void TestMainWindowFileFaults::configurationFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, atStart);
    QFETCH(QString, atExit);

    QString folder = m_dir->path();
    const QByteArray unparsable = goodConfig().left(40);
    std::unique_ptr<FolderMount> mount;
    std::unique_ptr<SmallDisk> disk;
    const QString path = QDir(folder).filePath(ConfigName);
    if (fault == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (fault == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (fault == QLatin1String("unparsable")) {
        QVERIFY(TestFiles::write(path, unparsable));
    } else if (fault == QLatin1String("read-only file")) {
        QVERIFY(TestFiles::write(path, goodConfig()));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    } else if (fault == QLatin1String("read-only file system")) {
        QVERIFY(TestFiles::write(path, goodConfig()));
        QString why;
        mount = FolderMount::readOnly(folder, &why);
        if (!mount)
            QSKIP(qPrintable(why));
    } else {
        disk = std::make_unique<SmallDisk>();
        VANTOR_REQUIRE_SMALL_DISK(*disk);
        folder = disk->path();
        QVERIFY(TestFiles::write(disk->filePath(ConfigName), goodConfig()));
        QVERIFY(disk->fill());
    }
    enter(folder);
    const QString file = QDir(folder).filePath(ConfigName);
    // Opening a pipe would wait for a writer.
    const QByteArray before = QFileInfo(file).isFile() ? TestFiles::read(file) : QByteArray();
    BoxReader boxes;
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (atStart.isEmpty()) {
            QTest::qWait(50);
            QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('\n')));
        } else {
            QTRY_VERIFY2(boxes.saw(atStart), qPrintable(boxes.texts.join('\n')));
        }
        window.close();
    }
    QTRY_VERIFY2(boxes.saw(atExit), qPrintable(boxes.texts.join('\n')));

    // Nothing the user had is lost.
    const QFileInfo info(file);
    if (fault == QLatin1String("folder")) {
        QVERIFY(info.isDir());
    } else if (fault == QLatin1String("pipe")) {
        QVERIFY(!info.isFile() && info.exists());
    } else if (fault == QLatin1String("unparsable")) {
        const QStringList backups
            = QDir(folder).entryList({ ConfigName + ".*.bak" }, QDir::Hidden | QDir::Files);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(TestFiles::read(QDir(folder).filePath(backups.first())), unparsable);
    } else {
        QCOMPARE(TestFiles::read(file), before);
        QCOMPARE(QDir(folder).entryList(QDir::Hidden | QDir::Files | QDir::NoDotAndDotDot).size(),
            disk ? 2 : 1);
    }
}

void TestMainWindowFileFaults::unusableSettings_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QString>("key");

    QTest::newRow("text: the name") << QByteArray(R"({"name": 42})") << "name";
    QTest::newRow("text: the server URL")
        << QByteArray(R"({"name": "A", "connection": {"radar_server_url": ["ws://x/"]}})")
        << "connection/radar_server_url";
    QTest::newRow("switch") << QByteArray(
        R"({"name": "A", "view": {"traffic_scheme": {"draw_vertical": "yes"}}})")
                            << "view/traffic_scheme/draw_vertical";
    QTest::newRow("whole number") << QByteArray(
        R"({"name": "A", "connection": {"radar_protocol": 1.5}})")
                                  << "connection/radar_protocol";
    QTest::newRow("object") << QByteArray(
        R"({"name": "A", "view": {"traffic_scheme": {"road_config": [1, 2]}}})")
                            << "view/traffic_scheme/road_config";
    QTest::newRow("array") << QByteArray(
        R"({"name": "A", "presets": {"position_presets": {"name": "pole"}}})")
                           << "presets/position_presets";
    QTest::newRow("camera view angle") << QByteArray(
        R"({"name": "A", "view": {"monitoring_system": {"tvms_config": {"horizontal_view_angle": 180}}}})")
                                       << "view/monitoring_system/tvms_config/"
                                          "horizontal_view_angle";
    QTest::newRow("group") << QByteArray(R"({"name": "A", "connection": "ws://10.0.0.5:7578/"})")
                           << "connection";
}

void TestMainWindowFileFaults::unusableSettings()
{
    QFETCH(QByteArray, profile);
    QFETCH(QString, key);

    enter(m_dir->path());
    const QJsonObject wrong = QJsonDocument::fromJson(profile).object();
    QVERIFY(TestFiles::write(
        ConfigName, QJsonDocument(QJsonObject { { "profiles", QJsonArray { wrong } } }).toJson()));
    BoxReader boxes;
    {
        MainWindow window;
        window.show();
        QTRY_VERIFY2(boxes.saw(QStringLiteral("These settings were unusable and use their "
                                              "defaults: %1")
                                   .arg(key)),
            qPrintable(boxes.texts.join('\n')));
        // Used to read "[No connection to ]" in a window without a profile name.
        const QString connection = window.findChild<ServerConnectionWidget *>()->text();
        QVERIFY2(connection.contains(DefaultUrl), qPrintable(connection));
        QVERIFY2(
            !window.windowTitle().endsWith(QStringLiteral("— ")), qPrintable(window.windowTitle()));
        window.close();
    }
    QCOMPARE(boxes.texts.size(), 1);

    // The value stays in the file as it was, for the user to mend.
    const QJsonObject saved = QJsonDocument::fromJson(TestFiles::read(ConfigName))
                                  .object()
                                  .value("profiles")
                                  .toArray()
                                  .at(0)
                                  .toObject();
    QJsonValue original = wrong;
    QJsonValue kept = saved;
    for (const QString &part : key.split('/')) {
        original = original.toObject().value(part);
        kept = kept.toObject().value(part);
    }
    QCOMPARE(kept, original);
}

void TestMainWindowFileFaults::historySavingFaults_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("reason");

    QTest::newRow("history folder read-only")
        << false << QString::fromLocal8Bit(std::strerror(EROFS));
    QTest::newRow("history folder on a full disk")
        << true << QString::fromLocal8Bit(std::strerror(ENOSPC));
}

void TestMainWindowFileFaults::historySavingFaults()
{
    QFETCH(bool, fullDisk);
    QFETCH(QString, reason);

    enter(m_dir->path());
    QString folder = m_dir->filePath("history");
    const QString oldName = QStringLiteral("2026-12-01_08-00-00.txt");
    const QByteArray oldHistory = "| id |\n|  7 |\n";
    std::unique_ptr<FolderMount> mount;
    std::unique_ptr<SmallDisk> disk;
    if (fullDisk) {
        disk = std::make_unique<SmallDisk>();
        VANTOR_REQUIRE_SMALL_DISK(*disk);
        folder = disk->path();
        QVERIFY(TestFiles::write(QDir(folder).filePath(oldName), oldHistory));
        QVERIFY(disk->fill());
    } else {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(TestFiles::write(QDir(folder).filePath(oldName), oldHistory));
        QString why;
        mount = FolderMount::readOnly(folder, &why);
        if (!mount)
            QSKIP(qPrintable(why));
    }
    const QStringList filesBefore = QDir(folder).entryList(QDir::Files | QDir::Hidden);

    BoxReader boxes;
    MainWindow window;
    window.show();
    HistoryTableWidget *history = window.historyTableWidget();
    QSignalSpy saved(history, &HistoryTableWidget::historySaved);
    QSignalSpy failed(history, &HistoryTableWidget::historySavingFailed);
    history->saveToFolder(folder);

    QCOMPARE(saved.size(), 0);
    QCOMPARE(failed.size(), 1);
    QTRY_VERIFY2(boxes.saw(reason), qPrintable(boxes.texts.join('\n')));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), filesBefore);
    QCOMPARE(TestFiles::read(QDir(folder).filePath(oldName)), oldHistory);
}

QTEST_MAIN(TestMainWindowFileFaults)
#include "tst_mainwindowfilefaults.moc"
