#include "lanestatistics.h"
#include "wrongwaydetector.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QDateTime T0(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC);
constexpr int FrameMs = 100;

// A straight lane of 100 stations along X for every key.
QMap<int, QPolygonF> straightLanes(const QList<int> &keys)
{
    QMap<int, QPolygonF> lanes;
    for (int key : keys) {
        QPolygonF line;
        for (int x = 0; x <= 100; ++x)
            line << QPointF(x, 2.0 * key);
        lanes.insert(key, line);
    }
    return lanes;
}

LaneFrame frameAt(int index, const QVector<LaneObject> &objects)
{
    return { T0.addMSecs(qint64(FrameMs) * index), objects };
}

// One object per frame, frames FrameMs apart.
void play(LaneStatistics &statistics, WrongWayDetector *detector, const QVector<LaneObject> &path)
{
    for (int i = 0; i < path.size(); ++i) {
        const LaneFrame frame = frameAt(i, { path.at(i) });
        statistics.showLaneFrame(frame);
        if (detector)
            detector->showLaneFrame(frame);
    }
}

QVector<LaneObject> drive(quint8 id, quint64 track, int lane, double from, double to, double step)
{
    QVector<LaneObject> path;
    const int n = qRound(qAbs(to - from) / step);
    for (int i = 0; i <= n; ++i)
        path.append({ id, track, lane, from + (to > from ? 1 : -1) * i * step, 20.0, 4.5 });
    return path;
}

// Splits one CSV line, with quoted fields.
QStringList csvFields(const QString &line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted && c == QLatin1Char('"') && i + 1 < line.size() && line.at(i + 1) == c) {
            field += c;
            ++i;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

} // namespace

Q_DECLARE_METATYPE(QVector<LaneObject>)

class TestLaneStatistics : public QObject
{
    Q_OBJECT

private slots:
    void counting_data();
    void counting();
    void occupancyAndSpeed();
    void intervals();
    void lengthClasses_data();
    void lengthClasses();
    void csvRoundTrip_data();
    void csvRoundTrip();
    void wrongWay_data();
    void wrongWay();
};

void TestLaneStatistics::counting_data()
{
    QTest::addColumn<QVector<LaneObject>>("path");
    QTest::addColumn<int>("approaching");
    QTest::addColumn<int>("receding");

    QTest::newRow("receding through the zone") << drive(1, 1, -1, 20, 50, 1.5) << 0 << 1;
    QTest::newRow("approaching through the zone") << drive(1, 1, 1, 50, 20, 1.5) << 1 << 0;
    QTest::newRow("stopping short of the line") << drive(1, 1, -1, 20, 34.5, 0.5) << 0 << 0;
    QVector<LaneObject> jitter;
    for (int i = 0; i < 20; ++i)
        jitter.append({ 4, 9, -1, i % 2 ? 35.2 : 34.8, 0.5, 4.5 });
    QTest::newRow("standing on the line counts once") << jitter << 0 << 1;
    QTest::newRow("a reused identifier is another vehicle")
        << drive(3, 1, -1, 30, 40, 1) + drive(3, 2, -1, 40, 30, 1) << 1 << 1;
    QVector<LaneObject> change = drive(5, 1, -1, 30, 34, 1);
    change.append({ 5, 1, -2, 36, 20.0, 4.5 });
    QTest::newRow("changing lanes across the line") << change << 0 << 0;
    QTest::newRow("off the configured lanes") << drive(1, 1, 7, 20, 50, 1) << 0 << 0;
}

void TestLaneStatistics::counting()
{
    QFETCH(QVector<LaneObject>, path);
    QFETCH(int, approaching);
    QFETCH(int, receding);

    LaneStatistics statistics;
    statistics.setLaneCenterLines(straightLanes({ -2, -1, 1 }));
    play(statistics, nullptr, path);
    int counted[LaneStatistics::DirectionCount] = {};
    for (const LaneStatistics::Row &row : statistics.currentRows()) {
        counted[LaneStatistics::Approaching] += row.count[LaneStatistics::Approaching];
        counted[LaneStatistics::Receding] += row.count[LaneStatistics::Receding];
    }
    QCOMPARE(counted[LaneStatistics::Approaching], approaching);
    QCOMPARE(counted[LaneStatistics::Receding], receding);
}

