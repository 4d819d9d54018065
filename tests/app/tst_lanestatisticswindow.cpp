#include "lanestatisticswindow.h"
#include "mainwindow.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QDateTime T0(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC);

QMap<int, QPolygonF> straightLanes()
{
    QMap<int, QPolygonF> lanes;
    for (int key : { -1, 1 }) {
        QPolygonF line;
        for (int x = 0; x <= 100; ++x)
            line << QPointF(x, 2.0 * key);
        lanes.insert(key, line);
    }
    return lanes;
}

// One vehicle per minute on each lane, driving its lane's way through the zone; on lane 1
// from the third minute on it drives the wrong way.
void playMinutes(LaneStatisticsWindow &window, int minutes)
{
    quint64 track = 0;
    for (int minute = 0; minute < minutes; ++minute) {
        ++track;
        const bool wrongWay = minute >= 2;
        for (int i = 0; i <= 60; ++i) {
            const QDateTime t = T0.addSecs(60 * minute + 10).addMSecs(100 * i);
            const double away = 20.0 + 0.5 * i;
            window.showLaneFrame({ t,
                { { 1, 2 * track, -1, away, 5.0, 4.5 },
                    { 2, 2 * track + 1, 1, wrongWay ? away : 70.0 - away, 5.0, 12.0 } } });
        }
    }
}

} // namespace

class TestLaneStatisticsWindow : public QObject
{
    Q_OBJECT

private slots:
    void modelFollowsTheIntervals();
    void exportWritesTheRows();
    void exportFailureIsSaidInWords();
    void wrongWayAlarmIsListedAndShownInTheMainWindow();
};

void TestLaneStatisticsWindow::modelFollowsTheIntervals()
{
    LaneStatisticsWindow window;
    QAbstractItemModelTester tester(const_cast<LaneStatisticsModel *>(&window.model()),
        QAbstractItemModelTester::FailureReportingMode::QtTest);
    window.setIntervalMinutes(1);
    window.setLaneCenterLines(straightLanes());
    window.show();
    playMinutes(window, 4);

    const LaneStatisticsModel &model = window.model();
    // Three finished minutes and the one in progress, two lanes each.
    QCOMPARE(model.rowCount(), 8);
    QCOMPARE(model.finishedCount(), 6);
    using C = LaneStatisticsModel::Column;
    const auto cell
        = [&](int row, C column) { return model.data(model.index(row, int(column))).toString(); };
    QCOMPARE(cell(0, C::Receding), QStringLiteral("1"));
    QCOMPARE(cell(1, C::Approaching), QStringLiteral("1"));
    QCOMPARE(cell(1, C::Trucks), QStringLiteral("1"));
    // The wrong-way driver on lane 1 is counted moving away.
    QCOMPARE(cell(5, C::Receding), QStringLiteral("1"));
    QCOMPARE(cell(5, C::Approaching), QStringLiteral("0"));
    QVERIFY(!model.headerData(int(C::Approaching), Qt::Horizontal, Qt::ToolTipRole)
                 .toString()
                 .isEmpty());

    // The chart's share: the latest rows, across the finished and the current ones.
    for (int count : { 0, 1, 3, 8, 20 }) {
        const QVector<LaneStatistics::Row> latest = model.latestRows(count);
        const QVector<LaneStatistics::Row> all = model.rows();
        QCOMPARE(latest.size(), qMin(count, all.size()));
        for (int i = 0; i < latest.size(); ++i) {
            const LaneStatistics::Row &expected = all.at(all.size() - latest.size() + i);
            QCOMPARE(latest.at(i).start, expected.start);
            QCOMPARE(latest.at(i).lane, expected.lane);
        }
    }

    window.form().clearButton->click();
    QCOMPARE(model.rowCount(), 0);
}

void TestLaneStatisticsWindow::exportWritesTheRows()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    LaneStatisticsWindow window;
    window.setIntervalMinutes(1);
    window.setLaneCenterLines(straightLanes());
    playMinutes(window, 2);
    const QString path = dir.filePath("lanes.csv");
    QString error;
    QVERIFY2(window.exportCsv(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), LaneStatistics::toCsv(window.model().rows(), QLocale()));
}

void TestLaneStatisticsWindow::exportFailureIsSaidInWords()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    LaneStatisticsWindow window;
    QString error;
    QVERIFY(!window.exportCsv(dir.filePath("no such folder/lanes.csv"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY2(!error.contains("Unknown error"), qPrintable(error));
}

void TestLaneStatisticsWindow::wrongWayAlarmIsListedAndShownInTheMainWindow()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        MainWindow main;
        LaneStatisticsWindow *window = main.laneStatisticsWindow();
        QVERIFY(main.wrongWayBanner()->isHidden());
        QSignalSpy alarms(window, &LaneStatisticsWindow::wrongWayDetected);
        window->setLaneCenterLines(straightLanes());
        playMinutes(*window, 4);
        // Two wrong-way vehicles, one alarm each.
        QCOMPARE(alarms.count(), 2);
        QCOMPARE(window->form().alarmList->count(), 2);
        QVERIFY(window->form().alarmList->item(0)->text().contains(QStringLiteral("object 2")));
        QVERIFY(!main.wrongWayBanner()->isHidden());
        QVERIFY(main.wrongWayBanner()->text().contains(QStringLiteral("lane 1 (object 2)")));

        main.form().actionShowLaneStatistics->trigger();
        QTRY_VERIFY(window->isVisible());
        main.close();
    }
    QDir::setCurrent(previous);
}

QTEST_MAIN(TestLaneStatisticsWindow)
#include "tst_lanestatisticswindow.moc"
