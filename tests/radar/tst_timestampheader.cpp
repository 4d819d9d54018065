#include "timestampheader.h"

#include <QtTest>

class TestTimeStampHeader : public QObject
{
    Q_OBJECT

private slots:
    void frameTime_data();
    void frameTime();
    void encodeRoundTrip();
    void utcWhateverTheTimeZone();
};

namespace {

// Header bytes: marker, day, month, year LE, hour, minute, second, millisecond LE.
QByteArray header(int day, int month, int year, int hour, int minute, int second, int msec)
{
    QByteArray bytes("#DT");
    bytes += char(day);
    bytes += char(month);
    bytes += char(year & 0xFF);
    bytes += char(year >> 8);
    bytes += char(hour);
    bytes += char(minute);
    bytes += char(second);
    bytes += char(msec & 0xFF);
    bytes += char(msec >> 8);
    return bytes;
}

const QByteArray Frame = QByteArray::fromHex("03ff080000000000000000");

} // namespace

void TestTimeStampHeader::frameTime_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("stamped");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QDateTime>("expected");

    const QDateTime valid(QDate(2026, 3, 14), QTime(15, 9, 26, 535), Qt::UTC);
    QTest::newRow("valid header") << header(14, 3, 2026, 15, 9, 26, 535) + Frame << true << 12
                                  << valid;
    QTest::newRow("month 0") << header(14, 0, 2026, 15, 9, 26, 535) + Frame << false << 12
                             << QDateTime();
    QTest::newRow("30 February") << header(30, 2, 2026, 1, 2, 3, 4) + Frame << false << 12
                                 << QDateTime();
    QTest::newRow("29 February leap year") << header(29, 2, 2024, 0, 0, 0, 0) + Frame << true << 12
                                           << QDateTime(QDate(2024, 2, 29), QTime(0, 0), Qt::UTC);
    QTest::newRow("hour 24") << header(1, 1, 2026, 24, 0, 0, 0) + Frame << false << 12
                             << QDateTime();
    QTest::newRow("minute 60") << header(1, 1, 2026, 12, 60, 0, 0) + Frame << false << 12
                               << QDateTime();
    QTest::newRow("second 60") << header(1, 1, 2026, 12, 0, 60, 0) + Frame << false << 12
                               << QDateTime();
    QTest::newRow("millisecond 1000")
        << header(1, 1, 2026, 12, 0, 0, 1000) + Frame << false << 12 << QDateTime();
    QTest::newRow("day 0") << header(0, 1, 2026, 12, 0, 0, 0) + Frame << false << 12 << QDateTime();
    QTest::newRow("exactly 12 bytes")
        << header(14, 3, 2026, 15, 9, 26, 535) << false << 0 << QDateTime();
    QTest::newRow("no marker") << Frame << false << 0 << QDateTime();
    QTest::newRow("marker broken")
        << "#DX" + header(14, 3, 2026, 15, 9, 26, 535).mid(3) + Frame << false << 0 << QDateTime();
    QTest::newRow("empty") << QByteArray() << false << 0 << QDateTime();
}

void TestTimeStampHeader::frameTime()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, stamped);
    QFETCH(int, offset);
    QFETCH(QDateTime, expected);

    const QDateTime reception(QDate(2030, 1, 2), QTime(3, 4, 5, 6), Qt::UTC);
    QCOMPARE(TimeStampHeader::frameAreaOffset(message), offset);
    const QDateTime frameTime = TimeStampHeader::frameTime(message, reception);
    if (stamped) {
        QCOMPARE(frameTime, expected);
        QCOMPARE(frameTime.timeSpec(), Qt::UTC);
    } else {
        QCOMPARE(frameTime, reception);
    }
}

void TestTimeStampHeader::encodeRoundTrip()
{
    const QDateTime time(QDate(2026, 12, 31), QTime(23, 59, 59, 999), Qt::UTC);
    const QByteArray bytes = TimeStampHeader::encode(time);
    QCOMPARE(bytes, header(31, 12, 2026, 23, 59, 59, 999));
    QCOMPARE(TimeStampHeader::decode(bytes.constData()), time);
}

void TestTimeStampHeader::utcWhateverTheTimeZone()
{
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Asia/Kolkata");
    tzset();
    const QDateTime decoded = TimeStampHeader::decode(header(1, 6, 2026, 0, 30, 0, 0).constData());
    if (previous.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", previous);
    tzset();
    QCOMPARE(decoded.toMSecsSinceEpoch(),
        QDateTime(QDate(2026, 6, 1), QTime(0, 30), Qt::UTC).toMSecsSinceEpoch());
}

QTEST_GUILESS_MAIN(TestTimeStampHeader)
#include "tst_timestampheader.moc"