void TestLaneStatistics::occupancyAndSpeed()
{
    LaneStatistics statistics;
    statistics.setLaneCenterLines(straightLanes({ -1, 1 }));
    // A 5 m vehicle at 10 m/s from the radar for ten seconds: its body overlaps the zone
    // (30 to 40 m) from 2.5 s (front at 30 m) until 4 s (rear at 40 m), that is in 15 of
    // the 99 frame gaps observed.
    for (int i = 0; i < 100; ++i)
        statistics.showLaneFrame(frameAt(i, { { 1, 1, -1, i * 0.1 * 10.0, 10.0, 5.0 } }));
    const QVector<LaneStatistics::Row> rows = statistics.currentRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).lane, -1);
    QCOMPARE(rows.at(0).occupancy, 15.0 / 99.0);
    QCOMPARE(rows.at(0).count[LaneStatistics::Receding], 1);
    QCOMPARE(rows.at(0).meanSpeedKmh, 36.0);
    QCOMPARE(rows.at(0).classes[LaneStatistics::Car], 1);
    QCOMPARE(rows.at(1).lane, 1);
    QCOMPARE(rows.at(1).occupancy, 0.0);
    QCOMPARE(rows.at(1).total(), 0);

    QCOMPARE(LaneStatistics::percentile85({}), 0.0);
    QCOMPARE(LaneStatistics::percentile85({ 50 }), 50.0);
    // Nearest rank: the 17th of 20 speeds.
    QVector<double> speeds;
    for (int i = 20; i >= 1; --i)
        speeds << 10.0 * i;
    QCOMPARE(LaneStatistics::percentile85(speeds), 170.0);
}

void TestLaneStatistics::intervals()
{
    LaneStatistics statistics;
    statistics.setLaneCenterLines(straightLanes({ -1 }));
    statistics.setIntervalMinutes(7); // not offered: ignored
    QCOMPARE(statistics.intervalMinutes(), 5);
    statistics.setIntervalMinutes(1);
    QSignalSpy finished(&statistics, &LaneStatistics::intervalFinished);

    // Three vehicles at 10:00:30, 10:01:30 and 10:03:30; nothing seen at 10:02.
    for (int minute : { 0, 1, 3 }) {
        for (int i = 0; i <= 20; ++i) {
            const QDateTime t = T0.addSecs(60 * minute + 30).addMSecs(FrameMs * i);
            statistics.showLaneFrame(
                { t, { { 1, quint64(minute + 1), -1, 30.0 + i, 20.0, 4.5 } } });
        }
    }
    QCOMPARE(finished.count(), 2);
    const QVector<LaneStatistics::Row> &rows = statistics.finishedRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).start, T0);
    QCOMPARE(rows.at(1).start, T0.addSecs(60));
    QCOMPARE(rows.at(1).total(), 1);
    QCOMPARE(statistics.currentRows().at(0).start, T0.addSecs(180));
    QCOMPARE(statistics.currentRows().at(0).total(), 1);

    // The same road again keeps the interval going; a new road finishes it.
    statistics.setLaneCenterLines(straightLanes({ -1 }));
    QCOMPARE(statistics.finishedRows().size(), 2);
    QCOMPARE(statistics.currentRows().size(), 1);
    statistics.setLaneCenterLines(straightLanes({ -1, 1 }));
    QCOMPARE(statistics.finishedRows().size(), 3);
    QVERIFY(statistics.currentRows().isEmpty());
}

void TestLaneStatistics::lengthClasses_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("lengthClass");
    QTest::newRow("motorcycle 2.2 m") << 2.2 << int(LaneStatistics::Motorcycle);
    QTest::newRow("car 4.5 m") << 4.5 << int(LaneStatistics::Car);
    QTest::newRow("van 6.0 m") << 6.0 << int(LaneStatistics::Van);
    QTest::newRow("truck 16.5 m") << 16.5 << int(LaneStatistics::Truck);
}

void TestLaneStatistics::lengthClasses()
{
    QFETCH(double, length);
    QFETCH(int, lengthClass);
    QCOMPARE(int(LaneStatistics::lengthClass(length)), lengthClass);
}

void TestLaneStatistics::csvRoundTrip_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("speedHeader");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << ","
                             << "Mean speed, km/h";
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << ";"
                             << "Mean speed, km/h";
}

