#include "jsonconfigfile.h"

#include "../smalldisk.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

using Content = JsonConfigFile::Content;
using WriteResult = JsonConfigFile::WriteResult;
Q_DECLARE_METATYPE(Content)
Q_DECLARE_METATYPE(WriteResult)

namespace {

// A bound small enough to test without writing 64 MiB.
constexpr qint64 SmallBound = 1024;

QStringList backups(const QString &dir)
{
    return QDir(dir).entryList({ QStringLiteral("*.bak") }, QDir::Files | QDir::Hidden, QDir::Name);
}

// Puts what a row names at path: "file" (with bytes), "fifo", "directory" or nothing.
bool makeEntry(const QString &kind, const QString &path, const QByteArray &bytes)
{
    if (kind == QLatin1String("file"))
        return TestFiles::write(path, bytes);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == QLatin1String("directory"))
        return QDir().mkdir(path);
    return true;
}

// Lowers the largest file this process may write, so that a write fails part-way.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_previous); }
    bool isActive() const { return m_active; }

private:
    rlimit m_previous {};
    bool m_active = false;
};

// Caps this process's address space at its current size plus `headroom` bytes, so that
// an allocation far beyond what the work needs fails.
class AddressSpaceLimit
{
public:
    explicit AddressSpaceLimit(rlim_t headroom)
    {
        getrlimit(RLIMIT_AS, &m_previous);
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return;
        const QRegularExpression vmSize(QStringLiteral("VmSize:\\s*(\\d+) kB"));
        const QRegularExpressionMatch match = vmSize.match(QString::fromLatin1(status.readAll()));
        if (!match.hasMatch())
            return;
        rlimit limit = m_previous;
        limit.rlim_cur = rlim_t(match.captured(1).toULongLong()) * 1024 + headroom;
        m_active = limit.rlim_cur < m_previous.rlim_max && setrlimit(RLIMIT_AS, &limit) == 0;
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &m_previous); }
    bool isActive() const { return m_active; }

private:
    rlimit m_previous {};
    bool m_active = false;
};

} // namespace

class TestJsonConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void readAndWrite_data();
    void readAndWrite();
    void backupNeverReplacesAnExistingBackup();
    void keptFileIsCopiedOnlyBeforeItsOwnOverwrite();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void readingNeedsMemoryForTheFileOnly();
    void fullDiskKeepsTheFile();
    void writesWhatItCanReadBack_data();
    void writesWhatItCanReadBack();
};

void TestJsonConfigFile::readAndWrite_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Content>("content");
    QTest::addColumn<int>("keys");
    QTest::addColumn<WriteResult>("written");
    QTest::addColumn<bool>("backedUp");

    const QByteArray object = R"({"a": 1, "b": {}})";
    QTest::newRow("object") << "file" << object << Content::Object << 2 << WriteResult::Written
                            << false;
    QTest::newRow("empty object") << "file" << QByteArray("{}") << Content::Object << 0
                                  << WriteResult::Written << false;
    QTest::newRow("missing") << "none" << QByteArray() << Content::Missing << 0
                             << WriteResult::Written << false;
    // What a save on a full disk used to leave: kept like any unreadable file.
    QTest::newRow("empty file") << "file" << QByteArray() << Content::Empty << 0
                                << WriteResult::Written << true;
    QTest::newRow("blanks only") << "file" << QByteArray(" \n\t") << Content::Empty << 0
                                 << WriteResult::Written << true;
    QTest::newRow("array") << "file" << QByteArray("[1]") << Content::Unusable << 0
                           << WriteResult::Written << true;
    QTest::newRow("cut short") << "file" << QByteArray(R"({"a":)") << Content::Unusable << 0
                               << WriteResult::Written << true;
    QTest::newRow("binary") << "file" << QByteArray("\0\xff\x01", 3) << Content::Unusable << 0
                            << WriteResult::Written << true;
    QTest::newRow("nested too deep") << "file" << QByteArray(1000, '[') << Content::Unusable << 0
                                     << WriteResult::Written << true;
    QTest::newRow("valid but above the bound")
        << "file" << QByteArray("{\"pad\": \"" + QByteArray(SmallBound, 'x') + "\"}")
        << Content::Unusable << 0 << WriteResult::Written << true;
    QTest::newRow("fifo") << "fifo" << QByteArray() << Content::NotRegularFile << 0
                          << WriteResult::NotWritten << false;
    QTest::newRow("directory") << "directory" << QByteArray() << Content::NotRegularFile << 0
                               << WriteResult::NotWritten << false;
}

