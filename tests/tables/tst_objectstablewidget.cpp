#include "catalogues.h"
#include "objectcolor.h"
#include "objectstablewidget.h"
#include "tablereading.h"

#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

class TestObjectsTableWidget : public QObject
{
    Q_OBJECT

private slots:
    void frame_data();
    void frame();
    void readsWholeAtDefaultSize_data();
    void readsWholeAtDefaultSize();
    void scrollsSidewaysWhenNarrow();
    void numbersAsTheSpinBoxesWriteThem();
};

namespace {

// A frame with the widest cells a road shows: three-digit speeds and signs.
void fillWideFrame(ObjectsTableWidget &table)
{
    table.showRadarState(2);
    table.startFilling();
    table.addObject(255, -55.5, -55.5, -199.99, -199.99, 22.2,
        QDateTime(QDate(2026, 12, 9), QTime(6, 48, 19, 900), Qt::LocalTime));
    table.finishFilling();
}

} // namespace

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

void TestObjectsTableWidget::readsWholeAtDefaultSize_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("ru") << "ru";
}

void TestObjectsTableWidget::readsWholeAtDefaultSize()
{
    QFETCH(QString, language);
    Catalogues catalogues;
    if (language != QLatin1String("en"))
        QVERIFY(
            catalogues.add(QStringLiteral("vantor-road-app-gui"), language, VANTOR_CATALOGUE_DIR));
    ObjectsTableWidget table;
    fillWideFrame(table);
    // The size the main window's layout starts from.
    table.resize(table.sizeHint());
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    QCOMPARE(table.model()->index(0, 6).data().toString(), QString("06:48:19.900"));
    QCOMPARE(elidedTexts(*table.view()), QStringList());
    QVERIFY(!table.view()->horizontalScrollBar()->isVisible());
}

void TestObjectsTableWidget::scrollsSidewaysWhenNarrow()
{
    ObjectsTableWidget table;
    fillWideFrame(table);
    table.resize(250, 200);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QCOMPARE(elidedTexts(*table.view()), QStringList());
    QVERIFY(table.view()->horizontalScrollBar()->isVisible());
    // Wider than needed: the columns share the room and still fill the width.
    table.resize(1600, 200);
    QTRY_COMPARE(table.view()->horizontalHeader()->length(), table.view()->viewport()->width());
}

void TestObjectsTableWidget::numbersAsTheSpinBoxesWriteThem()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ObjectsTableWidget table;
    fillWideFrame(table);
    QDoubleSpinBox spinBox;
    spinBox.setValue(6.0);
    QStringList shown;
    for (int column = 0; column < table.model()->columnCount(); ++column)
        shown.append(table.model()->index(0, column).data().toString());
    QLocale::setDefault(QLocale::c());

    QCOMPARE(spinBox.text(), QString("6,00"));
    // -55.5 m/s is -199.8 km/h.
    QCOMPARE(shown,
        QStringList({ "255", "-199,8", "-199,8", "-199,99", "-199,99", "22,2", "06:48:19.900" }));
}

QTEST_MAIN(TestObjectsTableWidget)
#include "tst_objectstablewidget.moc"
