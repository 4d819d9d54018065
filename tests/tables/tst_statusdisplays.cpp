#include "generalinfowidget.h"
#include "imitatorobjectwidget.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtTest>

// The general info and imitator displays show the latest values, repaint a label once
// for each new text and never for an unchanged one, and a hidden imitator shows the last
// frame once it is shown.
class TestStatusDisplays : public QObject
{
    Q_OBJECT

private slots:
    void generalInfoShowsTheLatest_data();
    void generalInfoShowsTheLatest();
    void imitatorShownLater_data();
    void imitatorShownLater();
};

namespace {

const QDateTime Start(QDate(2026, 12, 9), QTime(10, 20, 30, 0), Qt::UTC);

// One radar frame: its time from Start, its cycle number and the uptime in milliseconds.
struct InfoFrame
{
    qint64 atMs;
    quint64 cycle;
    qint64 uptimeMs;
};

class PaintCounter : public QObject
{
public:
    QHash<QObject *, int> paints;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};

} // namespace

Q_DECLARE_METATYPE(QVector<InfoFrame>)

void TestStatusDisplays::generalInfoShowsTheLatest_data()
{
    QTest::addColumn<QVector<InfoFrame>>("frames");
    QTest::addColumn<QString>("uptime");
    QTest::addColumn<QString>("cycle");
    QTest::addColumn<int>("newUptimes");
    QTest::addColumn<int>("newCycles");

    // The first frame of each row fits the labels to their texts; paints are counted from
    // the second on.
    QVector<InfoFrame> second;
    for (int i = 0; i <= 20; ++i)
        second.append({ 50 * i, quint64(100 + i), 5000 + 50 * i });
    QTest::newRow("a second at 20 cycles a second") << second << "0 day(s) 00:00:06.000"
                                                    << "120 (20.0 c/s)" << 20 << 20;
    QTest::newRow("the same values again")
        << QVector<InfoFrame> { { 0, 9, 1000 }, { 50, 9, 1000 }, { 100, 9, 1000 } }
        << "0 day(s) 00:00:01.000"
        << "9" << 0 << 0;
    QTest::newRow("only the uptime changes")
        << QVector<InfoFrame> { { 0, 9, 1000 }, { 50, 9, 1050 }, { 100, 9, 1100 } }
        << "0 day(s) 00:00:01.100"
        << "9" << 2 << 0;
    QTest::newRow("a restarted radar counts anew")
        << QVector<InfoFrame> { { 0, 500, 90061004 }, { 1000, 520, 90062004 }, { 1050, 3, 50 } }
        << "0 day(s) 00:00:00.050"
        << "3" << 2 << 2;
}

void TestStatusDisplays::generalInfoShowsTheLatest()
{
    QFETCH(QVector<InfoFrame>, frames);
    QFETCH(QString, uptime);
    QFETCH(QString, cycle);
    QFETCH(int, newUptimes);
    QFETCH(int, newCycles);

    // In a group box, as in the main window: the labels are not opaque.
    QGroupBox box(QStringLiteral("General info"));
    auto *info = new GeneralInfoWidget;
    (new QVBoxLayout(&box))->addWidget(info);
    info->showRadarState(2);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCoreApplication::processEvents();

    PaintCounter counter;
    QLabel *uptimeLabel = nullptr;
    QLabel *cycleLabel = nullptr;
    for (int i = 0; i < frames.size(); ++i) {
        const InfoFrame &f = frames.at(i);
        info->setFrameDateTimeUtc(Start.addMSecs(f.atMs));
        info->showCycleNumber(f.cycle);
        const qint64 s = f.uptimeMs / 1000;
        info->showUptimeInfo(int(s / 86400), int(s / 3600 % 24), int(s / 60 % 60), int(s % 60),
            int(f.uptimeMs % 1000));
        if (i == 0) {
            for (QLabel *label : info->findChildren<QLabel *>()) {
                if (label->text() == info->uptimeText())
                    uptimeLabel = label;
                else if (label->text() == info->cycleText())
                    cycleLabel = label;
            }
            QVERIFY(uptimeLabel && cycleLabel);
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            uptimeLabel->installEventFilter(&counter);
            cycleLabel->installEventFilter(&counter);
        }
        QCoreApplication::processEvents();
    }

    QCOMPARE(info->uptimeText(), uptime);
    QCOMPARE(info->cycleText(), cycle);
    QCOMPARE(uptimeLabel->text(), uptime);
    QCOMPARE(cycleLabel->text(), cycle);
    // A new text in both labels repaints both once, together.
    QCOMPARE(counter.paints.value(uptimeLabel), newUptimes);
    QCOMPARE(counter.paints.value(cycleLabel), newCycles);
}

void TestStatusDisplays::imitatorShownLater_data()
{
    QTest::addColumn<QVector<double>>("speeds");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("no frame") << QVector<double>() << false << QStringList { "no", "data" };
    QTest::newRow("two objects side by side")
        << QVector<double> { 10.0, -2.5 } << false << QStringList { "36.0 km/h", "-9.0 km/h" };
    QTest::newRow("three objects in a column") << QVector<double> { 1.0, 2.0,
        3.0 } << true << QStringList { "3.6 km/h", "7.2 km/h", "10.8 km/h" };
}

void TestStatusDisplays::imitatorShownLater()
{
    QFETCH(QVector<double>, speeds);
    QFETCH(bool, vertical);
    QFETCH(QStringList, shown);

    QGroupBox box(QStringLiteral("Imitator"));
    auto *imitator = new ImitatorObjectWidget;
    (new QVBoxLayout(&box))->addWidget(imitator);
    imitator->setDrawVertical(vertical);
    // Frames while hidden: first one of other objects, then the one to show.
    for (const QVector<double> &frame : { QVector<double> { 99.0 }, speeds }) {
        imitator->startFilling();
        for (int i = 0; i < frame.size(); ++i)
            imitator->addObject(
                quint8(i + 1), frame.at(i), 0.0, 10.0 * i, 1.0, 4.5, Start.addMSecs(i));
        imitator->finishFilling();
    }
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    const QList<QLabel *> labels = imitator->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 1);
    QTextDocument document;
    document.setHtml(labels.first()->text());
    // Lines, or speeds three spaces apart.
    QCOMPARE(document.toPlainText().split(QRegularExpression(QStringLiteral("\\n| {3}"))), shown);
    QCOMPARE(imitator->text(), labels.first()->text());
}

QTEST_MAIN(TestStatusDisplays)
#include "tst_statusdisplays.moc"
