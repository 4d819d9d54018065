#include "consoleconfigfile.h"
#include "foldermount.h"
#include "testfiles.h"

#include <QDir>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString FileName = QStringLiteral(".qel-udp-client_config.json");

QStringList backupsIn(const QString &folder)
{
    return QDir(folder).entryList({ QStringLiteral("*.bak") }, QDir::Files | QDir::Hidden);
}
} // namespace

class TestConsoleConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nextToAWritableProgram();
    void inTheUserFolderWhenTheProgramFolderIsReadOnly();
    void nowhereToSave_data();
    void nowhereToSave();
    void reading_data();
    void reading();
    void unreadableFileIsKeptBeforeItIsReplaced_data();
    void unreadableFileIsKeptBeforeItIsReplaced();
    void failedWriteSaysWhy();

private:
    std::unique_ptr<FolderMount> readOnly(const QString &path);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_user;
    // Why a folder could not be made read-only; the tests that need one skip with it.
    QString m_why;
};

void TestConsoleConfigFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_program = m_dir->filePath("program");
    m_user = m_dir->filePath("home/.config/qel-udp-client");
    QVERIFY(QDir().mkpath(m_program));
    QVERIFY(QDir().mkpath(m_dir->filePath("home/.config")));
}

void TestConsoleConfigFile::cleanup()
{
    m_dir.reset();
}

std::unique_ptr<FolderMount> TestConsoleConfigFile::readOnly(const QString &path)
{
    return FolderMount::readOnly(path, &m_why);
}

void TestConsoleConfigFile::nextToAWritableProgram()
{
    const ConsoleConfigFile::Location location = ConsoleConfigFile::locate(m_program, m_user);
    QCOMPARE(location.path, QDir(m_program).filePath(FileName));
    QVERIFY(location.notice.isEmpty());
    QVERIFY(!QFileInfo::exists(m_user));
}

void TestConsoleConfigFile::inTheUserFolderWhenTheProgramFolderIsReadOnly()
{
    auto mount = readOnly(m_program);
    if (!mount)
        QSKIP(qPrintable(m_why));
    const ConsoleConfigFile::Location location = ConsoleConfigFile::locate(m_program, m_user);
    const QString path = QDir(m_user).filePath(FileName);
    QCOMPARE(location.path, path);
    QVERIFY(QFileInfo(m_user).isDir());
    QCOMPARE(location.notice, QString("Settings are kept in %1").arg(path));

    ConsoleConfigFile file;
    QVERIFY(file.write(location.path, QJsonObject { { "a", 1 } }));
    QVERIFY(file.message().isEmpty());
    QCOMPARE(QJsonDocument::fromJson(TestFiles::read(path)).object(), QJsonObject({ { "a", 1 } }));
}

void TestConsoleConfigFile::nowhereToSave_data()
{
    QTest::addColumn<bool>("userFileExists");
    QTest::newRow("no file yet") << false;
    QTest::newRow("a file from earlier in the user folder") << true;
}

void TestConsoleConfigFile::nowhereToSave()
{
    QFETCH(bool, userFileExists);
    if (userFileExists) {
        QVERIFY(QDir().mkpath(m_user));
        QVERIFY(TestFiles::write(QDir(m_user).filePath(FileName), "{}"));
    }
    const QString parent = userFileExists ? m_user : m_dir->filePath("home/.config");
    auto programMount = readOnly(m_program);
    auto userMount = readOnly(parent);
    if (!programMount || !userMount)
        QSKIP(qPrintable(m_why));

    const ConsoleConfigFile::Location location = ConsoleConfigFile::locate(m_program, m_user);
    QCOMPARE(location.path,
        userFileExists ? QDir(m_user).filePath(FileName) : QDir(m_program).filePath(FileName));
    QCOMPARE(location.notice,
        QString("Settings cannot be saved: neither %1 nor %2 can be written")
            .arg(m_program, m_user));
    QCOMPARE(QFileInfo(m_user).isDir(), userFileExists);

    ConsoleConfigFile file;
    QVERIFY(!file.write(location.path, QJsonObject { { "a", 1 } }));
    QVERIFY2(file.message().startsWith(
                 QString("The settings could not be saved to %1: ").arg(location.path)),
        qPrintable(file.message()));
}

