#include "polygonvaluedelegate.h"
#include "polygonvaluesmodel.h"

#include <QAbstractItemModelTester>
#include <QDoubleSpinBox>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

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
    void commandStatesReachTheirRow_data();
    void commandStatesReachTheirRow();
    void numbersInTheLanguage_data();
    void numbersInTheLanguage();
};

void TestPolygonValuesModel::editedValues_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("stage");

    // Treat values are bytes; speeds and points signed 32-bit millionths.
    QTest::newRow("treat 255") << RadarParameters::PolygonTreatParam << 255.0
                               << int(ValueStatus::Changed);
    QTest::newRow("treat 256") << RadarParameters::PolygonTreatParam << 256.0
                               << int(ValueStatus::Refused);
    QTest::newRow("treat 1.5") << RadarParameters::PolygonTreatParam << 1.5
                               << int(ValueStatus::Refused);
    QTest::newRow("speed -2147.48")
        << RadarParameters::PolygonSpeedParam << -2147.48 << int(ValueStatus::Changed);
    QTest::newRow("speed 2147.49")
        << RadarParameters::PolygonSpeedParam << 2147.49 << int(ValueStatus::Refused);
    QTest::newRow("point NaN") << RadarParameters::PolygonPointParam << double(NAN)
                               << int(ValueStatus::Refused);
    QTest::newRow("point 2147.48")
        << RadarParameters::PolygonPointParam << 2147.48 << int(ValueStatus::Changed);
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

void TestPolygonValuesModel::commandStatesReachTheirRow_data()
{
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");

    // Speed parameter 1 of polygon 2 is tracked under the composite identifiers of 30 and 31.
    QTest::newRow("set queued") << 30 << 1 << 0 << "queued";
    QTest::newRow("set retried") << 30 << 2 << -7 << "in progress";
    QTest::newRow("set received") << 30 << 3 << 0 << "command received";
    QTest::newRow("set refused") << 30 << 4 << 2 << "error occurred: radar error 2";
    QTest::newRow("set unacknowledged")
        << 30 << 4 << -7 << "error occurred: no acknowledgement (-7)";
    QTest::newRow("set dropped from the queue")
        << 30 << 0 << 255 << "error occurred: dropped from the queue (255)";
    QTest::newRow("get acknowledged") << 31 << 3 << 0 << "waiting for data";
    QTest::newRow("get unacknowledged") << 31 << 4 << -7 << "no answer: no acknowledgement (-7)";
    QTest::newRow("get not connected") << 31 << 4 << -3 << "no answer: not connected (-3)";
    QTest::newRow("get dropped") << 31 << 0 << 255 << "no answer: dropped from the queue (255)";
    QTest::newRow("other polygon's command") << 32 << 3 << 0 << "not read";
}

void TestPolygonValuesModel::commandStatesReachTheirRow()
{
    QFETCH(int, base);
    QFETCH(int, state);
    QFETCH(int, error);
    QFETCH(QString, text);
    PolygonValuesModel model;
    QAbstractItemModelTester tester(&model);
    model.setCurrentPolygon(2);
    const int row = PolygonValuesModel::rowOf(RadarParameters::PolygonSpeedParam, 1);
    model.applyCommandState(RadarParameters::fullPolygonCmdId(base, 2, 1), state, error);
    QCOMPARE(model.index(row, int(PolygonValuesModel::Column::State)).data().toString(), text);
    // No other row, nor the same row of another polygon, moves.
    QCOMPARE(model.status(1, row).stage(), ValueStatus::Idle);
    QCOMPARE(model.status(2, row + 1).stage(), ValueStatus::Idle);
}

void TestPolygonValuesModel::numbersInTheLanguage_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");

    QTest::newRow("English") << QLocale::English << "3.75" << 3.75 << "3.75 m";
    QTest::newRow("Russian") << QLocale::Russian << "3,75" << 3.75 << "3,75 m";
    QTest::newRow("Russian, radar's millionths") << QLocale::Russian << "-0,5" << -0.5 << "-0,50 m";
}

// What the user types and what the table shows follow the language's decimal separator.
void TestPolygonValuesModel::numbersInTheLanguage()
{
    QFETCH(QLocale::Language, language);
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, shown);
    QLocale::setDefault(QLocale(language));
    PolygonValuesModel model;
    const int row = PolygonValuesModel::rowOf(RadarParameters::PolygonPointParam, 3);
    const QModelIndex index = model.index(row, int(PolygonValuesModel::Column::Value));
    PolygonValueDelegate delegate;
    QWidget parent;
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, {}, index));
    auto *spin = qobject_cast<QDoubleSpinBox *>(editor.get());
    QVERIFY(spin);
    delegate.setEditorData(spin, index);
    spin->selectAll();
    QTest::keyClicks(spin, typed);
    delegate.setModelData(spin, &model, index);
    QCOMPARE(model.value(0, row), value);
    QCOMPARE(model.status(0, row).stage(), ValueStatus::Changed);
    QCOMPARE(index.data().toString(), shown);
}

QTEST_MAIN(TestPolygonValuesModel)
#include "tst_polygonvaluesmodel.moc"