void TestJsonConfigFile::readAndWrite()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(Content, content);
    QFETCH(int, keys);
    QFETCH(WriteResult, written);
    QFETCH(bool, backedUp);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral(".config.json"));
    QVERIFY(makeEntry(kind, path, bytes));

    JsonConfigFile file(SmallBound + 2);
    QJsonObject object { { QStringLiteral("untouched"), true } };
    QCOMPARE(file.read(path, &object), content);
    if (content == Content::Object)
        QCOMPARE(object.size(), keys);
    else
        QCOMPARE(object.keys(), QStringList { QStringLiteral("untouched") });

    const QJsonObject saved { { QStringLiteral("saved"), 1 } };
    QCOMPARE(file.write(path, saved), written);
    const QStringList names = backups(dir.path());
    QCOMPARE(names.size(), backedUp ? 1 : 0);
    if (backedUp) {
        QVERIFY(QRegularExpression(QStringLiteral("^\\.config\\.json\\.\\d{8}-\\d{6}\\.bak$"))
                    .match(names.first())
                    .hasMatch());
        QCOMPARE(file.lastBackupPath(), dir.filePath(names.first()));
        QCOMPARE(TestFiles::read(file.lastBackupPath()), bytes);
    } else {
        QVERIFY(file.lastBackupPath().isEmpty());
    }
    if (written != WriteResult::Written) {
        QVERIFY(!file.errorString().isEmpty());
        QVERIFY(!QFileInfo(path).isFile());
        return;
    }
    QVERIFY(TestFiles::read(path).contains("\n    \"saved\": 1\n"));

    // The file is usable now: later writes replace it without further copies.
    QCOMPARE(file.write(path, saved), WriteResult::Written);
    QCOMPARE(JsonConfigFile().write(path, saved), WriteResult::Written);
    QCOMPARE(backups(dir.path()).size(), backedUp ? 1 : 0);
}

void TestJsonConfigFile::backupNeverReplacesAnExistingBackup()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    const QDateTime time(QDate(2026, 1, 2), QTime(13, 4, 5));
    QCOMPARE(JsonConfigFile::backupPath(path, time), path + QStringLiteral(".20260102-130405.bak"));

    // Earlier backups under every name of the coming minute.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList earlier;
    for (int s = -2; s <= 60; ++s) {
        const QString name = path + QLatin1Char('.')
            + now.addSecs(s).toString(QStringLiteral("yyyyMMdd-hhmmss")) + QStringLiteral(".bak");
        QVERIFY(TestFiles::write(name, "older backup"));
        earlier.append(name);
    }
    // Two broken versions within the same second keep both.
    JsonConfigFile file;
    QVERIFY(TestFiles::write(path, "broken 1"));
    QCOMPARE(file.write(path, QJsonObject { { QStringLiteral("a"), 1 } }), WriteResult::Written);
    const QString first = file.lastBackupPath();
    QVERIFY(TestFiles::write(path, "broken 2"));
    QCOMPARE(file.write(path, QJsonObject { { QStringLiteral("a"), 2 } }), WriteResult::Written);
    const QString second = file.lastBackupPath();

    QVERIFY(!earlier.contains(first) && !earlier.contains(second) && first != second);
    QVERIFY(first.endsWith(QStringLiteral("-2.bak")));
    QCOMPARE(TestFiles::read(first), QByteArray("broken 1"));
    QCOMPARE(TestFiles::read(second), QByteArray("broken 2"));
    for (const QString &name : qAsConst(earlier))
        QCOMPARE(TestFiles::read(name), QByteArray("older backup"));
}

void TestJsonConfigFile::keptFileIsCopiedOnlyBeforeItsOwnOverwrite()
{
    // Valid JSON the caller cannot use.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    const QByteArray content = R"({"profiles": {"name": "mine"}})";
    QVERIFY(TestFiles::write(path, content));

    JsonConfigFile file;
    QCOMPARE(file.read(path), Content::Object);
    file.keepBeforeOverwrite(path);
    QCOMPARE(file.write(dir.filePath(QStringLiteral("other.json")), {}), WriteResult::Written);
    QVERIFY(file.lastBackupPath().isEmpty());
    QCOMPARE(TestFiles::read(path), content);

    // A relative spelling of the same file still counts as that file.
    const QString workingDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const WriteResult result = file.write(QStringLiteral("./config.json"), {});
    QDir::setCurrent(workingDir);
    QCOMPARE(result, WriteResult::Written);
    QCOMPARE(TestFiles::read(file.lastBackupPath()), content);
    QCOMPARE(file.write(path, {}), WriteResult::Written);
    QVERIFY(file.lastBackupPath().isEmpty());
    QCOMPARE(backups(dir.path()).size(), 1);
}

void TestJsonConfigFile::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<WriteResult>("result");

    QTest::newRow("parent is a regular file") << "parent" << WriteResult::NotWritten;
    QTest::newRow("missing directory") << "missing" << WriteResult::NotWritten;
    QTest::newRow("disk refuses part-way") << "limit" << WriteResult::NotWritten;
}

