#include "consoleconfigfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestConsoleConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void writeReplacesAnObject();
    void writeBacksUpAnUnparsableFile();
    void backupNeverOverwritesABackup();
    void failedWriteKeepsTheOldFile();
    void specialFilesAreNeitherReadNorReplaced();

private:
    static void writeBytes(const QString &path, const QByteArray &bytes);
    static QByteArray readBytes(const QString &path);
    static QStringList backups(const QDir &dir);
};

void TestConsoleConfigFile::writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TestConsoleConfigFile::readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList TestConsoleConfigFile::backups(const QDir &dir)
{
    return dir.entryList({ "*.bak" }, QDir::Files | QDir::Hidden, QDir::Name);
}

void TestConsoleConfigFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("keys");
    QTest::newRow("object") << QByteArray(R"({"a":1,"b":{}})") << true << 2;
    QTest::newRow("empty object") << QByteArray("{}") << true << 0;
    QTest::newRow("empty file") << QByteArray() << false << 0;
    QTest::newRow("array") << QByteArray("[1]") << false << 0;
    QTest::newRow("malformed") << QByteArray(R"({"a":)") << false << 0;
    QTest::newRow("binary") << QByteArray("\0\xff\x01", 3) << false << 0;
}

void TestConsoleConfigFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(int, keys);
    QTemporaryDir dir;
    const QString path = dir.filePath("config.json");
    writeBytes(path, bytes);
    bool readOk = !ok;
    QCOMPARE(ConsoleConfigFile::read(path, &readOk).size(), keys);
    QCOMPARE(readOk, ok);

    bool missingOk = true;
    QVERIFY(ConsoleConfigFile::read(dir.filePath("missing.json"), &missingOk).isEmpty());
    QVERIFY(!missingOk);
}

void TestConsoleConfigFile::writeReplacesAnObject()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.json");
    writeBytes(path, R"({"old":true})");
    QVERIFY(ConsoleConfigFile::write(path, QJsonObject { { "new", 1 } }));
    QCOMPARE(ConsoleConfigFile::read(path), QJsonObject({ { "new", 1 } }));
    QVERIFY(readBytes(path).contains("\n    \"new\": 1\n"));
    QVERIFY(backups(QDir(dir.path())).isEmpty());
}

void TestConsoleConfigFile::writeBacksUpAnUnparsableFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(".qel-udp-client_config.json");
    const QByteArray original = R"({"rx_display_limit": 5,,})";
    writeBytes(path, original);

    QVERIFY(ConsoleConfigFile::write(path, QJsonObject { { "rx_display_limit", 5 } }));
    const QStringList saved = backups(QDir(dir.path()));
    QCOMPARE(saved.size(), 1);
    QVERIFY(saved.first().startsWith(".qel-udp-client_config.json."));
    QCOMPARE(readBytes(dir.filePath(saved.first())), original);

    // The file is good now: a second save makes no second backup.
    QVERIFY(ConsoleConfigFile::write(path, QJsonObject { { "rx_display_limit", 6 } }));
    QCOMPARE(backups(QDir(dir.path())).size(), 1);
}

void TestConsoleConfigFile::backupNeverOverwritesABackup()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.json");
    const QDateTime time(QDate(2026, 1, 2), QTime(3, 4, 5));
    const QString first = ConsoleConfigFile::backupPath(path, time);
    QCOMPARE(first, path + ".20260102-030405.bak");
    writeBytes(first, "older backup");
    const QString second = ConsoleConfigFile::backupPath(path, time);
    QCOMPARE(second, path + ".20260102-030405-2.bak");

    // Two unparsable versions saved within the same second keep both backups.
    writeBytes(path, "broken 1");
    QVERIFY(ConsoleConfigFile::write(path, QJsonObject { { "a", 1 } }));
    writeBytes(path, "broken 2");
    QVERIFY(ConsoleConfigFile::write(path, QJsonObject { { "a", 2 } }));
    QCOMPARE(readBytes(first), QByteArray("older backup"));
    const QStringList saved = backups(QDir(dir.path()));
    QCOMPARE(saved.size(), 3);
    QStringList contents;
    for (const QString &name : saved)
        contents << QString::fromLatin1(readBytes(dir.filePath(name)));
    QVERIFY(contents.contains("broken 1"));
    QVERIFY(contents.contains("broken 2"));
}

void TestConsoleConfigFile::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    // A directory in the file's place cannot be replaced.
    const QString blocked = dir.filePath("config.json");
    QVERIFY(QDir(dir.path()).mkdir("config.json"));
    QVERIFY(!ConsoleConfigFile::write(blocked, QJsonObject { { "a", 1 } }));
    QVERIFY(QFileInfo(blocked).isDir());

    // A file in a missing directory is not written.
    QVERIFY(
        !ConsoleConfigFile::write(dir.filePath("missing/config.json"), QJsonObject { { "a", 1 } }));
}

void TestConsoleConfigFile::specialFilesAreNeitherReadNorReplaced()
{
    // Opening a pipe for reading waits for a writer.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("config.json");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    bool ok = true;
    QVERIFY(ConsoleConfigFile::read(fifo, &ok).isEmpty());
    QVERIFY(!ok);
    QVERIFY(!ConsoleConfigFile::write(fifo, QJsonObject { { "a", 1 } }));
    QVERIFY(!QFileInfo(fifo).isFile());
    QVERIFY(backups(QDir(dir.path())).isEmpty());

    // Reading /dev/zero to its end would never finish.
    ok = true;
    QVERIFY(ConsoleConfigFile::read(QStringLiteral("/dev/zero"), &ok).isEmpty());
    QVERIFY(!ok);
}

QTEST_GUILESS_MAIN(TestConsoleConfigFile)
#include "tst_consoleconfigfile.moc"
