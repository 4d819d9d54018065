#include "objectcolumns.h"

#include <QDateTime>
#include <QtTest>

#include <ctime>
#include <limits>

// The "Updated" cell reads as Qt's own conversion to local time, across clock changes and
// in zones whose offsets are not whole hours.
class TestObjectColumns : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase();
    void updatedIsTheLocalTime_data();
    void updatedIsTheLocalTime();
    void numbersKeepTheLocaleFormat_data();
    void numbersKeepTheLocaleFormat();

private:
    QByteArray m_zone = qgetenv("TZ");
};

namespace {

void useZone(const QByteArray &zone)
{
    qputenv("TZ", zone);
    tzset();
}

qint64 utcMs(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC)
        .toMSecsSinceEpoch();
}

} // namespace

void TestObjectColumns::cleanupTestCase()
{
    if (m_zone.isNull())
        qunsetenv("TZ");
    else
        useZone(m_zone);
}

void TestObjectColumns::updatedIsTheLocalTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QList<qint64>>("times");

    QTest::newRow("Berlin, clocks forward")
        << QByteArray("Europe/Berlin")
        << QList<qint64> { utcMs(2026, 3, 29, 0, 59, 59, 999), utcMs(2026, 3, 29, 1, 0, 0, 0),
               utcMs(2026, 3, 29, 0, 59, 59, 998) };
    QTest::newRow("Berlin, clocks back")
        << QByteArray("Europe/Berlin")
        << QList<qint64> { utcMs(2026, 10, 25, 0, 59, 59, 999), utcMs(2026, 10, 25, 1, 0, 0, 1),
               utcMs(2026, 10, 25, 1, 14, 59, 999) };
    QTest::newRow("Lord Howe, half an hour back")
        << QByteArray("Australia/Lord_Howe")
        << QList<qint64> { utcMs(2026, 4, 4, 14, 59, 59, 999), utcMs(2026, 4, 4, 15, 0, 0, 0) };
    QTest::newRow("Kathmandu, past midnight at +5:45")
        << QByteArray("Asia/Kathmandu")
        << QList<qint64> { utcMs(2026, 12, 9, 18, 14, 59, 999), utcMs(2026, 12, 9, 18, 15, 0, 0),
               utcMs(2026, 12, 9, 18, 29, 0, 7) };
    QTest::newRow("St. John's, before midnight at -3:30")
        << QByteArray("America/St_Johns")
        << QList<qint64> { utcMs(2026, 12, 10, 3, 29, 59, 999), utcMs(2026, 12, 10, 3, 30, 0, 0) };
    QTest::newRow("UTC before 1970")
        << QByteArray("UTC") << QList<qint64> { utcMs(1969, 12, 31, 23, 59, 59, 999) };
    // A hostile frame's time stamp once overflowed the quarter-hour arithmetic.
    QTest::newRow("absurd times") << QByteArray("Europe/Berlin")
                                  << QList<qint64> { -10248191152061LL * 900000,
                                         std::numeric_limits<qint64>::min(),
                                         std::numeric_limits<qint64>::max() };
}

void TestObjectColumns::updatedIsTheLocalTime()
{
    QFETCH(QByteArray, zone);
    QFETCH(QList<qint64>, times);

    useZone(zone);
    for (const qint64 ms : times) {
        ObjectRecord record;
        record.lastDetectedMs = ms;
        const QString expected = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime)
                                     .time()
                                     .toString(QStringLiteral("hh:mm:ss.zzz"));
        QCOMPARE(ObjectColumns::cellText(record, ObjectColumns::Updated), expected);
    }
}

void TestObjectColumns::numbersKeepTheLocaleFormat_data()
{
    QTest::addColumn<QList<QLocale>>("locales");
    QTest::addColumn<QStringList>("xRanges");

    // Alternating locales, as the table and a saved file ask for them.
    QTest::newRow("Russian, C, Russian")
        << QList<QLocale> { QLocale(QLocale::Russian), QLocale::c(), QLocale(QLocale::Russian) }
        << QStringList { "1234,50", "1234.50", "1234,50" };
    QTest::newRow("English, German") << QList<QLocale> { QLocale(QLocale::English),
        QLocale(QLocale::German) } << QStringList { "1234.50", "1234,50" };
}

void TestObjectColumns::numbersKeepTheLocaleFormat()
{
    QFETCH(QList<QLocale>, locales);
    QFETCH(QStringList, xRanges);

    ObjectRecord record;
    record.xRange = 1234.5;
    for (int i = 0; i < locales.size(); ++i)
        QCOMPARE(
            ObjectColumns::cellText(record, ObjectColumns::XRange, locales.at(i)), xRanges.at(i));
}

QTEST_GUILESS_MAIN(TestObjectColumns)
#include "tst_objectcolumns.moc"
