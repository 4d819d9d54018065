#include "objectcolumns.h"
#include "objectstablemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using Records = QVector<ObjectRecord>;
using Ranges = QVector<QPair<int, int>>;
Q_DECLARE_METATYPE(ObjectRecord)

class TestObjectsTableModel : public QObject
{
    Q_OBJECT

private slots:
    void nextFrame_data();
    void nextFrame();
};

namespace {

ObjectRecord record(quint8 id, double xRange)
{
    ObjectRecord r;
    r.id = id;
    r.xSpeed = 20.0;
    r.xRange = xRange;
    r.yRange = -3.5;
    r.length = 4.5;
    r.lastDetectedMs = 1796800000000 + id;
    return r;
}

Ranges ranges(const QSignalSpy &spy)
{
    Ranges result;
    for (const QList<QVariant> &args : spy)
        result.append({ args.at(0).toModelIndex().row(), args.at(1).toModelIndex().row() });
    return result;
}

} // namespace

void TestObjectsTableModel::nextFrame_data()
{
    QTest::addColumn<Records>("before");
    QTest::addColumn<Records>("after");
    QTest::addColumn<Ranges>("changed");
    QTest::addColumn<Ranges>("inserted");
    QTest::addColumn<Ranges>("removed");

    const Records three { record(1, 10), record(2, 20), record(3, 30) };
    QTest::newRow("one object moved")
        << three << Records { record(1, 10), record(2, 21), record(3, 30) } << Ranges { { 1, 1 } }
        << Ranges() << Ranges();
    QTest::newRow("all moved: one run")
        << three << Records { record(1, 11), record(2, 21), record(3, 31) } << Ranges { { 0, 2 } }
        << Ranges() << Ranges();
    QTest::newRow("two runs") << Records { three.at(0), three.at(1), three.at(2),
        record(4, 40) } << Records { record(1, 11), record(2, 20), record(3, 31), record(4, 41) }
                              << Ranges { { 0, 0 }, { 2, 3 } } << Ranges() << Ranges();
    QTest::newRow("unchanged frame") << three << three << Ranges() << Ranges() << Ranges();
    QTest::newRow("two objects came") << three << (three + Records { record(7, 70), record(8, 80) })
                                      << Ranges() << Ranges { { 3, 4 } } << Ranges();
    QTest::newRow("two objects left, one moved")
        << three << Records { record(1, 12) } << Ranges { { 0, 0 } } << Ranges()
        << Ranges { { 1, 2 } };
    QTest::newRow("another object in a row")
        << three << Records { record(1, 10), record(9, 20), record(3, 30) } << Ranges { { 1, 1 } }
        << Ranges() << Ranges();
    QTest::newRow("all left") << three << Records() << Ranges() << Ranges() << Ranges { { 0, 2 } };
    QTest::newRow("first frame") << Records() << three << Ranges() << Ranges { { 0, 2 } }
                                 << Ranges();
}

void TestObjectsTableModel::nextFrame()
{
    QFETCH(Records, before);
    QFETCH(Records, after);
    QFETCH(Ranges, changed);
    QFETCH(Ranges, inserted);
    QFETCH(Ranges, removed);

    ObjectsTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecords(before);

    QSignalSpy changedSpy(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy insertedSpy(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removedSpy(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy resetSpy(&model, &QAbstractItemModel::modelReset);
    model.setRecords(after);

    QCOMPARE(ranges(changedSpy), changed);
    const auto rowRanges = [](const QSignalSpy &spy) {
        Ranges result;
        for (const QList<QVariant> &args : spy)
            result.append({ args.at(1).toInt(), args.at(2).toInt() });
        return result;
    };
    QCOMPARE(rowRanges(insertedSpy), inserted);
    QCOMPARE(rowRanges(removedSpy), removed);
    QCOMPARE(resetSpy.count(), 0);
    for (const QList<QVariant> &args : changedSpy)
        QCOMPARE(args.at(1).toModelIndex().column(), ObjectColumns::Count - 1);

    // The rows read as the new frame.
    QCOMPARE(model.rowCount(), after.size());
    for (int row = 0; row < after.size(); ++row) {
        for (int column = 0; column < ObjectColumns::Count; ++column)
            QCOMPARE(model.data(model.index(row, column)).toString(),
                ObjectColumns::cellText(after.at(row), column));
    }
}

QTEST_GUILESS_MAIN(TestObjectsTableModel)
#include "tst_objectstablemodel.moc"
