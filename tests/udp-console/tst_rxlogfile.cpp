#include "../smalldisk.h"
#include "foldermount.h"
#include "rxlogfile.h"
#include "rxmessagemodel.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

namespace {
// Reads a payload field back as a reader of the file would, independently of the writer.
QByteArray unescaped(const QByteArray &text, bool *ok)
{
    QByteArray bytes;
    *ok = true;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        const char kind = i + 1 < text.size() ? text[++i] : '?';
        if (kind == '\\')
            bytes += '\\';
        else if (kind == 't')
            bytes += '\t';
        else if (kind == 'n')
            bytes += '\n';
        else if (kind == 'r')
            bytes += '\r';
        else if (kind == 'x' && i + 2 < text.size()) {
            bool hex = false;
            bytes += char(text.mid(i + 1, 2).toInt(&hex, 16));
            *ok = *ok && hex;
            i += 2;
        } else {
            *ok = false;
        }
    }
    return bytes;
}

RxMessageModel::Entry entry(
    const QDateTime &time, const QString &address, quint16 port, const QByteArray &payload)
{
    RxMessageModel::Entry e;
    e.receivedAtMsecs = time.toMSecsSinceEpoch();
    e.senderAddress = address;
    e.senderPort = port;
    e.payload = payload;
    e.header = QStringLiteral("header");
    return e;
}
} // namespace

class TestRxLogFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void writesOldestFirst();
    void binaryPayloadsSurvive();
    void emptyListGivesTheHeaderOnly();
    void readOnlyFolder();
    void fullDisk();
    void shortLogOnAFullDisk();
    void pathIsAFolder();

private:
    QByteArray m_oldTz;
    std::unique_ptr<QTemporaryDir> m_dir;
    RxMessageModel m_model;
};

void TestRxLogFile::initTestCase()
{
    // Three hours east of UTC, so that the offset shows in the times.
    m_oldTz = qgetenv("TZ");
    qputenv("TZ", "XYZ-3");
    tzset();
}

void TestRxLogFile::cleanupTestCase()
{
    if (m_oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", m_oldTz);
    tzset();
}

void TestRxLogFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_model.clear();
}

void TestRxLogFile::writesOldestFirst()
{
    const QDateTime time(QDate(2024, 10, 31), QTime(14, 5, 9, 123), Qt::OffsetFromUTC, 3 * 3600);
    m_model.prependEntries({ entry(time, "127.0.0.1", 5000, "status ok"),
        entry(time.addMSecs(1500), "::1", 6000, "a\\b\tc\r\n"),
        entry(time.addDays(1), "10.0.0.7", 7, QString::fromUtf8("Привет").toUtf8()) });
    const QString path = m_dir->filePath("log.txt");
    QString error;
    QVERIFY(RxLogFile::save(path, m_model, &error));
    QVERIFY(error.isEmpty());

    const QByteArray expected = "time\tsender\tpayload\n"
                                "2024-10-31T14:05:09.123+03:00\t127.0.0.1:5000\tstatus ok\n"
                                "2024-10-31T14:05:10.623+03:00\t[::1]:6000\ta\\\\b\\tc\\r\\n\n"
                                "2024-11-01T14:05:09.123+03:00\t10.0.0.7:7\t"
        + QString::fromUtf8("Привет").toUtf8() + "\n";
    QCOMPARE(TestFiles::read(path), expected);
}

void TestRxLogFile::binaryPayloadsSurvive()
{
    QList<QByteArray> payloads;
    QByteArray every;
    for (int byte = 0; byte < 256; ++byte)
        every += char(byte);
    payloads << every << QByteArray("\0\0\0", 3) << QByteArray("\\x41") << QByteArray(65507, '\n');
    QVector<RxMessageModel::Entry> entries;
    for (const QByteArray &payload : payloads)
        entries << entry(QDateTime::currentDateTime(), "127.0.0.1", 1, payload);
    m_model.prependEntries(entries);

    const QString path = m_dir->filePath("binary.txt");
    QString error;
    QVERIFY(RxLogFile::save(path, m_model, &error));
    const QList<QByteArray> lines = TestFiles::read(path).split('\n');
    // The header, one line per datagram, and nothing after the last line feed.
    QCOMPARE(lines.size(), payloads.size() + 2);
    QVERIFY(lines.last().isEmpty());
    for (int i = 0; i < payloads.size(); ++i) {
        const QList<QByteArray> fields = lines.at(i + 1).split('\t');
        QCOMPARE(fields.size(), 3);
        bool ok = false;
        QCOMPARE(unescaped(fields.at(2), &ok), payloads.at(i));
        QVERIFY(ok);
    }
}