void TestLaneStatistics::csvRoundTrip()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, separator);
    QFETCH(QString, speedHeader);

    LaneStatistics::Row row;
    row.start = T0;
    row.minutes = 15;
    row.lane = -2;
    row.count[LaneStatistics::Approaching] = 3;
    row.count[LaneStatistics::Receding] = 1234;
    row.meanSpeedKmh = 87.25;
    row.p85SpeedKmh = 101.04;
    row.occupancy = 0.1234;
    row.classes[LaneStatistics::Motorcycle] = 1;
    row.classes[LaneStatistics::Car] = 1000;
    row.classes[LaneStatistics::Van] = 200;
    row.classes[LaneStatistics::Truck] = 36;
    const QByteArray csv = LaneStatistics::toCsv({ row }, locale);

    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(2), QString());
    const QChar sep = separator.at(0);
    const QStringList header = csvFields(lines.at(0), sep);
    QCOMPARE(header.size(), 12);
    QCOMPARE(header.at(5), speedHeader);
    const QStringList fields = csvFields(lines.at(1), sep);
    QCOMPARE(fields.size(), 12);
    QCOMPARE(QDateTime::fromString(fields.at(0), Qt::ISODate), T0);
    bool ok = true;
    const auto number = [&](int i) {
        bool fieldOk = false;
        const double value = locale.toDouble(fields.at(i), &fieldOk);
        ok = ok && fieldOk;
        return value;
    };
    QCOMPARE(number(1), 15.0);
    QCOMPARE(number(2), -2.0);
    QCOMPARE(number(3), 3.0);
    QCOMPARE(number(4), 1234.0); // no group separator
    QCOMPARE(number(5), 87.3);
    QCOMPARE(number(6), 101.0);
    QCOMPARE(number(7), 12.3);
    QCOMPARE(number(8), 1.0);
    QCOMPARE(number(9), 1000.0);
    QCOMPARE(number(10), 200.0);
    QCOMPARE(number(11), 36.0);
    QVERIFY(ok);
    QVERIFY(fields.at(5).contains(locale.decimalPoint()));
}

void TestLaneStatistics::wrongWay_data()
{
    QTest::addColumn<QVector<LaneObject>>("path");
    QTest::addColumn<int>("alarms");

    QTest::newRow("with the lane away from the radar") << drive(1, 1, -1, 10, 90, 1) << 0;
    QTest::newRow("with the lane towards the radar") << drive(1, 1, 1, 90, 10, 1) << 0;
    QTest::newRow("against the lane away from the radar") << drive(1, 1, -1, 90, 10, 1) << 1;
    QTest::newRow("against the lane towards the radar") << drive(1, 1, 1, 10, 90, 1) << 1;
    QTest::newRow("backing up 15 m") << drive(1, 1, -1, 40, 25, 0.5) << 0;
    QVector<LaneObject> jitter;
    for (int i = 0; i < 600; ++i)
        jitter.append({ 2, 1, -1, 50.0 + (i % 3 - 1) * 0.4, 0.1, 4.5 });
    QTest::newRow("standing with noisy positions") << jitter << 0;
    QTest::newRow("forward, then 25 m back")
        << drive(1, 1, -1, 10, 60, 1) + drive(1, 1, -1, 60, 35, 1) << 1;
    QTest::newRow("two wrong-way vehicles under one identifier")
        << drive(3, 1, 1, 10, 60, 1) + drive(3, 2, 1, 10, 60, 1) << 2;
    QTest::newRow("a lane change starts measuring again")
        << drive(1, 1, -1, 50, 35, 1) + drive(1, 1, -2, 35, 20, 1) << 0;
}

void TestLaneStatistics::wrongWay()
{
    QFETCH(QVector<LaneObject>, path);
    QFETCH(int, alarms);

    LaneStatistics statistics;
    WrongWayDetector detector;
    QCOMPARE(detector.minDistance(), WrongWayDetector::DefaultMinDistance);
    QSignalSpy spy(&detector, &WrongWayDetector::wrongWayDetected);
    play(statistics, &detector, path);
    QCOMPARE(spy.count(), alarms);
    for (const QList<QVariant> &args : spy) {
        const WrongWayAlarm alarm = args.at(0).value<WrongWayAlarm>();
        QVERIFY(alarm.distance > detector.minDistance());
        QCOMPARE(alarm.id, path.first().id);
        QCOMPARE(alarm.lane, path.first().lane);
    }

    // A longer minimum distance lets a 20 m wrong-way stretch pass.
    WrongWayDetector tolerant;
    tolerant.setMinDistance(1e9);
    QCOMPARE(tolerant.minDistance(), WrongWayDetector::MaxMinDistance);
    QSignalSpy tolerantSpy(&tolerant, &WrongWayDetector::wrongWayDetected);
    for (int i = 0; i < path.size(); ++i)
        tolerant.showLaneFrame(frameAt(i, { path.at(i) }));
    QCOMPARE(tolerantSpy.count(), 0);
}

QTEST_GUILESS_MAIN(TestLaneStatistics)
#include "tst_lanestatistics.moc"
