#include "objectcolor.h"
#include "objectstablewidget.h"

#include <QHeaderView>
#include <QTableView>
#include <QtTest>

class TestObjectsTableWidget : public QObject
{
    Q_OBJECT

private slots:
    void frame_data();
    void frame();
};

void TestObjectsTableWidget::frame_data()
{
    QTest::addColumn<bool>("paintObjects");
    QTest::addColumn<int>("radarState");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("colourOf");

    QTest::newRow("painted, working") << true << 2 << 2 << 9;
    QTest::newRow("not painted: colours of id 0") << false << 2 << 2 << 0;
    QTest::newRow("radar busy: emptied") << true << 1 << 0 << -1;
}

void TestObjectsTableWidget::frame()
{
    QFETCH(bool, paintObjects);
    QFETCH(int, radarState);
    QFETCH(int, rows);
    QFETCH(int, colourOf);

    ObjectsTableWidget table;
    table.resize(700, 300);
    table.setPaintObjects(paintObjects);
    table.showRadarState(2);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int frame = 0; frame < 2; ++frame) {
        table.startFilling();
        table.addObject(4, 10.0, 0.0, 30.0, 1.5, 4.5, now);
        table.addObject(9, 12.0, 0.0, 50.0, -1.5, 5.5, now);
        table.finishFilling();
    }
    table.showRadarState(radarState);

    QCOMPARE(table.model()->rowCount(), rows);
    QCOMPARE(table.isEnabled(), radarState == 2);
    QCOMPARE(table.model()->index(0, 1).data().toString(), rows ? QString("36.0") : QString());
    if (colourOf < 0)
        return;
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QTableView *view = table.view();
    const QRect cell = view->visualRect(view->model()->index(1, 0));
    const QImage image = view->viewport()->grab().toImage();
    // A pixel of the second row's id cell (the first is current and tinted), away from
    // its text.
    const QPoint probe(cell.right() - 3, cell.center().y());
    QCOMPARE(image.pixelColor(probe).rgb(), ObjectColor::base(quint8(colourOf)).rgb());
}

QTEST_MAIN(TestObjectsTableWidget)
#include "tst_objectstablewidget.moc"