void TestConsoleConfigFile::reading_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");

    using R = ConsoleConfigFile::ReadResult;
    QTest::newRow("object") << QByteArray(R"({"rx_display_limit": 7})") << int(R::Read) << "";
    QTest::newRow("missing") << QByteArray("<none>") << int(R::Missing) << "";
    QTest::newRow("empty") << QByteArray() << int(R::Unusable) << "The settings file %1 is empty.";
    QTest::newRow("unparsable") << QByteArray("{ oops") << int(R::Unusable)
                                << "The settings file %1 cannot be read as settings.";
    QTest::newRow("array") << QByteArray("[1]") << int(R::Unusable)
                           << "The settings file %1 cannot be read as settings.";
    QTest::newRow("folder") << QByteArray("<folder>") << int(R::NotRegularFile)
                            << "%1 is not a regular file.";
}

void TestConsoleConfigFile::reading()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QFETCH(QString, message);
    const QString path = QDir(m_program).filePath(FileName);
    if (content == "<folder>")
        QVERIFY(QDir().mkpath(path));
    else if (content != "<none>")
        QVERIFY(TestFiles::write(path, content));

    ConsoleConfigFile file;
    QJsonObject object;
    QCOMPARE(int(file.read(path, &object)), result);
    QCOMPARE(file.message(), message.isEmpty() ? QString() : message.arg(path));
    if (result == int(ConsoleConfigFile::ReadResult::Read))
        QCOMPARE(object, QJsonObject({ { "rx_display_limit", 7 } }));
}

void TestConsoleConfigFile::unreadableFileIsKeptBeforeItIsReplaced_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("unparsable") << QByteArray("{ \"rx_display_limit\": 7, oops }");
    // Most likely what a lost save leaves behind.
    QTest::newRow("empty") << QByteArray();
}

void TestConsoleConfigFile::unreadableFileIsKeptBeforeItIsReplaced()
{
    QFETCH(QByteArray, content);
    const QString path = QDir(m_program).filePath(FileName);
    QVERIFY(TestFiles::write(path, content));
    ConsoleConfigFile file;
    QJsonObject object;
    QCOMPARE(file.read(path, &object), ConsoleConfigFile::ReadResult::Unusable);

    QVERIFY(file.write(path, QJsonObject { { "a", 1 } }));
    const QStringList backups = backupsIn(m_program);
    QCOMPARE(backups.size(), 1);
    const QString backup = QDir(m_program).filePath(backups.first());
    QCOMPARE(TestFiles::read(backup), content);
    QCOMPARE(file.message(),
        QString("The settings file could not be read. It was kept as %1 and replaced with the "
                "current settings.")
            .arg(backup));
    QCOMPARE(QJsonDocument::fromJson(TestFiles::read(path)).object(), QJsonObject({ { "a", 1 } }));

    // Once replaced, the next save has nothing to report.
    QVERIFY(file.write(path, QJsonObject { { "a", 2 } }));
    QVERIFY(file.message().isEmpty());
    QCOMPARE(backupsIn(m_program).size(), 1);
}

void TestConsoleConfigFile::failedWriteSaysWhy()
{
    const QString path = QDir(m_program).filePath(FileName);
    QVERIFY(TestFiles::write(path, R"({"old": true})"));
    auto mount = readOnly(m_program);
    if (!mount)
        QSKIP(qPrintable(m_why));
    ConsoleConfigFile file;
    QVERIFY(!file.write(path, QJsonObject { { "new", true } }));
    QVERIFY2(
        file.message().startsWith(QString("The settings could not be saved to %1: ").arg(path)),
        qPrintable(file.message()));
    QVERIFY(file.message().size()
        > QString("The settings could not be saved to %1: ").arg(path).size());
    QCOMPARE(TestFiles::read(path), QByteArray(R"({"old": true})"));
}

QTEST_GUILESS_MAIN(TestConsoleConfigFile)
#include "tst_consoleconfigfile.moc"