void TestJsonConfigFile::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, place);
    QFETCH(WriteResult, result);
    QTemporaryDir dir;
    const QByteArray old = R"({"old": true})";
    const QJsonObject large { { QStringLiteral("notes"), QString(64 * 1024, QLatin1Char('x')) } };
    QString path = dir.filePath(QStringLiteral("config.json"));
    QVERIFY(TestFiles::write(path, old));
    JsonConfigFile file;

    if (place == QLatin1String("parent")) {
        QCOMPARE(file.write(path + QStringLiteral("/config.json"), large), result);
    } else if (place == QLatin1String("missing")) {
        QCOMPARE(file.write(dir.filePath(QStringLiteral("missing/config.json")), large), result);
    } else {
        FileSizeLimit limit(8 * 1024);
        QVERIFY(limit.isActive());
        QCOMPARE(file.write(path, large), result);
    }
    QVERIFY(!file.errorString().isEmpty());
    QCOMPARE(TestFiles::read(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("config.json") });
}

void TestJsonConfigFile::readingNeedsMemoryForTheFileOnly()
{
    // Reading a small file once reserved the whole 64 MiB size bound at once.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    QVERIFY(TestFiles::write(path, R"({"a": [1, 2, 3]})"));
    JsonConfigFile file;
    QJsonObject object;
    {
        const AddressSpaceLimit limit(32 * 1024 * 1024);
        QVERIFY(limit.isActive());
        QCOMPARE(file.read(path, &object), Content::Object);
    }
    QCOMPARE(object.size(), 1);
}

void TestJsonConfigFile::fullDiskKeepsTheFile()
{
    // A 2508-byte configuration was replaced with an empty file and nothing was said.
    const QByteArray old = R"({"profiles": [{"name": ")" + QByteArray(2480, 'p') + R"("}]})";
    QCOMPARE(old.size(), 2508);
    SmallDisk disk;
    VANTOR_REQUIRE_SMALL_DISK(disk);
    const QString path = disk.filePath(QStringLiteral("config.json"));
    QVERIFY(TestFiles::write(path, old));
    QVERIFY(disk.fill());

    JsonConfigFile file;
    QJsonObject object;
    file.read(path, &object);
    object.insert(QStringLiteral("current_id"), 0);
    QCOMPARE(file.write(path, object), WriteResult::NotWritten);
    QCOMPARE(file.errorString(), QString::fromLocal8Bit(std::strerror(ENOSPC)));
    QCOMPARE(TestFiles::read(path), old);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
        (QStringList { QStringLiteral("config.json"), QStringLiteral("filler") }));
}

void TestJsonConfigFile::writesWhatItCanReadBack_data()
{
    QTest::addColumn<QJsonObject>("object");
    QTest::addColumn<qint64>("bound");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("indented");

    const QJsonObject flat { { QStringLiteral("name"), QStringLiteral("Default profile") },
        { QStringLiteral("current_id"), 0 } };
    QTest::newRow("a flat configuration is indented")
        << flat << JsonConfigFile::DefaultMaxSize << true << true;

    // Indented, 1000 levels took 4 MB of blanks.
    QJsonObject deep { { QStringLiteral("leaf"), true } };
    for (int depth = 0; depth < 1000; ++depth)
        deep = QJsonObject { { QStringLiteral("n"), deep } };
    QTest::newRow("1000 levels deep is compact")
        << deep << JsonConfigFile::DefaultMaxSize << true << false;

    QJsonArray numbers;
    for (int i = 0; i < 100; ++i)
        numbers.append(i);
    const QJsonObject list { { QStringLiteral("numbers"), numbers } };
    QTest::newRow("indented above the bound is compact") << list << qint64(1024) << true << false;
    QTest::newRow("compact above the bound is not written")
        << list << qint64(200) << false << false;
}

void TestJsonConfigFile::writesWhatItCanReadBack()
{
    QFETCH(QJsonObject, object);
    QFETCH(qint64, bound);
    QFETCH(bool, written);
    QFETCH(bool, indented);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.json"));
    const QByteArray old = R"({"old": true})";
    QVERIFY(TestFiles::write(path, old));

    JsonConfigFile file(bound);
    const WriteResult result = file.write(path, object);
    if (!written) {
        QCOMPARE(result, WriteResult::NotWritten);
        QVERIFY(file.errorString().contains(QString::number(bound)));
        QCOMPARE(TestFiles::read(path), old);
        return;
    }
    QCOMPARE(result, WriteResult::Written);
    const QByteArray bytes = TestFiles::read(path);
    QVERIFY(bytes.size() <= bound);
    QCOMPARE(bytes.contains("\n    "), indented);
    if (!indented)
        QCOMPARE(bytes.size(), QJsonDocument(object).toJson(QJsonDocument::Compact).size());
    QJsonObject readBack;
    QCOMPARE(JsonConfigFile(bound).read(path, &readBack), Content::Object);
    QCOMPARE(readBack, object);
}

QTEST_GUILESS_MAIN(TestJsonConfigFile)
#include "tst_jsonconfigfile.moc"
