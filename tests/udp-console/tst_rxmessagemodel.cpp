#include "rxmessagemodel.h"

#include <QAbstractItemModelTester>
#include <QFontMetrics>
#include <QtTest>

class TestRxMessageModel : public QObject
{
    Q_OBJECT

private slots:
    void batchesAreInsertedNewestFirst();
    void removeLastRowsDropsTheOldest();
    void roles();
    void expandingJson_data();
    void expandingJson();
    void longPayloadsAreElidedForDisplayOnly_data();
    void longPayloadsAreElidedForDisplayOnly();
    void byteBudget();
    void sizeHints();

private:
    static RxMessageModel::Entry entry(
        const QString &header, const QByteArray &payload, int ruleIndex = -1);
    static QStringList headers(const RxMessageModel &model);
};

RxMessageModel::Entry TestRxMessageModel::entry(
    const QString &header, const QByteArray &payload, int ruleIndex)
{
    RxMessageModel::Entry e;
    e.header = header;
    e.payload = payload;
    e.text = QString::fromUtf8(payload);
    e.ruleIndex = ruleIndex;
    return e;
}

QStringList TestRxMessageModel::headers(const RxMessageModel &model)
{
    QStringList list;
    for (int row = 0; row < model.rowCount(); ++row)
        list << model.index(row).data(RxMessageModel::HeaderRole).toString();
    return list;
}

void TestRxMessageModel::batchesAreInsertedNewestFirst()
{
    RxMessageModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    model.prependEntries({ entry("1", "a"), entry("2", "b") });
    model.prependEntries({ entry("3", "c") });
    model.prependEntries({});
    QCOMPARE(headers(model), QStringList({ "3", "2", "1" }));
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 1);
}

void TestRxMessageModel::removeLastRowsDropsTheOldest()
{
    RxMessageModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.prependEntries({ entry("1", "a"), entry("2", "b"), entry("3", "c"), entry("4", "d") });
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.removeLastRows(2);
    QCOMPARE(headers(model), QStringList({ "4", "3" }));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 2);
    QCOMPARE(removed.at(0).at(2).toInt(), 3);
    model.removeLastRows(0);
    model.removeLastRows(-3);
    QCOMPARE(removed.count(), 1);
    model.removeLastRows(10);
    QCOMPARE(model.rowCount(), 0);
    model.prependEntries({ entry("5", "e") });
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestRxMessageModel::roles()
{
    RxMessageModel model;
    const QByteArray payload("hello\r\n\0tail", 13);
    model.prependEntries({ entry("12:00:00.000 from 127.0.0.1:5", payload, 3) });
    const QModelIndex index = model.index(0);
    QCOMPARE(index.data(Qt::UserRole).toString(), QString("12:00:00.000 from 127.0.0.1:5"));
    QCOMPARE(index.data(Qt::UserRole + 1).toByteArray(), payload);
    QCOMPARE(index.data(Qt::UserRole + 2).toInt(), 3);
    QCOMPARE(index.data(Qt::ToolTipRole).toString(), QString("hello\r\n"));
    QCOMPARE(index.data().toString(), QString("12:00:00.000 from 127.0.0.1:5     hello"));
    QVERIFY(!model.index(1).data().isValid());
}

void TestRxMessageModel::expandingJson_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("json");
    QTest::addColumn<bool>("tooDeep");
    QTest::newRow("object") << QByteArray(R"({"a":1,"b":[true]})") << true << false;
    QTest::newRow("array with line feed") << QByteArray("[1,2]\n") << true << false;
    QTest::newRow("plain text") << QByteArray("not json") << false << false;
    QTest::newRow("bare number") << QByteArray("42") << false << false;
    QTest::newRow("broken JSON") << QByteArray(R"({"a":)") << false << false;
    QTest::newRow("nested too deep")
        << QByteArray(2000, '[') + QByteArray(2000, ']') << false << true;
}

