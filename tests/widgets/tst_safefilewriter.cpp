#include "safefilewriter.h"

#include "../smalldisk.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

QString noSpaceText()
{
    return QString::fromLocal8Bit(std::strerror(ENOSPC));
}

// A device that misbehaves as asked: takes at most `chunk` bytes per write, refuses
// everything after `capacity` bytes (saying `failure`, or nothing), and with `holdBack`
// keeps what it took in a buffer it never passes on.
class FaultyDevice : public QIODevice
{
public:
    qint64 chunk = LLONG_MAX;
    qint64 capacity = LLONG_MAX;
    QString failure;
    bool holdBack = false;
    QByteArray passedOn;
    QByteArray held;
    int writeCalls = 0;

    using QIODevice::setErrorString;
    qint64 bytesToWrite() const override { return held.size(); }
    bool waitForBytesWritten(int) override { return false; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        ++writeCalls;
        const qint64 taken = qMin(qMin(length, chunk), capacity - passedOn.size() - held.size());
        if (taken <= 0) {
            if (!failure.isEmpty())
                setErrorString(failure);
            return -1;
        }
        (holdBack ? held : passedOn).append(data, int(taken));
        return taken;
    }
};

} // namespace

class TestSafeFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void replacesTheWholeFile_data();
    void replacesTheWholeFile();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void writerGoneBeforeCommitKeepsTheOldFile();
    void cannotCreateTheFile_data();
    void cannotCreateTheFile();
    void faultyDevice_data();
    void faultyDevice();
    void streamOntoAFullDisk();
};

void TestSafeFileWriter::replacesTheWholeFile_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pieces");

    QTest::newRow("nothing over a file") << QByteArray("old content") << 0 << 1;
    QTest::newRow("one byte, no file before") << QByteArray() << 1 << 1;
    QTest::newRow("a small configuration") << pattern(9000) << 2508 << 1;
    QTest::newRow("300 KB in 30 pieces") << QByteArray("old") << 300000 << 30;
}

void TestSafeFileWriter::replacesTheWholeFile()
{
    QFETCH(QByteArray, old);
    QFETCH(int, size);
    QFETCH(int, pieces);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.txt"));
    if (!old.isEmpty())
        QVERIFY(TestFiles::write(path, old));

    const QByteArray bytes = pattern(size);
    SafeFileWriter writer(path);
    QVERIFY(writer.open());
    const int pieceSize = size / pieces;
    for (int i = 0; i < pieces; ++i) {
        const int length = i == pieces - 1 ? size - i * pieceSize : pieceSize;
        QVERIFY(writer.write(bytes.mid(i * pieceSize, length)));
    }
    // Nothing replaced before the commit.
    QCOMPARE(TestFiles::read(path), old);
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));
    QVERIFY(!writer.hasFailed());
    QCOMPARE(writer.bytesWritten(), qint64(size));
    QCOMPARE(TestFiles::read(path), bytes);
    QCOMPARE(entries(dir.path()), QStringList { QStringLiteral("file.txt") });
}

void TestSafeFileWriter::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("hasOld");
    QTest::addColumn<int>("size");

    // A buffered writer lost exactly the small ones: they fit its buffer, the full disk
    // showed only at the commit, and the commit went ahead with an empty file.
    QTest::newRow("history header only") << true << 100;
    QTest::newRow("2508-byte configuration") << true << 2508;
    QTest::newRow("100 KB history") << true << 100000;
    QTest::newRow("new file") << false << 2508;
}

void TestSafeFileWriter::fullDiskKeepsTheOldFile()
{
    QFETCH(bool, hasOld);
    QFETCH(int, size);
    SmallDisk disk(256);
    VANTOR_REQUIRE_SMALL_DISK(disk);
    const QString path = disk.filePath(QStringLiteral("file.txt"));
    const QByteArray old = pattern(2508);
    if (hasOld)
        QVERIFY(TestFiles::write(path, old));
    QVERIFY(disk.fill());

    QString error;
    QVERIFY(!SafeFileWriter::writeFile(path, pattern(size), &error));
    QCOMPARE(error, noSpaceText());
    if (hasOld)
        QCOMPARE(TestFiles::read(path), old);
    else
        QVERIFY(!QFile::exists(path));
    // No temporary file is left to take the space.
    QStringList expected { QStringLiteral("filler") };
    if (hasOld)
        expected.prepend(QStringLiteral("file.txt"));
    QCOMPARE(entries(disk.path()), expected);

    // With room again the same save goes through.
    QVERIFY(disk.unfill());
    QVERIFY2(SafeFileWriter::writeFile(path, pattern(size), &error), qPrintable(error));
    QCOMPARE(TestFiles::read(path), pattern(size));
}

