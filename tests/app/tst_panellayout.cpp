#include "panellayout.h"

#include <QtTest>

using Columns = QVector<QVector<VantorControl>>;

namespace {

const Columns TwoColumns = {
    { GeneralInfoControl, SendCommandsControl, LimitationsControl },
    { FineTuningControl, RadarPositionControl, SaveAndRestartControl },
    {},
};
const Columns ThreeColumns = {
    { GeneralInfoControl, SendCommandsControl, FineTuningControl },
    { LimitationsControl },
    { RadarPositionControl, SaveAndRestartControl },
};

} // namespace

class TestPanelLayout : public QObject
{
    Q_OBJECT

private slots:
    void arrange_data();
    void arrange();
    void everyBoxOnce_data();
    void everyBoxOnce();
    void columnShown_data();
    void columnShown();
};

void TestPanelLayout::arrange_data()
{
    QTest::addColumn<bool>("drawVertical");
    QTest::addColumn<bool>("tableShown");
    QTest::addColumn<bool>("objectsShown");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<bool>("fillWidth");
    QTest::addColumn<bool>("fillHeight");
    QTest::addColumn<int>("roadRow");
    QTest::addColumn<int>("lowerRow");
    QTest::addColumn<int>("roadColumn");
    QTest::addColumn<int>("table");

    // Horizontal road: the scheme above; the table and the controls share the row below.
    QTest::newRow("horizontal, table, scheme")
        << false << true << true << 2 << false << false << 3 << 2 << 0 << 1;
    QTest::newRow("horizontal, table, no scheme")
        << false << true << false << 2 << false << false << 0 << 2 << 0 << 1;
    // Without the table the controls spread over three columns and share the height evenly.
    QTest::newRow("horizontal, no table, scheme")
        << false << false << true << 3 << true << false << 3 << 3 << 0 << 0;
    QTest::newRow("horizontal, controls alone")
        << false << false << false << 3 << true << true << 0 << 3 << 0 << 0;
    // Vertical road: the scheme in a column on the left, two columns of controls.
    QTest::newRow("vertical, table, scheme")
        << true << true << true << 2 << true << false << 0 << 2 << 2 << 1;
    QTest::newRow("vertical, table, no scheme")
        << true << true << false << 2 << true << false << 0 << 2 << 0 << 1;
    QTest::newRow("vertical, no table, scheme")
        << true << false << true << 2 << true << false << 0 << 2 << 2 << 0;
    QTest::newRow("vertical, controls alone")
        << true << false << false << 2 << true << false << 0 << 2 << 0 << 0;
}

void TestPanelLayout::arrange()
{
    QFETCH(bool, drawVertical);
    QFETCH(bool, tableShown);
    QFETCH(bool, objectsShown);
    QFETCH(int, columnCount);

    const PanelLayout layout = PanelLayout::arrange(drawVertical, tableShown, objectsShown);

    QCOMPARE(layout.columnCount, columnCount);
    QCOMPARE(layout.columns, columnCount == 3 ? ThreeColumns : TwoColumns);
    QTEST(layout.controlsFillWidth, "fillWidth");
    QTEST(layout.controlsFillHeight, "fillHeight");
    QTEST(layout.roadRowStretch, "roadRow");
    QTEST(layout.lowerRowStretch, "lowerRow");
    QTEST(layout.roadColumnStretch, "roadColumn");
    QCOMPARE(layout.controlsColumnStretch, 3);
    QTEST(layout.tableStretch, "table");
}

void TestPanelLayout::everyBoxOnce_data()
{
    QTest::addColumn<bool>("drawVertical");
    QTest::addColumn<bool>("tableShown");

    QTest::newRow("two columns") << true << true;
    QTest::newRow("three columns") << false << false;
}

// The six collapsible boxes each sit in exactly one column.
void TestPanelLayout::everyBoxOnce()
{
    QFETCH(bool, drawVertical);
    QFETCH(bool, tableShown);

    const PanelLayout layout = PanelLayout::arrange(drawVertical, tableShown, true);
    QCOMPARE(layout.columns.size(), PanelLayout::MaxColumns);
    QVector<VantorControl> all;
    for (const QVector<VantorControl> &column : layout.columns)
        all += column;
    std::sort(all.begin(), all.end());
    const QVector<VantorControl> boxes = { SendCommandsControl, LimitationsControl,
        RadarPositionControl, FineTuningControl, SaveAndRestartControl, GeneralInfoControl };
    QCOMPARE(all, boxes);
}

void TestPanelLayout::columnShown_data()
{
    QTest::addColumn<QVector<int>>("shown");
    QTest::addColumn<QVector<bool>>("columns");

    QTest::newRow("nothing shown") << QVector<int> {} << QVector<bool> { false, false };
    QTest::newRow("one box of the first column")
        << QVector<int> { LimitationsControl } << QVector<bool> { true, false };
    QTest::newRow("one box of the second column")
        << QVector<int> { SaveAndRestartControl } << QVector<bool> { false, true };
    QTest::newRow("only panels outside the columns") << QVector<int> { RoadObjectsControl,
        ObjectsViewControl, ProjectionControl } << QVector<bool> { false, false };
}

void TestPanelLayout::columnShown()
{
    QFETCH(QVector<int>, shown);
    QFETCH(QVector<bool>, columns);

    QMap<VantorControl, bool> visible;
    for (VantorControl control : { SendCommandsControl, LimitationsControl, FineTuningControl,
             SaveAndRestartControl, RadarPositionControl, GeneralInfoControl, RoadObjectsControl })
        visible.insert(control, false);
    for (int control : shown)
        visible.insert(VantorControl(control), true);

    const PanelLayout layout = PanelLayout::arrange(false, true, true);
    for (int column = 0; column < columns.size(); ++column)
        QCOMPARE(layout.isColumnShown(column, visible), columns.at(column));
    QVERIFY(!layout.isColumnShown(2, visible));
}

QTEST_GUILESS_MAIN(TestPanelLayout)
#include "tst_panellayout.moc"
