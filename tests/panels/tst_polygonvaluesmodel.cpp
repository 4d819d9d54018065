#include "polygonvaluesmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using Kind = RadarParameters::PolygonParam;
Q_DECLARE_METATYPE(Kind)

class TestPolygonValuesModel : public QObject
{
    Q_OBJECT

private slots:
    void editedValues_data();
    void editedValues();
    void radarValues_data();
    void radarValues();
    void commandStatesReachTheirRow();
};

void TestPolygonValuesModel::editedValues_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("stage");

    QTest::newRow("treat 255") << RadarParameters::PolygonTreatParam << 255.0
                               << int(ValueStatus::Changed);
    QTest::newRow("treat 256") << RadarParameters::PolygonTreatParam << 256.0
                               << int(ValueStatus::Refused);
    QTest::newRow("treat 1.5") << RadarParameters::PolygonTreatParam << 1.5
                               << int(ValueStatus::Refused);
    QTest::newRow("speed -300") << RadarParameters::PolygonSpeedParam << -300.0
                                << int(ValueStatus::Changed);
    QTest::newRow("speed 301") << RadarParameters::PolygonSpeedParam << 301.0
                               << int(ValueStatus::Refused);
    QTest::newRow("point NaN") << RadarParameters::PolygonPointParam << double(NAN)
                               << int(ValueStatus::Refused);
    QTest::newRow("point -2000") << RadarParameters::PolygonPointParam << -2000.0
                                 << int(ValueStatus::Changed);
}

void TestPolygonValuesModel::editedValues()
{
    QFETCH(Kind, kind);
    QFETCH(double, value);
    QFETCH(int, stage);
    PolygonValuesModel model;
    QAbstractItemModelTester tester(&model);
    model.setCurrentPolygon(3);
    const int row = PolygonValuesModel::rowOf(kind, 1);
    const QModelIndex index = model.index(row, int(PolygonValuesModel::Column::Value));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QCOMPARE(model.setData(index, value), stage == ValueStatus::Changed);
    QCOMPARE(int(model.status(3, row).stage()), stage);
    QCOMPARE(model.value(3, row), stage == ValueStatus::Changed ? value : 0.0);
    // The refusal is shown in the row's state, never dropped silently.
    QCOMPARE(changed.size(), 1);
    QVERIFY(!model.index(row, int(PolygonValuesModel::Column::State)).data().toString().isEmpty());
}

void TestPolygonValuesModel::radarValues_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("param");
    QTest::addColumn<bool>("known");

    QTest::newRow("last point of last polygon")
        << RadarParameters::PolygonPointParam << 7 << 15 << true;
    QTest::newRow("polygon 8") << RadarParameters::PolygonPointParam << 8 << 0 << false;
    QTest::newRow("speed 4") << RadarParameters::PolygonSpeedParam << 0 << 4 << false;
    QTest::newRow("treat 2") << RadarParameters::PolygonTreatParam << 0 << 2 << false;
}

void TestPolygonValuesModel::radarValues()
{
    QFETCH(Kind, kind);
    QFETCH(int, id);
    QFETCH(int, param);
    QFETCH(bool, known);
    PolygonValuesModel model;
    QAbstractItemModelTester tester(&model);
    QCOMPARE(model.showValue(kind, id, param, 12.0), known);
    if (known) {
        QCOMPARE(model.value(id, PolygonValuesModel::rowOf(kind, param)), 12.0);
        QCOMPARE(model.status(id, PolygonValuesModel::rowOf(kind, param)).stage(),
            ValueStatus::FromRadar);
    }
}

void TestPolygonValuesModel::commandStatesReachTheirRow()
{
    PolygonValuesModel model;
    const int row = PolygonValuesModel::rowOf(RadarParameters::PolygonSpeedParam, 1);
    // Speed parameter 1 of polygon 2, set: the composite identifier of the client.
    const int command = RadarParameters::fullPolygonCmdId(30, 2, 1);
    model.applyCommandState(command, 4, 2);
    QCOMPARE(model.status(2, row).stage(), ValueStatus::Failed);
    QCOMPARE(model.status(2, row).text(), QStringLiteral("error occurred (code 2)"));
    QCOMPARE(model.status(1, row).stage(), ValueStatus::Idle);
    QCOMPARE(model.status(2, row + 1).stage(), ValueStatus::Idle);
}

QTEST_GUILESS_MAIN(TestPolygonValuesModel)
#include "tst_polygonvaluesmodel.moc"