void TestRxLogFile::emptyListGivesTheHeaderOnly()
{
    const QString path = m_dir->filePath("empty.txt");
    QString error;
    QVERIFY(RxLogFile::save(path, m_model, &error));
    QCOMPARE(TestFiles::read(path), QByteArray(RxLogFile::HeaderLine));
}

void TestRxLogFile::readOnlyFolder()
{
    m_model.prependEntries({ entry(QDateTime::currentDateTime(), "127.0.0.1", 1, "new") });
    const QString folder = m_dir->filePath("readonly");
    QVERIFY(QDir().mkpath(folder));
    const QString old = QDir(folder).filePath("old.txt");
    QVERIFY(TestFiles::write(old, "old"));
    QString why;
    auto mount = FolderMount::readOnly(folder, &why);
    if (!mount)
        QSKIP(qPrintable(why));

    QString error;
    QVERIFY(!RxLogFile::save(QDir(folder).filePath("new.txt"), m_model, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!RxLogFile::save(old, m_model, &error));
    QCOMPARE(TestFiles::read(old), QByteArray("old"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({ "old.txt" }));
}

void TestRxLogFile::fullDisk()
{
    const QString folder = m_dir->filePath("small");
    QVERIFY(QDir().mkpath(folder));
    QString why;
    auto mount = FolderMount::smallFileSystem(folder, 64, &why);
    if (!mount)
        QSKIP(qPrintable(why));
    const QString path = QDir(folder).filePath("log.txt");
    QVERIFY(TestFiles::write(path, "earlier log"));

    QVector<RxMessageModel::Entry> entries;
    for (int i = 0; i < 20; ++i)
        entries << entry(QDateTime::currentDateTime(), "127.0.0.1", 1, QByteArray(16000, 'x'));
    m_model.prependEntries(entries);
    QString error;
    QVERIFY(!RxLogFile::save(path, m_model, &error));
    QVERIFY2(error.contains("No space left on device"), qPrintable(error));
    QCOMPARE(TestFiles::read(path), QByteArray("earlier log"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({ "log.txt" }));

    // A log that fits is written whole.
    m_model.clear();
    m_model.prependEntries({ entry(QDateTime::currentDateTime(), "127.0.0.1", 1, "fits") });
    QVERIFY(RxLogFile::save(path, m_model, &error));
    QVERIFY(TestFiles::read(path).endsWith("\tfits\n"));
}

// A log of a few bytes used to pass through the buffers and leave an empty file.
void TestRxLogFile::shortLogOnAFullDisk()
{
    SmallDisk disk;
    VANTOR_REQUIRE_SMALL_DISK(disk);
    const QString path = disk.filePath("log.txt");
    QVERIFY(TestFiles::write(path, "earlier log"));
    QVERIFY(disk.fill());
    m_model.prependEntries({ entry(QDateTime::currentDateTime(), "127.0.0.1", 1, "new") });

    QString error;
    QVERIFY(!RxLogFile::save(path, m_model, &error));
    QVERIFY2(error.contains("No space left on device"), qPrintable(error));
    QCOMPARE(TestFiles::read(path), QByteArray("earlier log"));
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList({ "filler", "log.txt" }));
}

void TestRxLogFile::pathIsAFolder()
{
    QString error;
    QVERIFY(!RxLogFile::save(m_dir->path(), m_model, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(m_dir->path()).isDir());
}

QTEST_GUILESS_MAIN(TestRxLogFile)
#include "tst_rxlogfile.moc"