void TestSafeFileWriter::writerGoneBeforeCommitKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.txt"));
    QVERIFY(TestFiles::write(path, "old"));
    {
        SafeFileWriter writer(path);
        QVERIFY(writer.open());
        QVERIFY(writer.write("new"));
    }
    {
        SafeFileWriter writer(path);
        QVERIFY(writer.open());
        QVERIFY(writer.write("newer"));
        writer.cancel();
        QVERIFY(!writer.commit());
        QVERIFY(!writer.errorString().isEmpty());
    }
    QCOMPARE(TestFiles::read(path), QByteArray("old"));
    QCOMPARE(entries(dir.path()), QStringList { QStringLiteral("file.txt") });
}

void TestSafeFileWriter::cannotCreateTheFile_data()
{
    QTest::addColumn<QString>("place");

    QTest::newRow("missing folder") << QStringLiteral("missing/file.txt");
    QTest::newRow("parent is a file") << QStringLiteral("plain/file.txt");
    QTest::newRow("path is a folder") << QStringLiteral("folder");
}

void TestSafeFileWriter::cannotCreateTheFile()
{
    QFETCH(QString, place);
    QTemporaryDir dir;
    QVERIFY(TestFiles::write(dir.filePath(QStringLiteral("plain")), "plain"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));

    SafeFileWriter writer(dir.filePath(place));
    QVERIFY(!writer.open());
    QVERIFY(writer.hasFailed());
    QVERIFY(!writer.write("bytes"));
    QVERIFY(!writer.commit());
    QVERIFY(!writer.errorString().isEmpty());
    QVERIFY(writer.errorString() != QLatin1String("Unknown error"));
    QCOMPARE(TestFiles::read(dir.filePath(QStringLiteral("plain"))), QByteArray("plain"));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
}

void TestSafeFileWriter::faultyDevice_data()
{
    QTest::addColumn<qint64>("chunk");
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("holdBack");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("error");

    const qint64 all = LLONG_MAX;
    QTest::newRow("whole writes") << all << all << QString() << false << true << QString();
    QTest::newRow("short writes of 7 bytes")
        << qint64(7) << all << QString() << false << true << QString();
    QTest::newRow("full after 100 bytes, with a reason")
        << qint64(64) << qint64(100) << noSpaceText() << false << false << noSpaceText();
    QTest::newRow("full after 100 bytes, without a reason")
        << all << qint64(100) << QString() << false << false
        << QStringLiteral("only 100 of 1000 bytes could be written");
    QTest::newRow("refuses the first byte")
        << all << qint64(0) << QString() << false << false
        << QStringLiteral("only 0 of 1000 bytes could be written");
    QTest::newRow("flush fails") << all << all << QStringLiteral("Broken pipe") << true << false
                                 << QStringLiteral("Broken pipe");
    QTest::newRow("flush fails without a reason")
        << all << all << QString() << true << false
        << QStringLiteral("1000 written bytes cannot be passed on to the disk");
}

void TestSafeFileWriter::faultyDevice()
{
    QFETCH(qint64, chunk);
    QFETCH(qint64, capacity);
    QFETCH(QString, failure);
    QFETCH(bool, holdBack);
    QFETCH(bool, written);
    QFETCH(QString, error);
    FaultyDevice device;
    device.chunk = chunk;
    device.capacity = capacity;
    device.failure = failure;
    device.holdBack = holdBack;
    QVERIFY(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    if (holdBack)
        device.setErrorString(failure);

    const QByteArray bytes = pattern(1000);
    SafeFileWriter writer(&device);
    QVERIFY(writer.open());
    QCOMPARE(writer.write(bytes), written);
    QCOMPARE(writer.errorString(), error);
    QCOMPARE(writer.hasFailed(), !written);
    if (written) {
        QVERIFY(writer.write(bytes));
        QVERIFY(writer.commit());
        QCOMPARE(device.passedOn, bytes + bytes);
        return;
    }
    // Once failed, nothing more reaches the device and nothing claims success.
    const int calls = device.writeCalls;
    QVERIFY(!writer.write(bytes));
    QVERIFY(!writer.commit());
    QCOMPARE(device.writeCalls, calls);
    QCOMPARE(writer.errorString(), error);
}

void TestSafeFileWriter::streamOntoAFullDisk()
{
    // A recording: lines written one by one onto a file the caller keeps open.
    SmallDisk disk;
    VANTOR_REQUIRE_SMALL_DISK(disk);
    QFile file(disk.filePath(QStringLiteral("recording.jsonl")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    SafeFileWriter writer(&file);
    QVERIFY(writer.open());
    const QByteArray line = pattern(99) + '\n';
    int lines = 0;
    while (writer.write(line))
        ++lines;
    QCOMPARE(writer.errorString(), noSpaceText());
    // Every line reported written is on the disk.
    QVERIFY(lines > 0);
    QVERIFY(TestFiles::read(file.fileName()).startsWith(line.repeated(lines)));
}

QTEST_GUILESS_MAIN(TestSafeFileWriter)
#include "tst_safefilewriter.moc"
