#include "objectcolumns.h"
#include "objectstablemodel.h"
#include "objecttableview.h"

#include <QAbstractItemModelTester>
#include <QStyledItemDelegate>
#include <QtTest>

// The table cells look as Qt's own item delegate paints them: backgrounds, colours,
// alternating rows, the selected row and the focused cell.
class TestCachedTextDelegate : public QObject
{
    Q_OBJECT

private slots:
    void paintsAsTheStyledDelegate_data();
    void paintsAsTheStyledDelegate();
};

namespace {

QVector<ObjectRecord> records(int count)
{
    QVector<ObjectRecord> result;
    for (int i = 0; i < count; ++i) {
        ObjectRecord record;
        record.id = quint8(3 * i + 1);
        record.xSpeed = -12.5 + 4.25 * i;
        record.ySpeed = 0.5 * i;
        record.xRange = 10.0 + 7.75 * i;
        record.yRange = -3.5 + i;
        record.length = 4.5;
        record.lastDetectedMs = 1796811600000 + 100 * i;
        result.append(record);
    }
    return result;
}

QImage paintedCells(QAbstractItemDelegate *delegate, bool paintObjects, bool alternating,
    int selectedRow, bool focused)
{
    ObjectsTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setPaintObjects(paintObjects);
    model.setRecords(records(12));
    ObjectTableView view;
    if (delegate) {
        // The view does not own its delegate.
        delegate->setParent(&view);
        view.setItemDelegate(delegate);
    }
    view.setAlternatingRowColors(alternating);
    view.setModel(&model);
    view.resize(760, 330);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return QImage();
    if (selectedRow >= 0)
        view.setCurrentIndex(model.index(selectedRow, ObjectColumns::XRange));
    if (focused) {
        view.activateWindow();
        view.setFocus();
    } else {
        view.clearFocus();
    }
    return view.viewport()->grab().toImage();
}

} // namespace

void TestCachedTextDelegate::paintsAsTheStyledDelegate_data()
{
    QTest::addColumn<bool>("paintObjects");
    QTest::addColumn<bool>("alternating");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<bool>("focused");

    QTest::newRow("coloured identifiers") << true << false << -1 << false;
    QTest::newRow("identifiers not coloured") << false << false << -1 << false;
    QTest::newRow("alternating rows") << true << true << -1 << false;
    QTest::newRow("a selected row") << true << false << 4 << false;
    QTest::newRow("a selected row with the focus") << true << true << 5 << true;
}

void TestCachedTextDelegate::paintsAsTheStyledDelegate()
{
    QFETCH(bool, paintObjects);
    QFETCH(bool, alternating);
    QFETCH(int, selectedRow);
    QFETCH(bool, focused);

    const QImage expected
        = paintedCells(new QStyledItemDelegate, paintObjects, alternating, selectedRow, focused);
    const QImage painted = paintedCells(nullptr, paintObjects, alternating, selectedRow, focused);
    QVERIFY(!expected.isNull());
    QCOMPARE(painted.size(), expected.size());
    QCOMPARE(painted, expected);
}

QTEST_MAIN(TestCachedTextDelegate)
#include "tst_cachedtextdelegate.moc"