void TestRxMessageModel::expandingJson()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, json);
    QFETCH(bool, tooDeep);
    RxMessageModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.prependEntries({ entry("H", payload) });
    const QString collapsed = model.index(0).data().toString();
    QVERIFY(collapsed.startsWith("H     " + QString::fromUtf8(payload.left(500)).trimmed()));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setExpanded(0, true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.isExpanded(0), json || tooDeep);
    const QString expanded = model.index(0).data().toString();
    if (json) {
        const QString indented
            = QString::fromUtf8(QJsonDocument::fromJson(payload).toJson(QJsonDocument::Indented))
                  .trimmed();
        QCOMPARE(expanded, "H\n" + indented);
    } else if (tooDeep) {
        // Says so instead of silently staying collapsed.
        QVERIFY(expanded.startsWith("H\n(JSON nested too deeply"));
    } else {
        QCOMPARE(expanded, collapsed);
    }
    model.setExpanded(0, false);
    QVERIFY(!model.isExpanded(0));
    QCOMPARE(model.index(0).data().toString(), collapsed);
    model.setExpanded(5, true);
    model.setExpanded(-1, true);
}

void TestRxMessageModel::longPayloadsAreElidedForDisplayOnly_data()
{
    QTest::addColumn<int>("lineLength");
    QTest::newRow("one line") << 65507;
    QTest::newRow("lines of 100") << 100;
    QTest::newRow("lines of 150") << 150;
}

void TestRxMessageModel::longPayloadsAreElidedForDisplayOnly()
{
    QFETCH(int, lineLength);
    RxMessageModel model;
    QByteArray payload(65507, 'x');
    for (int i = lineLength; i < payload.size(); i += lineLength)
        payload[i] = '\n';
    model.prependEntries({ entry("H", payload) });
    const QModelIndex index = model.index(0);
    QVERIFY(index.data().toString().size() <= RxMessageModel::MaxCollapsedChars + 1);
    QVERIFY(index.data().toString().endsWith(QChar(0x2026)));
    // A tool tip of readable size: a block, not one line 32767 pixels wide.
    const QStringList lines = index.data(Qt::ToolTipRole).toString().split('\n');
    QVERIFY(lines.size() <= RxMessageModel::MaxToolTipLines);
    for (const QString &line : lines)
        QVERIFY(line.size() <= RxMessageModel::MaxToolTipColumns + 1);
    QCOMPARE(index.data(RxMessageModel::PayloadRole).toByteArray(), payload);
}

void TestRxMessageModel::byteBudget()
{
    RxMessageModel model;
    QVector<RxMessageModel::Entry> entries;
    for (int i = 0; i < 10; ++i)
        entries.append(entry("H", QByteArray(64 * 1024, 'a' + i)));
    model.prependEntries(entries);
    QVERIFY(model.byteCount() > 10 * 64 * 1024);
    QCOMPARE(model.rowsOverBudget(model.byteCount()), 0);
    // Oldest first, and never the newest.
    QCOMPARE(model.rowsOverBudget(4 * 70 * 1024), 6);
    QCOMPARE(model.rowsOverBudget(0), 9);
    model.removeLastRows(6);
    QVERIFY(model.byteCount() <= 4 * 70 * 1024);
    QCOMPARE(model.index(0).data(RxMessageModel::PayloadRole).toByteArray().at(0), 'j');
    model.clear();
    QCOMPARE(model.byteCount(), 0);
}

void TestRxMessageModel::sizeHints()
{
    RxMessageModel model;
    QFont font;
    model.setLayout(font, 300, false);
    const int lineSpacing = QFontMetrics(font).lineSpacing();
    model.prependEntries({ entry("H", "one"), entry("H", "two\nlines"),
        entry("H", QByteArray(2000, 'w').replace(10, 1, " ")) });
    const QSize longLine = model.index(0).data(Qt::SizeHintRole).toSize();
    const QSize twoLines = model.index(1).data(Qt::SizeHintRole).toSize();
    const QSize oneLine = model.index(2).data(Qt::SizeHintRole).toSize();
    QCOMPARE(oneLine.width(), 300);
    QCOMPARE(twoLines.height() - oneLine.height(), lineSpacing);
    QCOMPARE(longLine.height(), oneLine.height());

    model.setLayout(font, 300, true);
    QVERIFY(model.index(0).data(Qt::SizeHintRole).toSize().height() > 5 * lineSpacing);
    QCOMPARE(model.index(0).data(Qt::SizeHintRole).toSize().width(), 300);
}

QTEST_MAIN(TestRxMessageModel)
#include "tst_rxmessagemodel.moc"
